#include "store/ProfileStore.h"

#include "ProfileStoreRig.h"
#include "engine/Errors.h"
#include "engine/Lists.h"
#include "store/StoreFormat.h"

#include <cstring>

namespace padwright {
namespace {

using namespace test;

TEST_F(ProfileStoreTest, SizeDecidesTheFormat) {
    struct Case {
        std::size_t size;
        int profiles; // -1: refused
    };
    const Case cases[] = {
        {0, 0},      {15040 * 3, 3}, {2361280, 157}, {10048 * 2, 2}, {15039, -1},
        {15041, -1}, {10047, -1},    {10049, -1},    {1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        const std::string file = RandomBytes(c.size, static_cast<unsigned>(c.size));
        WriteBytes(StoreFileName, file);
        RecordingBoxes caseBoxes;
        ProfileStore caseStore(caseBoxes);
        StableList<TProfile> loaded;
        caseStore.Load(loaded);
        if (c.profiles < 0) {
            EXPECT_EQ(loaded.count(), 0);
            ASSERT_EQ(caseBoxes.shown.size(), 1u);
            EXPECT_EQ(caseBoxes.shown[0].first, StoreNotCompatibleText);
            EXPECT_EQ(caseBoxes.shown[0].second, "Warning");
            EXPECT_TRUE(SameBytes(ReadBytes(StoreFileName), file)); // not touched
            continue;
        }
        EXPECT_TRUE(caseBoxes.shown.empty());
        EXPECT_EQ(loaded.count(), c.profiles);
        if (c.size % 15040 == 0) {
            EXPECT_TRUE(SameBytes(ListBytes(loaded), file)); // every byte taken as read
        }
    }
}

TEST_F(ProfileStoreTest, NoStoreMeansNoProfilesAndNoMessage) {
    store.Load(profiles);
    EXPECT_EQ(profiles.count(), 0);
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_FALSE(store.BackupPending());
}

TEST_F(ProfileStoreTest, RawImagesSurviveSaveAndLoad) {
    profiles.push_back(RandomProfile(1));
    TProfile longName = RandomProfile(2);
    longName.Name.assign(std::string(255, 'N'));
    profiles.push_back(longName);
    // A damaged function-name length byte is read as 50 but stored as it was.
    TProfile damaged = RandomProfile(3);
    damaged.Mappings[7].FunctionName.Len = 200;
    profiles.push_back(damaged);
    profiles.push_back(NewProfile("Same"));
    profiles.push_back(NewProfile("Same"));

    store.Save(profiles);
    EXPECT_TRUE(SameBytes(ReadBytes(StoreFileName), ListBytes(profiles)));

    StableList<TProfile> loaded;
    ProfileStore(boxes).Load(loaded);
    ASSERT_EQ(loaded.count(), 5);
    EXPECT_TRUE(SameBytes(ListBytes(loaded), ListBytes(profiles)));
    EXPECT_EQ(loaded[1].Name.view(), std::string(255, 'N'));
    EXPECT_EQ(loaded[2].Mappings[7].FunctionName.Len, 200);
    EXPECT_EQ(loaded[2].Mappings[7].FunctionName.size(), 50u);
    EXPECT_EQ(loaded[3].Name.view(), "Same");
    EXPECT_EQ(loaded[4].Name.view(), "Same");

    profiles.clear();
    store.Save(profiles);
    EXPECT_EQ(fs::file_size(StoreFileName), 0u);
}

// Legacy entry k of record `record`: 68 bytes after the 256-byte name field.
char* LegacyEntry(std::string& record, int k) {
    return record.data() + 256 + 68 * k;
}

std::string LegacyRecord(const std::string& name) {
    std::string record(LegacyRecordSize, '\0');
    record[0] = static_cast<char>(name.size());
    std::memcpy(record.data() + 1, name.data(), name.size());
    return record;
}

void SetLegacyMapping(std::string& record, int k, const std::string& function, std::int32_t code) {
    char* entry = LegacyEntry(record, k);
    entry[0] = static_cast<char>(function.size());
    std::memcpy(entry + 1, function.data(), std::min<std::size_t>(function.size(), 50));
    std::memcpy(entry + 52, &code, 4);
    const std::int32_t kind = 1;
    std::memcpy(entry + 56, &kind, 4);
    entry[60] = 1;                    // Ctrl
    entry[63] = 1;                    // Shift
    std::memset(entry + 64, 0x7F, 4); // not part of the current entry: must not be read
}

TEST_F(ProfileStoreTest, LegacyRecordsAreConverted) {
    const std::string fifty(50, 'F');
    std::string first = LegacyRecord("A long legacy name");
    SetLegacyMapping(first, 0, fifty, 0x11223344);  // X-
    SetLegacyMapping(first, 15, "Slider", 15);      // slider 2+
    SetLegacyMapping(first, 16, "Button1", 16);     // button 1
    SetLegacyMapping(first, 143, "Button128", 143); // button 128
    std::string second = LegacyRecord("B");
    SetLegacyMapping(second, 5, std::string(50, 'x'), 5);
    LegacyEntry(second, 5)[0] = static_cast<char>(200); // damaged length byte
    WriteBytes(StoreFileName, first + second);

    store.Load(profiles);
    ASSERT_EQ(profiles.count(), 2);
    EXPECT_TRUE(boxes.shown.empty());
    const TProfile& a = profiles[0];
    EXPECT_EQ(a.Name.view(), "A long legacy name");
    EXPECT_EQ(a.Mappings[0].FunctionName.view(), fifty);
    EXPECT_EQ(a.Mappings[0].Code, 0x11223344);
    EXPECT_EQ(a.Mappings[0].Kind, fkKey);
    EXPECT_EQ(a.Mappings[0].Ctrl, 1);
    EXPECT_EQ(a.Mappings[0].Shift, 1);
    EXPECT_EQ(a.Mappings[15].FunctionName.view(), "Slider");
    EXPECT_EQ(a.Mappings[ButtonSlot(0)].FunctionName.view(), "Button1");
    EXPECT_EQ(a.Mappings[ButtonSlot(127)].FunctionName.view(), "Button128");
    EXPECT_EQ(a.Mappings[ButtonSlot(127)].Code, 143);

    for (const TProfile* p : {&profiles[0], &profiles[1]}) {
        for (int slot = 0; slot < SlotCount; ++slot) {
            const auto* bytes = reinterpret_cast<const unsigned char*>(&p->Mappings[slot]);
            EXPECT_EQ(bytes[51], 0) << slot;
            for (int i = 64; i < 84; ++i) // no repeat, no run-time state
                EXPECT_EQ(bytes[i], 0) << slot << " byte " << i;
            if (slot >= FirstHatSlot && slot < FirstButtonSlot) {
                for (int i = 0; i < 84; ++i) // no hat mappings
                    EXPECT_EQ(bytes[i], 0) << slot;
            }
        }
    }
    const TProfile& b = profiles[1];
    EXPECT_EQ(b.Name.view(), "B");
    EXPECT_EQ(b.Mappings[5].FunctionName.Len, 50);
    EXPECT_EQ(b.Mappings[5].FunctionName.view(), std::string(50, 'x'));
    // One conversion buffer serves every record: the second keeps the first's bytes past its
    // own lengths, where no reader looks.
    EXPECT_EQ(std::string(b.Name.Chars + 1, 17), std::string("A long legacy name").substr(1));
    EXPECT_EQ(b.Mappings[0].FunctionName.Len, 0);
    EXPECT_EQ(std::string(b.Mappings[0].FunctionName.Chars, 50), fifty);

    store.Save(profiles);
    EXPECT_EQ(fs::file_size(StoreFileName), 2u * 15040);
}

TEST_F(ProfileStoreTest, StoreThatCouldNotBeLoadedIsKeptBeforeTheFirstOverwrite) {
    const std::string foreign = RandomBytes(15040 + 7, 9);
    WriteBytes(StoreFileName, foreign);
    store.Load(profiles);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_TRUE(store.BackupPending());

    profiles.push_back(NewProfile("New"));
    store.Save(profiles);
    EXPECT_TRUE(SameBytes(ReadBytes("Padwright.pro.bak"), foreign));
    EXPECT_TRUE(SameBytes(ReadBytes(StoreFileName), ListBytes(profiles)));
    EXPECT_FALSE(store.BackupPending());

    // Later saves replace only the store.
    profiles.push_back(NewProfile("Newer"));
    store.Save(profiles);
    EXPECT_TRUE(SameBytes(ReadBytes("Padwright.pro.bak"), foreign));
    EXPECT_TRUE(SameBytes(ReadBytes(StoreFileName), ListBytes(profiles)));

    // The next store that cannot be read gets a backup of its own; the earlier ones stay.
    const std::string later = RandomBytes(10048 + 1, 10);
    for (const char* which : {"second", "third"}) {
        WriteBytes(StoreFileName, later + which);
        ProfileStore next(boxes);
        StableList<TProfile> none;
        next.Load(none);
        next.Save(profiles);
    }
    EXPECT_TRUE(SameBytes(ReadBytes("Padwright.pro.bak"), foreign));
    EXPECT_TRUE(SameBytes(ReadBytes("Padwright.pro.bak.1"), later + "second"));
    EXPECT_TRUE(SameBytes(ReadBytes("Padwright.pro.bak.2"), later + "third"));
    EXPECT_TRUE(SameBytes(ReadBytes(StoreFileName), ListBytes(profiles)));
}

TEST_F(ProfileStoreTest, AStoreOfTooManyProfilesIsRefusedBeforeItIsRead) {
    const struct {
        std::int64_t size;
        bool refused;
    } cases[] = {
        {MaxStoredProfiles * 15040, false},
        {(MaxStoredProfiles + 1) * 15040, true},
        {(MaxStoredProfiles + 1) * 10048, true},
        {std::int64_t(15040) << 26, true}, // a terabyte: must not be read at all
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        WriteBytes(StoreFileName, "");
        ResizeSparse(StoreFileName, c.size);
        ProfileStore caseStore(boxes);
        StableList<TProfile> loaded;
        if (!c.refused) {
            caseStore.Load(loaded);
            EXPECT_EQ(loaded.count(), MaxStoredProfiles);
            loaded.emplace_back(); // nor is a store written that the next start would refuse
            EXPECT_THROW(caseStore.Save(loaded), Error);
            EXPECT_EQ(fs::file_size(StoreFileName), static_cast<std::uintmax_t>(c.size));
            continue;
        }
        try {
            caseStore.Load(loaded);
            ADD_FAILURE() << "loaded " << loaded.count() << " profiles";
        } catch (const Error& error) {
            EXPECT_STREQ(error.what(), "File too large: Padwright.pro");
        }
        EXPECT_EQ(loaded.count(), 0);
        EXPECT_TRUE(caseStore.BackupPending());
    }
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(ProfileStoreTest, FailedSaveLeavesTheOldStoreByteIdentical) {
    profiles.push_back(RandomProfile(4));
    store.Save(profiles);
    const std::string before = ReadBytes(StoreFileName);

    profiles.push_back(RandomProfile(5));
    profiles.push_back(RandomProfile(6));
    store.SetFileFactory(
        [](const std::string& path) { return std::make_unique<FullDiskFile>(path, 15040 + 5000); });
    try {
        store.Save(profiles);
        FAIL() << "the save reported success";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "Disk full: Padwright.pro");
    }
    EXPECT_TRUE(SameBytes(ReadBytes(StoreFileName), before));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1)
        << "the temporary file was left behind";

    store.SetFileFactory(OpenAtomicFile);
    store.Save(profiles);
    EXPECT_TRUE(SameBytes(ReadBytes(StoreFileName), ListBytes(profiles)));
}

} // namespace
} // namespace padwright
