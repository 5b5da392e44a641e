// inotify's word of plugging, on a scratch folder standing in for /dev/input.
#include "platform/dinput/PlugMonitor.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <poll.h>

namespace padwright {
namespace {

namespace fs = std::filesystem;

struct Scratch {
    fs::path root = fs::temp_directory_path() / ("plug-monitor-" + std::to_string(getpid()));
    Scratch() { fs::create_directories(root); }
    ~Scratch() { fs::remove_all(root); }
};

bool Readable(const IPlugMonitor& monitor) {
    pollfd p{monitor.Fd(), POLLIN, 0};
    return poll(&p, 1, 0) == 1;
}

TEST(InotifyPlugMonitor, EventNodesOnlyAlsoWhenTheFolderComesLater) {
    Scratch scratch;
    const fs::path input = scratch.root / "input";
    auto monitor = OpenInotifyPlugMonitor(input.string());
    ASSERT_TRUE(monitor);
    EXPECT_STREQ(monitor->Kind(), "inotify");
    EXPECT_FALSE(Readable(*monitor));

    struct Step {
        const char* what;
        std::function<void()> act;
        bool word;
    };
    const fs::path node = input / "event3";
    const std::vector<Step> steps = {
        {"the folder appears", [&] { fs::create_directory(input); }, true},
        {"a node comes", [&] { std::ofstream(node).put('x'); }, true},
        {"a joystick-interface node", [&] { std::ofstream(input / "js0").put('x'); }, false},
        {"access granted", [&] { fs::permissions(node, fs::perms::all); }, true},
        {"the node goes", [&] { fs::remove(node); }, true},
        {"the folder goes", [&] { fs::remove_all(input); }, true},
        {"and comes back with a node",
         [&] {
             fs::create_directory(input);
             std::ofstream(input / "event5").put('x');
         },
         true},
        {"watched again", [&] { fs::remove(input / "event5"); }, true},
    };
    for (const Step& step : steps) {
        step.act();
        EXPECT_EQ(monitor->Drain(), step.word) << step.what;
        EXPECT_FALSE(Readable(*monitor)) << step.what << ": all was read";
    }
}

} // namespace
} // namespace padwright
