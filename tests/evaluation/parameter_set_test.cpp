#include "evaluation/parameter_set.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstring>

namespace quorvex {
namespace {

std::int32_t Int32At(const ByteImage& image, std::size_t offset) {
    return static_cast<std::int32_t>(LoadU32(&image[offset]));
}
float FloatAt(const ByteImage& image, std::size_t offset) {
    return std::bit_cast<float>(LoadU32(&image[offset]));
}
double DoubleAt(const ByteImage& image, std::size_t offset) {
    double v = 0;
    std::memcpy(&v, &image[offset], 8);
    return v;
}
std::string StringAt(const ByteImage& image, std::size_t offset) {
    return std::string(image.begin() + offset + 1, image.begin() + offset + 1 + image[offset]);
}

const std::string kInactiveStage = "/0/     0.000/1/     0.000/1";

TEST(ParameterSet, DefaultImageAgreesWithTheTable) {
    const ByteImage image = ParameterSetImage(DefaultParameterSet());
    ASSERT_EQ(image.size(), 6451u);

    struct Byte { std::size_t offset; int value; } bytes[] = {
        {1704, 1}, {1705, 0}, {1811, 0}, {1924, 1}, {2054, 1}, {2055, 1}, {2056, 1}, {2057, 0},
        {2074, 0}, {2075, 1}, {2100, 1}, {2101, 1}, {2102, 1}, {2103, 1}, {2104, 1}, {2105, 0},
        {2106, 0}, {2108, 0}, {2109, 0}, {2110, 0}, {2111, 1}, {2112, 0}, {2113, 1}, {2114, 1},
        {2115, 0}, {2116, 1}, {2141, 0}, {2142, 0}, {2147, 0}, {2417, 0}, {2418, 0}, {2419, 0},
        {2422, 0}, {2423, 0}, {2429, 0}, {2430, 0}, {2433, 0}, {2437, 0}, {3851, 0}, {3854, 0},
    };
    for (const auto& b : bytes) EXPECT_EQ(image[b.offset], b.value) << "offset " << b.offset;

    struct Int { std::size_t offset; std::int32_t value; } ints[] = {
        {1706, 80}, {2038, 0}, {2117, 2}, {2121, 3}, {2125, 0}, {2143, 1}, {2281, 10},
        {2285, 20}, {2289, 10}, {2293, 20}, {2385, 5}, {2389, 30}, {2393, 20}, {2397, 0},
        {2401, 0}, {2405, 0}, {2409, 0}, {2413, 0}, {3651, 100}, {3655, 10}, {3659, 30},
        {3663, 0}, {3667, 0}, {3671, 0}, {3675, 1}, {3679, 0}, {3683, 0}, {3687, 1},
        {3691, 50}, {3695, 1},
    };
    for (const auto& i : ints) EXPECT_EQ(Int32At(image, i.offset), i.value) << "offset " << i.offset;

    struct Float { std::size_t offset; float value; } floats[] = {
        {1812, 10},    {1816, 50},     {1820, 60},   {1824, 78.54f}, {1828, 20},   {1832, 1},
        {1836, 80},    {1840, 120},    {1844, 20},   {1848, 20},     {1852, 2},    {1856, 44},
        {1860, 52.8f}, {1864, 59.66f}, {1868, 7.84f}, {1872, 70},    {1876, 200},  {1880, 38},
        {1884, 150},   {1888, 44.64f}, {1892, 10},   {1896, 10},     {1900, 3.5f}, {1904, 14},
        {1908, 33.7f}, {1912, 50},     {1916, 60},   {1920, 50.98f}, {1925, 78.54f}, {1929, 50},
        {1933, 60},    {1937, 50},     {1941, 1.0f}, {2042, 0.2f},   {2046, 20},   {2050, 30},
        {2058, 0.1f},  {2062, 0.2f},   {2066, 50},   {2070, 210000}, {2076, 60},   {2080, 80},
        {2084, 100},   {2088, 300},    {2092, 2},    {2096, 1.9f},   {2129, 0},
    };
    for (const auto& f : floats) EXPECT_EQ(FloatAt(image, f.offset), f.value) << "offset " << f.offset;

    struct Double { std::size_t offset; double value; } doubles[] = {
        {2273, 100.0}, {2297, 2.0},   {2305, 3.0},    {2313, 0.0},  {2321, 80.0},
        {2329, 0.0},   {2337, 0.0},   {2345, 0.0},    {2353, 0.0},  {3251, 2.0},
        {3259, 1},     {3267, 2},     {3275, 3},      {3283, 4},    {3291, 5},
        {3299, 1.5},   {3307, 0.002}, {3315, 0.1},    {3323, 80.0}, {3331, 0.5},
        {3339, 0.2},   {3347, 30.0},
    };
    for (const auto& d : doubles) EXPECT_EQ(DoubleAt(image, d.offset), d.value) << "offset " << d.offset;

    // Results definition: slot 14 (Ag) is the one with limit monitoring on; E's limits.
    const std::size_t ag = 1224 + 13 * 16;
    EXPECT_EQ(image[ag], 1);
    EXPECT_EQ(image[ag + 1], 1);
    EXPECT_EQ(FloatAt(image, ag + 7), 100.0f);
    const std::size_t e = 1224 + 18 * 16;
    EXPECT_EQ(FloatAt(image, e + 3), 60000.0f);
    EXPECT_EQ(FloatAt(image, e + 7), 300000.0f);
    EXPECT_EQ(Int32At(image, 1224 + 2 * 16 + 11), 3);  // d with three decimals
    EXPECT_EQ(FloatAt(image, 1224 + 21 * 16 + 7), 100.0f);  // slot 22
    for (std::size_t i = 1224 + 22 * 16; i < 1704; ++i) EXPECT_EQ(image[i], 0) << i;  // 23-30
    for (int slot = 0; slot < 30; ++slot) EXPECT_EQ(image[1224 + slot * 16 + 15], 0);

    // Speed stages: 1-5 binary defaults, 6-30 as the text of an inactive stage.
    for (int stage = 0; stage < 5; ++stage) {
        const std::size_t at = 2148 + 25 * stage;
        EXPECT_EQ(image[at], 0);
        EXPECT_EQ(Int32At(image, at + 9), 1);
        EXPECT_EQ(Int32At(image, at + 21), 1);
    }
    for (int stage = 0; stage < 25; ++stage) {
        EXPECT_EQ(StringAt(image, 3901 + 51 * stage), kInactiveStage) << "stage " << stage + 6;
    }
    // Strings are empty and unnamed reserved ranges zero.
    EXPECT_EQ(image[0], 0);
    EXPECT_EQ(image[2441], 0);
    for (std::size_t i = 1710; i < 1811; ++i) EXPECT_EQ(image[i], 0);
    for (std::size_t i = 5176; i < 6451; ++i) EXPECT_EQ(image[i], 0);
}

TEST(ParameterSet, StageTextForm) {
    SpeedStage stage;
    stage.StageActive = 1;
    stage.StageFrom = 12.3456;
    stage.StageFromUnit = 3;
    stage.StageSpeed = -0.5;
    stage.StageSpeedUnit = 2;
    const std::string text = StageText(stage);
    EXPECT_EQ(text, "/1/    12.346/3/    -0.500/2");
    const SpeedStage back = ParseStageText(text);
    EXPECT_EQ(back.StageActive, 1);
    EXPECT_DOUBLE_EQ(back.StageFrom, 12.346);
    EXPECT_EQ(back.StageFromUnit, 3);
    EXPECT_DOUBLE_EQ(back.StageSpeed, -0.5);
    EXPECT_EQ(back.StageSpeedUnit, 2);

    EXPECT_EQ(StageText(SpeedStage{}), kInactiveStage);
    // Shorter than 28 characters: the default stage.
    const SpeedStage shortText = ParseStageText("/1/    12.346/3/    -0.500/");
    EXPECT_EQ(shortText.StageActive, 0);
    EXPECT_EQ(shortText.StageSpeedUnit, 1);
    // Values that do not parse stay 0; the rest is taken.
    const SpeedStage garbled = ParseStageText("/1/   abc.def/4/     7.000/5");
    EXPECT_EQ(garbled.StageActive, 1);
    EXPECT_DOUBLE_EQ(garbled.StageFrom, 0.0);
    EXPECT_EQ(garbled.StageFromUnit, 4);
    EXPECT_DOUBLE_EQ(garbled.StageSpeed, 7.0);
}

TEST(ParameterSet, ImageRoundTripCarriesReservedBytes) {
    ByteImage image = ParameterSetImage(DefaultParameterSet());
    image[1750] = 0x5A;   // reserved 1710..1810
    image[2120 + 13] = 7; // reserved 2133..2140
    image[6000] = 0xEE;   // reserved 5176..6447
    image[6450] = 0x11;
    image[2420] = 3;      // reserved byte among the flags
    image[1945] = 4;      // SpecimenNo "Ä-12"
    image[1946] = 0xC4;
    image[1947] = '-';
    image[1948] = '1';
    image[1949] = '2';
    image[3901 + 51 * 3] = 28;
    const std::string stage = "/1/   100.000/2/     2.500/3";
    std::memcpy(&image[3902 + 51 * 3], stage.data(), 28);

    const ParameterSet p = ParameterSetFromImage(image);
    EXPECT_EQ(p.SpecimenNo, "Ä-12");
    EXPECT_EQ(p.Stages[8].StageActive, 1);
    EXPECT_DOUBLE_EQ(p.Stages[8].StageSpeed, 2.5);
    EXPECT_EQ(ParameterSetImage(p), image);
}

TEST(ParameterSet, OverlongStringLengthIsClamped) {
    ByteImage image = ParameterSetImage(DefaultParameterSet());
    image[1945] = 255;  // SpecimenNo announces 255 characters in a field of 30
    std::memset(&image[1946], 'x', 30);
    const ParameterSet p = ParameterSetFromImage(image);
    EXPECT_EQ(p.SpecimenNo, std::string(30, 'x'));
    EXPECT_EQ(p.SpecimenId, "");  // the next field is read on its own
}

TEST(ParameterSet, LengthsCountCharactersNotBytes) {
    ParameterSet p;
    p.HeaderValue[0] = std::string(49, 'a') + "üü";  // 51 characters, 53 UTF-8 bytes
    const ByteImage image = ParameterSetImage(p);
    EXPECT_EQ(image[510], 50);
    EXPECT_EQ(image[560], 0xFC);
    EXPECT_EQ(ParameterSetFromImage(image).HeaderValue[0], std::string(49, 'a') + "ü");
}

}  // namespace
}  // namespace quorvex
