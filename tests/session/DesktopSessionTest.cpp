// Power actions proven on a private D-Bus daemon that the test starts; fake logind and session
// managers on it record every call they get.
#include "platform/session/DesktopSession.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QDeadlineTimer>
#include <QProcess>

#include <gtest/gtest.h>

#include <memory>

namespace padwright {
namespace {

struct Call {
    QString service, interface, member;
    QList<QVariant> arguments;
};

class FakeService : public QDBusVirtualObject {
public:
    FakeService(QString service, std::vector<Call>& calls)
        : service_(std::move(service)), calls_(calls) {}
    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        calls_.push_back({service_, message.interface(), message.member(), message.arguments()});
        connection.send(message.createReply());
        return true;
    }

private:
    QString service_;
    std::vector<Call>& calls_;
};

class DesktopSessionTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "padwright_session_tests";
        static char* argv[] = {name, nullptr};
        if (!QCoreApplication::instance())
            new QCoreApplication(argc, argv);
        daemon_ = new QProcess;
        daemon_->start("dbus-daemon", {"--session", "--nofork", "--print-address"});
        ASSERT_TRUE(daemon_->waitForStarted(10000)) << "dbus-daemon did not start (is the dbus "
                                                       "package installed?)";
        ASSERT_TRUE(daemon_->waitForReadyRead(10000));
        address_ = new QString(QString::fromUtf8(daemon_->readLine()).trimmed());
    }

    static void TearDownTestSuite() {
        daemon_->terminate();
        daemon_->waitForFinished(10000);
        delete daemon_;
        delete address_;
    }

    void SetUp() override {
        ASSERT_FALSE(address_->isEmpty());
        static int n = 0;
        const QString id = QString::number(++n);
        // One bus plays both the system bus and the session bus.
        fakes_ = std::make_unique<QDBusConnection>(
            QDBusConnection::connectToBus(*address_, "fakes" + id));
        system_ = std::make_unique<QDBusConnection>(
            QDBusConnection::connectToBus(*address_, "system" + id));
        session_ = std::make_unique<QDBusConnection>(
            QDBusConnection::connectToBus(*address_, "session" + id));
        ASSERT_TRUE(fakes_->isConnected() && system_->isConnected() && session_->isConnected());
    }

    void TearDown() override {
        for (const QString& name : registered_)
            fakes_->unregisterService(name);
        const QString names[] = {fakes_->name(), system_->name(), session_->name()};
        fakes_.reset();
        system_.reset();
        session_.reset();
        for (const QString& name : names)
            QDBusConnection::disconnectFromBus(name);
    }

    void Register(const QString& service, const QString& path) {
        objects_.push_back(std::make_unique<FakeService>(service, calls_));
        ASSERT_TRUE(fakes_->registerVirtualObject(path, objects_.back().get()));
        ASSERT_TRUE(fakes_->registerService(service));
        registered_.push_back(service);
    }

    // Lets the fakes take calls until `count` have arrived or `ms` have passed, then a little
    // longer so that a surplus call would show.
    void WaitForCalls(std::size_t count, int ms = 5000) {
        QDeadlineTimer deadline(ms);
        while (calls_.size() < count && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QDeadlineTimer grace(200);
        while (!grace.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }

    DesktopSession Session() { return DesktopSession(*system_, *session_); }

    static inline QProcess* daemon_ = nullptr;
    static inline QString* address_ = nullptr;
    std::unique_ptr<QDBusConnection> fakes_, system_, session_;
    std::vector<std::unique_ptr<FakeService>> objects_;
    std::vector<QString> registered_;
    std::vector<Call> calls_;
};

TEST_F(DesktopSessionTest, PowerActionsAskLogindWithoutInteraction) {
    Register("org.freedesktop.login1", "/org/freedesktop/login1");
    const struct {
        std::uint32_t flags;
        const char* method;
    } cases[] = {{EWX_SHUTDOWN, "PowerOff"},
                 {EWX_POWEROFF, "PowerOff"},
                 {EWX_REBOOT, "Reboot"},
                 {EWX_POWEROFF | EWX_FORCE, "PowerOff"}};
    DesktopSession session = Session();
    for (const auto& c : cases) {
        calls_.clear();
        EXPECT_TRUE(session.ExitWindowsEx(c.flags, 0xFFFFFFFF));
        WaitForCalls(1);
        ASSERT_EQ(calls_.size(), 1u) << c.flags;
        EXPECT_EQ(calls_[0].interface, "org.freedesktop.login1.Manager");
        EXPECT_EQ(calls_[0].member, c.method);
        ASSERT_EQ(calls_[0].arguments.size(), 1);
        EXPECT_EQ(calls_[0].arguments[0], QVariant(false)) << "must not be interactive";
    }
}

TEST_F(DesktopSessionTest, LogOffAsksTheFirstSessionManagerAndNeverLogind) {
    Register("org.freedesktop.login1", "/org/freedesktop/login1");
    Register("org.xfce.SessionManager", "/org/xfce/SessionManager");
    Register("org.gnome.SessionManager", "/org/gnome/SessionManager");
    EXPECT_TRUE(Session().ExitWindowsEx(EWX_LOGOFF, 0xFFFFFFFF));
    WaitForCalls(1);
    ASSERT_EQ(calls_.size(), 1u);
    EXPECT_EQ(calls_[0].service, "org.gnome.SessionManager");
    EXPECT_EQ(calls_[0].interface, "org.gnome.SessionManager");
    EXPECT_EQ(calls_[0].member, "Logout");
    EXPECT_EQ(calls_[0].arguments,
              QList<QVariant>{QVariant::fromValue(1u)}); // no dialog, not forced
}

TEST_F(DesktopSessionTest, LogOffReachesEachDesktopsSessionManager) {
    const struct {
        const char* service;
        const char* path;
        const char* interface;
        const char* member;
        QList<QVariant> arguments;
    } cases[] = {
        {"org.kde.Shutdown", "/Shutdown", "org.kde.Shutdown", "logout", {}},
        {"org.kde.ksmserver", "/KSMServer", "org.kde.KSMServerInterface", "logout", {0, 0, 0}},
        {"org.xfce.SessionManager",
         "/org/xfce/SessionManager",
         "org.xfce.Session.Manager",
         "Logout",
         {false, true}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.service);
        TearDown();
        SetUp();
        objects_.clear();
        registered_.clear();
        calls_.clear();
        Register(c.service, c.path);
        EXPECT_TRUE(Session().ExitWindowsEx(EWX_LOGOFF, 0xFFFFFFFF));
        WaitForCalls(1);
        ASSERT_EQ(calls_.size(), 1u);
        EXPECT_EQ(calls_[0].interface, c.interface);
        EXPECT_EQ(calls_[0].member, c.member);
        EXPECT_EQ(calls_[0].arguments, c.arguments);
    }
}

TEST_F(DesktopSessionTest, LogOffWithoutASessionManagerDoesNothing) {
    Register("org.freedesktop.login1", "/org/freedesktop/login1");
    EXPECT_FALSE(Session().ExitWindowsEx(EWX_LOGOFF, 0xFFFFFFFF));
    WaitForCalls(1, 1000);
    EXPECT_TRUE(calls_.empty());
}

TEST(DesktopSessionOffline, NoBusMeansNothingAsked) {
    DesktopSession session(QDBusConnection("none"), QDBusConnection("none"));
    EXPECT_TRUE(session.EnableShutdownPrivilege());
    EXPECT_FALSE(session.ExitWindowsEx(EWX_REBOOT, 0));
    EXPECT_FALSE(session.ExitWindowsEx(EWX_LOGOFF, 0));
}

} // namespace
} // namespace padwright
