// The profile store loader on arbitrary files: never a crash, and whatever it loads is what the
// file holds (current layout) or a faithful conversion (legacy layout) that saves byte for byte.
#include "store/ProfileFiles.h"
#include "store/ProfileStore.h"
#include "store/StoreFormat.h"

#include "ScratchFolder.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

using namespace padwright;

struct Boxes : IMessageBoxes {
    int shown = 0;
    void Warning(std::string_view, std::string_view) override { ++shown; }
    void Error(std::string_view) override { ++shown; }
};

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void Check(bool condition) {
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string store = ScratchFolder() + "/Padwright.pro";
    const std::string saved = ScratchFolder() + "/saved.pro";
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::ofstream(store, std::ios::binary | std::ios::trunc) << input;

    Boxes boxes;
    StableList<TProfile> profiles;
    ProfileStore(boxes, store).Load(profiles);
    const StoreFormat format = StoreFormatOfSize(static_cast<std::int64_t>(size));
    Check((format == StoreFormat::Incompatible) == (boxes.shown == 1));

    if (format == StoreFormat::Legacy) {
        Check(profiles.size() == size / LegacyRecordSize);
        for (std::size_t r = 0; r < profiles.size(); ++r) {
            const TProfile& p = profiles[r];
            const std::uint8_t* legacy = data + r * LegacyRecordSize;
            Check(p.Name.view() ==
                  std::string_view(reinterpret_cast<const char*>(legacy + 1), legacy[0]));
            for (int slot = 0; slot < SlotCount; ++slot) {
                const TControlMapping& m = p.Mappings[slot];
                Check(m.FunctionName.Len <= FunctionNameCapacity);
                Check(m.AutoRepeat == 0 && m.RepeatRate == 0 && m.PressState == 0 &&
                      m.RepeatCountdown == 0 && m.Reserved == 0);
                if (slot >= FirstHatSlot && slot < FirstButtonSlot)
                    Check(m.FunctionName.Len == 0 && m.Code == 0 && m.Kind == 0);
            }
        }
    }

    ProfileStore(boxes, saved).Save(profiles);
    const std::string written = ReadAll(saved);
    Check(written.size() == profiles.size() * sizeof(TProfile));
    if (format == StoreFormat::Current)
        Check(written == input);

    // Import takes one exported record, or a store of two or more records as the store's load
    // reads it; nothing else.
    StableList<TProfile> imported;
    const std::int64_t taken =
        ImportProfiles(store, imported, boxes, [](const std::string&) { return true; });
    const bool single = size == sizeof(TProfile);
    Check(taken == static_cast<std::int64_t>(imported.size()));
    Check(taken ==
          (single || profiles.size() >= 2 ? static_cast<std::int64_t>(profiles.size()) : 0));
    for (std::size_t r = 0; r < imported.size(); ++r)
        Check(std::memcmp(&imported[r], &profiles[r], sizeof(TProfile)) == 0);
    return 0;
}
