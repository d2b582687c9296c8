// A tensile test in the main window on the simulated machine, ticked by hand: F2 starts it,
// the window shows the run, the break ends it with the results in the panels, and the next
// start offers to keep it in the series; the stop button ends a test early.
#include <gtest/gtest.h>

#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <numbers>

#include "evaluation/test_files.h"
#include "machine/controller_link.h"
#include "machine/machine.h"
#include "machine/sim/virtual_machine.h"
#include "setup/setup_dialog.h"
#include "specimen/specimen_dialog.h"
#include "shell/lu_dialog.h"
#include "shell/result_panels.h"
#include "run/tensile_run.h"
#include "ui/text_table.h"
#include "window_fixture.h"

namespace quorvex {
namespace {

namespace fs = std::filesystem;

class WindowTestRunTest : public testing::WindowFixture {
  protected:
    void SetUp() override {
        PrepareWorkingDirectory(testing::kSimulatedDevices);
        ShowWindow(&machine, &clock);
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

    // Measuring ticks of 50 ms on the manual clock while the test runs.
    void RunWhileTesting(int maxTicks) {
        for (int i = 0; i < maxTicks && app.TestRunning; ++i) {
            clock.Advance(50);
            window->MessenTimerTimer();
        }
    }
    bool F2() { return window->FormKeyDown(Qt::Key_F2, Qt::NoModifier); }

    ManualClock clock;
    VirtualMachine machine{SimulationConfig{}, clock};
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

    // The final diameter: its prompt, d0 offered and accepted (the range is 0.5 ... d0).
    bool askedFinalDiameter = false, offeredAccepted = false;
    QString prompt, offered;
    WhenModal<TLuDialog>([&](TLuDialog* d) {
        askedFinalDiameter = true;
        prompt = d->Prompt()->text();
        offered = d->Input()->text();
        const std::size_t before = messages.shown.size();
        d->OkButton()->click();
        offeredAccepted = d->result() == QDialog::Accepted && messages.shown.size() == before;
        if (d->isVisible()) d->reject();
    });
    RunWhileTesting(20000);
    ASSERT_FALSE(app.TestRunning);
    EXPECT_TRUE(askedFinalDiameter);  // Z is in the result set of the round specimen
    EXPECT_EQ(prompt, LoadText(186, texts.Base()));
    const double d0 = std::sqrt(4 * test->Parameters.EffectiveSo / std::numbers::pi);
    EXPECT_EQ(offered, QString::number(d0, 'f', 2));
    EXPECT_TRUE(offeredAccepted);
    EXPECT_TRUE(test->Marks.EvaluationDone);
    EXPECT_TRUE(app.LastTestNew);
    EXPECT_FALSE(window->StopButton()->isVisibleTo(window.get()));
    EXPECT_TRUE(window->Menu().File->menuAction()->isEnabled());
    EXPECT_EQ(window->SpeedField()->text(), QStringLiteral("0 "));
    EXPECT_GT(window->ResultPanels()->Field("Rm")->text().trimmed().toDouble(), 900.0);
    EXPECT_TRUE(window->findChild<QWidget*>(QStringLiteral("RemovalPrompt")) != nullptr);
    // It takes itself away after its message time (2 s here): it has no button to close it.
    for (int i = 0; i < 80 && window->findChild<QWidget*>(QStringLiteral("RemovalPrompt")); ++i) {
        QTest::qWait(100);
    }
    EXPECT_EQ(window->findChild<QWidget*>(QStringLiteral("RemovalPrompt")), nullptr);

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

TEST_F(WindowTestRunTest, AutomaticSpecimenNumbersAdvanceFromTestToTest) {
    ParameterSet& p = test->Parameters;
    p.AutoSpecimenNo = 1;
    p.SpecimenNo = "Probe #";
    // The lab's counter stands at 41; the file is missing in a fresh working directory.
    {
        std::ofstream counter(work / kSpecimenNumberFile);
        counter << "41\n";
    }
    auto startAndRun = [&](QString& shown) {
        WhenModal<TBtnRightDlg3>([&](TBtnRightDlg3* d) {
            shown = d->SpecimenNo()->text();
            d->OkButton()->click();
        });
        WhenModal<TLuDialog>([](TLuDialog* d) { d->reject(); });  // the final diameter
        ASSERT_TRUE(F2());
        ASSERT_TRUE(app.TestRunning);
        RunWhileTesting(20000);
        ASSERT_FALSE(app.TestRunning);
    };
    QString first, second;
    startAndRun(first);
    EXPECT_EQ(first, QStringLiteral("Probe #42"));  // what the test will receive
    EXPECT_EQ(p.SpecimenNo, "Probe #42");
    EXPECT_EQ(ReadSpecimenNumber(work / kSpecimenNumberFile).Number, 42);

    messages.answers.push_back(QMessageBox::Yes);  // keep the first test in the series
    startAndRun(second);
    EXPECT_EQ(second, QStringLiteral("Probe #43"));
    EXPECT_EQ(p.SpecimenNo, "Probe #43");
    EXPECT_EQ(test->TestSeries.Slots[1].SpecimenNo, "Probe #42");
    EXPECT_EQ(ReadSpecimenNumber(work / kSpecimenNumberFile).Number, 43);

    // Cancelled at the start: the counter stays where it was.
    WhenModal<TBtnRightDlg3>([](TBtnRightDlg3* d) { d->reject(); });
    messages.answers.push_back(QMessageBox::No);
    F2();
    EXPECT_FALSE(app.TestRunning);
    EXPECT_EQ(ReadSpecimenNumber(work / kSpecimenNumberFile).Number, 43);
}

// The start button is disabled exactly when F2 would not start a test, and a click on it
// starts only when the key does.
TEST_F(WindowTestRunTest, TheF2ButtonIsDisabledExactlyWhenTheKeyIsRefused) {
    QPushButton* button = window->StartButton();
    int asked = 0;
    bool enabledWhileStarting = true;
    window->ShowSpecimenDialog = [&] {
        ++asked;
        enabledWhileStarting = button->isEnabled();
        return false;  // the operator cancels: no test
    };
    // Timer1 refreshes the button after the test opened the project by hand.
    ASSERT_TRUE(QTest::qWaitFor([&] { return button->isEnabled(); }, 1000));

    // An incremental travel encoder without its reference run: neither starts.
    ControllerLink& link = window->MachineInterface()->Link();
    ControllerConfig incremental = link.Config();
    incremental.IncrementalTravel = true;
    link.SetConfig(incremental);
    window->Motion()->Prepare();
    window->UpdateStartButton();
    EXPECT_EQ(window->StartRefusalNow(), StartRefusal::ReferenceMissing);
    EXPECT_FALSE(button->isEnabled());
    button->click();
    EXPECT_TRUE(F2());
    EXPECT_EQ(asked, 0);
    incremental.IncrementalTravel = false;
    link.SetConfig(incremental);
    window->Motion()->Prepare();
    window->UpdateStartButton();
    EXPECT_TRUE(button->isEnabled());
    button->click();
    EXPECT_TRUE(F2());
    EXPECT_EQ(asked, 2);
    EXPECT_FALSE(app.TestRunning);
    // A start under way shows the button disabled, and it is enabled again after it.
    EXPECT_FALSE(enabledWhileStarting);
    EXPECT_TRUE(button->isEnabled());

    // Without a project: disabled, and the key says why.
    app.ProjectOpen = false;
    window->UpdateStartButton();
    EXPECT_FALSE(button->isEnabled());
    messages.shown.clear();
    EXPECT_TRUE(F2());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, texts.Text(text::kNoProjectOpen));
    app.ProjectOpen = true;

    // Without live values F2 loads a demo test instead of starting one: the button is off.
    window->MessenTimer().stop();
    window->UpdateStartButton();
    EXPECT_EQ(window->StartRefusalNow(), StartRefusal::NoLiveValues);
    EXPECT_FALSE(button->isEnabled());
    window->MessenTimer().start();
    window->UpdateStartButton();
    EXPECT_TRUE(button->isEnabled());
    EXPECT_EQ(asked, 2);
}

TEST_F(WindowTestRunTest, F8InTheRemovalPromptStopsTheSimulatedMachineAndTheTest) {
    WhenModal<TBtnRightDlg3>([](TBtnRightDlg3* d) { d->OkButton()->click(); });
    ASSERT_TRUE(F2());
    QWidget* prompt = nullptr;
    for (int i = 0; i < 20000 && app.TestRunning && prompt == nullptr; ++i) {
        clock.Advance(50);
        window->MessenTimerTimer();
        prompt = window->findChild<QWidget*>(QStringLiteral("RemovalPrompt"));
    }
    ASSERT_NE(prompt, nullptr);
    ASSERT_TRUE(app.TestRunning);
    ASSERT_EQ(machine.Controller().Drive(), DriveMode::Run);

    WhenModal<TLuDialog>([](TLuDialog* d) { d->reject(); });  // the final diameter
    QTest::keyClick(prompt, Qt::Key_F8);
    EXPECT_NE(machine.Controller().Drive(), DriveMode::Run);
    EXPECT_FALSE(app.TestRunning);
    EXPECT_TRUE(window->StartButton()->isVisibleTo(window.get()));
    // No later stage sets the machine going again.
    for (int i = 0; i < 40; ++i) {
        clock.Advance(50);
        window->MessenTimerTimer();
    }
    EXPECT_NE(machine.Controller().Drive(), DriveMode::Run);
}

TEST_F(WindowTestRunTest, F8InAStandardDialogOfQtStopsTheMachineAndTheTestToo) {
    WhenModal<TBtnRightDlg3>([](TBtnRightDlg3* d) { d->OkButton()->click(); });
    ASSERT_TRUE(F2());
    RunWhileTesting(40);
    ASSERT_TRUE(app.TestRunning);
    ASSERT_EQ(machine.Controller().Drive(), DriveMode::Run);

    WhenModal<TLuDialog>([](TLuDialog* d) { d->reject(); });  // the final diameter
    QFileDialog files(window.get());
    files.setOption(QFileDialog::DontUseNativeDialog);
    bool stoppedInside = false;
    WhenModal<QFileDialog>([&](QFileDialog* d) {
        QWidget* focus = d->focusWidget() ? d->focusWidget() : d;
        QTest::keyClick(focus, Qt::Key_F8);
        stoppedInside = machine.Controller().Drive() != DriveMode::Run;
        d->reject();
    });
    files.exec();
    EXPECT_TRUE(stoppedInside);
    EXPECT_FALSE(app.TestRunning);
    RunWhileTesting(40);
    EXPECT_NE(machine.Controller().Drive(), DriveMode::Run);
}

TEST_F(WindowTestRunTest, F2WithoutAnActiveSpeedStageSaysWhyAndOffersTheTestParameters) {
    test->Parameters.Stages = {};  // as in the default parameter set: every stage off
    messages.shown.clear();
    messages.answers.push_back(QMessageBox::Yes);
    bool parametersOffered = false;
    WhenModal<TBtnRightDlg>([&](TBtnRightDlg* d) {
        parametersOffered = d->Mode == TBtnRightDlg::kTestParameterMode;
        d->reject();
    });
    ASSERT_TRUE(F2());
    EXPECT_FALSE(app.TestRunning);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, LoadText(792, texts.Base()));
    EXPECT_FALSE(messages.shown[0].text.isEmpty());
    EXPECT_EQ(messages.shown[0].buttons, MessageButtons::YesNo);
    EXPECT_TRUE(parametersOffered);

    // No: nothing more; with the first stage on the test starts.
    ASSERT_TRUE(F2());
    EXPECT_FALSE(app.TestRunning);
    EXPECT_EQ(messages.shown.size(), 2u);
    test->Parameters.Stages[0] = {1, 0, 1, 2, 1};
    WhenModal<TBtnRightDlg3>([](TBtnRightDlg3* d) { d->OkButton()->click(); });
    ASSERT_TRUE(F2());
    EXPECT_TRUE(app.TestRunning);
    window->StopButton()->click();
}

}  // namespace
}  // namespace quorvex
