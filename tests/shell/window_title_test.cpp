// The main window's title in every case the program shows.
#include <gtest/gtest.h>

#include "shell/window_title.h"
#include "ui/stored_texts.h"

namespace quorvex {
namespace {

TEST(WindowTitle, TestTypeAndProject) {
    StoredTexts texts;
    EXPECT_EQ(MainWindowTitle(texts, 5, false, QString()),
              QStringLiteral("QuorveX / Universalversuch [ ]"));
    EXPECT_EQ(MainWindowTitle(texts, 0, true, QStringLiteral("Stahl")),
              QStringLiteral("QuorveX / Zugversuch nach DIN EN 10002 [Stahl]"));
    EXPECT_EQ(MainWindowTitle(texts, 4, false, QString()),
              QStringLiteral("QuorveX / Kettenprüfung [ ]"));
    texts.Apply(1000);
    EXPECT_EQ(MainWindowTitle(texts, 9, true, QStringLiteral("P")),
              QStringLiteral("QuorveX / Compression test to DIN 50106 [P]"));
}

}  // namespace
}  // namespace quorvex
