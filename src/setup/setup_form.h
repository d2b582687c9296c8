// The machine setup dialog as plain data: the texts and choices of its fields, filled from the
// records, checked and stored back, so that the dialog itself only shows them.
#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "evaluation/field_checks.h"
#include "evaluation/parameter_set.h"
#include "machine_config.h"
#include "setup_checks.h"

namespace quorvex {

// Fields that the confirmation converts after the range checks, numbered after SetupField
// so that one failure names any field of the dialog.
namespace form_field {
constexpr int kForceGainP = 100;   // + point index 0..3
constexpr int kForceGainI = 104;   // + point index
constexpr int kForcePoint = 108;   // + point index (F1 is fixed)
constexpr int kTravelGainP = 112;  // + point index
constexpr int kTravelPoint = 116;  // + point index (S1 is fixed)
constexpr int kForceGainD = 120;
constexpr int kTravelGainI = 121;
constexpr int kTravelGainD = 122;
constexpr int kStrainGainP = 123;
constexpr int kStrainGainI = 124;
constexpr int kStrainGainD = 125;
constexpr int kTravelIncrements = 126;
constexpr int kExtensometerIncrements = 127;
constexpr int kTransverseIncrements = 128;
constexpr int kTdmIncrements = 129;
constexpr int kTdmGainP = 130;
constexpr int kUserPosition = 131;
constexpr int kTdmLeAt10V = 132;
constexpr int kTdmBaseDistance = 133;
constexpr int kTravelOffset = 134;  // taken only when a number, never refused
constexpr int kValveOffset = 135;
constexpr int kTdmGainI = 136;  // shown only
constexpr int kTdmGainD = 137;
constexpr int kLoadCellNominal = 140;      // + entry index 0..2
constexpr int kLoadCellFactor = 143;       // + entry index
constexpr int kExtensometerNominal = 146;  // + entry index 0..1
constexpr int kExtensometerFactor = 148;   // + entry index
constexpr int kStageActive = 150;          // + stage index 0..4
constexpr int kStageFrom = 155;            // + stage index
constexpr int kStageFromUnit = 160;        // + stage index
constexpr int kStageSpeed = 165;           // + stage index
constexpr int kStageSpeedUnit = 170;       // + stage index
constexpr int kPreloadUnit = 175;
constexpr int kHysteresisActive = 176;
}  // namespace form_field

// The options of the automatic test sequence, in the order of the tab.
struct SequenceOptions {
    bool AutoSequence = false;
    bool AutoPreload = false;
    bool AutoCloseArms = false;
    bool AutoOpenArms = false;
    bool AutoOpenGrips = false;
    bool AutoMoveTdmLe = false;
    bool AutoReturnStart = false;
    bool AutoZeroForce = false;
};

enum class SequenceOption {
    AutoSequence,
    AutoPreload,
    AutoCloseArms,
    AutoOpenArms,
    AutoOpenGrips,
    AutoMoveTdmLe,
    AutoReturnStart,
    AutoZeroForce,
};

bool& OptionOf(SequenceOptions& options, SequenceOption option);
bool OptionOf(const SequenceOptions& options, SequenceOption option);

// The operator ticks or clears one option; the options that depend on it follow: no closing
// of the arms without the preload approach, no moving to Le without opening the arms or the
// grips, no return to the start position without opening the grips.
void SetSequenceOption(SequenceOptions& options, SequenceOption option, bool checked);

// Who may change what: the access flag opens the test fields, gains, options, card numbers,
// sensor tables and the end-switch, control and invert choices; the master code (or Alt+F12,
// Ctrl+F) opens the measuring ranges, increments, machine type, channels, user position and
// the TDM increments and gains; the sequence password opens the sequence options. Without
// the access flag nothing is open, not even the codes.
struct SetupRights {
    bool Basic = false;
    bool Machine = false;
    bool Sequence = false;
};

// Which sequence options may be ticked once the sequence password was given: the grip,
// Le and start-position options need hydraulic grips; the preload and sensor-arm options
// need the TDM when the amplifier version is 2 or lower; the automatic sequence needs both.
SequenceOptions SequenceOptionsEnabled(bool sequenceUnlocked, bool hydraulicGrips, bool tdmActive,
                                       int ampVersion);

struct SetupForm {
    // Tab "Messbereiche".
    std::string NominalForce, NominalTravel;
    bool IncrementalTravel = false;
    std::string TravelIncrements;
    std::string ExtensometerRange, ExtensometerLimit, GaugeLengthLe, MessageTime;
    int ExtensometerType = 0;          // 0 "MFA 2..", 1 incremental
    int ExtensometerChannelIndex = 0;  // "5", "6", "7", "(6+7)/2", "(5+6+7)/3"
    std::string ExtensometerIncrements;
    std::string TransverseRange, TransverseLimit;
    int TransverseChannelIndex = 0;  // "3".."10"
    std::string TransverseIncrements;

    // Tab "Regelparameter": F1 and S1 are shown fixed at "   0".
    std::array<std::string, 4> ForceGainP, ForceGainI, ForcePoint, TravelGainP, TravelPoint;
    std::string ForceGainD, TravelGainI, TravelGainD;
    std::string StrainGainP, StrainGainI, StrainGainD;

    // Tab "Konfiguration Maschine".
    int MachineType = 0;     // spindle, hydraulic bleed-off, hydraulic inflow
    int ProgramControl = 0;  // 0 control and measure, 1 measure only
    int EndSwitchType = 0;   // 0 normally closed, 1 normally open
    bool JogInvert = false, FreeRunInvert = false, InvertSetValue = false;
    bool FmaxMonitoring = false, FiveLimitOff = false, UseSupportValues = false;
    bool AnalogOutActualValues = false;
    std::string TravelOffset, ValveOffset, UserPosition;
    int QuickReleasePoint = 1;  // mm, 1..10
    int AmpVersion = 4;         // 1..80
    int FmaxLimitPercent = 100;

    // Tab "Zusatzgeräte".
    bool TdmActive = false, HydraulicGrips = false, RemoteControl = false, ProtectiveDoor = false;
    std::string TdmLeAt10V, TdmIncrements, TdmGainP, TdmGainI, TdmGainD, TdmBaseDistance;
    int TdmCardId = 0, GripCardId = 0;
    std::array<std::string, 3> LoadCellNominal, LoadCellFactor;
    std::array<int, 3> LoadCellChannel{1, 0, 0};  // load cell 1 is always on channel 1
    std::array<std::string, 2> ExtensometerNominal, ExtensometerFactor;
    std::array<int, 2> ExtensometerTableChannel{0, 0};

    // Tab "Ablaufsteuerung".
    SequenceOptions Sequence;
    int PreloadTolerancePercent = 5;  // 2..50
    int SequenceTimeoutSec = 20;      // 10..50

    // Tab "Versuch": the test fields, which every confirmation checks too.
    std::string BreakDrop, Rmin;
    int BreakChannel = 0;  // not shown: the programme tests' channel, which BreakDrop follows
    std::array<StageTexts, 5> Stages;
    std::array<int, 5> StageFromUnit{1, 1, 1, 1, 1};   // 1 "%", 2 stress, 3 "Sx"
    std::array<int, 5> StageSpeedUnit{1, 1, 1, 1, 1};  // 1 "mm/min", 2 "%/min", 3 stress rate
    std::string SetupPosition;
    int PreloadUnit = 0;
    std::string Preload, Hysteresis;
    bool HysteresisActive = false;
    bool MachineOffAtEnd = false;  // "Maschine A&US bei Versuchsende"
};

// The field of the test tab that a failure names: a stage row's "Ab" or "Mit" by its stage.
int TestFieldOf(const CheckFailure& failure);

// The fields as the dialog shows them: gains whole, points in %, the valve offset in volts
// with 1 decimal, offsets and nominal values with 2, calibration factors with 4.
SetupForm FillSetupForm(const ParameterSet& p, const MachineConfig& m);

// The range checks in their order, then the fields converted on storing (whole numbers for
// gains, points and increments; numbers for the positions and lengths). The first failure.
CheckResult CheckSetupForm(const SetupForm& form, int testType,
                           SetupChecks scope = SetupChecks::Machine);

// Stores a checked form of the machine setup into the records in memory: the parameter set's
// machine, extensometer and sequence fields, the machine setup, the TDM parameters. The test
// fields stay for the test dialog. The travel and valve offsets are taken only when their
// texts are numbers.
void StoreSetupForm(const SetupForm& form, ParameterSet& p, MachineConfig& m);

// Stores the checked test fields of the tab "Versuch" into the parameter set: break drop,
// minimum, stages 1..5 with their units, setup position, the preload of the chosen unit and
// the hysteresis. Texts the checks let pass without being numbers (an inactive stage, the
// hysteresis of a type that does not use it) leave their values as they are.
void StoreTestFields(const SetupForm& form, ParameterSet& p);

// "Systemdaten speichern", after storing: the nominal values into the calibration record and
// "Quorvex.kal", the machine setup into the file of the selected load cell, the TDM
// parameters. The paths of the files that could not be written.
std::vector<std::filesystem::path> SaveSystemData(const ParameterSet& p, MachineConfig& m,
                                                  const std::filesystem::path& directory);

// "Kennwerte speichern" of the load cells or the extensometers: the nominal values and
// factors must be numbers; the first failure, else the table is written (false when it
// could not be).
CheckResult CheckSensorFields(const SetupForm& form, SensorKind kind);
bool SaveSensorFields(const SetupForm& form, SensorKind kind, SensorTable& table,
                      const std::filesystem::path& directory);

}  // namespace quorvex
