#pragma once
// The notification-area icon: its images, its menu and the showing and hiding of the main
// window. The main window decides what to show (its reading switch and its animation step with
// tmrSTray and TrayFrame); this class shows it.
#include "core/TrayView.h"

#include <QAction>
#include <QIcon>
#include <QMenu>
#include <QObject>
#include <QSystemTrayIcon>

#include <array>
#include <functional>
#include <memory>
#include <optional>

class QWidget;

namespace padwright {

// The kind of notification area the desktop offers right now.
enum class TrayHost {
    None,
    XEmbed,         // a system tray that embeds the icon's window (X11)
    StatusNotifier, // a StatusNotifierItem host on the session bus (KDE, GNOME's extension, ...)
};

class TrayIcon : public QObject, public ITrayView {
    Q_OBJECT
public:
    static constexpr int FrameCount = 4;
    using HostProbe = std::function<TrayHost()>;

    // `window` is the main window the icon shows, hides and closes; it must outlive the icon.
    explicit TrayIcon(QWidget& window, QObject* parent = nullptr);
    ~TrayIcon() override;

    // Asks the desktop which notification area it has. Without one set, the toolkit's own answer
    // (which cannot tell the kinds apart and, once asked, never notices a later host) is taken.
    // The answer is kept until HostChanged: asking costs a D-Bus call and X round trips.
    void SetHostProbe(HostProbe probe);
    // What "Exit" does: by default it closes the window; the program asks about unsaved work
    // first, as its Exit button does.
    void SetExit(std::function<void()> exit) { exit_ = std::move(exit); }
    TrayHost Host() const;
    // The notification area came or went (the program follows it from the desktop's own
    // signals): asks again, and a window hidden in an area that went away is shown.
    void HostChanged();

    // End of start-up: the still icon appears, and minimising hides the window from then on. The
    // toolkit's icon is created here, not before: it picks StatusNotifierItem or XEmbed once, at
    // creation, so at login it must not be created before the desktop's host is up.
    void Add();
    // Shut-down, after the controllers are unacquired.
    void Remove() override;

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
    bool IconShown() const override { return CanHideWindow(); }

    // An activation of the icon as the notification area reports it. A StatusNotifierItem host
    // reports every activation as a single one (Trigger), so there a single activation shows or
    // hides the window; on an XEmbed tray the first click of a double click is a Trigger as well,
    // so there only the double click does.
    void Activated(QSystemTrayIcon::ActivationReason reason);
    bool SingleActivation() const { return singleActivation_; }

    // Double click on the icon: hide the window when it shows, else bring it back.
    void TrayIconDoubleClick();
    void popItemShowClick();
    void popItemExitClick();

    // A message from the icon (a balloon or a desktop notification).
    void Notify(const QString& title, const QString& text);
    QString LastNotification() const { return lastNotification_; }

    QMenu& popSTray() { return popSTray_; }
    QAction& popItemStart() { return *popItemStart_; }
    QAction& popItemStop() { return *popItemStop_; }
    QAction& popItemShow() { return *popItemShow_; }
    QAction& popItemExit() { return *popItemExit_; }

    const QIcon& ApplicationIcon() const { return applicationIcon_; }
    const QIcon& Frame(int index) const { return imgSTray_.at(static_cast<std::size_t>(index)); }
    // What the notification area shows now.
    QIcon CurrentIcon() const { return current_; }
    bool IsAdded() const { return added_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ApplicationMinimize();
    void SetIcon(const QIcon& icon);

    QWidget& window_;
    QIcon applicationIcon_;
    std::array<QIcon, FrameCount> imgSTray_;
    QIcon current_;
    std::unique_ptr<QSystemTrayIcon> icon_;
    HostProbe probe_;
    std::function<void()> exit_;
    mutable std::optional<TrayHost> host_; // the last answer
    QString lastNotification_;
    bool singleActivation_ = false;
    QMenu popSTray_;
    QAction* popItemStart_;
    QAction* popItemStop_;
    QAction* popItemShow_;
    QAction* popItemExit_;
    bool added_ = false;
};

} // namespace padwright
