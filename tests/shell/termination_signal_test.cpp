// SIGTERM (a shutdown, a logout, `systemctl stop`) ends the window as "Beenden" does: the
// dialog that is open closes, the test in progress stops with its machine switched off, and
// the window closes without asking anything.
#include <gtest/gtest.h>

#include <signal.h>

#include <QApplication>
#include <QTest>

#include "machine/sim/virtual_machine.h"
#include "shell/termination_signals.h"
#include "shell/project_dialog.h"
#include "specimen/specimen_dialog.h"
#include "ui/language_dialog.h"
#include "window_fixture.h"

namespace quorvex {
namespace {

class TerminationSignalTest : public testing::WindowFixture {
  protected:
    void SetUp() override {
        PrepareWorkingDirectory(testing::kSimulatedDevices);
        ShowWindow(&machine, &clock);
        app.ProjectOpen = true;
        ParameterSet& p = test->Parameters;
        p.TestType = 0;
        p.Stages = {};
        p.Stages[0] = {1, 0, 1, 2, 1};
        p.Stages[1] = {1, 1, 1, 20, 1};
    }

    ManualClock clock;
    VirtualMachine machine{SimulationConfig{}, clock};
};

TEST_F(TerminationSignalTest, SigtermStopsTheRunningTestAndClosesTheWindow) {
    WhenModal<TBtnRightDlg3>([](TBtnRightDlg3* d) { d->OkButton()->click(); });
    ASSERT_TRUE(window->FormKeyDown(Qt::Key_F2, Qt::NoModifier));
    for (int i = 0; i < 40 && app.TestRunning; ++i) {
        clock.Advance(50);
        window->MessenTimerTimer();
    }
    ASSERT_TRUE(app.TestRunning);
    ASSERT_NE(machine.Controller().Drive(), DriveMode::Off);

    int received = 0;
    TerminationSignals signalled([&](int number) {
        received = number;
        window->CloseOnSignal();
    });
    ASSERT_TRUE(signalled.Installed());
    ::raise(SIGTERM);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !window->isVisible(); }, 5000));
    EXPECT_EQ(received, SIGTERM);
    EXPECT_FALSE(app.TestRunning);
    EXPECT_EQ(machine.Controller().Drive(), DriveMode::Off);
    // Nobody was asked: a shutdown does not wait for an answer.
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(TerminationSignalTest, SighupClosesAnOpenDialogFirst) {
    bool dialogClosed = false;
    WhenModal<TBtnRightDlg3>([&](TBtnRightDlg3* d) {
        TerminationSignals signalled([this](int) { window->CloseOnSignal(); });
        ::raise(SIGHUP);
        dialogClosed = QTest::qWaitFor([d] { return !d->isVisible(); }, 5000);
    });
    window->FormKeyDown(Qt::Key_F2, Qt::NoModifier);
    EXPECT_TRUE(dialogClosed);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !window->isVisible(); }, 5000));
    EXPECT_FALSE(app.TestRunning);
}

// A signal at the first start, while the language is asked inside the window's first show,
// before the program's event loop runs: the question closes, no project question follows, the
// window closes.
TEST(TerminationAtStartUp, SigtermDuringTheLanguageQuestionEndsTheStartUp) {
    class FirstStart : public testing::WindowFixture {
      public:
        void TestBody() override {}
        void Run() {
            PrepareWorkingDirectory(testing::kAbsentDevices);
            std::filesystem::remove(work / "Sprache.con");
            window = std::make_unique<TSDIAppForm>(app, *test, *machineConfig, ui, *fileDialogs);
            ui.MainWindow = window.get();
            TerminationSignals signalled([this](int) { window->CloseOnSignal(); });
            ASSERT_TRUE(signalled.Installed());
            bool languageAsked = false;
            WhenModal<TSpracheDlg>([&](TSpracheDlg*) {
                languageAsked = true;
                ::raise(SIGTERM);  // the dialog stays open: the signal has to close it
            });
            window->show();
            EXPECT_TRUE(languageAsked);
            ASSERT_TRUE(QTest::qWaitFor([this] { return !window->isVisible(); }, 5000));
            // A project question would come from the deferred start-up within 300 ms; if it
            // comes, it is answered (so that the test fails instead of hanging).
            bool projectAsked = false;
            auto* watch = new QTimer(window.get());
            QObject::connect(watch, &QTimer::timeout, [&projectAsked] {
                if (auto* project = qobject_cast<TNeue_Serie*>(QApplication::activeModalWidget())) {
                    projectAsked = true;
                    project->reject();
                }
            });
            watch->start(5);
            QTest::qWait(300);
            watch->stop();
            EXPECT_FALSE(projectAsked);
            EXPECT_FALSE(app.StartupShown);
            TearDown();
        }
    } start;
    start.Run();
}

}  // namespace
}  // namespace quorvex
