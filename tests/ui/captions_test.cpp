// Re-captioning every numbered component of every window.
#include "ui/captions.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/stored_texts.h"

namespace quorvex {
namespace {

TEST(Captions, EveryNumberedComponentAtAnyDepthTakesTheLanguage) {
    QMainWindow window;
    QMenu* menu = window.menuBar()->addMenu(QStringLiteral("&Datei"));
    SetTextNumber(menu, 1);
    QAction* item = menu->addAction(QStringLiteral("&Beenden"));
    SetTextNumber(item, 11);
    auto* outer = new QGroupBox(&window);
    SetTextNumber(outer, 62);  // "Kopfdaten"
    auto* inner = new QWidget(outer);
    auto* label = new QLabel(QStringLiteral("Kraft"), inner);
    SetTextNumber(label, 135);
    auto* check = new QCheckBox(inner);
    SetTextNumber(check, 71);  // "aktiv"
    auto* untagged = new QPushButton(QStringLiteral("bleibt"), inner);
    SetTextNumber(&window, 88);

    ApplyCaptions(&window, 1000);
    EXPECT_EQ(menu->title(), QStringLiteral("&File"));
    EXPECT_EQ(item->text(), QStringLiteral("E&xit"));
    EXPECT_EQ(outer->title(), QStringLiteral("Header data"));
    EXPECT_EQ(label->text(), QStringLiteral("Force"));
    EXPECT_EQ(check->text(), QStringLiteral("active"));
    EXPECT_EQ(untagged->text(), QStringLiteral("bleibt"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Test"));

    // A language without the texts (index 5) shows German rather than blank captions.
    ApplyCaptions(&window, 5000);
    EXPECT_EQ(label->text(), QStringLiteral("Kraft"));
    EXPECT_EQ(item->text(), QStringLiteral("&Beenden"));
    ApplyCaptions(&window, 1000);
    ApplyCaptions(&window, 0);
    EXPECT_EQ(label->text(), QStringLiteral("Kraft"));
}

TEST(Captions, ApplyLanguageReachesAllWindowsAndTheStoredTexts) {
    QWidget first;
    QWidget second;
    auto* a = new QLabel(&first);
    auto* b = new QLabel(&second);
    SetTextNumber(a, 345);
    SetTextNumber(b, 346);
    StoredTexts stored;
    ApplyLanguage(1000, stored);
    EXPECT_EQ(a->text(), QStringLiteral("Warning"));
    EXPECT_EQ(b->text(), QStringLiteral("Error"));
    EXPECT_EQ(stored.Text(347), QStringLiteral("Information"));
    EXPECT_EQ(stored.Text(641), QStringLiteral("Tensile test to DIN EN 10002"));
    ApplyLanguage(0, stored);
    EXPECT_EQ(b->text(), QStringLiteral("Fehler"));
}

TEST(Captions, WithoutAcceleratorDropsTheMarks) {
    EXPECT_EQ(WithoutAccelerator(QStringLiteral("System-Dateien sichern")),
              QStringLiteral("System-Dateien sichern"));
    EXPECT_EQ(WithoutAccelerator(QStringLiteral("Pr&obe löschen")),
              QStringLiteral("Probe löschen"));
    EXPECT_EQ(WithoutAccelerator(QStringLiteral("A && B&")), QStringLiteral("A & B"));
}

}  // namespace
}  // namespace quorvex
