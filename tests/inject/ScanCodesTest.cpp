#include "platform/inject/ScanCodes.h"

#include "engine/Catalogue.h"

#include <gtest/gtest.h>

namespace padwright {
namespace {

TEST(ScanCodes, SetOneCodesOfAUsLayout) {
    const struct {
        std::uint32_t vk, scan;
    } cases[] = {{0x41, 0x1E}, {0x5A, 0x2C},  {0x30, 0x0B}, {0x31, 0x02}, {0x0D, 0x1C},
                 {0x11, 0x1D}, {0x12, 0x38},  {0x10, 0x2A}, {0x5C, 0x5C}, {0x70, 0x3B},
                 {0x7B, 0x58}, {0x87, 0x76},  {0x25, 0x4B}, {0x60, 0x52}, {0xAF, 0x30},
                 {0xE2, 0x56}, {0x01, 0x00},  {0x02, 0x00}, {0x04, 0x00}, {0x05, 0x00},
                 {0x06, 0x00}, {0x100, 0x00}, {0x2F, 0x63}};
    for (const auto& c : cases)
        EXPECT_EQ(VirtualKeyToScanCode(c.vk), c.scan) << std::hex << c.vk;
}

TEST(ScanCodes, EveryKeyOfTheKeyboardBlockHasOne) {
    for (const TFunctionEntry& row : VirtualKeys()) {
        const bool keyboardKey =
            (row.Code >= 0x08 && row.Code <= 0x28) || (row.Code >= 0x30 && row.Code <= 0x5A) ||
            (row.Code >= 0x60 && row.Code <= 0x6B) || (row.Code >= 0x6D && row.Code <= 0x87);
        if (keyboardKey) {
            EXPECT_NE(VirtualKeyToScanCode(row.Code), 0u) << row.Name;
        }
    }
}

} // namespace
} // namespace padwright
