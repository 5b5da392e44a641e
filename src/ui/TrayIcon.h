#pragma once
// The notification-area icon: its images, its menu and the showing and hiding of the main
// window. The main window decides what to show (its reading switch and its animation step with
// tmrSTray and TrayFrame); this class shows it.
#include "ui/TrayView.h"

#include <QAction>
#include <QIcon>
#include <QMenu>
#include <QObject>
#include <QSystemTrayIcon>

#include <array>

class QWidget;

namespace padwright {

class TrayIcon : public QObject, public ITrayView {
    Q_OBJECT
public:
    static constexpr int FrameCount = 4;

    // `window` is the main window the icon shows, hides and closes; it must outlive the icon.
    explicit TrayIcon(QWidget& window, QObject* parent = nullptr);
    ~TrayIcon() override;

    // End of start-up: the still icon appears, and minimising hides the window from then on.
    void Add();
    // Shut-down, after the controllers are unacquired.
    void Remove();

    // "Start Reading Data" is enabled exactly while `reading` is false, "Stop Reading Data"
    // exactly while it is true.
    void ShowReadingState(bool reading) override;
    // Animation frame 0..3 of imgSTray as the icon.
    void ShowFrame(int frame) override;
    // The application's icon: reading is paused.
    void ShowStillIcon() override;

    // Whether hiding the window leaves the user a way back: the icon was added and a
    // notification area (StatusNotifierItem host or XEmbed tray) is there to show it. Without
    // one the window is never hidden.
    bool CanHideWindow() const;

    // Double click on the icon: hide the window when it shows, else bring it back.
    void TrayIconDoubleClick();
    void popItemShowClick();
    void popItemExitClick();

    QMenu& popSTray() { return popSTray_; }
    QAction& popItemStart() { return *popItemStart_; }
    QAction& popItemStop() { return *popItemStop_; }
    QAction& popItemShow() { return *popItemShow_; }
    QAction& popItemExit() { return *popItemExit_; }

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
    bool added_ = false;
};

} // namespace padwright
