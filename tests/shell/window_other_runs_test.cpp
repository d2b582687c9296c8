// The other test types in the main window on the simulated machine, ticked by hand: F2 starts
// the routine of the type (no beep), the break ends the test with the type's results in its
// panels and the curve stays over the travel.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "machine/sim/virtual_machine.h"
#include "specimen/type_specimen_dialog.h"
#include "run/run_routines.h"
#include "shell/result_panels.h"
#include "window_fixture.h"

namespace quorvex {
namespace {

class WindowOtherRunsTest : public testing::WindowFixture {
  protected:
    // The window on the simulated machine of its nominal values with this specimen; the
    // parameter set holds its flat specimen and a programme of one stage at 1 mm/min.
    void Open(SpecimenPreset preset, int testType,
              std::vector<std::pair<std::string, double>> overrides = {}) {
        SimulationConfig config;
        config.Preset = preset;
        config.SpecimenOverrides = std::move(overrides);
        machine = std::make_unique<VirtualMachine>(config, clock);
        PrepareWorkingDirectory(testing::kSimulatedDevices);
        ShowWindow(machine.get(), &clock);
        ASSERT_TRUE(app.DaqPresent);
        app.ProjectOpen = true;
        const SpecimenParameters s = config.Specimen();
        ParameterSet& p = test->Parameters;
        p.TestType = testType;
        p.TensionDirection = 1;  // the simulated frame loads its specimens by upward travel
        p.SpecimenShape = static_cast<std::uint8_t>(SpecimenShape::Flat);
        const float lo = static_cast<float>(testType == 8 ? s.Span : s.Lo);
        p.Flat = {static_cast<float>(s.b), static_cast<float>(s.a), lo, static_cast<float>(s.Lc),
                  static_cast<float>(s.So())};
        p.EffectiveSo = static_cast<float>(s.So());
        p.EffectiveLo = lo;
        p.EffectiveLc = static_cast<float>(s.Lc);
        p.GaugeLengthLe = static_cast<float>(s.Le);
        p.RminInTest = 80;
        p.Stages = {};
        p.Stages[0] = {1, 0, 2, 1, 1};
    }
    void RunWhileTesting(int maxTicks) {
        for (int i = 0; i < maxTicks && app.TestRunning; ++i) {
            clock.Advance(50);
            window->MessenTimerTimer();
        }
    }
    double Panel(const char* name) {
        return window->ResultPanels()->Field(name)->text().trimmed().toDouble();
    }

    // F2, the specimen dialog of the type confirmed as it opens (with the specimen of the
    // parameter set), the test run to its break; then the panel field.
    void RunToResult(const char* field, double expected) {
        bool dialogShown = false;
        WhenModal<TTypeSpecimenDlg>([&](TTypeSpecimenDlg* d) {
            dialogShown = true;
            d->OkButton()->click();
            if (d->isVisible()) d->reject();  // a refused value: the test does not start
        });
        ASSERT_TRUE(window->FormKeyDown(Qt::Key_F2, Qt::NoModifier));
        EXPECT_TRUE(dialogShown);
        ASSERT_TRUE(app.TestRunning);
        EXPECT_EQ(window->SpeedUnitLabel()->text(), QStringLiteral("mm/min"));
        EXPECT_EQ(window->Diagram().View(), kViewForceTravel);
        RunWhileTesting(5000);
        ASSERT_FALSE(app.TestRunning);
        EXPECT_TRUE(test->Marks.EvaluationDone);
        EXPECT_NEAR(Panel(field), expected, 0.03 * expected);
        EXPECT_EQ(window->Diagram().View(), kViewForceTravel);
    }

    ManualClock clock;
    std::unique_ptr<VirtualMachine> machine;
};

TEST_F(WindowOtherRunsTest, AShearTestRunsFromF2ToItsShearStrength) {
    Open(SpecimenPreset::ShearSpecimen, 3);
    RunToResult("Tau", 60);
}

// The flexural strength shows its Rtf in the second field of the same group.
TEST_F(WindowOtherRunsTest, AFlexuralStrengthTestRunsFromF2ToItsStrength) {
    Open(SpecimenPreset::ThreePointBeam, 8, {{"width", 40}, {"thickness", 20}, {"span", 100}});
    test->Parameters.FlexuralThreePoint = 1;
    RunToResult("Tau", 15);
}

}  // namespace
}  // namespace quorvex
