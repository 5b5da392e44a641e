#pragma once
// The program in front under GNOME Shell (Wayland), which tells no other program which window
// has the focus: our Shell extension (data/gnome-shell/) reports it to FocusReports. The source
// asks the Shell whether the extension is enabled and follows its state, so that the dialog can
// say when it is not; a newly installed extension is seen only after logging in again.
#include "platform/focus/ForegroundSourceBase.h"
#include "platform/focus/qt/FocusReports.h"

#include <QDBusConnection>
#include <QVariantMap>

#include <memory>

class QObject;

namespace padwright {

class GnomeForegroundSource final : public ForegroundSourceBase {
public:
    explicit GnomeForegroundSource(QDBusConnection bus);
    ~GnomeForegroundSource() override;
    GnomeForegroundSource(const GnomeForegroundSource&) = delete;
    GnomeForegroundSource& operator=(const GnomeForegroundSource&) = delete;

    std::string Kind() const override { return "GNOME"; }
    std::vector<ForegroundProgram> OpenWindows() const override { return windows_; }

    static constexpr const char* ExtensionUuid = "padwright-focus@vemoskar.com";

    // The Shell's description of the extension (GetExtensionInfo, ExtensionStateChanged).
    void TakeState(const QVariantMap& info);

private:
    QDBusConnection bus_;
    std::vector<ForegroundProgram> windows_;
    FocusReports reports_;
    std::unique_ptr<QObject> stateWatch_;
};

} // namespace padwright
