// The calibration dialog's readings on the simulated machine: they follow the crosshead and
// the load as the machine moves.
#include <gtest/gtest.h>

#include "setup/calibration.h"
#include "setup/calibration_session.h"
#include "sim_bench.h"

namespace quorvex {
namespace {

TEST(SimulatedCalibration, ReadingsFollowTheMachine) {
    SimulationConfig config = testing::SimConfig(SpecimenPreset::Steel);
    config.NominalForce = 100;
    testing::SimBench bench(config, 4);
    CalibrationRecord calibration;
    calibration.NominalForce = config.NominalForce;
    calibration.NominalTravel = config.NominalTravel;
    calibration.NominalStrain = config.NominalStrain;
    CalibrationSession session(bench.Daq(), calibration, 0.95);
    session.Begin();

    bench.clock.Advance(CalibrationSession::kTickMs);
    const CalibrationReading start = session.Tick();
    // Stretch the specimen at 6 mm/min for 5 s: 0.5 mm of travel and a rising force.
    bench.Link().StartTestRamp(RampChannel::Travel, kNominalSetValue, bench.Link().TravelRate(6));
    for (int i = 0; i < 5000 / CalibrationSession::kTickMs; ++i) {
        bench.clock.Advance(CalibrationSession::kTickMs);
        session.Tick();
    }
    bench.clock.Advance(CalibrationSession::kTickMs);
    const CalibrationReading moved = session.Tick();
    EXPECT_NEAR(moved.TravelMm - start.TravelMm, 0.5, 0.05);
    EXPECT_GT(moved.ForceKn, start.ForceKn + 1.0);
    EXPECT_FALSE(session.Overload());
    EXPECT_EQ(moved.Force.back(), ' ');

    bench.Link().StopMachine();
    session.End();
}

}  // namespace
}  // namespace quorvex
