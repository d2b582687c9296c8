// The main window on the simulated machine, on a manual clock: the read-outs follow the
// crosshead that the operator's keys move, and F8 stops it.
#include <gtest/gtest.h>

#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <memory>

#include "evaluation/test_state.h"
#include "gui_test_support.h"
#include "machine/sim/virtual_machine.h"
#include "setup/machine_config.h"
#include "shell/app_state.h"
#include "shell/live_widgets.h"
#include "shell/main_window.h"
#include "shell/project_dialog.h"
#include "shell/result_panels.h"
#include "ui/dialog_base.h"
#include "ui/file_dialogs.h"
#include "ui/stored_texts.h"

namespace quorvex {
namespace {

namespace fs = std::filesystem;

class SimulatedWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        previous = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(directory.path()));
        const fs::path work(directory.path().toStdString());
        std::ofstream(work / "Sprache.con") << "0";
        std::ofstream platform(work / "Quorvex.platform");
        platform << "daq = simulated\nrelay = simulated\nencoder = none\ncontroller = simulated\n";
        for (int com = 1; com <= 16; ++com) platform << "com" << com << " = none\n";
    }
    void TearDown() override {
        window.reset();
        QDir::setCurrent(previous);
    }

    // Measuring ticks of 50 ms on the manual clock.
    void Run(double seconds) {
        for (int i = 0; i < static_cast<int>(seconds * 20); ++i) {
            clock.Advance(50);
            window->MessenTimerTimer();
        }
    }
    double TravelShown() const {
        return window->TravelReadout()->Text().remove(QStringLiteral("S:")).trimmed().toDouble();
    }

    QString previous;
    QTemporaryDir directory;
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

TEST_F(SimulatedWindowTest, ReadoutsFollowTheCrossheadTheKeysMove) {
    WhenModal<TNeue_Serie>([](TNeue_Serie* d) { d->reject(); });
    window = std::make_unique<TSDIAppForm>(app, *test, *machineConfig, ui, files);
    window->UseMachine(&machine, clock);
    window->show();
    ASSERT_TRUE(QTest::qWaitFor([this] { return app.StartupShown; }, 5000));
    ASSERT_TRUE(app.DaqPresent);
    window->MessenTimer().stop();  // the test ticks by hand
    QWidget* focus = window->ResultPanels()->Field("Remark");
    focus->setFocus();

    Run(1);
    const double before = TravelShown();
    QTest::keyPress(focus, Qt::Key_PageUp);
    Run(3);
    const double moving = TravelShown();
    EXPECT_GT(std::abs(moving - before), 0.05) << "the crosshead moves while the key is down";
    QTest::keyRelease(focus, Qt::Key_PageUp);
    Run(1);
    const double stopped = TravelShown();
    Run(2);
    EXPECT_NEAR(TravelShown(), stopped, 0.05) << "and stands once it is released";

    // F8 stops a move started from the jog key as well.
    QTest::keyPress(focus, Qt::Key_PageUp);
    Run(1);
    QTest::keyClick(focus, Qt::Key_F8);
    Run(1);
    const double afterStop = TravelShown();
    Run(2);
    EXPECT_NEAR(TravelShown(), afterStop, 0.05);
    QTest::keyRelease(focus, Qt::Key_PageUp);
}

}  // namespace
}  // namespace quorvex
