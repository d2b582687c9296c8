// "Resultate-Projekt neu" in the main window: the chain of dialogs answered as an operator
// would, a Cancel at each of its steps leaving the open project, its parameter set and its
// files as they were, and the project's own parameter file bringing its settings back.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "evaluation/parameter_file.h"
#include "evaluation/parameter_set.h"
#include "shell/results_project.h"
#include "shell/working_files.h"
#include "window_fixture.h"

namespace quorvex {
namespace {

namespace fs = std::filesystem;

// Every file under the working directory with its bytes.
std::map<std::string, std::string> FilesUnder(const fs::path& directory) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(directory)) {
        if (!entry.is_regular_file()) continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::stringstream content;
        content << in.rdbuf();
        files[fs::relative(entry.path(), directory).string()] = content.str();
    }
    return files;
}

// Answers the dialogs of the creation chain as they come: the test method of `testType`, OK
// everywhere (the dialog's own OK button, as the operator clicks it), "Neu..." where a project
// is to be opened and the name `name` where one is created, except for the step `cancelAt`
// (counted from 0), which is cancelled. A dialog that stays open after OK is cancelled and
// noted.
class ChainWalker {
  public:
    ChainWalker(int cancelAt, int testType, QString name)
        : cancelAt_(cancelAt), testType_(testType), name_(std::move(name)) {
        QObject::connect(&poll_, &QTimer::timeout, [this] { Answer(); });
        poll_.start(5);
    }

    std::vector<std::string> shown;
    std::vector<std::string> refused;

  private:
    void Answer() {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr || !dialog->isVisible()) return;
        const std::string name = dialog->metaObject()->className();
        if (dialog == answered_) {
            refused.push_back(name);
            dialog->reject();
            return;
        }
        answered_ = dialog;
        shown.push_back(name.substr(name.rfind(':') + 1));
        if (static_cast<int>(shown.size()) - 1 == cancelAt_) {
            dialog->reject();
            return;
        }
        if (auto* project = qobject_cast<TNeue_Serie*>(dialog)) {
            if (project->Mode == TNeue_Serie::kOpenMode) {
                project->NewButton()->click();
                return;
            }
            project->NameBox()->setEditText(name_);
            project->OkButton()->click();
            return;
        }
        if (auto* list = dialog->findChild<QListWidget*>()) list->setCurrentRow(testType_);
        for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
            if (button->isVisible() && button->text().remove(u'&').trimmed() == u"OK") {
                button->click();
                return;
            }
        }
        dialog->accept();
    }

    int cancelAt_;
    int testType_;
    QString name_;
    QTimer poll_;
    QDialog* answered_ = nullptr;
};

class NewProjectWindowTest : public testing::WindowFixture {
  protected:
    void SetUp() override { PrepareWorkingDirectory(testing::kAbsentDevices); }

    // A tensile project "Zug" open with its parameter files written, as after a day's work.
    void OpenTensileProject() {
        ShowWindow();
        ParameterSet& p = test->Parameters;
        p.TestType = 0;
        p.Stages[0].StageActive = 1;
        p.Stages[0].StageSpeed = 12.5;
        p.StartPosition = 42;
        ASSERT_TRUE(CreateResultsProject(work, QStringLiteral("Zug")).Opened);
        app.ProjectOpen = true;
        app.ProjectName = QStringLiteral("Zug");
        app.ProjectSettingsFromFile = true;
        ASSERT_TRUE(WriteProjectParameterFiles(p, work, app.ProjectName));
        window->UpdateWindowTitle();
    }
};

TEST_F(NewProjectWindowTest, TheChainRunsInOrderAndTheNamedProjectIsCreatedWithItsFiles) {
    OpenTensileProject();
    const std::string tensileProjectFile = FilesUnder(work).at("Zug/Zug.Par");
    ChainWalker walker(-1, 8, QStringLiteral("Biege 1"));
    window->Menu().NewProject->trigger();

    EXPECT_EQ(walker.shown, (std::vector<std::string>{"TVersuchsartDlg", "TMultPageDlg",
                                                      "ResultsDefinitionDialog",
                                                      "TVersuchsDlgBiegung", "TBtnRightDlg2",
                                                      "TBtnRightDlg4", "TAscii_Format",
                                                      "TNeue_Serie"}));
    EXPECT_TRUE(walker.refused.empty()) << walker.refused.front();
    EXPECT_TRUE(app.ProjectOpen);
    EXPECT_EQ(app.ProjectName, QStringLiteral("Biege1"));
    EXPECT_EQ(test->Parameters.TestType, 8);
    ParameterSet written;
    ASSERT_TRUE(LoadParameterSet(written, work / "Biege1" / "Biege1.Par", false).Loaded());
    EXPECT_EQ(written.TestType, 8);
    EXPECT_TRUE(fs::exists(work / "Biege1.Pa7"));
    EXPECT_TRUE(window->windowTitle().endsWith(QStringLiteral("[Biege1]")));
    // The tensile project keeps its own settings.
    EXPECT_EQ(FilesUnder(work).at("Zug/Zug.Par"), tensileProjectFile);
}

TEST_F(NewProjectWindowTest, TheFirstStartOffersANewProjectBesideOpeningOne) {
    // An empty working directory: nothing to open, and "Neu..." leads into the chain.
    ChainWalker walker(-1, 0, QStringLiteral("Erster"));
    window = std::make_unique<TSDIAppForm>(app, *test, *machineConfig, ui, *fileDialogs);
    ui.MainWindow = window.get();
    window->show();
    ASSERT_TRUE(QTest::qWaitFor([this] { return app.StartupShown; }, 5000));
    ASSERT_GE(walker.shown.size(), 3u);
    EXPECT_EQ(walker.shown.front(), "TNeue_Serie");
    EXPECT_EQ(walker.shown[1], "TVersuchsartDlg");
    EXPECT_EQ(walker.shown.back(), "TNeue_Serie");
    EXPECT_TRUE(walker.refused.empty());
    EXPECT_TRUE(app.ProjectOpen);
    EXPECT_EQ(app.ProjectName, QStringLiteral("Erster"));
    EXPECT_TRUE(fs::exists(work / "Erster" / "Erster.Par"));
}

TEST_F(NewProjectWindowTest, ACancelAtAnyStepLeavesTheOpenProjectItsSettingsAndItsFilesAsTheyWere) {
    OpenTensileProject();
    const auto filesBefore = FilesUnder(work);
    const ByteImage parametersBefore = ParameterSetImage(test->Parameters);
    const std::string titleBefore = window->windowTitle().toStdString();
    constexpr int kSteps = 8;  // seven dialogs, then the project's name
    for (int cancelAt = 0; cancelAt < kSteps; ++cancelAt) {
        SCOPED_TRACE(cancelAt);
        ChainWalker walker(cancelAt, 8, QStringLiteral("Biege"));
        window->Menu().NewProject->trigger();
        EXPECT_EQ(static_cast<int>(walker.shown.size()), cancelAt + 1)
            << "the chain ends at the Cancel";
        EXPECT_TRUE(walker.refused.empty());
        EXPECT_TRUE(app.ProjectOpen);
        EXPECT_EQ(app.ProjectName, QStringLiteral("Zug"));
        EXPECT_TRUE(app.ProjectSettingsFromFile);
        EXPECT_TRUE(ParameterSetImage(test->Parameters) == parametersBefore);
        EXPECT_EQ(window->windowTitle().toStdString(), titleBefore);
        EXPECT_TRUE(FilesUnder(work) == filesBefore);
    }
    // Closing writes the project's files as they were, and no file of the flexural test.
    ASSERT_TRUE(window->FormCloseQuery());
    EXPECT_TRUE(FilesUnder(work) == filesBefore);
    EXPECT_FALSE(fs::exists(work / "Zug.Pa7"));
}

class ProjectFileChosen : public FileDialogs {
  public:
    QString SaveFileName(const QString&, const QString&, const QString&, const QString&,
                         const QString&) override {
        return {};
    }
    QString OpenFileName(const QString&, const QString&, const QString&, const QString&) override {
        return chosen;
    }
    QString chosen;
};

TEST_F(NewProjectWindowTest, LoadingTheProjectsOwnParameterFileBringsItsSettingsBack) {
    ProjectFileChosen chosenFiles;
    fileDialogs = &chosenFiles;
    OpenTensileProject();
    const ByteImage projectSettings = ParameterSetImage(test->Parameters);
    // Settings gone astray: another test type, another results choice, another speed.
    ParameterSet& p = test->Parameters;
    p.TestType = 8;
    p.Results[0].Evaluate = p.Results[0].Evaluate ? 0 : 1;
    p.Stages[0].StageSpeed = 99;
    chosenFiles.chosen = QString::fromStdString((work / "Zug" / "Zug.Par").string());
    window->Menu().LoadParameters->trigger();
    EXPECT_TRUE(ParameterSetImage(test->Parameters) == projectSettings);

    // Another file with a project open gives only the values of the test.
    ParameterSet other = test->Parameters;
    other.TestType = 9;
    other.Stages[0].StageSpeed = 7;
    ASSERT_TRUE(SaveParameterSet(other, work / "other.Par"));
    chosenFiles.chosen = QString::fromStdString((work / "other.Par").string());
    window->Menu().LoadParameters->trigger();
    EXPECT_EQ(test->Parameters.TestType, 0);
    EXPECT_DOUBLE_EQ(test->Parameters.Stages[0].StageSpeed, 7);
}

}  // namespace
}  // namespace quorvex
