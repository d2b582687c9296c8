// The checks of the setup dialog and of the test-programme dialogs when they are confirmed,
// in their order, over the texts of their fields.
#pragma once

#include <array>
#include <string>

#include "evaluation/field_checks.h"

namespace quorvex {

enum class SetupField {
    MessageTime,
    BreakDrop,
    Rmin,
    NominalForce,
    NominalTravel,
    ExtensometerRange,
    GaugeLengthLe,
    ExtensometerLimit,
    TransverseRange,
    TransverseLimit,
    StageFrom,
    StageSpeed,
    SetupPosition,
    Preload,
    Hysteresis,
    BreakValue,
    Fmin,
};

struct StageTexts {
    bool Active = false;
    std::string From;   // "Ab"
    std::string Speed;  // "Mit"
};

enum class PreloadUnit { Kn = 0, N = 1, Stress = 2 };

// The two modes of the setup dialog: "Setup > Maschine" shows the machine's tabs and checks
// every step (the test fields' bounds follow the machine's nominal values); "Parameter >
// Versuch" shows the test tab only and checks only its own steps.
enum class SetupChecks { Machine, TestTabOnly };

// The fields of the setup dialog that its confirmation checks.
struct SetupDialogTexts {
    SetupChecks Scope = SetupChecks::Machine;
    std::string MessageTime, BreakDrop, Rmin, NominalForce, NominalTravel;
    int BreakChannel = 0;  // the programme tests' channel of the break value (BreakDrop)
    std::string ExtensometerRange, GaugeLengthLe, ExtensometerLimit;
    std::string TransverseRange, TransverseLimit;
    std::array<StageTexts, 5> Stages;
    std::string SetupPosition;
    int PreloadUnit = 0;
    std::string Preload;
    std::string Hysteresis;
};

// The first failing field of the setup dialog among the steps of its mode. The setup
// position and the preload bounds follow the nominal travel and force just entered (or
// stored, in the test-parameter mode).
CheckResult CheckSetupDialog(const SetupDialogTexts& texts, int testType);

// The preload of the setup dialog alone, as Enter in its field checks it.
CheckResult CheckSetupPreload(int unit, const std::string& text, double nominalForceKn);

// The test-programme dialog of the universal and flexural tests (and its bending variant).
struct ProgrammeDialogTexts {
    std::string SetupPosition;
    std::array<StageTexts, 30> Stages;
    int BreakChannel = 0;  // 0 drop in % of Fmax, 1 delta force N, 2 delta travel mm
    std::string BreakValue;
    std::string Fmin;
    int PreloadUnit = 0;
    std::string Preload;
};

CheckResult CheckProgrammeDialog(const ProgrammeDialogTexts& texts, double nominalForceKn,
                                 double nominalTravelMm);

}  // namespace quorvex
