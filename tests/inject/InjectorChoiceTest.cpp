#include "platform/inject/InjectorChoice.h"

#include "platform/inject/RecordingInjector.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace padwright {
namespace {

InjectorOpeners::Opener Works(bool* called = nullptr) {
    return [called](std::string&) -> std::unique_ptr<IInputInjector> {
        if (called)
            *called = true;
        return std::make_unique<RecordingInjector>();
    };
}

InjectorOpeners::Opener Fails(const std::string& why) {
    return [why](std::string& error) -> std::unique_ptr<IInputInjector> {
        error = why;
        return nullptr;
    };
}

TEST(InjectorChoice, UinputComesFirstAndIsFull) {
    bool xtestTried = false;
    for (const bool wayland : {false, true}) {
        const InjectorChoice choice = ChooseInjector({Works(), Works(&xtestTried), wayland});
        EXPECT_EQ(choice.status.level, InjectionLevel::Full);
        EXPECT_EQ(choice.status.backend, "uinput");
        EXPECT_TRUE(choice.status.message.empty());
        EXPECT_NE(choice.injector, nullptr);
    }
    EXPECT_FALSE(xtestTried);
}

TEST(InjectorChoice, XTestIsFullOnX11AndLimitedUnderWayland) {
    const InjectorChoice x11 =
        ChooseInjector({Fails("/dev/uinput: Permission denied"), Works(), false});
    EXPECT_EQ(x11.status.level, InjectionLevel::Full);
    EXPECT_EQ(x11.status.backend, "XTest");
    EXPECT_TRUE(x11.status.message.empty());

    const InjectorChoice wayland =
        ChooseInjector({Fails("/dev/uinput: Permission denied"), Works(), true});
    EXPECT_EQ(wayland.status.level, InjectionLevel::Limited);
    EXPECT_EQ(wayland.status.backend, "XTest");
    EXPECT_NE(wayland.status.message.find("only X programs"), std::string::npos);
    EXPECT_NE(wayland.status.message.find("Permission denied"), std::string::npos);
    EXPECT_NE(wayland.status.message.find("70-padwright-uinput.rules"), std::string::npos);
}

TEST(InjectorChoice, NoneSaysWhyAndHowToGrantAccessAndDropsInput) {
    const InjectorChoice choice = ChooseInjector(
        {Fails("/dev/uinput: No such file or directory"), Fails("no X display"), false});
    EXPECT_EQ(choice.status.level, InjectionLevel::None);
    EXPECT_TRUE(choice.status.backend.empty());
    const std::string& m = choice.status.message;
    EXPECT_NE(m.find("No such file or directory"), std::string::npos) << m;
    EXPECT_NE(m.find("no X display"), std::string::npos) << m;
    EXPECT_NE(m.find("modprobe uinput"), std::string::npos) << m;
    ASSERT_NE(choice.injector, nullptr);
    // The engine keeps working against it: scan codes still answer.
    EXPECT_EQ(choice.injector->MapVirtualKeyA(0x41, MAPVK_VK_TO_VSC), 0x1Eu);
    choice.injector->keybd_event(0x41, 0x1E, 0, 0);
}

// An installed rule only needs applying: the advice names the file and the commands.
TEST(InjectorChoice, AdviceNamesTheInstalledRuleOrHowToInstallIt) {
    const std::string folder = ::testing::TempDir() + "padwright-rules-" + std::to_string(getpid());
    std::filesystem::create_directories(folder);
    const std::string missing = UinputAccessAdvice({folder});
    EXPECT_NE(missing.find("/etc/udev/rules.d"), std::string::npos) << missing;
    std::ofstream(folder + "/70-padwright-uinput.rules") << "KERNEL==\"uinput\"\n";
    const std::string installed = UinputAccessAdvice({"/nonexistent", folder});
    EXPECT_NE(installed.find(folder + "/70-padwright-uinput.rules"), std::string::npos)
        << installed;
    EXPECT_NE(installed.find("udevadm control --reload && sudo udevadm trigger"),
              std::string::npos);
    EXPECT_NE(installed.find("modprobe uinput"), std::string::npos);
    std::filesystem::remove_all(folder);
}

} // namespace
} // namespace padwright
