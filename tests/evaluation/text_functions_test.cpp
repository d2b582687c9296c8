#include "evaluation/text_functions.h"

#include <gtest/gtest.h>

namespace quorvex {
namespace {

TEST(TextFunctions, FormatFixed) {
    struct Case {
        double value;
        int width, decimals;
        const char* text;
    } cases[] = {
        {3.14159, 8, 2, "    3.14"},   {2.5, 0, 0, "3"},  // ties away from zero
        {-2.5, 0, 0, "-3"},            {0.125, 0, 2, "0.13"},
        {12.5f, 5, 0, "   13"},        {1.0049999, 0, 2, "1.00"},
        {1.005, 1, 1, "1.0"},          {-12.345, 8, 1, "   -12.3"},
        {123456.789, 4, 2, "123456.79"},  // a longer text is not cut
        {-0.0004, 6, 2, "  0.00"},        // no sign on a zero reading
        {0.0, 10, 3, "     0.000"},    {-1.0, 3, 0, " -1"},
        {99.996, 5, 2, "100.00"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatFixed(c.value, c.width, c.decimals), c.text) << c.value;
    }
}

TEST(TextFunctions, TextEditing) {
    EXPECT_EQ(ApplyDecimalComma("1.5;2.25", true), "1,5;2,25");
    EXPECT_EQ(ApplyDecimalComma("1.5", false), "1.5");
    EXPECT_EQ(RemoveBlanks(" a b  c "), "abc");
    EXPECT_EQ(RemoveCharacter("12\r3\r", '\r'), "123");
    EXPECT_EQ(DashIfEmpty("   "), "-");
    EXPECT_EQ(DashIfEmpty(""), "-");
    EXPECT_EQ(DashIfEmpty(" x "), " x ");
    EXPECT_EQ(CutAtFirstPoint("steel.old.par"), "steel");
    EXPECT_EQ(CutAtFirstPoint("steel"), "steel");
    EXPECT_EQ(CutAtFirstPoint(".par"), "");
    EXPECT_EQ(NumberAfterHash("Charge 7-#", 13), "Charge 7-#13");
    EXPECT_EQ(NumberAfterHash("A#B#", 2), "A#2");
    EXPECT_EQ(NumberAfterHash("none", 5), "5");
    EXPECT_EQ(KeepDigits("a1b2-3.4"), "1234");
}

TEST(TextFunctions, ParseNumberInRange) {
    struct Case {
        const char* text;
        double low, high;
        bool valid;
        double value;
    } cases[] = {
        {"0.01", 0.01, 200, true, 0.01},   {"200.0", 0.01, 200, true, 200},
        {"200.01", 0.01, 200, false, 0},   {"0.0099", 0.01, 200, false, 0},
        {"  12.5 ", 0, 100, true, 12.5},   {"-20000", -20000, 0, true, -20000},
        {"-20001", -20000, 0, false, 0},   {"1,5", 0, 10, false, 0},
        {"", 0, 10, false, 0},             {"-", -10, 10, false, 0},
        {".", 0, 10, false, 0},            {"5.", 0, 10, true, 5},
        {".5", 0, 10, true, 0.5},          {"1.2.3", 0, 10, false, 0},
        {"12abc", 0, 100, false, 0},       {"1e2", 0, 1000, true, 100},
        {"+3", 0, 10, true, 3},            {"1e999", 0, 1e300, false, 0},
    };
    for (const Case& c : cases) {
        const ParsedNumber parsed = ParseNumberInRange(c.text, c.low, c.high);
        EXPECT_EQ(parsed.valid, c.valid) << '"' << c.text << '"';
        EXPECT_DOUBLE_EQ(parsed.value, c.value) << '"' << c.text << '"';
    }
    EXPECT_DOUBLE_EQ(ParseNumber(" 7.25"), 7.25);
    EXPECT_DOUBLE_EQ(ParseNumber("garbage"), 0.0);
}

TEST(TextFunctions, ParseIntegerInRange) {
    EXPECT_EQ(ParseIntegerInRange("17", 1, 17).value, 17);
    EXPECT_TRUE(ParseIntegerInRange(" -5 ", -5, 5).valid);
    EXPECT_TRUE(ParseIntegerInRange("+5", -5, 5).valid);
    EXPECT_FALSE(ParseIntegerInRange("18", 1, 17).valid);
    EXPECT_FALSE(ParseIntegerInRange("1.0", 0, 10).valid);
    EXPECT_FALSE(ParseIntegerInRange("", 0, 10).valid);
    EXPECT_FALSE(ParseIntegerInRange("99999999999999999999", 0, 10).valid);
}

TEST(TextFunctions, KeyFilters) {
    EXPECT_EQ(DecimalKeyFilter(','), '.');
    for (char key : {'0', '9', '-', '.', kBackspaceKey, kEnterKey}) {
        EXPECT_EQ(DecimalKeyFilter(key), key);
    }
    for (char key : {'a', '+', ' ', 'e', '\t'}) EXPECT_EQ(DecimalKeyFilter(key), 0) << key;
    for (char key : {'0', '+', '-', kBackspaceKey, kEnterKey}) {
        EXPECT_EQ(IntegerKeyFilter(key), key);
    }
    for (char key : {'.', ',', 'x'}) EXPECT_EQ(IntegerKeyFilter(key), 0) << key;
}

TEST(TextFunctions, ExtractNumberText) {
    EXPECT_EQ(ExtractNumberText("A01B+012,35mm\r"), "+012.35");
    EXPECT_EQ(ExtractNumberText("12.5"), "12.5");
    EXPECT_EQ(ExtractNumberText("xB-3,5"), "-3.5");
    EXPECT_EQ(ExtractNumberText("BA7"), "7");  // "A" first, then a "B" after it
    EXPECT_EQ(ExtractNumberText("M12 x 1.5"), "121.5");
    EXPECT_EQ(ExtractNumberText(""), "");
}

TEST(TextFunctions, IsValidDate) {
    struct Case {
        const char* text;
        const char* format;
        bool valid;
    } cases[] = {
        {"10.12.2026", "dd.MM.yyyy", true}, {"1.2.26", "dd.MM.yyyy", true},
        {"29.02.2024", "dd.MM.yyyy", true}, {"29.02.2023", "dd.MM.yyyy", false},
        {"31.04.2026", "dd.MM.yyyy", false}, {"12/31/2026", "M/d/yyyy", true},
        {"31/12/2026", "M/d/yyyy", false},  {"2026-12-10", "yyyy-MM-dd", true},
        {"10.12", "dd.MM.yyyy", false},     {"aa.bb.cccc", "dd.MM.yyyy", false},
        {"", "dd.MM.yyyy", false},          {"10.12.202", "dd.MM.yyyy", false},
    };
    for (const Case& c : cases) EXPECT_EQ(IsValidDate(c.text, c.format), c.valid) << c.text;
}

TEST(TextFunctions, PowerOfTen) {
    const int expected[] = {1, 10, 100, 1000, 10000, 100000};
    for (int d = 0; d <= 5; ++d) EXPECT_EQ(PowerOfTen(d), expected[d]);
    EXPECT_EQ(PowerOfTen(-1), 1);
}

}  // namespace
}  // namespace quorvex
