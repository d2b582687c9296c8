// The main window on the simulated machine, on a manual clock: the read-outs follow the
// crosshead that the operator's keys move, and F8 stops it.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>

#include "machine/sim/virtual_machine.h"
#include "shell/live_widgets.h"
#include "shell/result_panels.h"
#include "window_fixture.h"

namespace quorvex {
namespace {

class SimulatedWindowTest : public testing::WindowFixture {
  protected:
    void SetUp() override { PrepareWorkingDirectory(testing::kSimulatedDevices); }

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

    ManualClock clock;
    VirtualMachine machine{SimulationConfig{}, clock};
};

TEST_F(SimulatedWindowTest, ReadoutsFollowTheCrossheadTheKeysMove) {
    ShowWindow(&machine, &clock);
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
