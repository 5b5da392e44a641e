#include "ui/TrayIcon.h"

#include <QEvent>
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

    icon_.setIcon(applicationIcon_);
    icon_.setToolTip(QStringLiteral("Padwright"));
    icon_.setContextMenu(&popSTray_);
    connect(&icon_, &QSystemTrayIcon::activated, this, &TrayIcon::TrayIconMessage);

    // Enabled from the start: the first frame waits one period after the window is created.
    tmrSTray_.setInterval(TrayTimerInterval);
    connect(&tmrSTray_, &QTimer::timeout, this, &TrayIcon::tmrSTrayTimer);
    tmrSTray_.start();
}

TrayIcon::~TrayIcon() {
    window_.removeEventFilter(this);
}

void TrayIcon::Add() {
    trayFrame_ = 1;
    icon_.setIcon(applicationIcon_);
    icon_.show();
    added_ = true;
    window_.installEventFilter(this);
}

void TrayIcon::Remove() {
    window_.removeEventFilter(this);
    icon_.hide();
    added_ = false;
}

void TrayIcon::AnimationStep() {
    if (tmrSTray_.isActive())
        return;
    icon_.setIcon(imgSTray_[static_cast<std::size_t>(trayFrame_)]);
    trayFrame_ = (trayFrame_ + 1) % FrameCount;
    tmrSTray_.start();
}

void TrayIcon::ShowReadingOff() {
    popItemStart_->setEnabled(true);
    popItemStop_->setEnabled(false);
    trayFrame_ = 0;
    icon_.setIcon(applicationIcon_);
}

void TrayIcon::ShowReadingOn() {
    popItemStop_->setEnabled(true);
    popItemStart_->setEnabled(false);
}

bool TrayIcon::CanHideWindow() const {
    return added_ && QSystemTrayIcon::isSystemTrayAvailable();
}

void TrayIcon::TrayIconMessage(QSystemTrayIcon::ActivationReason reason) {
    // The context menu opens by itself on a right click; single clicks do nothing.
    if (reason == QSystemTrayIcon::DoubleClick)
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
    window_.close();
}

void TrayIcon::tmrSTrayTimer() {
    tmrSTray_.stop();
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
