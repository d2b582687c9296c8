// The built-in text table is complete: every row in all five languages, within its length,
// with the same placeholders, and no accelerator letter twice in one menu of the main menu.
// A row added without its translations fails here with a message that names it.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "shell/main_menu.h"
#include "ui/captions.h"
#include "ui/text_table_check.h"

namespace quorvex {
namespace {

// The text numbers that share one menu: the menu bar's titles, then each menu's items.
QList<QList<int>> MenuGroups(const QMenuBar& bar) {
    QList<QList<int>> groups;
    QList<int> titles;
    for (QAction* entry : bar.actions()) {
        QMenu* menu = entry->menu();
        if (menu == nullptr) continue;
        titles << TextNumberOf(menu);
        QList<int> items;
        for (QAction* item : menu->actions()) {
            if (!item->isSeparator()) items << TextNumberOf(item);
        }
        groups << items;
    }
    groups.prepend(titles);
    return groups;
}

TEST(TextTableComplete, EveryRowIsTranslatedAndFitsItsPlace) {
    QMenuBar bar;
    BuildMainMenu(&bar);
    const QList<QList<int>> groups = MenuGroups(bar);
    ASSERT_GE(groups.size(), 6);
    const QStringList faults = CheckTextTable(BuiltInTextTable(), groups);
    EXPECT_TRUE(faults.isEmpty()) << faults.size() << " faults in resources/texts/texts.tsv:\n"
                                  << faults.join(u'\n').toStdString();
}

}  // namespace
}  // namespace quorvex
