// The main window on a machine of recording devices, driven by real key events: the
// read-outs, the key table's conditions, jogging, the start position and its supervision,
// and the result panels with their limit colours.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "machine/test_doubles.h"
#include "shell/live_widgets.h"
#include "shell/result_panels.h"
#include "ui/text_table.h"
#include "window_fixture.h"

namespace quorvex {
namespace {

using testing::EventLog;
using testing::FakeDaqCard;
using testing::FakeRelayCard;
using testing::LoggingClock;
using testing::RecordingPort;

// A machine of recording devices in place of the simulated one.
class RecordingMachine : public SimulatedMachine {
  public:
    explicit RecordingMachine(EventLog& log) : log_(log) {}
    FakeDaqCard* daq = nullptr;
    std::unique_ptr<DaqCard> CreateDaqCard() override {
        auto card = std::make_unique<FakeDaqCard>(log_);
        daq = card.get();
        return card;
    }
    std::unique_ptr<RelayCard> CreateRelayCard() override {
        return std::make_unique<FakeRelayCard>(log_);
    }
    std::unique_ptr<CounterCard> CreateCounterCard() override { return nullptr; }
    std::unique_ptr<SerialPort> CreateControllerPort() override {
        return std::make_unique<RecordingPort>(log_);
    }

  private:
    EventLog& log_;
};

class LiveWindowTest : public testing::WindowFixture {
  protected:
    void SetUp() override { PrepareWorkingDirectory(testing::kSimulatedDevices); }

    void Start() {
        ShowWindow(&machine, &clock);
        ASSERT_TRUE(app.DaqPresent);
        // Known factors: 100 kN and 300 mm nominal.
        machineConfig->Factors.ForceFactor = 100.0 / 30000;
        machineConfig->Factors.TravelFactor = 0.01;
        machineConfig->Factors.StrainFactor = 0.0001;
        machineConfig->Factors.ForceLimit = 102;
        machineConfig->Factors.TravelLimit = 285;
        machineConfig->Factors.ForceDecimals = 3;
        window->MessenTimer().stop();  // the tests tick by hand
        window->activateWindow();
        focus = window->ResultPanels()->Field("Remark");
        focus->setFocus();
        Reading(0, 0);
    }
    void Reading(int force, int travel) {
        machine.daq->samples[0] = force;
        machine.daq->samples[2] = travel;
        window->MessenTimerTimer();
        Sent();
    }
    std::string Sent() {
        machine.daq->FlushReads();
        return log.Take();
    }

    EventLog log;
    LoggingClock clock{log};
    RecordingMachine machine{log};
    QWidget* focus = nullptr;
};

TEST_F(LiveWindowTest, ReadOutsFollowTheCard) {
    Start();
    machine.daq->samples[0] = 3704;
    machine.daq->samples[2] = 1234;
    machine.daq->samples[4] = 5000;
    window->MessenTimerTimer();
    EXPECT_EQ(window->ForceReadout()->Text(), QStringLiteral(" 12.347 "));
    EXPECT_EQ(window->TravelReadout()->Text(), QStringLiteral("   12.3 "));
    EXPECT_TRUE(window->Live()->SampleReady);
    EXPECT_EQ(window->MessenTimer().timerType(), Qt::PreciseTimer);
}

TEST_F(LiveWindowTest, PageUpJogsOnceUntilReleasedWhateverHasTheFocus) {
    Start();
    QTest::keyPress(focus, Qt::Key_PageUp);
    EXPECT_EQ(Sent(), "5D 01 5D 01 64 0F 3E 58 5A 0D 5A 0D 5A 0D 3C 30 relay00");
    QTest::keyPress(focus, Qt::Key_PageUp, Qt::NoModifier);  // the key repeats
    EXPECT_EQ(Sent(), "");
    QTest::keyRelease(focus, Qt::Key_PageUp);
    EXPECT_EQ(Sent(), "5A 00 5A 00 3C 30 41 00 00 00 wait400 3C 90 41 00 00 00 purge-rx");
    EXPECT_TRUE(window->ResultPanels()->Field("Remark")->text().isEmpty());
}

TEST_F(LiveWindowTest, DuringATestOnlyTheStopKeysWork) {
    Start();
    bool editorOpened = false;
    window->OpenProjectEditor = [&] { editorOpened = true; };
    Reading(300, 0);
    app.TestRunning = true;
    for (Qt::Key key : {Qt::Key_F10, Qt::Key_F5, Qt::Key_PageUp, Qt::Key_Delete}) {
        QTest::keyClick(focus, key);
    }
    EXPECT_EQ(Sent(), "");
    EXPECT_FALSE(editorOpened);
    EXPECT_EQ(machineConfig->Factors.ForceDecimals, 3);
    QTest::keyClick(focus, Qt::Key_F8);
    EXPECT_EQ(Sent(), "do00 wait300 do02");
    QTest::keyClick(focus, Qt::Key_F7);
    EXPECT_EQ(Sent(), "ao0=0 ao1=0 ao2=0 ao3=0");

    app.TestRunning = false;
    QTest::keyClick(focus, Qt::Key_F10);
    EXPECT_TRUE(editorOpened);
    QTest::keyClick(focus, Qt::Key_F5);  // the force reads 0 at the present load
    window->MessenTimerTimer();
    EXPECT_EQ(window->ForceReadout()->Text(), QStringLiteral("  0.000 "));
}

TEST_F(LiveWindowTest, CtrlSDrivesToTheStartPositionAndTheSupervisionEndsIt) {
    test->Parameters.StartPosition = 100;
    Start();
    Reading(0, 2000);
    QTest::keyClick(focus, Qt::Key_S, Qt::ControlModifier);
    // 'd' twice with 100 mm of the 300 mm nominal travel: 333333.
    EXPECT_EQ(Sent(), "5D 01 64 05 16 15 64 05 16 15 5A 05 5A 05 5A 05 3C 30 relay00");
    EXPECT_TRUE(window->TimerStartPosition().isActive());
    EXPECT_EQ(window->StartPositionField()->text(), QStringLiteral(" 100.0"));
    EXPECT_EQ(window->StartPositionField()->palette().color(QPalette::Base), QColor(Qt::red));
    // The key release does not stop the move.
    for (int tick = 1; tick <= 7; ++tick) {
        Reading(0, 9995);
        window->TimerStartPositionTimer();
        if (tick < 7) {
            EXPECT_EQ(Sent(), "") << tick;
            EXPECT_TRUE(window->TimerStartPosition().isActive()) << tick;
        }
    }
    EXPECT_EQ(Sent(), "5A 00 5A 00 3C 30 41 00 00 00 wait400 3C 90 41 00 00 00 purge-rx wait2000");
    EXPECT_FALSE(window->TimerStartPosition().isActive());
    EXPECT_NE(window->StartPositionField()->palette().color(QPalette::Base), QColor(Qt::red));
}

TEST_F(LiveWindowTest, OverloadStopsTheMachineAtEveryTick) {
    Start();
    Reading(30700, 0);
    Reading(30700, 0);
    EXPECT_EQ(window->Live()->OverloadPulses(), 2);
}

TEST_F(LiveWindowTest, ResultPanelsShowTheEvaluationWithTheLimitColours) {
    Start();
    test->Parameters.Results[9].LimitActive = 1;
    test->Parameters.Results[9].LimitMin = 100;
    test->Parameters.Results[9].LimitMax = 499;
    test->Current().Rm = 500;
    test->Current().ReH = 300;
    window->FillResultPanels();
    TResultPanels* panels = window->ResultPanels();
    EXPECT_EQ(panels->Field("Rm")->text(), QStringLiteral("     500"));
    EXPECT_EQ(panels->Field("Rm")->palette().color(QPalette::Base), QColor(Qt::red));
    EXPECT_EQ(panels->Field("ReH")->palette().color(QPalette::Base), QColor(Qt::white));
    panels->Tabs()->setCurrentIndex(1);
    panels->Tabs()->setCurrentIndex(0);
    EXPECT_EQ(panels->Field("Rm")->text(), QStringLiteral("     500"));

    // An evaluated test that was stopped before its break says so over its values.
    EXPECT_FALSE(panels->NoBreakMark()->isVisibleTo(window.get()));
    test->Marks.EvaluationDone = true;
    test->Current().EndOfTest = kEndedWithoutBreak;
    window->FillResultPanels();
    EXPECT_TRUE(panels->NoBreakMark()->isVisibleTo(window.get()));
    EXPECT_EQ(panels->NoBreakMark()->text(), QStringLiteral("ohne Bruch"));
    window->LayoutResultPanels();
    EXPECT_FALSE(panels->NoBreakMark()->isVisibleTo(window.get()));
    window->FillResultPanels();
    test->Marks.EvaluationDone = false;

    // A click on Ag without an evaluation only beeps; nothing opens.
    QTest::mouseClick(panels->Field("Ag"), Qt::LeftButton);
    EXPECT_TRUE(messages.shown.empty());

    // Changing the test type lays out its group.
    test->Parameters.TestType = 3;
    window->LayoutResultPanels();
    EXPECT_FALSE(panels->Tabs()->isVisibleTo(window.get()));
    EXPECT_NE(panels->Field("Tau"), nullptr);
}

}  // namespace
}  // namespace quorvex
