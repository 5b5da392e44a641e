#include "engine/Lists.h"
#include "engine/Rounding.h"

#include <gtest/gtest.h>

#include <cstring>

namespace padwright {
namespace {

TEST(Records, AMappingReadsItsFieldsFromTheStoredLittleEndianBytes) {
    unsigned char bytes[sizeof(TControlMapping)] = {};
    bytes[0] = 4;
    std::memcpy(bytes + 1, "VK_A", 4);
    bytes[51] = 0x77;                               // filler, carried along
    bytes[52] = 0x41;                               // Code
    bytes[56] = 1;                                  // Kind
    bytes[60] = 1;                                  // Ctrl
    bytes[62] = 1;                                  // Win
    bytes[64] = 1;                                  // AutoRepeat
    bytes[68] = 0xFF;                               // RepeatRate 255
    bytes[72] = 0x64;                               // RepeatCountdown 100
    std::memcpy(bytes + 76, "\x01\x02\x03\x04", 4); // Reserved
    std::memcpy(bytes + 80, "\x02\x00\x00\x00", 4); // PressState
    TControlMapping m;
    std::memcpy(&m, bytes, sizeof m);
    EXPECT_EQ(m.FunctionName.view(), "VK_A");
    EXPECT_EQ(m.Code, 0x41);
    EXPECT_EQ(m.Kind, fkKey);
    EXPECT_EQ(m.Ctrl + m.Alt * 2 + m.Win * 4 + m.Shift * 8, 5);
    EXPECT_EQ(m.AutoRepeat, 1);
    EXPECT_EQ(m.RepeatRate, 255);
    EXPECT_EQ(m.RepeatCountdown, 100);
    EXPECT_EQ(m.Reserved, 0x04030201);
    EXPECT_EQ(m.PressState, psRepeating);
    unsigned char back[sizeof m];
    std::memcpy(back, &m, sizeof m);
    EXPECT_EQ(std::memcmp(back, bytes, sizeof m), 0);
}

TEST(Records, ANewProfileIsAllZeroBesideItsName) {
    const TProfile p = NewProfile("Racing");
    EXPECT_EQ(p.Name.view(), "Racing");
    const auto* raw = reinterpret_cast<const unsigned char*>(&p);
    for (std::size_t i = 256; i < sizeof p; ++i)
        ASSERT_EQ(raw[i], 0) << "byte " << i;
    for (std::size_t i = 1 + 6; i < 256; ++i)
        ASSERT_EQ(raw[i], 0) << "name byte " << i;
    EXPECT_EQ(reinterpret_cast<const unsigned char*>(&p.Mappings[175]) - raw, 256 + 175 * 84);
}

TEST(Records, SlotNumbers) {
    EXPECT_EQ(HatSlot(1, 5), 29); // hat 2 "D-L"
    EXPECT_EQ(ButtonSlot(127), 175);
    EXPECT_EQ(AxisSlot(5, false), 10); // Rz "-"
    EXPECT_EQ(AxisSlot(0, true), 1);
    EXPECT_EQ(SliderSlot(1, true), 15);
    EXPECT_EQ(HatSlot(3, 7), 47);
    EXPECT_EQ(ButtonSlot(0), 48);
    EXPECT_STREQ(HatDirectionLabels[5], "D-L");
}

TEST(ShortString, CutsAtTheCapacityWithoutSplittingACharacter) {
    const struct {
        std::string text;
        std::size_t stored;
    } cases[] = {
        {std::string(50, 'a'), 50},
        {std::string(51, 'a'), 50},
        {std::string(49, 'a') + "\xC3\xA9", 49},               // two-byte character across the edge
        {std::string(48, 'a') + "\xC3\xA9", 50},               // fits exactly
        {std::string(48, 'a') + "\xE2\x82\xAC", 48},           // three bytes, one over
        {std::string(47, 'a') + "\xF0\x9F\x8E\xAE" + "b", 47}, // four bytes across the edge
        {"", 0},
    };
    for (const auto& c : cases) {
        TControlMapping m{};
        m.FunctionName.assign(c.text);
        EXPECT_EQ(m.FunctionName.size(), c.stored) << c.text;
        EXPECT_EQ(m.FunctionName.view(), std::string_view(c.text).substr(0, c.stored));
    }
}

TEST(ShortString, ALengthByteBeyondTheCapacityReadsAsTheCapacity) {
    TControlMapping m{};
    m.FunctionName.Len = 200;
    EXPECT_EQ(m.FunctionName.size(), 50u);
    TProfile p{};
    p.Name.Len = 255;
    EXPECT_EQ(p.Name.size(), 255u);
}

TEST(Rounding, HalfToEven) {
    const struct {
        double value;
        std::int64_t rounded;
    } cases[] = {{0.5, 0},   {1.5, 2},   {2.5, 2},    {-0.5, 0},   {-1.5, -2},
                 {-2.5, -2}, {62.5, 62}, {2.4999, 2}, {2.5001, 3}, {7.0, 7}};
    for (const auto& c : cases)
        EXPECT_EQ(RoundHalfEven(c.value), c.rounded) << c.value;

    const struct {
        std::int64_t n, d, q;
    } divisions[] = {{1000, 16, 62}, {1000, 3, 333}, {1000, 6, 167},        {5, 2, 2},
                     {7, 2, 4},      {-5, 2, -2},    {-7, 2, -4},           {10 * 5, 100, 0},
                     {150, 100, 2},  {250, 100, 2},  {3699950, 100, 37000}, {3699850, 100, 36998}};
    for (const auto& c : divisions)
        EXPECT_EQ(DivRoundHalfEven(c.n, c.d), c.q) << c.n << "/" << c.d;
}

TEST(StableList, ElementsNeverMove) {
    StableList<TProfile> list;
    TProfile& first = list.push_back(NewProfile("one"));
    for (int i = 0; i < 100; ++i)
        list.push_back(NewProfile("more"));
    EXPECT_EQ(&list[0], &first);
    TProfile& last = list[100];
    list.erase(50);
    EXPECT_EQ(&list[99], &last);
    EXPECT_EQ(list.count(), 100);
}

} // namespace
} // namespace padwright
