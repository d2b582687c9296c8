// The simulated hydraulic machines answer through their valve: a travel step is reached late
// and, with a high P gain, overshoots; the bleed-off machine is slower than the inflow one
// and loses speed under load. The spindle machine is not driven through this model.
#include "machine/sim/hydraulic_drive.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace quorvex {
namespace {

struct StepAnswer {
    double Overshoot;     // mm beyond the 1 mm step
    double SecondsTo90;   // until 0.9 mm is reached
};

// A 1 mm step of the travel set value, closed through the P loop of the given gain.
StepAnswer StepResponse(int machineType, std::int32_t pGain) {
    std::array<std::int32_t, 18> gains{};
    gains[0] = pGain;
    HydraulicDrive drive(machineType);
    const double dt = 0.01;
    double position = 0, peak = 0, reached = -1;
    for (int i = 0; i < 500; ++i) {
        const double commanded = HydraulicDrive::TravelLoopGain(gains) * (1.0 - position);
        position += drive.Follow(commanded, dt, 0) * dt;
        peak = std::max(peak, position);
        if (reached < 0 && position >= 0.9) reached = (i + 1) * dt;
    }
    return {peak - 1.0, reached};
}

TEST(HydraulicDrive, TheGainsAndTheMachineTypeShapeTheStepResponse) {
    const StepAnswer inflow = StepResponse(2, 1000000);
    const StepAnswer bleedOff = StepResponse(1, 1000000);
    const StepAnswer stiff = StepResponse(1, 4000000);
    const StepAnswer soft = StepResponse(1, 250000);
    EXPECT_LT(inflow.SecondsTo90, bleedOff.SecondsTo90);
    EXPECT_LT(inflow.Overshoot, bleedOff.Overshoot);
    EXPECT_GT(stiff.Overshoot, 0.2);     // a high gain rings
    EXPECT_LT(soft.Overshoot, 0.001);    // a low one creeps up without overshoot
    EXPECT_GT(soft.SecondsTo90, 2 * bleedOff.SecondsTo90);
    // None downloaded: the nominal loop.
    EXPECT_EQ(HydraulicDrive::TravelLoopGain({}),
              HydraulicDrive::TravelLoopGain({1000000}));
}

TEST(HydraulicDrive, BleedOffLosesSpeedUnderLoad) {
    HydraulicDrive bleedOff(1), inflow(2);
    double loaded = 0, unloaded = 0, inflowLoaded = 0;
    for (int i = 0; i < 200; ++i) {
        loaded = bleedOff.Follow(1.0, 0.01, 1.0);
        inflowLoaded = inflow.Follow(1.0, 0.01, 1.0);
    }
    unloaded = bleedOff.Follow(1.0, 0.01, 0.0);
    EXPECT_NEAR(unloaded, 1.0, 1e-3);
    EXPECT_NEAR(loaded, 0.85, 1e-3);
    EXPECT_NEAR(inflowLoaded, 1.0, 1e-3);
}

}  // namespace
}  // namespace quorvex
