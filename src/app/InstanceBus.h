#pragma once
// The running instance on the session bus: it owns the name ForegroundBusName while it runs
// (the desktop's reporters of the program in front send to it too) and offers the commands of
// padwright --status, --profile, --start, --stop and --show as methods of one object.
#include <QDBusContext>
#include <QObject>
#include <QString>

#include <functional>
#include <string>

namespace padwright {

class Core;

inline constexpr const char* InstanceObjectPath = "/org/padwright/Padwright";
inline constexpr const char* InstanceInterface = "org.padwright.Padwright";
// The error a command that could not be carried out answers with; its message says why.
inline constexpr const char* InstanceRefusal = "org.padwright.Padwright.Error.Refused";

class InstanceBus final : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.padwright.Padwright")
public:
    struct Hooks {
        // The program in front as --status shows it.
        std::function<std::string()> inFront;
        // Shows the main window as the tray's "Show" does.
        std::function<void()> show;
    };
    InstanceBus(Core& core, Hooks hooks);
    // Gives the name up.
    ~InstanceBus() override;

    // Registers the object and takes the name. False without a session bus, or when another
    // process holds the name; the program runs on without commands then.
    bool Publish();

public slots:
    QString Status();
    // `controller` is a joystick ID; -1: every active controller.
    void Profile(const QString& name, int controller);
    void Start();
    void Stop();
    void Show();

private:
    Core& core_;
    Hooks hooks_;
    bool published_ = false;
};

} // namespace padwright
