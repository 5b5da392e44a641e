#pragma once
// Where the desktop's reporters (the KWin script, the GNOME Shell extension) tell us of the
// window in front: an object on the session bus under the program's name (ForegroundBusName),
//   path      /org/padwright/Padwright/Focus
//   interface org.padwright.Padwright.Focus
//   Front(s appId, s wmClass, s wmInstance, u pid)  the window now in front; "" and 0 for what
//                                                    is not known, everything empty for none
//   Windows(as fields)  the open windows, four fields each: app id, class, instance, pid
// Arguments are taken as whatever types the caller's scripting engine makes of them (numbers as
// doubles, byte strings, lists of variants).
#include "platform/focus/ProgramIdentity.h"

#include <QDBusConnection>
#include <QDBusVirtualObject>

#include <functional>

namespace padwright {

inline constexpr const char* FocusReportsPath = "/org/padwright/Padwright/Focus";
inline constexpr const char* FocusReportsInterface = "org.padwright.Padwright.Focus";

class FocusReports final : public QDBusVirtualObject {
public:
    struct Handlers {
        std::function<void(const WindowFacts&)> front;
        std::function<void(const std::vector<WindowFacts>&)> windows;
    };
    // Registers the object and takes the name (which the program may own already).
    FocusReports(QDBusConnection bus, Handlers handlers);
    ~FocusReports() override;

    // "" once registered, else why the reporters cannot reach us.
    const std::string& Error() const { return error_; }

    QString introspect(const QString& path) const override;
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;

private:
    QDBusConnection bus_;
    Handlers handlers_;
    std::string error_;
};

} // namespace padwright
