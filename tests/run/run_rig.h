// A run routine over recording devices: a spindle machine of 100 kN, 300 mm travel and a
// 2 mm extensometer whose controller bytes are logged, a counting diagram and a host that logs
// what the operator would see. Ticks feed force, travel and extensometer readings.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "evaluation/test_state.h"
#include "machine/test_doubles.h"
#include "run/app_state.h"
#include "run/run_routines.h"
#include "run_fakes.h"
#include "setup/machine_config.h"

namespace quorvex::testing {

class RunRig : public ::testing::Test {
  protected:
    RunRig() {
        machine.Calibration.NominalForce = 100;
        machine.Calibration.NominalTravel = 300;
        machine.Calibration.NominalStrain = 2;
        machine.Setup.FmaxMonitoring = 1;
        machine.Factors.TravelFactor = 300.0 / 30000;
        machine.Factors.StrainFactor = 2.0 / 30000;
        rig.ports.OpenPort(2, 9600, 'N', 1, 8);
        rig.ports.SetControllerPort(2);
        rig.acquisition.SetSampleCounts(1, 1, 1);
        rig.acquisition.InitDaq();
        app.ProjectOpen = true;
        ParameterSet& p = test->Parameters;
        p.EffectiveSo = 100;
        p.BreakDropPercent = 40;
        p.PreloadUnit = 0;
        p.PreloadValue[0] = 0.2f;
        p.FmaxLimitPercent = 50;
        p.Stages = {};
        Configure();
    }
    void Configure() { rig.link.SetConfig(MakeControllerConfig(machine)); }

    // The routine of the parameter set's test type, started at 10 mm travel without force.
    bool Start() {
        run = CreateRunRoutine(*test, machine, app, {&rig.link, &rig.relays, &rig.acquisition},
                               rig.clock, diagram, host);
        SetReadings(0, 10, 0);
        rig.acquisition.ReadAll();
        Sent();
        return run->Start();
    }
    // One measuring tick of 50 ms with force (kN), travel and extensometer (mm).
    void Feed(double kN, double travelMm, double extensionMm = 0) {
        SetReadings(kN, travelMm, extensionMm);
        rig.clock.Advance(50);
        rig.acquisition.ReadAll();
        run->OnSample();
    }
    // Started and preloaded at 10 mm travel, nothing logged.
    void StartAndPreload() {
        ASSERT_TRUE(Start());
        Feed(0.3, 10);
        Sent();
        host.Take();
    }
    // Controller bytes, waits and relay actions since the last call (the card's reads left out).
    std::string Sent() {
        std::string out;
        const std::string all = rig.Sent();
        std::size_t i = 0;
        while (i < all.size()) {
            std::size_t end = all.find(' ', i);
            if (end == std::string::npos) end = all.size();
            const std::string token = all.substr(i, end - i);
            if (token.rfind("ai", 0) != 0) out += (out.empty() ? "" : " ") + token;
            i = end + 1;
        }
        return out;
    }

    RecordingRig rig;
    std::unique_ptr<TestState> test = std::make_unique<TestState>();
    MachineConfig machine;
    AppState app;
    FakeDiagram diagram;
    FakeHost host;
    std::unique_ptr<RunRoutine> run;

  private:
    void SetReadings(double kN, double travelMm, double extensionMm) {
        rig.daq.samples[0] = static_cast<int>(std::lround(kN * 300));
        rig.daq.samples[2] = static_cast<int>(std::lround(travelMm * 100));
        rig.daq.samples[4] = static_cast<int>(std::lround(extensionMm * 15000));
    }
};

}  // namespace quorvex::testing
