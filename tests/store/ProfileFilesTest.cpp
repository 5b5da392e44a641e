#include "store/ProfileFiles.h"
#include "store/ProfileStore.h"

#include "StoreTestSupport.h"
#include "engine/Errors.h"

#include <functional>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>

namespace padwright {
namespace {

using namespace test;

class ProfileFilesTest : public InTempDir {
protected:
    void SetUp() override {
        InTempDir::SetUp();
        profiles.push_back(RandomProfile(1));
        profiles.push_back(RandomProfile(2));
    }
    RecordingBoxes boxes;
    StableList<TProfile> profiles;
};

TEST_F(ProfileFilesTest, ExportThenImportGivesAByteIdenticalRecordAtTheEnd) {
    ExportProfile(profiles[0], "one.pro", StoreFileName, boxes);
    EXPECT_TRUE(SameBytes(ReadBytes("one.pro"), Bytes(profiles[0])));
    EXPECT_EQ(ImportProfiles("one.pro", profiles, boxes, {}), 1);
    ASSERT_EQ(profiles.count(), 3);
    EXPECT_TRUE(
        SameBytes(Bytes(profiles[2]), Bytes(profiles[0]))); // same name too: duplicates are allowed
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(ProfileFilesTest, OnlyFilesOfExactlyOneRecordAreProfiles) {
    for (std::size_t size : {0, 1, 15039, 15041, 10048, 30081}) {
        SCOPED_TRACE(size);
        WriteBytes("odd.pro", std::string(size, 'p'));
        RecordingBoxes caseBoxes;
        EXPECT_EQ(ImportProfiles("odd.pro", profiles, caseBoxes, {}), 0);
        EXPECT_EQ(profiles.count(), 2);
        ASSERT_EQ(caseBoxes.shown.size(), 1u);
        EXPECT_EQ(caseBoxes.shown[0].first, NotAValidProfileText);
        EXPECT_EQ(caseBoxes.shown[0].second, "Error");
    }
}

TEST_F(ProfileFilesTest, UnreadableFileRaisesTheRuntimeErrorAndChangesNothing) {
    try {
        ImportProfiles("missing.pro", profiles, boxes, {});
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "File not found: missing.pro");
    }
    EXPECT_EQ(profiles.count(), 2);
    EXPECT_TRUE(boxes.shown.empty());
}

class FailingFile : public AtomicFile {
public:
    using AtomicFile::AtomicFile;

protected:
    bool WriteBytes(const char*, std::int64_t) override {
        errno = EIO;
        return false;
    }
};

TEST_F(ProfileFilesTest, FailedExportLeavesTheOldFile) {
    WriteBytes("old.pro", "old contents");
    EXPECT_THROW(
        ExportProfile(profiles[1], "old.pro", StoreFileName, boxes,
                      [](const std::string& path) { return std::make_unique<FailingFile>(path); }),
        Error);
    EXPECT_TRUE(SameBytes(ReadBytes("old.pro"), "old contents"));
}

// Anything but a regular file is refused with what it is, and a FIFO neither waits for a peer
// nor is replaced.
TEST_F(ProfileFilesTest, FoldersFifosAndSocketsAreRefusedWithTheirReason) {
    fs::create_directory("folder.pro");
    ASSERT_EQ(::mkfifo("pipe.pro", 0666), 0);
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{AF_UNIX, "socket.pro"};
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(listener);
    const struct {
        const char* path;
        const char* text;
    } targets[] = {{"folder.pro", "Invalid filename: "},
                   {"pipe.pro", "File access denied: "},
                   {"socket.pro", "File access denied: "}};
    for (const auto& t : targets) {
        SCOPED_TRACE(t.path);
        const std::string expected = t.text + std::string(t.path);
        const std::function<void()> operations[] = {
            [&] { ImportProfiles(t.path, profiles, boxes, {}); },
            [&] { ExportProfile(profiles[0], t.path, StoreFileName, boxes); },
            [&] {
                StableList<TProfile> loaded;
                ProfileStore(boxes, t.path).Load(loaded);
            },
            [&] { ProfileStore(boxes, t.path).Save(profiles); },
        };
        for (const auto& operation : operations) {
            try {
                operation();
                ADD_FAILURE() << "no error";
            } catch (const Error& error) {
                EXPECT_EQ(error.what(), expected);
            }
        }
    }
    EXPECT_EQ(profiles.count(), 2);
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_TRUE(fs::is_directory("folder.pro"));
    EXPECT_TRUE(fs::is_fifo("pipe.pro"));
    EXPECT_TRUE(fs::is_socket("socket.pro"));
}

TEST_F(ProfileFilesTest, ADeviceIsWrittenDirectlyNeverReplaced) {
    // A private copy of /dev/full, so that a fault here cannot destroy the machine's own.
    if (::mknod("full", S_IFCHR | 0666, ::makedev(1, 7)) != 0)
        GTEST_SKIP() << "cannot make a device node here";
    try {
        ExportProfile(profiles[0], "full", StoreFileName, boxes);
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "Disk full: full");
    }
    EXPECT_TRUE(fs::is_character_file("full")) << "the device was replaced";
}

} // namespace
} // namespace padwright
