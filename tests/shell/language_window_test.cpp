// The main window and all its dialogs in each of the five languages: no numbered caption is
// blank, and the captions that once were written into the code follow the language too.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QDialog>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QMenu>

#include "ui/captions.h"
#include "ui/text_table_check.h"
#include "window_fixture.h"

namespace quorvex {
namespace {

// The caption a numbered component shows, whatever its kind.
QString CaptionOf(const QObject* component) {
    if (auto* menu = qobject_cast<const QMenu*>(component)) return menu->title();
    if (auto* action = qobject_cast<const QAction*>(component)) return action->text();
    if (auto* button = qobject_cast<const QAbstractButton*>(component)) return button->text();
    if (auto* label = qobject_cast<const QLabel*>(component)) return label->text();
    if (auto* group = qobject_cast<const QGroupBox*>(component)) return group->title();
    if (auto* widget = qobject_cast<const QWidget*>(component)) return widget->windowTitle();
    return QString();
}

// The accelerator clashes among the numbered captions of one dialog (or of the window outside
// its menus and dialogs): "text A and text B share x". One number used twice (the same button
// on two pages) is no clash.
QStringList AcceleratorClashes(const QWidget* owner) {
    QStringList clashes;
    QHash<QChar, int> owners;
    for (const QObject* component : owner->findChildren<QObject*>()) {
        const int number = TextNumberOf(component);
        if (number == 0 || qobject_cast<const QMenu*>(component) ||
            qobject_cast<const QAction*>(component)) {
            continue;
        }
        bool nested = false;  // inside a dialog of its own or a menu
        for (const QObject* up = component; up != owner && up != nullptr; up = up->parent()) {
            nested = nested || qobject_cast<const QDialog*>(up) || qobject_cast<const QMenu*>(up);
        }
        if (nested) continue;
        const QChar letter = AcceleratorOf(CaptionOf(component));
        if (letter.isNull()) continue;
        const int first = owners.value(letter, 0);
        if (first == 0) {
            owners.insert(letter, number);
        } else if (first != number) {
            clashes << QStringLiteral("text %1 and text %2 share \"%3\"")
                           .arg(first)
                           .arg(number)
                           .arg(letter);
        }
    }
    return clashes;
}

class LanguageWindowTest : public testing::WindowFixture {
  protected:
    void SetUp() override { PrepareWorkingDirectory(testing::kAbsentDevices); }
    void TearDown() override {
        ApplyLanguage(0, texts);
        WindowFixture::TearDown();
    }
};

TEST_F(LanguageWindowTest, EveryLanguageCaptionsTheWindowAndItsDialogs) {
    ShowWindow();
    struct Expected {
        int base;
        const char* testPanel;
        const char* banner;
    };
    const Expected languages[] = {
        {1000, "Test", "SIMULATED MACHINE"},     {2000, "Essai", "MACHINE SIMULÉE"},
        {3000, "Proef", "GESIMULEERDE MACHINE"}, {10000, "Prova", "MACCHINA SIMULATA"},
        {0, "Versuch", "SIMULIERTE MASCHINE"},
    };
    const auto* testPanel = window->findChild<QGroupBox*>(QStringLiteral("TestPanel"));
    ASSERT_NE(testPanel, nullptr);
    for (const Expected& language : languages) {
        ApplyLanguage(language.base, texts);
        EXPECT_EQ(testPanel->title(), QString::fromUtf8(language.testPanel));
        EXPECT_EQ(window->SimulationBanner()->text(), QString::fromUtf8(language.banner));
        int numbered = 0;
        for (const QObject* component : window->findChildren<QObject*>()) {
            const int number = TextNumberOf(component);
            if (number == 0) continue;
            ++numbered;
            EXPECT_FALSE(CaptionOf(component).trimmed().isEmpty())
                << "text " << number << " of " << component->metaObject()->className() << " \""
                << component->objectName().toStdString() << "\", base " << language.base;
        }
        // The translations keep each accelerator letter once per dialog; the German texts are
        // the originals and keep theirs as they are.
        if (language.base != 0) {
            QList<const QWidget*> owners{window.get()};
            for (const QDialog* dialog : window->findChildren<QDialog*>()) owners << dialog;
            for (const QWidget* owner : owners) {
                EXPECT_EQ(AcceleratorClashes(owner), QStringList())
                    << owner->metaObject()->className() << ", base " << language.base;
            }
        }
        // The menu, the live panel and the dialogs the window keeps.
        EXPECT_GT(numbered, 50) << language.base;
    }
}

}  // namespace
}  // namespace quorvex
