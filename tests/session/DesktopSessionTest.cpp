// Power actions proven on a private D-Bus daemon; fake logind and session managers on it record
// every call they get.
#include "platform/session/DesktopSession.h"
#include "PrivateBus.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <gtest/gtest.h>

#include <memory>

namespace padwright {
namespace {

using testing::BusCall;
using testing::FakeService;
using testing::PrivateBus;

const char* const Logind = "org.freedesktop.login1";

// One arrangement of services on the bus, and the connections the session is given; all of it
// leaves the bus when it goes.
class Scene {
public:
    explicit Scene(const PrivateBus& bus) {
        static int n = 0;
        const QString id = QString::number(++n);
        fakes_ = bus.Connect("fakes" + id);
        system_ = bus.Connect("system" + id);
        session_ = bus.Connect("session" + id);
    }
    ~Scene() {
        for (const QString& name : registered_)
            fakes_.unregisterService(name);
        for (const QString& name : {fakes_.name(), system_.name(), session_.name()})
            QDBusConnection::disconnectFromBus(name);
    }
    bool Connected() const {
        return fakes_.isConnected() && system_.isConnected() && session_.isConnected();
    }

    void Register(const QString& service, const QString& path, FakeService::Answer answer = {}) {
        objects_.push_back(std::make_unique<FakeService>(service, calls, std::move(answer)));
        ASSERT_TRUE(fakes_.registerVirtualObject(path, objects_.back().get()));
        ASSERT_TRUE(fakes_.registerService(service));
        registered_.push_back(service);
    }

    // Lets the fakes take calls until `count` have arrived or `ms` have passed, then a little
    // longer so that a surplus call would show.
    void WaitForCalls(std::size_t count, int ms = 5000) {
        QDeadlineTimer deadline(ms);
        while (calls.size() < count && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QDeadlineTimer grace(200);
        while (!grace.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }

    DesktopSession Session() const { return DesktopSession(system_, session_); }

    std::vector<BusCall> calls;

private:
    QDBusConnection fakes_{"none"}, system_{"none"}, session_{"none"};
    std::vector<std::unique_ptr<FakeService>> objects_;
    std::vector<QString> registered_;
};

class DesktopSessionTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { bus_ = new PrivateBus; }
    static void TearDownTestSuite() { delete bus_; }
    static inline PrivateBus* bus_ = nullptr;
};

struct Expected {
    const char* member;
    QList<QVariant> arguments;
};

struct Desktop {
    const char* service;
    const char* path;
    const char* interface;
    Expected logOff, powerOff, reboot;
};

const Desktop Desktops[] = {
    {"org.gnome.SessionManager",
     "/org/gnome/SessionManager",
     "org.gnome.SessionManager",
     {"Logout", {QVariant::fromValue(1u)}}, // no dialog, not forced
     {"RequestShutdown", {}},
     {"RequestReboot", {}}},
    {"org.kde.Shutdown",
     "/Shutdown",
     "org.kde.Shutdown",
     {"logout", {}},
     {"logoutAndShutdown", {}},
     {"logoutAndReboot", {}}},
    {"org.kde.ksmserver",
     "/KSMServer",
     "org.kde.KSMServerInterface",
     {"logout", {0, 0, 0}},
     {"logout", {0, 2, 0}},
     {"logout", {0, 1, 0}}},
    {"org.xfce.SessionManager",
     "/org/xfce/SessionManager",
     "org.xfce.Session.Manager",
     {"Logout", {false, true}},
     {"Shutdown", {true}},
     {"Restart", {true}}},
    {"org.lxqt.session",
     "/LXQtSession",
     "org.lxqt.session",
     {"logout", {}},
     {"powerOff", {}},
     {"reboot", {}}},
};

TEST_F(DesktopSessionTest, EveryActionGoesToEachDesktopsSessionManagerAndNeverToLogind) {
    for (const Desktop& d : Desktops) {
        const std::pair<std::uint32_t, const Expected*> actions[] = {
            {EWX_LOGOFF, &d.logOff},
            {EWX_SHUTDOWN, &d.powerOff},
            {EWX_POWEROFF, &d.powerOff},
            {EWX_POWEROFF | EWX_FORCE, &d.powerOff},
            {EWX_REBOOT, &d.reboot}};
        for (const auto& [flags, expected] : actions) {
            SCOPED_TRACE(std::string(d.service) + " flags " + std::to_string(flags));
            Scene scene(*bus_);
            ASSERT_TRUE(scene.Connected());
            scene.Register(Logind, "/org/freedesktop/login1");
            scene.Register(d.service, d.path);
            EXPECT_TRUE(scene.Session().ExitWindowsEx(flags, 0xFFFFFFFF));
            scene.WaitForCalls(1);
            ASSERT_EQ(scene.calls.size(), 1u);
            EXPECT_EQ(scene.calls[0].service, d.service);
            EXPECT_EQ(scene.calls[0].interface, d.interface);
            EXPECT_EQ(scene.calls[0].member, expected->member);
            EXPECT_EQ(scene.calls[0].arguments, expected->arguments);
        }
    }
}

TEST_F(DesktopSessionTest, WithoutASessionManagerPowerActionsAskLogindWithoutInteraction) {
    const struct {
        std::uint32_t flags;
        const char* method;
    } cases[] = {{EWX_SHUTDOWN, "PowerOff"},
                 {EWX_POWEROFF, "PowerOff"},
                 {EWX_REBOOT, "Reboot"},
                 {EWX_POWEROFF | EWX_FORCE, "PowerOff"}};
    Scene scene(*bus_);
    scene.Register(Logind, "/org/freedesktop/login1");
    DesktopSession session = scene.Session();
    for (const auto& c : cases) {
        scene.calls.clear();
        EXPECT_TRUE(session.ExitWindowsEx(c.flags, 0xFFFFFFFF));
        scene.WaitForCalls(1);
        ASSERT_EQ(scene.calls.size(), 1u) << c.flags;
        EXPECT_EQ(scene.calls[0].interface, "org.freedesktop.login1.Manager");
        EXPECT_EQ(scene.calls[0].member, c.method);
        EXPECT_EQ(scene.calls[0].arguments, QList<QVariant>{false}) << "must not be interactive";
    }
}

TEST_F(DesktopSessionTest, WithoutASessionManagerLogOffDoesNothing) {
    Scene scene(*bus_);
    scene.Register(Logind, "/org/freedesktop/login1");
    EXPECT_FALSE(scene.Session().ExitWindowsEx(EWX_LOGOFF, 0xFFFFFFFF));
    scene.WaitForCalls(1, 1000);
    EXPECT_TRUE(scene.calls.empty());
}

TEST_F(DesktopSessionTest, TheFirstRunningSessionManagerIsAsked) {
    Scene scene(*bus_);
    scene.Register("org.lxqt.session", "/LXQtSession");
    scene.Register("org.xfce.SessionManager", "/org/xfce/SessionManager");
    scene.Register("org.gnome.SessionManager", "/org/gnome/SessionManager");
    EXPECT_TRUE(scene.Session().ExitWindowsEx(EWX_REBOOT, 0xFFFFFFFF));
    scene.WaitForCalls(1);
    ASSERT_EQ(scene.calls.size(), 1u);
    EXPECT_EQ(scene.calls[0].service, "org.gnome.SessionManager");
}

// An inhibitor or a user who cancels makes the session manager refuse; going to logind then
// would end the session over the programs' objection.
TEST_F(DesktopSessionTest, ARefusingSessionManagerHasTheLastWord) {
    Scene scene(*bus_);
    scene.Register(Logind, "/org/freedesktop/login1");
    scene.Register("org.gnome.SessionManager", "/org/gnome/SessionManager",
                   [](const QDBusMessage& call) {
                       return call.createErrorReply("org.gnome.SessionManager.NotInRunning",
                                                    "Shutdown inhibited");
                   });
    EXPECT_TRUE(scene.Session().ExitWindowsEx(EWX_SHUTDOWN, 0xFFFFFFFF));
    scene.WaitForCalls(2, 1000);
    ASSERT_EQ(scene.calls.size(), 1u);
    EXPECT_EQ(scene.calls[0].member, "RequestShutdown");
}

TEST(DesktopSessionOffline, NoBusMeansNothingAsked) {
    DesktopSession session(QDBusConnection("none"), QDBusConnection("none"));
    EXPECT_TRUE(session.EnableShutdownPrivilege());
    EXPECT_FALSE(session.ExitWindowsEx(EWX_REBOOT, 0));
    EXPECT_FALSE(session.ExitWindowsEx(EWX_LOGOFF, 0));
}

} // namespace
} // namespace padwright
