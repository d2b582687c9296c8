// The main menu: the whole tree of commands, each caption with its text number. A command
// whose part of the program is not there yet is disabled, so that it never does nothing.
#pragma once

class QAction;
class QMenu;
class QMenuBar;

namespace quorvex {

struct MainMenu {
    QMenu* File = nullptr;
    QAction* LoadParameters = nullptr;
    QAction* SaveParametersAs = nullptr;
    QAction* DeleteParameters = nullptr;
    QAction* SaveSpecimen = nullptr;
    QAction* LoadSpecimen = nullptr;  // and start the test from it, as F3
    QAction* DeleteSpecimen = nullptr;
    QAction* OpenProject = nullptr;
    QAction* NewProject = nullptr;
    QAction* ChooseLanguage = nullptr;
    QAction* BackupSystemFiles = nullptr;
    QAction* Password = nullptr;
    QAction* PrinterSetup = nullptr;
    QAction* Exit = nullptr;

    QMenu* Parameters = nullptr;
    QAction* TitleHeaderDefinition = nullptr;
    QAction* ResultsDefinition = nullptr;
    QAction* TestParameters = nullptr;
    QAction* Diagram = nullptr;
    QAction* Statistics = nullptr;
    QAction* AsciiFile = nullptr;

    QMenu* Inputs = nullptr;
    QAction* HeaderData = nullptr;
    QAction* SpecimenData = nullptr;
    QAction* DemoFile = nullptr;

    QMenu* Edit = nullptr;
    QAction* ResultsProjectEditor = nullptr;
    QAction* CurrentSeries = nullptr;

    QMenu* Setup = nullptr;
    QAction* Machine = nullptr;
    QAction* Calibration = nullptr;
    QAction* Interfaces = nullptr;

    QMenu* Info = nullptr;
    QAction* About = nullptr;
};

// Builds the tree with German captions; the language switch re-captions it. Every command
// starts disabled; the main window enables those it carries out.
MainMenu BuildMainMenu(QMenuBar* bar);

}  // namespace quorvex
