// The simulated machine opened through the program's own machine interface, on a manual
// clock: a test drives it with the controller link's sequences and reads it with the
// acquisition's ReadAll every 50 ms tick, as the measuring timer does.
#pragma once

#include <cmath>
#include <memory>
#include <vector>

#include "machine/machine.h"
#include "machine/sim/virtual_machine.h"

namespace quorvex::testing {

inline SimulationConfig SimConfig(SpecimenPreset preset) {
    SimulationConfig config;
    config.Preset = preset;
    return config;
}

struct CurvePoint {
    double force = 0;      // kN
    double travel = 0;     // mm from the start
    double extension = 0;  // mm
};

class SimBench {
  public:
    // samples: conversions averaged per reading (the program's defaults are 100, 100, 200).
    explicit SimBench(const SimulationConfig& config, int samples = 1,
                      bool incrementalTravel = false) {
        sim = std::make_unique<VirtualMachine>(config, clock);
        MachineStartup startup = SimulatedMachineStartup(samples);
        startup.Controller.MachineType = config.MachineType;
        startup.Controller.NominalForce = config.NominalForce;
        startup.Controller.NominalTravel = config.NominalTravel;
        startup.Controller.IncrementalTravel = incrementalTravel;
        startup.Controller.TravelIncrements = config.TravelIncrements;
        startup.Controller.FmaxMonitoring = true;
        MachineOpening opening = OpenMachine(startup, clock, sim.get());
        machine = std::move(opening.machine);
        Tick();
        startTravel = Travel();
    }

    Acquisition& Daq() { return machine->Daq(); }
    ControllerLink& Link() { return machine->Link(); }
    const SimulationConfig& Config() const { return sim->Config(); }

    // One measuring tick.
    void Tick(int ms = 50) {
        clock.Advance(ms);
        Daq().ReadAll();
    }
    void RunFor(double seconds) {
        for (int i = 0; i < std::lround(seconds * 20); ++i) Tick();
    }

    double Force() const {
        return machine->Daq().RawValues()[kRawForce] * Config().NominalForce / 30000;
    }
    double Travel() const {
        const double raw = machine->Daq().RawValues()[kRawTravel];
        return Config().TravelIncrements > 0 ? raw / Config().TravelIncrements
                                             : raw * Config().NominalTravel / 30000;
    }
    double Extension() const {
        return machine->Daq().RawValues()[kRawStrain] * Config().NominalStrain / 30000;
    }
    CurvePoint Point() const { return {Force(), Travel() - startTravel, Extension()}; }

    // A tensile test as the program runs it: a travel ramp upwards at mm/min, one point per
    // tick, ended by the drop below 40 % of Fmax (after Fmax passed minForce) or by the time.
    std::vector<CurvePoint> RunTest(double mmPerMin, double maxSeconds, double minForce = 0.01) {
        std::vector<CurvePoint> curve;
        Link().StartTestRamp(RampChannel::Travel, kNominalSetValue, Link().TravelRate(mmPerMin));
        double fmax = 0;
        for (int i = 0; i < std::lround(maxSeconds * 20); ++i) {
            Tick();
            curve.push_back(Point());
            fmax = std::max(fmax, curve.back().force);
            if (fmax >= minForce && curve.back().force < 0.4 * fmax) break;
        }
        Link().StopMachine();
        return curve;
    }

    ManualClock clock;
    std::unique_ptr<VirtualMachine> sim;
    std::unique_ptr<Machine> machine;
    double startTravel = 0;
};

}  // namespace quorvex::testing
