// The store where only POSIX systems go: read-only folders, symbolic links and permissions,
// file systems that fill up, and processes killed half-way. The Windows build leaves it out.
#include "store/ProfileStore.h"

#include "ProfileStoreRig.h"
#include "StorePosixSupport.h"
#include "engine/Errors.h"

#include <csignal>
#include <cstring>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>

namespace padwright {
namespace {

using namespace test;

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
