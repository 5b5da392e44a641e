#include "input/DiLog.h"
#include "LogFolder.h"
#include "engine/Errors.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace padwright {
namespace {

using testing::DiLogTest;
using testing::ReadFile;
namespace fs = std::filesystem;

TEST_F(DiLogTest, OffWritesNothingAndLeavesAnExistingLogAlone) {
    std::ofstream(path) << "old";
    DiLog log;
    EXPECT_FALSE(log.LogEnabled());
    log.LogDirectInputError("Failed to poll device: ", DIERR_INPUTLOST);
    log.Close();
    EXPECT_EQ(ReadFile(path), "old");
}

TEST_F(DiLogTest, LinesArePrefixAndTextEndedByCrLfAndOpeningEmptiesTheFile) {
    std::ofstream(path) << "stale content of an earlier run\r\n";
    DiLog log;
    log.Open(path.string());
    EXPECT_TRUE(log.LogEnabled());
    EXPECT_EQ(fs::file_size(path), 0u);
    log.LogDirectInputError("Failed to create device: ", DIERR_DEVICENOTREG);
    log.LogDirectInputError("Failed to poll device: ", 5);
    log.Close();
    EXPECT_FALSE(log.LogEnabled());
    EXPECT_EQ(ReadFile(path),
              "Failed to create device: The device or device instance is not registered with "
              "DirectInput. This value is equal to the REGDB_E_CLASSNOTREG standard COM return "
              "value.\r\nFailed to poll device: Unknown Error\r\n");
}

// Read by another program while the log stays open, as a user looking for a missing pad does.
TEST_F(DiLogTest, EachLineIsInTheFileAsSoonAsItIsWritten) {
    DiLog log;
    log.Open(path.string());
    const std::string line =
        "Failed to poll device: Access to the input device has been lost. It must be "
        "reacquired.\r\n";
    log.LogDirectInputError("Failed to poll device: ", DIERR_INPUTLOST);
    EXPECT_EQ(ReadFile(path), line);
    log.LogDirectInputError("Failed to poll device: ", DIERR_INPUTLOST);
    EXPECT_EQ(ReadFile(path), line + line);
    EXPECT_TRUE(log.LogEnabled());
}

TEST_F(DiLogTest, SwitchingOffAndOnAgainEmptiesTheLog) {
    DiLog log;
    log.Open(path.string());
    log.LogDirectInputError("Failed to acquire device: ", DIERR_UNPLUGGED);
    log.Close();
    EXPECT_GT(fs::file_size(path), 0u);
    log.Open(path.string());
    log.Close();
    EXPECT_EQ(fs::file_size(path), 0u);
}

TEST_F(DiLogTest, TheDestructorWritesOutWhatIsBuffered) {
    {
        DiLog log;
        log.Open(path.string());
        log.LogDirectInputError("Failed to set coop level: ", DIERR_INVALIDPARAM);
    }
    EXPECT_EQ(ReadFile(path).substr(0, 26), "Failed to set coop level: ");
}

TEST_F(DiLogTest, OthersMayReadTheOpenLogButASecondWriterIsRefused) {
    DiLog first;
    first.Open(path.string());
    first.LogDirectInputError("Failed to poll device: ", DIERR_INPUTLOST);
    std::ifstream reader(path, std::ios::binary);
    ASSERT_TRUE(reader.is_open());

    DiLog second;
    EXPECT_THROW(second.Open(path.string()), Error);
    EXPECT_FALSE(second.LogEnabled());
    first.Close();
    char line[23] = {};
    EXPECT_TRUE(reader.read(line, sizeof line));
    EXPECT_EQ(std::string(line, sizeof line), "Failed to poll device: ");
    reader.close();
    EXPECT_FALSE(ReadFile(path).empty()) << "the refused opener must not have emptied the log";
}

} // namespace
} // namespace padwright
