#include "app/InstanceBus.h"

#include "core/Core.h"
#include "core/InstanceCommands.h"
#include "platform/focus/ForegroundProgram.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>

#include <optional>

namespace padwright {

InstanceBus::InstanceBus(Core& core, Hooks hooks) : core_(core), hooks_(std::move(hooks)) {}

InstanceBus::~InstanceBus() {
    if (!published_)
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterService(QString::fromLatin1(ForegroundBusName));
    bus.unregisterObject(QString::fromLatin1(InstanceObjectPath));
}

bool InstanceBus::Publish() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    if (!bus.registerObject(QString::fromLatin1(InstanceObjectPath), this,
                            QDBusConnection::ExportAllSlots))
        return false;
    // Not queued for later: a name another process holds would otherwise come to this one
    // when that one ends, while its commands went elsewhere meanwhile.
    published_ = bus.interface()->registerService(QString::fromLatin1(ForegroundBusName),
                                                  QDBusConnectionInterface::DontQueueService,
                                                  QDBusConnectionInterface::DontAllowReplacement) ==
                 QDBusConnectionInterface::ServiceRegistered;
    if (!published_)
        bus.unregisterObject(QString::fromLatin1(InstanceObjectPath));
    return published_;
}

QString InstanceBus::Status() {
    return QString::fromStdString(StatusText(core_, hooks_.inFront ? hooks_.inFront() : ""));
}

void InstanceBus::Profile(const QString& name, int controller) {
    std::string refusal;
    core_.Run([&] {
        refusal = SwitchToProfileNamed(
            core_, name.toStdString(),
            controller < 0 ? std::nullopt
                           : std::optional<std::uint32_t>(static_cast<std::uint32_t>(controller)));
    });
    if (!refusal.empty())
        sendErrorReply(QString::fromLatin1(InstanceRefusal), QString::fromStdString(refusal));
}

void InstanceBus::Start() {
    core_.Run([this] { core_.StartReading(); });
}

void InstanceBus::Stop() {
    core_.Run([this] { core_.StopReading(); });
}

void InstanceBus::Show() {
    if (hooks_.show)
        hooks_.show();
}

} // namespace padwright
