#pragma once
// The notification-area icon: its menu, its four-frame animation and the showing and hiding of
// the main window. The main window owns one and routes the reading switch and the
// data-collection cycle's animation step through it.
#include <QAction>
#include <QIcon>
#include <QMenu>
#include <QObject>
#include <QSystemTrayIcon>
#include <QTimer>

#include <array>

class QWidget;

namespace padwright {

class TrayIcon : public QObject {
    Q_OBJECT
public:
    static constexpr int FrameCount = 4;
    static constexpr int TrayTimerInterval = 1000; // ms, tmrSTray

    // `window` is the main window the icon shows, hides and closes; it must outlive the icon.
    explicit TrayIcon(QWidget& window, QObject* parent = nullptr);
    ~TrayIcon() override;

    // End of start-up: frame 1 comes first, the still icon is shown and minimising hides the
    // window from then on.
    void Add();
    // Shut-down, after the controllers are unacquired.
    void Remove();

    // The data-collection cycle's first step: the next frame, at most once per tmrSTray period.
    void AnimationStep();
    // The tray half of PauseReading: "Start Reading Data" on, "Stop" off, the still icon, the
    // next animation starting from frame 0.
    void ShowReadingOff();
    // The tray half of ResumeReading; the icon changes with the next animation step.
    void ShowReadingOn();

    // Whether hiding the window leaves the user a way back: the icon was added and a
    // notification area (StatusNotifierItem host or XEmbed tray) is there to show it. Without
    // one the window is never hidden.
    bool CanHideWindow() const;

    // Double click on the icon: hide the window when it shows, else bring it back.
    void TrayIconDoubleClick();
    void popItemShowClick();
    void popItemExitClick();
    void tmrSTrayTimer();

    QMenu& popSTray() { return popSTray_; }
    QAction& popItemStart() { return *popItemStart_; }
    QAction& popItemStop() { return *popItemStop_; }
    QAction& popItemShow() { return *popItemShow_; }
    QAction& popItemExit() { return *popItemExit_; }
    QTimer& tmrSTray() { return tmrSTray_; }
    int TrayFrame() const { return trayFrame_; }

    const QIcon& ApplicationIcon() const { return applicationIcon_; }
    const QIcon& Frame(int index) const { return imgSTray_.at(static_cast<std::size_t>(index)); }
    // What the notification area shows now.
    QIcon CurrentIcon() const { return icon_.icon(); }
    bool IsAdded() const { return added_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void TrayIconMessage(QSystemTrayIcon::ActivationReason reason);
    void ApplicationMinimize();

    QWidget& window_;
    QIcon applicationIcon_;
    std::array<QIcon, FrameCount> imgSTray_;
    QSystemTrayIcon icon_;
    QMenu popSTray_;
    QAction* popItemStart_;
    QAction* popItemStop_;
    QAction* popItemShow_;
    QAction* popItemExit_;
    QTimer tmrSTray_;
    int trayFrame_ = 0;
    bool added_ = false;
};

} // namespace padwright
