#include "store/ProfileFiles.h"
#include "store/ProfileStore.h"

#include "ProfileStoreRig.h"
#include "engine/Errors.h"
#include "platform/files/Utf8Path.h"

namespace padwright {
namespace {

using namespace test;

TEST_F(ProfileFilesTest, ExportThenImportGivesAByteIdenticalRecordAtTheEnd) {
    ExportProfile(profiles[0], "one.pro", StoreFileName, boxes);
    EXPECT_TRUE(SameBytes(ReadBytes("one.pro"), Bytes(profiles[0])));
    EXPECT_EQ(ImportProfiles("one.pro", profiles, boxes, {}), 1);
    ASSERT_EQ(profiles.count(), 3);
    EXPECT_TRUE(
        SameBytes(Bytes(profiles[2]), Bytes(profiles[0]))); // same name too: duplicates are allowed
    EXPECT_TRUE(boxes.shown.empty());
}

// Under any of its names; any other file is replaced, whatever its name holds.
TEST_F(ProfileFilesTest, ExportRefusesOnlyTheStoreInUse) {
    const std::string other = "\xC3\x96sterreich \xE2\x82\xAC.pro"; // names are UTF-8 everywhere
    WriteBytes(StoreFileName, "store");
    WriteBytes(PathOf(other), "other");
    fs::create_hard_link(StoreFileName, "second name.pro");
    ExportProfile(profiles[0], other, StoreFileName, boxes);
    EXPECT_TRUE(SameBytes(ReadBytes(PathOf(other)), Bytes(profiles[0])));
    ExportProfile(profiles[1], "second name.pro", StoreFileName, boxes);
    EXPECT_EQ(ReadBytes(StoreFileName), "store");
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].second, "Error");
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

TEST_F(ProfileFilesTest, AFolderIsRefusedWithItsReason) {
    fs::create_directory("folder.pro");
    ExpectRefusedEverywhere("folder.pro", "Invalid filename: folder.pro");
    EXPECT_TRUE(fs::is_directory("folder.pro"));
}

} // namespace
} // namespace padwright
