// What the simulated testing machine is: its type, nominal ranges, wiring, noise, the
// specimen clamped in it and the faults switched on. Read from the "sim.*" keys of the
// platform configuration; every value has a default, so "daq = simulated" alone gives a
// spindle machine of 300 kN and 300 mm with a steel specimen.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "machine/sim/material_model.h"

namespace quorvex {

struct SimulationFaults {
    bool NoisyForce = false;            // the load cell's amplifier picks up interference
    bool DeadExtensometer = false;      // cable broken: the extensometer reads 0
    bool SlippingExtensometer = false;  // the knife edges slip on the specimen now and then
    bool StuckCrosshead = false;        // the drive runs, the crosshead does not move
    bool LostLink = false;              // the controller receives nothing
    bool MissingCard = false;           // the data-acquisition card does not register
    bool StuckProbe = false;            // probe 3 of the compression platen does not follow
};

struct SimulationConfig {
    int MachineType = 0;  // 0 spindle, 1 hydraulic with bleed-off, 2 hydraulic with inflow control

    // Nominal values of the transducers: 30000 counts, and 1000000 in the controller's set
    // values, are these.
    double NominalForce = 300;       // kN
    double NominalTravel = 300;      // mm
    double NominalStrain = 2;        // mm, range of the extensometer
    double NominalTransverse = 3;    // mm, range of the transverse gauge
    int TravelIncrements = 0;        // per mm; 0: analogue travel transducer
    int ExtensometerIncrements = 0;  // per mm; 0: analogue extensometer

    // The load frame.
    double FrameStiffness = 150;  // kN/mm, load frame, grips and load cell together
    double MaxSpeed = 500;        // mm/min, fastest crosshead speed (also positioning)
    double JogSpeed = 20;         // mm/min, the slow jog
    double StartPosition = 100;   // mm, crosshead position at power-on, the specimen clamped there
    double LowerLimit = 0;        // mm, limit switches
    double UpperLimit = 0;        // mm; 0: the nominal travel
    int LoadingSign = 1;          // +1 the specimen is loaded by upward travel, -1 by downward

    // Analogue inputs of the card (0-based) and their wiring.
    int ForceInput = 0;
    int TravelInput = 2;
    int StrainInputA = 4;
    int StrainInputB = 7;
    int TransverseInput = 5;  // a transverse gauge sits on the flat aluminium specimen
    std::array<int, 3> ProbeInputs{1, 3, 6};  // the probes of the compression platen
    std::array<bool, 8> InvertedInput{};  // an input wired with reversed polarity

    // Noise of one conversion (counts rms) and the resolution of the converter (counts).
    double ForceNoise = 3;
    double TravelNoise = 1;
    double StrainNoise = 2;
    int Resolution = 1;
    std::uint32_t Seed = 1;

    SpecimenPreset Preset = SpecimenPreset::Steel;
    // "sim.specimen" was given: the window keeps this specimen whatever the test type.
    bool PresetNamed = false;
    // Values that replace those of the preset, by key ("Rm", "d", ...), in the order given.
    std::vector<std::pair<std::string, double>> SpecimenOverrides;
    SimulationFaults Faults;

    double UpperTravelLimit() const { return UpperLimit > 0 ? UpperLimit : NominalTravel; }
    // The aluminium sheet is tested with a transverse gauge (its r value), the compression
    // cylinder between platens watched by three displacement probes.
    bool HasTransverseGauge() const { return Preset == SpecimenPreset::Aluminium; }
    bool HasProbes() const { return Preset == SpecimenPreset::CompressionCylinder; }
    // The preset with the overrides applied.
    SpecimenParameters Specimen() const;
};

// Reads one "sim.<name>" key of the platform configuration into the configuration; returns
// an empty text when it was understood, else what is wrong with it.
std::string ParseSimulationKey(const std::string& key, const std::string& value,
                               SimulationConfig& config);

}  // namespace quorvex
