#include "platform/dinput/EvemuParser.h"

#include <gtest/gtest.h>

#include <sstream>

namespace padwright {
namespace {

EvemuDevice Parse(const std::string& text) {
    std::istringstream in(text);
    return ParseEvemu(in, "pad.evemu");
}

const char* const Minimal = "# EVEMU 1.3\n"
                            "N: Pad  \n"
                            "I: 0003 045e 028e 0110\n"
                            "P: 00 00 00 00 00 00 00 00\n"
                            "B: 00 0b 00 00 00 00 00 00 00\n"
                            "B: 01 00 00 00 00 00 00 00 00\n"
                            "B: 01 00 00 00 00 00 00 00 00\n"
                            "B: 01 00 00 00 00 00 00 00 00\n"
                            "B: 01 00 00 00 00 00 00 00 00\n"
                            "B: 01 00 00 00 00 00 00 01 00\n"
                            "B: 03 03 00 00 00 00 00 00 00\n"
                            "#     Event code 0 (ABS_X)\n"
                            "A: 00 -32768 32767 16 128 0\n"
                            "A: 01 0 255 0 15\n"
                            "E: 0.000001 0001 0130 0001\n"
                            "E: 0.000002 0003 0001 -5\n";

TEST(EvemuParserTest, ReadsIdentityBitsRangesAndEvents) {
    const EvemuDevice d = Parse(Minimal);
    EXPECT_EQ(d.description.name, "Pad  ");
    EXPECT_EQ(d.description.vendor, 0x045e);
    EXPECT_EQ(d.description.product, 0x028e);
    EXPECT_TRUE(d.description.HasKey(BTN_SOUTH)); // bit 0 of byte 38 of the key bitmap
    EXPECT_EQ(d.description.keys.count(), 1u);
    EXPECT_EQ(d.description.absinfo[ABS_X].minimum, -32768);
    EXPECT_EQ(d.description.absinfo[ABS_Y].flat, 15);
    // No recorded position: the axes start at their centre.
    EXPECT_EQ(d.description.absinfo[ABS_X].value, 0);
    EXPECT_EQ(d.description.absinfo[ABS_Y].value, 127);
    ASSERT_EQ(d.events.size(), 2u);
    EXPECT_EQ(d.events[0].type, EV_KEY);
    EXPECT_EQ(d.events[0].code, BTN_SOUTH);
    EXPECT_EQ(d.events[1].value, -5);
}

TEST(EvemuParserTest, StartValuesComeFromTheCommentedListing) {
    const std::string text = std::string(Minimal) + "#   Event type 3 (EV_ABS)\n"
                                                    "#     Event code 1 (ABS_Y)\n"
                                                    "#       Value           9\n";
    EXPECT_EQ(Parse(text).description.absinfo[ABS_Y].value, 9);
}

TEST(EvemuParserTest, ErrorsNameFileAndLine) {
    struct {
        std::string text;
        std::string message;
    } cases[] = {
        {"hello\n", "pad.evemu:1: not a device description"},
        {"# EVEMU 1.3\nN: x\nI: 0003 zz 0001 0001\n", "pad.evemu:3: I: value \"zz\""},
        {"# EVEMU 1.3\nN: x\nI: 3 1 1 1\nB: 03 1g\n", "pad.evemu:4: \"1g\" is not a hexadecimal"},
        {"# EVEMU 1.3\nN: x\nI: 3 1 1 1\nA: 00 10 5 0 0 0\n", "pad.evemu:4: A: minimum above"},
        {"# EVEMU 1.3\nN: x\nI: 3 1 1 1\nE: 0.1 0001 0120\n", "pad.evemu:4: E: needs"},
        {"# EVEMU 1.3\nN: x\nQ: 1\n", "pad.evemu:3: unknown line type 'Q:'"},
        {"# EVEMU 1.3\nN: x\n", "pad.evemu:2: no I: line"},
        {"# EVEMU 1.3\nN: x\nI: 3 1 1 1\nB: 02 00 00 ff\n", "pad.evemu:4: bit 16 is beyond"},
    };
    for (const auto& c : cases) {
        try {
            Parse(c.text);
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const EvemuError& e) {
            EXPECT_EQ(std::string(e.what()).rfind(c.message, 0), 0u) << e.what();
        }
    }
}

TEST(EvemuParserTest, MissingFileIsNamed) {
    try {
        LoadEvemuFile("/nonexistent/pad.evemu");
        FAIL();
    } catch (const EvemuError& e) {
        EXPECT_EQ(std::string(e.what()), "/nonexistent/pad.evemu: cannot be opened");
    }
}

} // namespace
} // namespace padwright
