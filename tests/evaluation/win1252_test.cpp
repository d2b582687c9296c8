#include "evaluation/win1252.h"

#include <gtest/gtest.h>

namespace quorvex {
namespace {

TEST(Win1252, EveryByteSurvivesTheRoundTrip) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    const std::string utf8 = Win1252ToUtf8(all);
    EXPECT_EQ(Utf8Length(utf8), 256u);
    EXPECT_EQ(Utf8ToWin1252(utf8), all);
}

TEST(Win1252, GermanTextsAndForeignCharacters) {
    EXPECT_EQ(Win1252ToUtf8("Pr\xFC" "fung \x80"), "Prüfung €");
    EXPECT_EQ(Utf8ToWin1252("Größe €"), "Gr\xF6\xDF" "e \x80");
    EXPECT_EQ(Utf8ToWin1252("Ω"), "?");  // not in the code page
    EXPECT_EQ(Utf8ToWin1252("a\xC3"), "a?");  // truncated sequence
    EXPECT_EQ(Utf8Length("Kettenprüfung"), 13u);
    EXPECT_EQ(Utf8Left("Prüfung", 3), "Prü");
    EXPECT_EQ(Utf8Left("ab", 5), "ab");
}

}  // namespace
}  // namespace quorvex
