#pragma once
// The program in front under GNOME Shell (Wayland), which tells no other program which window
// has the focus: our Shell extension (data/gnome-shell/) reports it to FocusReports. It comes in
// two formats under two uuids, for GNOME 43-44 and for 45 on; a Shell runs only the one for its
// version. The source asks the Shell whether either is enabled and follows their states, so that
// the dialog can say when neither is; a newly installed extension is seen only after logging in
// again.
#include "platform/focus/ForegroundSourceBase.h"
#include "platform/focus/qt/FocusReports.h"

#include <QDBusConnection>
#include <QVariantMap>

#include <iterator>
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

    // GNOME 43 and 44 (imports.gi scripts), GNOME 45 on (ES modules).
    static constexpr const char* ExtensionUuids[] = {"padwright-focus@vemoskar.com",
                                                     "padwright-focus-esm@vemoskar.com"};

    // The Shell's description of extension `uuid` (GetExtensionInfo, ExtensionStateChanged);
    // other extensions' are ignored.
    void TakeState(const QString& uuid, const QVariantMap& info);

private:
    // Available while either extension is enabled; otherwise says why of the one for this Shell.
    void Judge();

    QDBusConnection bus_;
    QVariantMap states_[std::size(ExtensionUuids)];
    std::vector<ForegroundProgram> windows_;
    FocusReports reports_;
    std::unique_ptr<QObject> stateWatch_;
};

} // namespace padwright
