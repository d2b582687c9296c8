// A tensile test in the main window on the simulated machine, ticked by hand: F2 starts it,
// the window shows the run, the break ends it with the results in the panels, and the next
// start offers to keep it in the series; the stop button ends a test early.
#include <gtest/gtest.h>

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <memory>

#include "evaluation/test_state.h"
#include "gui_test_support.h"
#include "machine/sim/virtual_machine.h"
#include "results/specimen_dialog.h"
#include "setup/machine_config.h"
#include "shell/app_state.h"
#include "shell/lu_dialog.h"
#include "shell/main_window.h"
#include "shell/project_dialog.h"
#include "shell/result_panels.h"
#include "shell/test_run.h"
#include "ui/dialog_base.h"
#include "ui/file_dialogs.h"
#include "ui/stored_texts.h"

namespace quorvex {
namespace {

namespace fs = std::filesystem;

class WindowTestRunTest : public ::testing::Test {
  protected:
    void SetUp() override {
        previous = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(directory.path()));
        work = fs::path(directory.path().toStdString());
        std::ofstream(work / "Sprache.con") << "0";
        {
            std::ofstream platform(work / "Quorvex.platform");
            platform << "daq = simulated\nrelay = simulated\nencoder = none\n"
                        "controller = simulated\n";
            for (int com = 1; com <= 16; ++com) platform << "com" << com << " = none\n";
        }

        WhenModal<TNeue_Serie>([](TNeue_Serie* d) { d->reject(); });
        window = std::make_unique<TSDIAppForm>(app, *test, *machineConfig, ui, files);
        window->UseMachine(&machine, clock);
        window->show();
        ASSERT_TRUE(QTest::qWaitFor([this] { return app.StartupShown; }, 5000));
        ASSERT_TRUE(app.DaqPresent);
        // The test ticks by hand; the timer stays on, as F2 starts a test only then.
        app.ProjectOpen = true;
        ParameterSet& p = test->Parameters;
        p.TestType = 0;
        p.Stages = {};
        p.Stages[0] = {1, 0, 1, 2, 1};
        p.Stages[1] = {1, 1, 1, 20, 1};
        p.MessageTimeSec = 2;
    }
    void TearDown() override {
        window.reset();
        QDir::setCurrent(previous);
    }

    // Measuring ticks of 50 ms on the manual clock while the test runs.
    void RunWhileTesting(int maxTicks) {
        for (int i = 0; i < maxTicks && app.TestRunning; ++i) {
            clock.Advance(50);
            window->MessenTimerTimer();
        }
    }
    bool F2() { return window->FormKeyDown(Qt::Key_F2, Qt::NoModifier); }

    QString previous;
    QTemporaryDir directory;
    fs::path work;
    ManualClock clock;
    VirtualMachine machine{SimulationConfig{}, clock};
    AppState app;
    std::unique_ptr<TestState> test = std::make_unique<TestState>();
    std::unique_ptr<MachineConfig> machineConfig = std::make_unique<MachineConfig>();
    StoredTexts texts;
    RecordedMessages messages;
    NoFiles files;
    UiContext ui{messages, texts, {}, nullptr};
    std::unique_ptr<TSDIAppForm> window;
};

TEST_F(WindowTestRunTest, F2RunsATestToTheBreakAndTheNextStartKeepsItInTheSeries) {
    bool specimenAsked = false;
    WhenModal<TBtnRightDlg3>([&](TBtnRightDlg3* d) {
        specimenAsked = d->Mode == TBtnRightDlg3::kStartMode;
        d->OkButton()->click();
    });
    ASSERT_TRUE(F2());
    EXPECT_TRUE(specimenAsked);
    ASSERT_TRUE(app.TestRunning);
    EXPECT_TRUE(window->StopButton()->isVisibleTo(window.get()));
    EXPECT_FALSE(window->StartButton()->isVisibleTo(window.get()));
    EXPECT_FALSE(window->Menu().File->menuAction()->isEnabled());
    EXPECT_EQ(window->SpeedField()->text(), QStringLiteral("2.0 "));
    EXPECT_EQ(window->SpeedUnitLabel()->text(), QStringLiteral("mm/min"));

    bool askedFinalDiameter = false;
    WhenModal<TLuDialog>([&](TLuDialog* d) {
        askedFinalDiameter = true;
        d->reject();
    });
    RunWhileTesting(20000);
    ASSERT_FALSE(app.TestRunning);
    EXPECT_TRUE(askedFinalDiameter);  // Z is in the result set of the round specimen
    EXPECT_TRUE(test->Marks.EvaluationDone);
    EXPECT_TRUE(app.LastTestNew);
    EXPECT_FALSE(window->StopButton()->isVisibleTo(window.get()));
    EXPECT_TRUE(window->Menu().File->menuAction()->isEnabled());
    EXPECT_EQ(window->SpeedField()->text(), QStringLiteral("0 "));
    EXPECT_GT(window->ResultPanels()->Field("Rm")->text().trimmed().toDouble(), 900.0);
    EXPECT_TRUE(window->findChild<QWidget*>(QStringLiteral("RemovalPrompt")) != nullptr);

    messages.shown.clear();
    messages.answers.push_back(QMessageBox::Yes);
    WhenModal<TBtnRightDlg3>([](TBtnRightDlg3* d) { d->OkButton()->click(); });
    ASSERT_TRUE(F2());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, texts.Text(run_text::kStoreLastTest));
    EXPECT_EQ(CountOccupiedSlots(test->TestSeries), 1);
    EXPECT_TRUE(fs::exists(work / "1.Dia"));
    EXPECT_TRUE(app.TestRunning);

    // The stop button before the minimum force: stopped, switched off, nothing evaluated.
    RunWhileTesting(20);
    window->StopButton()->click();
    EXPECT_FALSE(app.TestRunning);
    EXPECT_FALSE(test->Marks.EvaluationDone);
    EXPECT_FALSE(app.LastTestNew);
    EXPECT_TRUE(window->StartButton()->isVisibleTo(window.get()));
}

}  // namespace
}  // namespace quorvex
