#include "ui/TrayIcon.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

// Outside any namespace, as Qt's resource initialiser requires. The icons live in this static
// library; without the explicit call the linker drops them from programs that link it.
static void InitTrayResources() {
    Q_INIT_RESOURCE(icons);
}

namespace padwright {

namespace {

QIcon LoadApplicationIcon() {
    QIcon icon;
    for (int size : {32, 64, 128})
        icon.addFile(QStringLiteral(":/icons/padwright-%1.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace

TrayIcon::TrayIcon(QWidget& window, QObject* parent) : QObject(parent), window_(window) {
    InitTrayResources();
    applicationIcon_ = LoadApplicationIcon();
    for (int i = 0; i < FrameCount; ++i)
        imgSTray_[static_cast<std::size_t>(i)] =
            QIcon(QStringLiteral(":/icons/tray-frame-%1.png").arg(i));

    popItemStart_ = popSTray_.addAction(QStringLiteral("Start Reading Data"));
    popItemStop_ = popSTray_.addAction(QStringLiteral("Stop Reading Data"));
    popItemShow_ = popSTray_.addAction(QStringLiteral("Show"));
    popItemExit_ = popSTray_.addAction(QStringLiteral("Exit"));
    connect(popItemShow_, &QAction::triggered, this, &TrayIcon::popItemShowClick);
    connect(popItemExit_, &QAction::triggered, this, &TrayIcon::popItemExitClick);

    current_ = applicationIcon_;
}

TrayIcon::~TrayIcon() {
    window_.removeEventFilter(this);
}

void TrayIcon::SetHostProbe(HostProbe probe) {
    probe_ = std::move(probe);
    host_.reset();
}

TrayHost TrayIcon::Host() const {
    if (!host_)
        host_ =
            probe_ ? probe_()
                   : (QSystemTrayIcon::isSystemTrayAvailable() ? TrayHost::XEmbed : TrayHost::None);
    return *host_;
}

void TrayIcon::HostChanged() {
    host_.reset();
    // A window hidden in a notification area that went away would have no way back.
    if (added_ && !window_.isVisible() && Host() == TrayHost::None)
        popItemShowClick();
}

void TrayIcon::Add() {
    if (!icon_) {
        // Decided as the toolkit decides which protocol the icon speaks: at its creation.
        singleActivation_ = Host() == TrayHost::StatusNotifier;
        icon_ = std::make_unique<QSystemTrayIcon>();
        icon_->setToolTip(QStringLiteral("Padwright"));
        icon_->setContextMenu(&popSTray_);
        connect(icon_.get(), &QSystemTrayIcon::activated, this, &TrayIcon::Activated);
    }
    SetIcon(applicationIcon_);
    icon_->show();
    added_ = true;
    window_.installEventFilter(this);
}

void TrayIcon::Remove() {
    window_.removeEventFilter(this);
    if (icon_)
        icon_->hide();
    added_ = false;
}

void TrayIcon::SetIcon(const QIcon& icon) {
    current_ = icon;
    if (icon_)
        icon_->setIcon(icon);
}

void TrayIcon::Notify(const QString& title, const QString& text) {
    lastNotification_ = text;
    if (icon_ && added_)
        icon_->showMessage(title, text, QSystemTrayIcon::Warning);
}

void TrayIcon::ShowReadingState(bool reading) {
    popItemStart_->setEnabled(!reading);
    popItemStop_->setEnabled(reading);
}

void TrayIcon::ShowFrame(int frame) {
    SetIcon(imgSTray_.at(static_cast<std::size_t>(frame)));
}

void TrayIcon::ShowStillIcon() {
    SetIcon(applicationIcon_);
}

bool TrayIcon::CanHideWindow() const {
    return added_ && Host() != TrayHost::None;
}

void TrayIcon::Activated(QSystemTrayIcon::ActivationReason reason) {
    // The context menu opens by itself on a right click.
    const QSystemTrayIcon::ActivationReason toggle =
        singleActivation_ ? QSystemTrayIcon::Trigger : QSystemTrayIcon::DoubleClick;
    if (reason == toggle)
        TrayIconDoubleClick();
}

void TrayIcon::TrayIconDoubleClick() {
    if (window_.isVisible())
        window_.hide();
    else
        popItemShowClick();
}

void TrayIcon::popItemShowClick() {
    window_.setWindowState(window_.windowState() & ~Qt::WindowMinimized);
    window_.show();
    window_.raise();
    window_.activateWindow();
}

void TrayIcon::popItemExitClick() {
    if (exit_)
        exit_();
    else
        window_.close();
}

void TrayIcon::ApplicationMinimize() {
    if (CanHideWindow() && window_.isMinimized())
        window_.hide();
}

bool TrayIcon::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_ && event->type() == QEvent::WindowStateChange &&
        window_.isMinimized()) {
        // Hiding from inside the state change confuses some window managers; do it right after.
        QTimer::singleShot(0, this, &TrayIcon::ApplicationMinimize);
    }
    return QObject::eventFilter(watched, event);
}

} // namespace padwright
