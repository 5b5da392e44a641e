// The KWin and GNOME Shell sources against fake peers answering as they do; the test sends what the
// script and the extension send, typed as their engines do. Then the source for each session.
#include "../session/PrivateBus.h"
#include "QtLoop.h"
#include "platform/focus/qt/ForegroundSourceChoice.h"
#include "platform/focus/qt/GnomeForegroundSource.h"
#include "platform/focus/qt/KWinForegroundSource.h"

#include <QDBusPendingCall>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <unistd.h>

namespace padwright {
namespace {

using namespace testing;

struct Desktop : ::testing::Test {
    // The fakes answer from a thread of their own, as KWin and the Shell do from their
    // processes, while the source waits for them.
    static void SetUpTestSuite() {
        bus = new PrivateBus;
        (peers = new QThread)->start();
    }
    static void TearDownTestSuite() {
        peers->quit();
        peers->wait();
        delete peers;
        delete bus;
    }
    ~Desktop() override {
        QDBusConnection::disconnectFromBus(fakes.name());
        QDBusConnection::disconnectFromBus(ours.name());
    }
    std::unique_ptr<FakeService> Fake(const QString& service, const QString& path,
                                      FakeService::Answer answer = {}) {
        auto fake = std::make_unique<FakeService>(service, calls, std::move(answer));
        fake->moveToThread(peers);
        EXPECT_TRUE(fakes.registerVirtualObject(path, fake.get()) &&
                    fakes.registerService(service));
        return fake;
    }
    // What a reporter sends; true once it was answered without an error.
    bool Send(const QString& member, const QList<QVariant>& arguments) {
        auto call = QDBusMessage::createMethodCall(ForegroundBusName, FocusReportsPath,
                                                   FocusReportsInterface, member);
        call.setArguments(arguments);
        QDBusPendingCall pending = fakes.asyncCall(call);
        return RunUntil([&] { return pending.isFinished(); }) && !pending.isError();
    }

    static inline PrivateBus* bus = nullptr;
    static inline QThread* peers = nullptr;
    static inline int n = 0;
    QDBusConnection fakes = bus->Connect("fakes" + QString::number(++n));
    QDBusConnection ours = bus->Connect("ours" + QString::number(n));
    std::vector<BusCall> calls;
    QTemporaryDir folder;
};

TEST_F(Desktop, KWinScriptIsLoadedRunReportsAndIsUnloaded) {
    for (const QString runPath : {"/Scripting/Script7", "/7"}) { // KWin 6, KWin 5
        calls.clear();
        auto scripting = Fake("org.kde.KWin", "/Scripting", [](auto& m) {
            return m.member() == "loadScript" ? m.createReply(7) : m.createReply(true);
        });
        auto script = Fake("org.kde.KWin", runPath);
        auto source = std::make_unique<KWinForegroundSource>(ours, folder.path());
        ASSERT_TRUE(source->Available()) << source->Unavailable();
        ASSERT_EQ(calls.at(1).member, "loadScript"); // after unloading one left behind
        const QString file = calls[1].arguments.value(0).toString(); // written for KWin
        EXPECT_EQ(calls.back().member, "run");

        ASSERT_TRUE(Send("Front", {"", "steam", "steamwebhelper", double(getpid())}));
        EXPECT_EQ(source->Current(), (ForegroundProgram{"steam", "steamwebhelper", "",
                                                        "padwright_focus_dbus_tests", true}));
        // KWin's engine makes a JavaScript array a list of variants (av).
        const QVariantList windows{"",          "steam",   "steam", "0",         "org.kde.dolphin",
                                   "dolphin",   "dolphin", "0",     "padwright", "padwright",
                                   "padwright", "0"};
        ASSERT_TRUE(Send("Windows", {QVariant(windows)}));
        ASSERT_EQ(source->OpenWindows().size(), 2u); // not our own
        EXPECT_EQ(source->OpenWindows()[1].appId, "org.kde.dolphin");
        const std::size_t before = calls.size();
        fakes.unregisterService("org.kde.KWin"); // restarted: loaded again
        fakes.registerService("org.kde.KWin");
        EXPECT_TRUE(RunUntil([&] { return calls.size() == before + 3; }));

        source.reset();
        EXPECT_EQ(calls.back().member, "unloadScript");
        EXPECT_FALSE(QFile::exists(file));
    } // the fakes leave the bus with their objects
}

TEST_F(Desktop, GnomeExtensionStateIsFollowedAndItsReportsTaken) {
    auto shell = Fake("org.gnome.Shell", "/org/gnome/Shell", [](auto& m) {
        return m.createReply(QVariantMap{{"uuid", m.arguments().value(0)}, {"state", 2.0}});
    });
    GnomeForegroundSource source(ours);
    EXPECT_TRUE(
        source.Unavailable().ends_with(") is not enabled: turn it on in the Extensions program."));
    auto changed = [&](const QVariantMap& info, int format = 0) {
        auto signal = QDBusMessage::createSignal("/org/gnome/Shell", "org.gnome.Shell.Extensions",
                                                 "ExtensionStateChanged");
        fakes.send(signal << GnomeForegroundSource::ExtensionUuids[format] << info);
    };
    changed({{"state", 1.0}});
    ASSERT_TRUE(RunUntil([&] { return source.Available(); }));
    ASSERT_TRUE(Send("Front", {"org.gnome.Nautilus", "org.gnome.Nautilus", "nautilus", 0u}));
    EXPECT_EQ(source.Current(),
              (ForegroundProgram{"org.gnome.Nautilus", "nautilus", "org.gnome.Nautilus", ""}));
    changed({{"state", 3.0}, {"error", "TypeError: x is undefined"}});
    ASSERT_TRUE(RunUntil([&] { return source.Current() == ForegroundProgram{}; })); // none come
    EXPECT_TRUE(source.Unavailable().ends_with("failed: TypeError: x is undefined"));
    // GNOME 45 on: the scripts' extension is out of date, the modules' one runs.
    changed({{"state", 4.0}});
    changed({{"state", 1.0}}, 1);
    EXPECT_TRUE(RunUntil([&] { return source.Available(); }));
}

TEST_F(Desktop, EachSessionGetsItsSource) {
    const std::string none = "/nonexistent/wayland-0";
    struct {
        ForegroundSession session;
        const char* peer;
        std::string kind;
    } cases[] = {
        {{"x11", "wayland-0", ":7999", {}}, nullptr, "X11"}, // not X11 clients only on XWayland
        {{"tty", "", ":7999", {}}, nullptr, "X11"},          // startx
        {{"wayland", none, ":0", {}}, "org.kde.KWin", "KDE"},
        {{"wayland", none, ":0", {}}, "org.gnome.Shell", "GNOME"},
        {{"wayland", none, ":0", {}}, nullptr, ""},
    };
    for (auto& c : cases) {
        auto peer = c.peer ? Fake(c.peer, "/") : nullptr;
        c.session.runtimeFolder = folder.path();
        auto source = ChooseForegroundSource(Loop(), c.session, ours);
        EXPECT_EQ(source->Kind(), c.kind) << c.session.sessionType << c.peer;
        EXPECT_NE(source->Available(), !source->Unavailable().empty()); // and says why not
        if (c.peer)
            fakes.unregisterService(c.peer);
    }
}

} // namespace
} // namespace padwright
