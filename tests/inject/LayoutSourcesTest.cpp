// The layout sources that need no display: names compiled with the system's XKB data, and
// systemd-localed's answer read from a fake localed on a private bus.
#include "../session/PrivateBus.h"
#include "LayoutTable.h"
#include "platform/inject/KeyPlacement.h"
#include "platform/inject/LocaledLayout.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QThread>
#include <linux/input-event-codes.h>

#include <gtest/gtest.h>

#include <future>

namespace padwright {
namespace {

using layouts::LayoutRows;
using layouts::LayoutVks;
using layouts::XKeycodeOffset;

TEST(LayoutFromNames, EachLayoutGivesItsKeys) {
    for (const auto& row : LayoutRows) {
        SCOPED_TRACE(row.layout);
        std::string error;
        const auto keys = LayoutKeysFromNames({row.layout, "", "pc105", ""}, error);
        ASSERT_TRUE(keys) << error;
        const LayoutKeys* current = &*keys;
        KeyPlacement placement(std::make_unique<layouts::SwitchableLayout>(current));
        for (std::size_t i = 0; i < LayoutVks.size(); ++i)
            EXPECT_EQ(placement.KeyFor(LayoutVks[i], true) + XKeycodeOffset, row.xKeycodes[i])
                << "vk 0x" << std::hex << int(LayoutVks[i]);
    }
}

TEST(LayoutFromNames, TheFirstOfSeveralGroupsAndVariantsCount) {
    std::string error;
    const auto deUs = LayoutKeysFromNames({"de,us", "nodeadkeys,", "", ""}, error);
    ASSERT_TRUE(deUs) << error;
    EXPECT_EQ(deUs->codes[0x5A], KEY_Y); // VK_Z
    const auto dvorak = LayoutKeysFromNames({"us", "dvorak", "", ""}, error);
    ASSERT_TRUE(dvorak) << error;
    EXPECT_EQ(dvorak->codes[0x41], KEY_A);
    EXPECT_EQ(dvorak->codes[0x51], KEY_X);          // VK_Q
    EXPECT_EQ(dvorak->codes[0xBC], KEY_W);          // VK_OEM_COMMA
    EXPECT_EQ(dvorak->codes[0xBD], KEY_APOSTROPHE); // VK_OEM_MINUS
}

TEST(LayoutFromNames, TheBuiltInUsLayoutIsTheCompiledOne) {
    std::string error;
    EXPECT_EQ(LayoutKeysFromNames({"us", "", "pc105", ""}, error), LayoutKeys::Us()) << error;
}

TEST(LayoutFromNames, AnUnknownLayoutSaysSo) {
    std::string error;
    EXPECT_FALSE(LayoutKeysFromNames({"xx-none", "", "", ""}, error));
    EXPECT_NE(error.find("xx-none"), std::string::npos) << error;
}

TEST(KeyPlacement, AHeldKeyIsLetGoWhereItWentDown) {
    std::string error;
    const LayoutKeys us = LayoutKeys::Us();
    const auto de = LayoutKeysFromNames({"de", "", "", ""}, error);
    ASSERT_TRUE(de) << error;
    const LayoutKeys* current = &us;
    KeyPlacement placement(std::make_unique<layouts::SwitchableLayout>(current));
    constexpr std::uint8_t VkZ = 0x5A;
    EXPECT_EQ(placement.KeyFor(VkZ, true), KEY_Z);
    current = &*de;
    EXPECT_EQ(placement.ScanCode(VkZ), unsigned(KEY_Y)); // what a new press would be
    EXPECT_EQ(placement.KeyFor(VkZ, true), KEY_Z);       // a repeat stays on the held key
    EXPECT_EQ(placement.KeyFor(VkZ, false), KEY_Z);
    EXPECT_EQ(placement.KeyFor(VkZ, true), KEY_Y);
}

// localed answers from a thread of its own: the reader blocks while it waits.
class LocaledLayoutTest : public ::testing::Test {
protected:
    void Serve(const QVariantMap& properties) {
        serverThread_.start();
        std::promise<void> ready;
        QMetaObject::invokeMethod(
            &context_,
            [&] {
                fakes_ = bus_.Connect("localed");
                localed_ = std::make_unique<testing::FakeService>(
                    "org.freedesktop.locale1", calls_, [properties](const QDBusMessage& call) {
                        return call.createReply(QVariant::fromValue(properties));
                    });
                fakes_.registerVirtualObject("/org/freedesktop/locale1", localed_.get());
                fakes_.registerService("org.freedesktop.locale1");
                ready.set_value();
            },
            Qt::QueuedConnection);
        ready.get_future().wait();
    }
    void SetUp() override { context_.moveToThread(&serverThread_); }
    void TearDown() override {
        QMetaObject::invokeMethod(
            &context_,
            [this] {
                localed_.reset();
                QDBusConnection::disconnectFromBus("localed");
            },
            Qt::BlockingQueuedConnection);
        serverThread_.quit();
        serverThread_.wait();
        QDBusConnection::disconnectFromBus("reader");
    }

    testing::PrivateBus bus_;
    QThread serverThread_;
    QObject context_;
    QDBusConnection fakes_{"none"};
    std::vector<testing::BusCall> calls_;
    std::unique_ptr<testing::FakeService> localed_;
};

TEST_F(LocaledLayoutTest, ReadsTheX11KeyboardSettings) {
    Serve({{"X11Layout", "fr"},
           {"X11Variant", "azerty"},
           {"X11Model", "pc105"},
           {"X11Options", "compose:ralt"},
           {"VConsoleKeymap", "fr"}});
    std::string error;
    const auto names = ReadLocaledLayout(bus_.Connect("reader"), error);
    ASSERT_TRUE(names) << error;
    EXPECT_EQ(names->layout, "fr");
    EXPECT_EQ(names->variant, "azerty");
    EXPECT_EQ(names->model, "pc105");
    EXPECT_EQ(names->options, "compose:ralt");
    ASSERT_EQ(calls_.size(), 1u);
    EXPECT_EQ(calls_[0].member, "GetAll");
    EXPECT_EQ(calls_[0].arguments, QList<QVariant>{"org.freedesktop.locale1"});
}

TEST_F(LocaledLayoutTest, NoLayoutOrNoLocaledIsAnError) {
    std::string error;
    EXPECT_FALSE(ReadLocaledLayout(bus_.Connect("reader"), error)); // nobody serves yet
    EXPECT_NE(error.find("did not answer"), std::string::npos) << error;
    Serve({{"X11Layout", ""}});
    EXPECT_FALSE(ReadLocaledLayout(bus_.Connect("reader"), error));
    EXPECT_NE(error.find("names no X11 keyboard layout"), std::string::npos) << error;
}

} // namespace
} // namespace padwright
