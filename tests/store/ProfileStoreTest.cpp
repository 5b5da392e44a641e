#include "store/ProfileStore.h"

#include "StoreTestSupport.h"
#include "engine/Errors.h"
#include "engine/Lists.h"
#include "store/StoreFormat.h"

#include <csignal>
#include <cstring>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>

namespace padwright {
namespace {

using namespace test;

std::string RandomBytes(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random());
    return bytes;
}

std::string ListBytes(const StableList<TProfile>& profiles) {
    std::string bytes;
    for (const TProfile& profile : profiles)
        bytes += Bytes(profile);
    return bytes;
}

class ProfileStoreTest : public InTempDir {
protected:
    RecordingBoxes boxes;
    ProfileStore store{boxes};
    StableList<TProfile> profiles;
};

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
        fs::resize_file(StoreFileName, static_cast<std::uintmax_t>(c.size)); // sparse
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

// Writes `allowed` bytes, then fails as a full disk does.
class FullDiskFile : public AtomicFile {
public:
    FullDiskFile(const std::string& path, std::int64_t allowed)
        : AtomicFile(path), left_(allowed) {}

protected:
    bool WriteBytes(const char* data, std::int64_t size) override {
        const std::int64_t n = std::min(size, left_);
        if (n > 0 && !AtomicFile::WriteBytes(data, n))
            return false;
        left_ -= n;
        if (n == size)
            return true;
        errno = ENOSPC;
        return false;
    }

private:
    std::int64_t left_;
};

// Runs `save` without root's privileges; returns 0 saved, 2 refused with `refusal`, 3 any other
// error (100: privileges could not be dropped).
int SaveUnprivileged(const std::function<void()>& save,
                     const std::string& refusal = "File access denied") {
    return InUnprivilegedChild([&] {
        try {
            save();
            return 0;
        } catch (const Error& error) {
            return std::string(error.what()).rfind(refusal, 0) == 0 ? 2 : 3;
        }
    });
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

TEST_F(ProfileStoreTest, FullDiskLeavesTheOldStoreByteIdentical) {
    fs::create_directory("small");
    if (::mount("tmpfs", "small", "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "cannot mount a tmpfs here: " << std::strerror(errno);
    ProfileStore small(boxes, "small/Padwright.pro");
    profiles.push_back(RandomProfile(7));
    profiles.push_back(RandomProfile(8));
    small.Save(profiles);
    const std::string before = ReadBytes("small/Padwright.pro");
    for (unsigned i = 0; i < 4; ++i)
        profiles.push_back(RandomProfile(10 + i));
    std::string message;
    try {
        small.Save(profiles);
    } catch (const Error& error) {
        message = error.what();
    }
    EXPECT_EQ(message, "Disk full: small/Padwright.pro");
    EXPECT_TRUE(SameBytes(ReadBytes("small/Padwright.pro"), before));

    // The same where the folder is read-only and the file is written in place.
    fs::permissions("small/Padwright.pro", fs::perms(0666));
    fs::permissions("small", fs::perms(0555));
    EXPECT_EQ(SaveUnprivileged([&] { small.Save(profiles); }, "Disk full"), 2);
    const std::string after = ReadBytes("small/Padwright.pro");
    ::umount("small");
    EXPECT_TRUE(SameBytes(after, before));
}

TEST_F(ProfileStoreTest, SaveKeepsPermissionsAndWritesThroughASymbolicLink) {
    fs::create_directory("real");
    WriteBytes("real/store.pro", "");
    fs::permissions("real/store.pro", fs::perms(0640));
    fs::create_symlink("real/store.pro", StoreFileName);
    profiles.push_back(RandomProfile(20));
    store.Save(profiles);
    EXPECT_TRUE(fs::is_symlink(StoreFileName));
    EXPECT_TRUE(SameBytes(ReadBytes("real/store.pro"), ListBytes(profiles)));
    EXPECT_EQ(fs::status("real/store.pro").permissions() & fs::perms::all, fs::perms(0640));
}

TEST_F(ProfileStoreTest, PermissionCases) {
    const std::string old = Bytes(RandomProfile(30));
    profiles.push_back(RandomProfile(31));
    const fs::path store = dir / StoreFileName;
    ProfileStore absolute(boxes, store.string());

    // Folder not writable, file writable: written in place.
    WriteBytes(store, old);
    fs::permissions(store, fs::perms(0666));
    fs::permissions(dir, fs::perms(0555));
    EXPECT_EQ(SaveUnprivileged([&] { absolute.Save(profiles); }), 0);
    EXPECT_TRUE(SameBytes(ReadBytes(store), ListBytes(profiles)));

    // File read-only: refused, file unchanged.
    fs::permissions(dir, fs::perms(0777));
    WriteBytes(store, old);
    fs::permissions(store, fs::perms(0444));
    EXPECT_EQ(SaveUnprivileged([&] { absolute.Save(profiles); }), 2);
    EXPECT_TRUE(SameBytes(ReadBytes(store), old));

    // Store unreadable: the load fails, and the save will not replace what it could not keep.
    fs::permissions(store, fs::perms::none);
    EXPECT_EQ(SaveUnprivileged([&] {
                  ProfileStore fresh(boxes, store.string());
                  StableList<TProfile> loaded;
                  try {
                      fresh.Load(loaded);
                      ::_exit(5); // read a file it may not read
                  } catch (const Error&) {
                  }
                  if (!fresh.BackupPending())
                      ::_exit(6);
                  fresh.Save(profiles);
              }),
              2);
    fs::permissions(store, fs::perms::owner_read);
    EXPECT_TRUE(SameBytes(ReadBytes(store), old));
}

// Writes in place, since the folder is read-only, and fails after `allowed` bytes when that is
// not negative, or is killed there.
class InPlaceFailingFile : public AtomicFile {
public:
    InPlaceFailingFile(const std::string& path, std::int64_t allowed, bool killed)
        : AtomicFile(path), left_(allowed), killed_(killed) {}

protected:
    bool WriteBytes(const char* data, std::int64_t size) override {
        if (left_ < 0)
            return AtomicFile::WriteBytes(data, size);
        const std::int64_t n = std::min(size, left_);
        if (!AtomicFile::WriteBytes(data, n))
            return false;
        left_ -= n;
        if (killed_ && n < size)
            ::raise(SIGKILL);
        errno = ENOSPC;
        return n == size;
    }

private:
    std::int64_t left_;
    bool killed_;
};

TEST_F(ProfileStoreTest, AWriteInPlaceNeverLosesTheOldStore) {
    const struct {
        const char* what;
        int before, after;      // records
        rlim_t sizeLimit;       // RLIM_INFINITY: none
        std::int64_t failAfter; // -1: the disk does not fail
        const char* error;      // "killed": the process dies at `failAfter`
    } cases[] = {
        {"grows", 2, 6, RLIM_INFINITY, -1, nullptr},
        {"shrinks, the rest cut off last", 6, 1, RLIM_INFINITY, -1, nullptr},
        {"final size cannot be reserved", 2, 6, 65536, -1, "Disk full"},
        {"fails half-way through growing", 2, 6, RLIM_INFINITY, 15040 * 2 + 700, "Disk full"},
        {"fails half-way through shrinking", 6, 2, RLIM_INFINITY, 15040 + 5, "Disk full"},
        {"killed amid the old records", 6, 8, RLIM_INFINITY, 15040 * 3, "killed"},
        {"killed past the old end", 2, 6, RLIM_INFINITY, 15040 * 4, "killed"},
    };
    const fs::path store = dir / StoreFileName;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fs::permissions(dir, fs::perms::all);
        StableList<TProfile> old, saved;
        for (int i = 0; i < c.before; ++i)
            old.push_back(RandomProfile(40 + i));
        for (int i = 0; i < c.after; ++i)
            saved.push_back(RandomProfile(50 + i));
        WriteBytes(store, ListBytes(old));
        fs::permissions(store, fs::perms(0666));
        fs::permissions(dir, fs::perms(0555));
        ProfileStore inPlace(boxes, store.string());
        const bool killed = c.error && std::string(c.error) == "killed";
        inPlace.SetFileFactory([&](const std::string& path) {
            return std::make_unique<InPlaceFailingFile>(path, c.failAfter, killed);
        });
        const int status = SaveUnprivileged(
            [&] {
                const rlimit limit{c.sizeLimit, c.sizeLimit};
                ::signal(SIGXFSZ, SIG_IGN); // the limit then fails the call instead
                if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
                    ::_exit(7);
                inPlace.Save(saved);
            },
            c.error ? c.error : "(none)");
        // Killed: what was written so far, then the old records it did not reach, none blank.
        const std::string oldBytes = ListBytes(old), newBytes = ListBytes(saved);
        const auto written = static_cast<std::size_t>(std::max<std::int64_t>(c.failAfter, 0));
        EXPECT_EQ(status, killed ? -1 : c.error ? 2 : 0);
        EXPECT_TRUE(SameBytes(ReadBytes(store),
                              !c.error  ? newBytes
                              : !killed ? oldBytes
                                        : newBytes.substr(0, written) +
                                              oldBytes.substr(std::min(written, oldBytes.size()))));
        EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
    }
}

// A store that could not be loaded is kept once, before the first save however many fail, where
// it can be written and apart from the file the save overwrites; a box says where.
TEST_F(ProfileStoreTest, AStoreThatCouldNotBeLoadedIsKeptOnceWhereItCanBe) {
    const std::string foreign = RandomBytes(15040 + 7, 60);
    profiles.push_back(RandomProfile(61));
    const fs::path data = dir / "data-home" / "Padwright";
    fs::permissions(dir, fs::perms::all); // where the data folder is made
    const struct {
        const char *store, *target; // the name the program is given, and the file it names
        bool readOnly;              // the target's folder
        fs::path kept;              // empty: nowhere (the data folder is read-only too)
    } cases[] = {
        {"a/Padwright.pro", "a/Padwright.pro", false, "a/Padwright.pro.bak"},
        {"b/Padwright.pro", "b/Padwright.pro", true, data / "Padwright.pro.bak"},
        {"c/Padwright.pro", "c/real/store", true, "c/Padwright.pro.bak"}, // written in place
        {"d/Padwright.pro", "d/Padwright.pro", true, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.target);
        const fs::path folder = fs::path(c.target).parent_path();
        fs::create_directories(folder);
        fs::permissions(fs::path(c.store).parent_path(), fs::perms::all);
        WriteBytes(c.target, foreign);
        fs::permissions(c.target, fs::perms(0666));
        if (c.store != std::string(c.target))
            fs::create_symlink(dir / c.target, c.store);
        if (c.kept.empty()) {
            fs::create_directories(data);
            fs::permissions(data, fs::perms(0555));
        }
        RecordingBoxes caseBoxes;
        ProfileStore unread(caseBoxes, c.store);
        StableList<TProfile> none;
        unread.Load(none);
        if (c.readOnly)
            fs::permissions(folder, fs::perms(0555));
        const int status = SaveUnprivileged([&] {
            unread.SetFileFactory([&](const std::string& path) -> std::unique_ptr<AtomicFile> {
                return path == c.store ? std::make_unique<FullDiskFile>(path, 100)
                                       : OpenAtomicFile(path);
            });
            for (int failed = 0; failed < 5; ++failed) {
                try {
                    unread.Save(profiles);
                    ::_exit(4);
                } catch (const Error&) {
                }
            }
            unread.SetFileFactory(OpenAtomicFile);
            unread.Save(profiles);
            if (caseBoxes.shown.size() != 2 ||
                caseBoxes.shown[1].first != StoreKeptText(fs::absolute(c.kept).string()))
                ::_exit(5);
        });
        fs::permissions(folder, fs::perms::all);
        EXPECT_EQ(status, c.kept.empty() ? 2 : 0);
        EXPECT_TRUE(SameBytes(ReadBytes(c.target), c.kept.empty() ? foreign : ListBytes(profiles)));
        if (!c.kept.empty()) {
            EXPECT_TRUE(SameBytes(ReadBytes(c.kept), foreign));
            EXPECT_FALSE(fs::exists(c.kept.string() + ".1"));
        }
    }
}

} // namespace
} // namespace padwright
