// The kernel part against stand-in directories: the real event nodes are tested in the VM tier.
#include "platform/dinput/LibevdevKernel.h"
#include "platform/dinput/Classification.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace padwright {
namespace {

namespace fs = std::filesystem;

class LibevdevKernelTest : public ::testing::Test {
protected:
    fs::path root =
        fs::temp_directory_path() /
        ("padwright-kernel-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    void SetUp() override { fs::create_directories(root / "input"); }
    void TearDown() override { fs::remove_all(root); }
    void Write(const fs::path& path, const std::string& text) {
        fs::create_directories(path.parent_path());
        std::ofstream(path) << text;
    }
};

TEST_F(LibevdevKernelTest, ListsEventNodesInNumericOrder) {
    for (const char* name : {"event10", "event2", "event0", "mouse0", "js0", "eventx", "by-id"})
        Write(root / "input" / name, "");
    LibevdevKernel kernel((root / "input").string(), (root / "sys").string());
    std::vector<std::string> nodes;
    ASSERT_TRUE(kernel.ListNodes(nodes));
    const std::string dir = (root / "input").string();
    EXPECT_EQ(nodes,
              (std::vector<std::string>{dir + "/event0", dir + "/event2", dir + "/event10"}));
}

TEST_F(LibevdevKernelTest, NoInputDirectoryIsNotAnError) {
    LibevdevKernel kernel((root / "absent").string(), (root / "sys").string());
    std::vector<std::string> nodes{"stale"};
    EXPECT_FALSE(kernel.ListNodes(nodes));
    EXPECT_TRUE(nodes.empty());
}

TEST_F(LibevdevKernelTest, OpenReportsTheErrno) {
    Write(root / "input" / "event0", "not a device");
    LibevdevKernel kernel((root / "input").string(), (root / "sys").string());
    std::unique_ptr<IEvdevNode> node;
    EXPECT_EQ(kernel.Open((root / "input" / "event7").string(), node), ENOENT);
    EXPECT_NE(kernel.Open((root / "input" / "event0").string(), node), 0); // no evdev ioctls
    EXPECT_EQ(node, nullptr);
}

TEST_F(LibevdevKernelTest, PeekReadsSysfsCapabilities) {
    const fs::path dev = root / "sys" / "event3" / "device";
    Write(dev / "name", "Wireless Controller\n");
    Write(dev / "uniq", "a0:b1:c2:d3:e4:f5\n");
    Write(dev / "phys", "\n");
    Write(dev / "id" / "bustype", "0005\n");
    Write(dev / "id" / "vendor", "054c\n");
    Write(dev / "id" / "product", "09cc\n");
    Write(dev / "id" / "version", "8100\n");
    Write(dev / "properties", "0\n");
    Write(dev / "capabilities" / "ev", "1b\n");
    // Words of 64 bits, most significant first: BTN_SOUTH (304) is bit 48 of word 4.
    Write(dev / "capabilities" / "key", "7fdb000000000000 0 0 0 0\n");
    Write(dev / "capabilities" / "abs", "3003f\n");
    LibevdevKernel kernel((root / "input").string(), (root / "sys").string());
    EvdevDescription d;
    ASSERT_TRUE(kernel.Peek((root / "input" / "event3").string(), d));
    EXPECT_EQ(d.name, "Wireless Controller");
    EXPECT_EQ(d.uniq, "a0:b1:c2:d3:e4:f5");
    EXPECT_EQ(d.bus, 5);
    EXPECT_EQ(d.product, 0x09cc);
    EXPECT_TRUE(d.HasKey(BTN_SOUTH));
    EXPECT_TRUE(d.HasKey(BTN_THUMBR));
    EXPECT_FALSE(d.HasKey(BTN_C));
    EXPECT_TRUE(d.HasAbs(ABS_HAT0Y));
    EXPECT_TRUE(IsGameController(d));
    EXPECT_FALSE(kernel.Peek((root / "input" / "event4").string(), d));
}

} // namespace
} // namespace padwright
