// The main menu tree.
#include "shell/main_menu.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

#include "ui/captions.h"
#include "ui/stored_texts.h"
#include "ui/text_table.h"

namespace quorvex {
namespace {

QMenu* AddMenu(QMenuBar* bar, int textNumber) {
    QMenu* menu = bar->addMenu(LoadText(textNumber, 0));
    SetTextNumber(menu, textNumber);
    return menu;
}

QAction* AddItem(QMenu* menu, int textNumber, const QKeySequence& shortcut = QKeySequence()) {
    QAction* action = menu->addAction(LoadText(textNumber, 0));
    SetTextNumber(action, textNumber);
    action->setShortcut(shortcut);
    action->setEnabled(false);
    return action;
}

}  // namespace

MainMenu BuildMainMenu(QMenuBar* bar) {
    MainMenu m;
    m.File = AddMenu(bar, 1);
    m.LoadParameters = AddItem(m.File, 2);
    m.SaveParametersAs = AddItem(m.File, 3);
    m.DeleteParameters = AddItem(m.File, 4);
    m.File->addSeparator();
    m.SaveSpecimen = AddItem(m.File, 5);
    m.LoadSpecimen = AddItem(m.File, 171);
    m.DeleteSpecimen = AddItem(m.File, 6);
    m.File->addSeparator();
    m.OpenProject = AddItem(m.File, 481, QKeySequence(Qt::CTRL | Qt::Key_N));
    m.NewProject = AddItem(m.File, 482);
    m.File->addSeparator();
    m.ChooseLanguage = AddItem(m.File, 10);
    m.BackupSystemFiles = AddItem(m.File, 344);
    m.Password = AddItem(m.File, 8);
    m.PrinterSetup = AddItem(m.File, 9);
    m.File->addSeparator();
    m.Exit = AddItem(m.File, 11);

    m.Parameters = AddMenu(bar, 12);
    m.TitleHeaderDefinition = AddItem(m.Parameters, 13);
    m.ResultsDefinition = AddItem(m.Parameters, 14, QKeySequence(Qt::CTRL | Qt::Key_R));
    m.TestParameters = AddItem(m.Parameters, 88);
    m.Diagram = AddItem(m.Parameters, 15, QKeySequence(Qt::CTRL | Qt::Key_D));
    m.Statistics = AddItem(m.Parameters, 16);
    m.AsciiFile = AddItem(m.Parameters, 17);

    m.Inputs = AddMenu(bar, 18);
    m.HeaderData = AddItem(m.Inputs, 19, QKeySequence(Qt::CTRL | Qt::Key_K));
    m.SpecimenData = AddItem(m.Inputs, 20, QKeySequence(Qt::CTRL | Qt::Key_P));
    m.DemoFile = AddItem(m.Inputs, 21);

    m.Edit = AddMenu(bar, 22);
    m.ResultsProjectEditor = AddItem(m.Edit, 23);
    m.CurrentSeries = AddItem(m.Edit, 24);

    m.Setup = AddMenu(bar, 25);
    m.Machine = AddItem(m.Setup, 26, QKeySequence(Qt::CTRL | Qt::Key_M));
    m.Calibration = AddItem(m.Setup, 27);
    m.Interfaces = AddItem(m.Setup, 28);

    m.Info = AddMenu(bar, text::kInfoMenu);
    m.About = AddItem(m.Info, 33);
    return m;
}

}  // namespace quorvex
