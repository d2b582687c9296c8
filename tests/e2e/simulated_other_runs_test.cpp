// Whole tests of the other test types through their run routines on the simulated machine,
// headless, each with the programme quorvex-cli runs by default: the evaluated results give
// back the simulated specimen (shear strength, chain force, the universal test's maximum,
// flexural modulus and strength, compressive strength and modulus), the universal test holds
// its travel for the time stage, and the J-integral test unloads and reloads.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "evaluation/results_record.h"
#include "headless_run.h"
#include "run/programme_run.h"

namespace quorvex {
namespace {

using cli::HeadlessEvent;
using cli::HeadlessOptions;
using cli::HeadlessTest;

// The largest force the specimen can carry, kN.
double StrongestForce(const SpecimenParameters& parameters) {
    const Specimen specimen(parameters);
    double largest = 0;
    const double end = specimen.SeparationElongation();
    for (int k = 0; k <= 20000; ++k)
        largest = std::max(largest, specimen.FlowForce(end * k / 20000));
    return largest;
}

struct Ran {
    std::unique_ptr<HeadlessTest> test = std::make_unique<HeadlessTest>();
    SpecimenParameters specimen;
};

Ran RunType(int type, const std::vector<std::string>& assignments = {}) {
    HeadlessOptions options;
    options.TestType = type;
    options.Simulation.Preset = cli::DefaultPresetOfTestType(type);
    options.Simulation.NominalForce = 100;
    options.Assignments = assignments;
    Ran ran;
    std::string error;
    EXPECT_TRUE(ran.test->Prepare(options, ".", error)) << error;
    ran.specimen = ran.test->Simulation().Config().Specimen();
    EXPECT_TRUE(ran.test->Start());
    ran.test->RunToEnd();
    EXPECT_FALSE(ran.test->Run().Running());
    // Every test ends at the break, well before the operator's patience or the full memory.
    EXPECT_LT(ran.test->Ticks(), 10000) << type;
    EXPECT_TRUE(ran.test->Test().Marks.EvaluationDone) << type;
    return ran;
}

float ElementOf(Ran& ran, int element) {
    return ran.test->Test().Current().Results[static_cast<std::size_t>(element)];
}

// The shear strength 3 F / (4 a b), the chain's force and the universal test's maximum are
// the specimen's own within 2 %; the modulus and strength of the bending tests within 3 %.
TEST(SimulatedOtherRuns, ResultsGiveBackTheSimulatedSpecimen) {
    {
        SCOPED_TRACE("shear");
        Ran ran = RunType(3);
        EXPECT_NEAR(ElementOf(ran, 5), ran.specimen.Rm, 0.02 * ran.specimen.Rm);  // Tau
    }
    {
        SCOPED_TRACE("chain");
        Ran ran = RunType(4);
        const double fmax = ran.specimen.Rm * ran.specimen.So();  // N
        EXPECT_NEAR(ElementOf(ran, 2), fmax, 0.02 * fmax);
    }
    {
        SCOPED_TRACE("universal");
        Ran ran = RunType(5);
        const double fmax = ran.specimen.Rm * ran.specimen.So();
        EXPECT_NEAR(ElementOf(ran, 0), fmax, 0.02 * fmax);
    }
    {
        SCOPED_TRACE("flexural modulus");
        Ran ran = RunType(7);
        EXPECT_NEAR(ElementOf(ran, 3), ran.specimen.E, 0.03 * ran.specimen.E);    // Ef
        EXPECT_NEAR(ElementOf(ran, 5), ran.specimen.Rm, 0.03 * ran.specimen.Rm);  // strength
    }
    {
        SCOPED_TRACE("flexural strength");
        Ran ran = RunType(8);
        EXPECT_NEAR(ElementOf(ran, 5), ran.specimen.Rm, 0.03 * ran.specimen.Rm);  // Rtf
    }
    {
        SCOPED_TRACE("compression");
        Ran ran = RunType(9);
        const TestState& s = ran.test->Test();
        const double strength =
            s.Buffer.Force(s.Marks.FmaxIndex) * 1000.0 / s.Parameters.EffectiveSo;
        const double expected = StrongestForce(ran.specimen) * 1000.0 / ran.specimen.So();
        EXPECT_NEAR(strength, expected, 0.02 * expected);
        EXPECT_NEAR(ElementOf(ran, 10), ran.specimen.E, 0.05 * ran.specimen.E);  // E
    }
}

// The universal test's default programme pulls to 0.2 mm, holds it for 2 s, then goes on.
TEST(SimulatedOtherRuns, TheUniversalTestHoldsItsTravelThroughTheTimeStage) {
    Ran ran = RunType(5);
    const auto& events = ran.test->Host().Events;
    auto find = [&](const std::string& what) {
        return std::find_if(events.begin(), events.end(),
                            [&](const HeadlessEvent& e) { return e.What == what; });
    };
    const auto hold = find("speed 0.0 sec");
    const auto onwards = find("speed 5.0 mm/min");
    ASSERT_NE(hold, events.end());
    ASSERT_NE(onwards, events.end());
    // 2 s are 40 ticks; the travel stays at the held 0.2 mm meanwhile (the travel reading
    // resolves 0.01 mm and carries its noise).
    EXPECT_NEAR(onwards->Sample - hold->Sample, 40, 1);
    const MeasurementBuffer& b = ran.test->Test().Buffer;
    const float start = b.Travel(hold->Sample + 1);
    EXPECT_NEAR(start, 0.2, 0.02);
    for (int i = hold->Sample + 1; i <= onwards->Sample; ++i) {
        EXPECT_NEAR(b.Travel(i), start, 0.025) << i;
    }
    EXPECT_GT(b.Travel(onwards->Sample + 20), start + 0.01);
}

// "Delta-F" is entered in N, as its label shows, and ends the universal test at its fracture,
// where the force falls by that much from one tick to the next (read as kN, 200 or 5000 were
// beyond any force of the specimen and the test ran on past its fracture until the memory was
// full).
TEST(SimulatedOtherRuns, ADeltaFInNewtonsEndsTheUniversalTestAtItsFracture) {
    for (const double newtons : {200.0, 5000.0}) {
        SCOPED_TRACE(newtons);
        char value[32];
        std::snprintf(value, sizeof value, "BreakDropPercent=%g", newtons);
        Ran ran = RunType(5, {"BreakChannel=1", value});
        const auto& events = ran.test->Host().Events;
        EXPECT_TRUE(std::none_of(events.begin(), events.end(), [](const HeadlessEvent& e) {
            return e.What == "message 169";
        }));
        const auto& state = dynamic_cast<const ProgrammeRun&>(ran.test->Run()).State();
        EXPECT_NEAR(state.Fmax, StrongestForce(ran.specimen), 0.03 * StrongestForce(ran.specimen));
        // Stopped in the tick that saw the fracture.
        const VirtualMachine& machine = ran.test->Simulation();
        ASSERT_GE(machine.BrokeAtMs(), 0);
        EXPECT_GE(machine.DriveStoppedAtMs(), machine.BrokeAtMs());
        EXPECT_LE(machine.DriveStoppedAtMs(), machine.BrokeAtMs() + 100);
        EXPECT_TRUE(ran.test->Test().Marks.EvaluationDone);
        EXPECT_FALSE(EndedWithoutBreak(ran.test->Test().Current()));
    }
}

// Force control at 500 N/s to exactly 5 kN, held there for 2 s, then travel control to the
// break: the machine holds the force within the control deviation of 1 %.
TEST(SimulatedOtherRuns, AForceControlledStageHoldsItsForceBeforeTravelControlTakesOver) {
    Ran ran = RunType(5, {"Stages[0].StageSpeed=500", "Stages[0].StageSpeedUnit=2",
                          "Stages[1].StageFrom=5", "Stages[1].StageFromUnit=1"});
    const auto& events = ran.test->Host().Events;
    auto find = [&](const std::string& what) {
        return std::find_if(events.begin(), events.end(),
                            [&](const HeadlessEvent& e) { return e.What == what; });
    };
    const auto hold = find("speed 0.0 sec");
    const auto onwards = find("speed 5.0 mm/min");
    ASSERT_NE(hold, events.end());
    ASSERT_NE(onwards, events.end());
    const MeasurementBuffer& b = ran.test->Test().Buffer;
    // 500 N/s from the preload of 0.2 kN: about 10 s to 5 kN.
    EXPECT_NEAR(hold->Sample, 192, 10);
    for (int i = hold->Sample + 1; i <= onwards->Sample; ++i) {
        EXPECT_NEAR(b.Force(i), 5.0, 0.05) << i;
    }
    const double fmax = ran.specimen.Rm * ran.specimen.So();
    EXPECT_NEAR(ran.test->Test().Current().Results[0], fmax, 0.02 * fmax);
}

TEST(SimulatedOtherRuns, TheJIntegralTestUnloadsAndReloadsItsCycles) {
    Ran ran = RunType(5, {"JIntegralActive=1", "JUnloadCycles=3"});
    const TestState& s = ran.test->Test();
    const MeasurementBuffer& b = s.Buffer;
    int unloadings = 0;
    for (int i = 2; i <= s.Marks.StoredSamples; ++i) {
        if (b.Extension(i) == 0.0f && b.Extension(i - 1) == 1.0f) {
            ++unloadings;
            // Unloaded by 30 % of the force at the turn before it loads again.
            float lowest = b.Force(i - 1);
            int j = i;
            for (; j <= s.Marks.StoredSamples && b.Extension(j) == 0.0f; ++j) {
                lowest = std::min(lowest, b.Force(j));
            }
            EXPECT_LE(lowest, 0.71f * b.Force(i - 1)) << i;
            EXPECT_GT(lowest, 0.5f * b.Force(i - 1)) << i;
        }
    }
    EXPECT_EQ(unloadings, 3);
    const double fmax = ran.specimen.Rm * ran.specimen.So();
    EXPECT_NEAR(ElementOf(ran, 0), fmax, 0.02 * fmax);
}

}  // namespace
}  // namespace quorvex
