// The test-programme dialog of the universal and flexural tests as plain data: its fields
// filled from the parameter set, checked, and stored back.
#pragma once

#include <array>
#include <string>

#include "evaluation/field_checks.h"
#include "evaluation/parameter_set.h"
#include "setup_checks.h"

namespace quorvex {

struct ProgrammeForm {
    // The flexural-strength variant: no holding stages, no sampling rate, spring-constant
    // stage, control deviation or J-integral, but the test space.
    bool Bending = false;
    ProgrammeDialogTexts Texts;            // the fields the confirmation checks
    std::array<int, 30> StageFromUnit{};   // 1 "kN", 2 "mm", 3 "sec"
    std::array<int, 30> StageSpeedUnit{};  // 1 "mm/min", 2 "N/sec", 3 "sec" (holding)
    int TensionDirection = 1;              // 1 "Zug", 0 "Druck"
    int TravelSensorType = 0;              // 0 crosshead, 1 strain-gauge sensor, 2 incremental
    int FmaxLimitPercent = 100;            // 5..100
    int EndStage = 1;                      // 1..30
    int SpringStage = 1;                   // 1..5
    int ControlDeviation = 1;              // 1..30
    int SamplingIndex = 0;                 // 50, 100, 200, 500, 1000 msec
    bool MachineOffAtEnd = false;
    bool JIntegralActive = false;
    int JUnloadCycles = 3;          // 3..55
    double UnloadStartMm = 0.0;     // "Entlastung ab"
    double UnloadIntervalMm = 0.0;  // "Entlastungsinterval"
    int UnloadPercent = 3;          // "entlasten um", 3..50
    int TestSpace = 1;              // bending only: 1 "unten", 2 "oben"
};

ProgrammeForm FillProgrammeForm(const ParameterSet& p, bool bending = false);

// The first failure, in the order of the dialog, against the machine's nominal values.
CheckResult CheckProgrammeForm(const ProgrammeForm& form, const ParameterSet& p);

// Stores a checked form: the 30 stages, the setup position, the break channel and value,
// Fmin, the preload of its unit and the remaining choices (the bending variant leaves the
// fields it does not show as they are and stores the test space).
void StoreProgrammeForm(const ProgrammeForm& form, ParameterSet& p);

}  // namespace quorvex
