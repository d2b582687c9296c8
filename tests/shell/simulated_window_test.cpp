// The main window on the simulated machine, on a manual clock: the read-outs follow the
// crosshead that the operator's keys move, and F8 stops it.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <fstream>

#include "machine/machine.h"
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

TEST_F(SimulatedWindowTest, ItsOwnMachineClampsTheSpecimenOfTheTestTypeAndTheBannerSaysWhich) {
    ShowWindow();  // the window builds the simulated machine of the platform configuration
    VirtualMachine* own = window->Simulation();
    ASSERT_NE(own, nullptr);
    const struct {
        int testType;
        SpecimenPreset preset;
        const char* shown;
        bool probes;
    } cases[] = {
        {9, SpecimenPreset::CompressionCylinder, "Probe: Graugusszylinder, Druckversuch", true},
        {8, SpecimenPreset::FourPointBeam, "Probe: Betonbalken, Vierpunktbiegung", false},
        {4, SpecimenPreset::Chain, "Probe: Rundstahlkette", false},
        {0, SpecimenPreset::Steel, "Probe: Vergütungsstahl, Rundprobe", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.testType);
        test->Parameters.TestType = c.testType;
        window->UpdateWindowTitle();  // as after opening, creating or loading a project
        EXPECT_EQ(own->Config().Preset, c.preset);
        EXPECT_EQ(window->SimulatedSpecimenLabel()->text(), QString::fromUtf8(c.shown));
        EXPECT_TRUE(window->SimulatedSpecimenLabel()->isVisible());
        EXPECT_EQ(window->MachineInterface()->Daq().Extra().HasProbes(), c.probes);
    }
}

TEST_F(SimulatedWindowTest, ASpecimenNamedInThePlatformConfigurationStaysWhateverTheTestType) {
    std::ofstream(work / "Quorvex.platform", std::ios::app) << "sim.specimen = plastic\n";
    ShowWindow();
    ASSERT_NE(window->Simulation(), nullptr);
    test->Parameters.TestType = 9;
    window->UpdateWindowTitle();
    EXPECT_EQ(window->Simulation()->Config().Preset, SpecimenPreset::Plastic);
    EXPECT_EQ(window->SimulatedSpecimenLabel()->text(),
              QStringLiteral("Probe: Kunststoff-Schulterstab"));
}

}  // namespace
}  // namespace quorvex
