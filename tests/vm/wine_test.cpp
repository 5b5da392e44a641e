// The Windows tools under Wine in the guest, with Wine from the host's /usr: a button becomes a
// key through the engine and the real keybd_event.
#include "Subprocess.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fstream>

namespace padwright::vm {
namespace {

constexpr const char* Wine = "/usr/lib/wine/wine64";
using Clock = std::chrono::steady_clock;

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

void Figure(const char* what, Clock::time_point since) {
    std::printf("FIGURE (emulated) %s: %.1f s\n", what,
                std::chrono::duration<double>(Clock::now() - since).count());
}

// A scripted press of button 1, mapped to A, through the engine and the real keybd_event: the
// desktop's low-level keyboard hook sees the key go down and up, marked as injected.
TEST(Wine, AButtonBecomesAKeyThroughKeybdEvent) {
    Clock::time_point start = Clock::now();
    Subprocess watch({Wine, PADWRIGHT_KEYWATCH_EXE, "2", "300"});
    ASSERT_TRUE(watch.WaitForOutput([](const std::string& out) { return Has(out, "watching"); },
                                    std::chrono::seconds(120)))
        << watch.Output();
    Figure("Wine's start in the prefix made on the host", start);
    const std::string script = "/tmp/button-to-key.txt";
    std::ofstream(script) << "profile Keys\nmap 1 48 VK_A\ncontroller profile=1 buttons=4\n"
                             "set 1 buttons=1\ncycle\nset 1 buttons=\ncycle\n";
    start = Clock::now();
    Subprocess replay({Wine, PADWRIGHT_REPLAY_EXE, "--inject", script});
    EXPECT_EQ(replay.Wait(std::chrono::seconds(120)), 0) << replay.Output();
    EXPECT_EQ(watch.Wait(std::chrono::seconds(30)), 0) << watch.Output();
    Figure("padwright-replay.exe's start to its keys seen", start);
    const std::string& keys = watch.Output();
    const auto down = keys.find("key down vk=0x41 scan=0x1e injected");
    EXPECT_NE(down, std::string::npos) << keys;
    EXPECT_NE(keys.find("key up vk=0x41 scan=0x1e injected", down), std::string::npos) << keys;
}

} // namespace
} // namespace padwright::vm
