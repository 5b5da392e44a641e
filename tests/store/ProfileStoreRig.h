#pragma once
// What the store's suites share: the store in a fresh folder, its bytes, and a disk that fills.
#include "StoreTestSupport.h"
#include "engine/Errors.h"
#include "engine/Lists.h"
#include "store/FileAccess.h"
#include "store/ProfileFiles.h"
#include "store/ProfileStore.h"

#include <algorithm>
#include <cerrno>
#include <functional>
#include <memory>

namespace padwright::test {

inline std::string RandomBytes(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random());
    return bytes;
}

inline std::string ListBytes(const StableList<TProfile>& profiles) {
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

class ProfileFilesTest : public InTempDir {
protected:
    void SetUp() override {
        InTempDir::SetUp();
        profiles.push_back(RandomProfile(1));
        profiles.push_back(RandomProfile(2));
    }

    // Import, Export, and the store's Load and Save all refuse `path` with `expected`, and
    // change nothing.
    void ExpectRefusedEverywhere(const char* path, const std::string& expected) {
        SCOPED_TRACE(path);
        const std::function<void()> operations[] = {
            [&] { ImportProfiles(path, profiles, boxes, {}); },
            [&] { ExportProfile(profiles[0], path, StoreFileName, boxes); },
            [&] {
                StableList<TProfile> loaded;
                ProfileStore(boxes, path).Load(loaded);
            },
            [&] { ProfileStore(boxes, path).Save(profiles); },
        };
        for (const auto& operation : operations) {
            try {
                operation();
                ADD_FAILURE() << "no error";
            } catch (const Error& error) {
                EXPECT_EQ(error.what(), expected);
            }
        }
        EXPECT_EQ(profiles.count(), 2);
        EXPECT_TRUE(boxes.shown.empty());
    }

    RecordingBoxes boxes;
    StableList<TProfile> profiles;
};

} // namespace padwright::test
