#include "input/DirectInputErrorText.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace padwright {
namespace {

TEST(DirectInputErrorText, CompositeTextsAreQuotedSentencesJoinedByOr) {
    EXPECT_EQ(DirectInputErrorText(1),
              "\"The operation had no effect.\" or \"The device buffer overflowed and some input "
              "was lost.\" or \"The device exists but is not currently attached.\" or \"The "
              "change in device properties had no effect.\"");
    EXPECT_EQ(DirectInputErrorText(MakeResult(0x80070005)),
              "\"The device already has an event notification associated with it.\" or \"The "
              "specified property cannot be changed.\" or \"Another application has a higher "
              "priority level, preventing this call from succeeding. \"");
}

TEST(DirectInputErrorText, KeepsTheOddSpellingsOfTheTable) {
    EXPECT_EQ(DirectInputErrorText(MakeResult(0x8004020B)),
              "An error has occured either reading the vendor-supplied action-mapping file for "
              "the device or reading or writing the user configuration mapping file for the "
              "device.");
    EXPECT_EQ(DirectInputErrorText(E_POINTER),
              "An invalid Pointer, usually NULL, was passed as a parameter.");
    EXPECT_EQ(DirectInputErrorText(MakeResult(0x800704DF)), "This object is already initialized");
    EXPECT_EQ(DirectInputErrorText(MakeResult(0x800405CC)),
              "No more memory for effects of this kind (not documented)");
}

TEST(DirectInputErrorText, CommonCodes) {
    EXPECT_EQ(DirectInputErrorText(DI_OK), "The operation completed successfully.");
    EXPECT_EQ(DirectInputErrorText(DIERR_INPUTLOST),
              "Access to the input device has been lost. It must be reacquired.");
    EXPECT_EQ(DirectInputErrorText(DIERR_UNPLUGGED),
              "The operation could not be completed because the device is not plugged in.");
    EXPECT_EQ(DirectInputErrorText(DIERR_DEVICENOTREG),
              "The device or device instance is not registered with DirectInput. This value is "
              "equal to the REGDB_E_CLASSNOTREG standard COM return value.");
    EXPECT_EQ(DirectInputErrorText(MakeResult(0x0000000C)),
              "Equal to DI_EFFECTRESTARTED | DI_TRUNCATED.");
}

TEST(DirectInputErrorText, CodesOutsideTheTableAreUnknown) {
    for (std::uint32_t code :
         {0x5u, 0x9u, 0xDu, 0x7FFFFFFFu, 0x80004004u, 0x8007001Fu, 0xFFFFFFFFu, 0x0007001Eu})
        EXPECT_EQ(DirectInputErrorText(MakeResult(code)), "Unknown Error") << std::hex << code;
}

TEST(DirectInputErrorText, ExactlyFortyCodesHaveTheirOwnDistinctText) {
    const std::uint32_t codes[] = {
        0x00000000, 0x00000001, 0x00000002, 0x00000003, 0x00000004, 0x00000008, 0x0000000B,
        0x0000000C, 0x80004001, 0x80004002, 0x80004003, 0x80004005, 0x80040110, 0x80040154,
        0x80040201, 0x80040202, 0x80040203, 0x80040204, 0x80040205, 0x80040206, 0x80040207,
        0x80040208, 0x80040209, 0x8004020A, 0x8004020B, 0x800405CC, 0x80070002, 0x80070005,
        0x80070006, 0x80070007, 0x8007000C, 0x8007000E, 0x80070015, 0x8007001E, 0x80070057,
        0x80070077, 0x800700AA, 0x8007047E, 0x80070481, 0x800704DF};
    std::set<std::string> texts;
    for (std::uint32_t code : codes) {
        const std::string text(DirectInputErrorText(MakeResult(code)));
        EXPECT_NE(text, "Unknown Error") << std::hex << code;
        texts.insert(text);
    }
    EXPECT_EQ(texts.size(), 40u);
}

} // namespace
} // namespace padwright
