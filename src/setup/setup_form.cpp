// Filling, checking and storing the machine setup form.
#include "setup_form.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "controller_gains.h"
#include "evaluation/files.h"
#include "evaluation/text_functions.h"

namespace quorvex {
namespace {

std::string Whole(std::int64_t value) {
    return std::to_string(value);
}

std::string Fixed(double value, int decimals) {
    return FormatFixed(value, 0, decimals);
}

bool IsNumber(const std::string& text) {
    return ParseNumberInRange(text, -1e300, 1e300).valid;
}

std::int32_t WholeValue(const std::string& text) {
    return static_cast<std::int32_t>(ParseIntegerInRange(text, INT32_MIN, INT32_MAX).value);
}

CheckResult CheckWhole(int field, const std::string& text, long long low = INT32_MIN,
                       long long high = INT32_MAX) {
    return CheckIntegerField(field, text, low, high, "");
}

CheckResult CheckNumber(int field, const std::string& text) {
    return CheckNumberField(field, text, -1e300, 1e300, "");
}

}  // namespace

bool& OptionOf(SequenceOptions& o, SequenceOption option) {
    switch (option) {
        case SequenceOption::AutoSequence:
            return o.AutoSequence;
        case SequenceOption::AutoPreload:
            return o.AutoPreload;
        case SequenceOption::AutoCloseArms:
            return o.AutoCloseArms;
        case SequenceOption::AutoOpenArms:
            return o.AutoOpenArms;
        case SequenceOption::AutoOpenGrips:
            return o.AutoOpenGrips;
        case SequenceOption::AutoMoveTdmLe:
            return o.AutoMoveTdmLe;
        case SequenceOption::AutoReturnStart:
            return o.AutoReturnStart;
        case SequenceOption::AutoZeroForce:
            break;
    }
    return o.AutoZeroForce;
}

bool OptionOf(const SequenceOptions& o, SequenceOption option) {
    return OptionOf(const_cast<SequenceOptions&>(o), option);
}

void SetSequenceOption(SequenceOptions& o, SequenceOption option, bool checked) {
    OptionOf(o, option) = checked;
    switch (option) {
        case SequenceOption::AutoPreload:
            if (!checked) o.AutoCloseArms = false;
            break;
        case SequenceOption::AutoCloseArms:
            if (!o.AutoPreload) o.AutoCloseArms = false;
            break;
        case SequenceOption::AutoOpenArms:
            if (!checked) o.AutoMoveTdmLe = false;
            break;
        case SequenceOption::AutoOpenGrips:
            if (!checked) o.AutoMoveTdmLe = o.AutoReturnStart = false;
            break;
        case SequenceOption::AutoReturnStart:
            if (!o.AutoOpenGrips) o.AutoReturnStart = false;
            break;
        default:
            break;
    }
}

SequenceOptions SequenceOptionsEnabled(bool sequenceUnlocked, bool hydraulicGrips, bool tdmActive,
                                       int ampVersion) {
    SequenceOptions e;
    if (!sequenceUnlocked) return e;
    const bool arms = tdmActive || ampVersion > 2;
    e.AutoSequence = tdmActive && hydraulicGrips;
    e.AutoPreload = e.AutoCloseArms = e.AutoOpenArms = arms;
    e.AutoOpenGrips = e.AutoMoveTdmLe = e.AutoReturnStart = hydraulicGrips;
    e.AutoZeroForce = true;
    return e;
}

SetupForm FillSetupForm(const ParameterSet& p, const MachineConfig& m) {
    const MachineSetupRecord& s = m.Setup;

    SetupForm f;
    f.NominalForce = Fixed(p.NominalForceKn, 2);
    f.NominalTravel = Fixed(p.NominalTravelMm, 2);
    f.IncrementalTravel = s.IncrementalTravel != 0;
    f.TravelIncrements = Whole(s.TravelIncrements);
    f.ExtensometerRange = Fixed(p.ExtensometerRangeMm, 3);
    f.ExtensometerLimit = Fixed(p.ExtensometerLimitMm, 3);
    f.GaugeLengthLe = Fixed(p.GaugeLengthLe, 2);
    f.MessageTime = Whole(p.MessageTimeSec);
    f.ExtensometerType = p.ExtensometerIncremental != 0 ? 1 : 0;
    f.ExtensometerChannelIndex = std::clamp(s.ExtensometerChannel, 1, 5) - 1;
    f.ExtensometerIncrements = Whole(s.ExtensometerIncrements);
    f.TransverseRange = Fixed(p.TransverseRangeMm, 3);
    f.TransverseLimit = Fixed(p.TransverseLimitMm, 3);
    f.TransverseChannelIndex = std::clamp(s.TransverseChannel, 3, 10) - 3;
    f.TransverseIncrements = Whole(s.TransverseIncrements);

    for (std::size_t k = 0; k < 4; ++k) {
        f.ForceGainP[k] = Whole(s.ForceGainP[k]);
        f.ForceGainI[k] = Whole(s.ForceGainI[k]);
        f.TravelGainP[k] = Whole(s.TravelGainP[k]);
        f.ForcePoint[k] = FormatFixed(PercentFromPoint(s.ForcePoint[k]), 3, 0);
        f.TravelPoint[k] = FormatFixed(PercentFromPoint(s.TravelPoint[k]), 3, 0);
    }
    f.ForcePoint[0] = f.TravelPoint[0] = "   0";
    f.ForceGainD = Whole(s.ForceGainD);
    f.TravelGainI = Whole(s.TravelGainI);
    f.TravelGainD = Whole(s.TravelGainD);
    f.StrainGainP = Whole(s.StrainGainP);
    f.StrainGainI = Whole(s.StrainGainI);
    f.StrainGainD = Whole(s.StrainGainD);

    f.MachineType = std::clamp<int>(s.MachineType, 0, 2);
    f.ProgramControl = s.MeasureOnly != 0 ? 1 : 0;
    f.EndSwitchType = s.EndSwitchType != 0 ? 1 : 0;
    f.JogInvert = s.JogInvert != 0;
    f.FreeRunInvert = s.FreeRunInvert != 0;
    f.InvertSetValue = s.InvertSetValue != 0;
    f.FmaxMonitoring = s.FmaxMonitoring != 0;
    f.FiveLimitOff = s.FiveLimitOff != 0;
    f.UseSupportValues = s.UseSupportValues != 0;
    f.AnalogOutActualValues = s.AnalogOutActualValues != 0;
    f.TravelOffset = Fixed(s.TravelOffset, 2);
    f.ValveOffset = Fixed(s.ValveOffset / 10.0, 1);
    f.UserPosition = Fixed(s.UserPosition, 1);
    f.QuickReleasePoint = std::clamp(static_cast<int>(std::lround(s.QuickReleasePoint)), 1, 10);
    f.AmpVersion = std::clamp(s.AmpVersion, 1, 80);
    f.FmaxLimitPercent = std::clamp(p.FmaxLimitPercent, 5, 100);

    f.TdmActive = s.TdmActive != 0;
    f.HydraulicGrips = s.HydraulicGrips != 0;
    f.RemoteControl = s.RemoteControl != 0;
    f.ProtectiveDoor = p.ProtectiveDoor != 0;
    f.TdmLeAt10V = Fixed(s.TdmLeAt10V, 2);
    f.TdmIncrements = Whole(m.Tdm.TdmIncrements);
    f.TdmGainP = Whole(m.Tdm.TdmGainP);
    f.TdmGainI = Whole(m.Tdm.TdmGainI);
    f.TdmGainD = Whole(m.Tdm.TdmGainD);
    f.TdmBaseDistance = Fixed(m.Tdm.TdmBaseDistance, 2);
    f.TdmCardId = std::clamp(s.TdmCardId, 0, 5);
    f.GripCardId = std::clamp(s.GripCardId, 0, 5);
    for (std::size_t i = 0; i < 3; ++i) {
        f.LoadCellNominal[i] = Fixed(m.LoadCells.SensorNominal[i], 2);
        f.LoadCellFactor[i] = Fixed(m.LoadCells.SensorCalFactor[i], 4);
        f.LoadCellChannel[i] = std::clamp(m.LoadCells.SensorChannel[i], 0, 4);
    }
    f.LoadCellChannel[0] = 1;
    for (std::size_t i = 0; i < 2; ++i) {
        f.ExtensometerNominal[i] = Fixed(m.Extensometers.SensorNominal[i], 2);
        f.ExtensometerFactor[i] = Fixed(m.Extensometers.SensorCalFactor[i], 4);
        f.ExtensometerTableChannel[i] = std::clamp(m.Extensometers.SensorChannel[i], 0, 4);
    }

    f.Sequence = {p.AutoSequence != 0,    p.AutoPreload != 0,   p.AutoCloseArms != 0,
                  p.AutoOpenArms != 0,    p.AutoOpenGrips != 0, p.AutoMoveTdmLe != 0,
                  p.AutoReturnStart != 0, p.AutoZeroForce != 0};
    f.PreloadTolerancePercent = std::clamp(p.PreloadTolerancePercent, 2, 50);
    f.SequenceTimeoutSec = std::clamp(p.SequenceTimeoutSec, 10, 50);

    f.BreakDrop = Fixed(p.BreakDropPercent, 2);
    f.BreakChannel = p.BreakChannel;
    f.Rmin = Fixed(p.RminInTest, 2);
    for (std::size_t i = 0; i < f.Stages.size(); ++i) {
        const SpeedStage& stage = p.Stages[i];
        f.Stages[i] = {stage.StageActive != 0, Fixed(stage.StageFrom, 3),
                       Fixed(stage.StageSpeed, 3)};
        f.StageFromUnit[i] = std::clamp(stage.StageFromUnit, 1, 3);
        f.StageSpeedUnit[i] = std::clamp(stage.StageSpeedUnit, 1, 3);
    }
    f.SetupPosition = Fixed(p.StartPosition, 2);
    f.PreloadUnit = std::clamp(p.PreloadUnit, 0, 2);
    f.Preload = Fixed(p.PreloadValue[static_cast<std::size_t>(f.PreloadUnit)], 3);
    f.Hysteresis = Fixed(p.HysteresisPercent, 2);
    f.HysteresisActive = p.HysteresisActive != 0;
    f.MachineOffAtEnd = p.MachineOffAtEnd != 0;
    return f;
}

int TestFieldOf(const CheckFailure& failure) {
    const int row = std::clamp(failure.Stage, 1, 5) - 1;
    if (failure.Field == static_cast<int>(SetupField::StageFrom)) {
        return form_field::kStageFrom + row;
    }
    if (failure.Field == static_cast<int>(SetupField::StageSpeed)) {
        return form_field::kStageSpeed + row;
    }
    return failure.Field;
}

void StoreTestFields(const SetupForm& f, ParameterSet& p) {
    p.BreakDropPercent = static_cast<float>(ParseNumber(f.BreakDrop));
    p.RminInTest = static_cast<float>(ParseNumber(f.Rmin));
    for (std::size_t i = 0; i < f.Stages.size(); ++i) {
        SpeedStage& stage = p.Stages[i];
        stage.StageActive = f.Stages[i].Active ? 1 : 0;
        if (IsNumber(f.Stages[i].From)) stage.StageFrom = ParseNumber(f.Stages[i].From);
        if (IsNumber(f.Stages[i].Speed)) stage.StageSpeed = ParseNumber(f.Stages[i].Speed);
        stage.StageFromUnit = std::clamp(f.StageFromUnit[i], 1, 3);
        stage.StageSpeedUnit = std::clamp(f.StageSpeedUnit[i], 1, 3);
    }
    p.StartPosition = ParseNumber(f.SetupPosition);
    p.PreloadUnit = std::clamp(f.PreloadUnit, 0, 2);
    p.PreloadValue[static_cast<std::size_t>(p.PreloadUnit)] =
        static_cast<float>(ParseNumber(f.Preload));
    if (IsNumber(f.Hysteresis)) p.HysteresisPercent = ParseNumber(f.Hysteresis);
    p.HysteresisActive = f.HysteresisActive ? 1 : 0;
    p.MachineOffAtEnd = f.MachineOffAtEnd ? 1 : 0;
}

CheckResult CheckSetupForm(const SetupForm& f, int testType, SetupChecks scope) {
    SetupDialogTexts t;
    t.Scope = scope;
    t.MessageTime = f.MessageTime;
    t.BreakDrop = f.BreakDrop;
    t.BreakChannel = f.BreakChannel;
    t.Rmin = f.Rmin;
    t.NominalForce = f.NominalForce;
    t.NominalTravel = f.NominalTravel;
    t.ExtensometerRange = f.ExtensometerRange;
    t.GaugeLengthLe = f.GaugeLengthLe;
    t.ExtensometerLimit = f.ExtensometerLimit;
    t.TransverseRange = f.TransverseRange;
    t.TransverseLimit = f.TransverseLimit;
    t.Stages = f.Stages;
    t.SetupPosition = f.SetupPosition;
    t.PreloadUnit = f.PreloadUnit;
    t.Preload = f.Preload;
    t.Hysteresis = f.Hysteresis;
    if (CheckResult failure = CheckSetupDialog(t, testType)) return failure;
    // The machine's tabs are not shown with the test tab: their texts are the record's own.
    if (scope == SetupChecks::TestTabOnly) return std::nullopt;

    // Then the fields converted on storing, tab by tab, so that a text that is not a whole
    // number is named before anything is stored.
    namespace ff = form_field;
    if (auto r = CheckWhole(ff::kTravelIncrements, f.TravelIncrements)) return r;
    if (auto r = CheckWhole(ff::kExtensometerIncrements, f.ExtensometerIncrements)) return r;
    if (auto r = CheckWhole(ff::kTransverseIncrements, f.TransverseIncrements)) return r;
    for (int k = 0; k < 4; ++k) {
        const auto i = static_cast<std::size_t>(k);
        if (auto r = CheckWhole(ff::kForceGainP + k, f.ForceGainP[i])) return r;
        if (auto r = CheckWhole(ff::kForceGainI + k, f.ForceGainI[i])) return r;
        if (k > 0) {
            if (auto r = CheckWhole(ff::kForcePoint + k, f.ForcePoint[i], 0, 999)) return r;
        }
    }
    if (auto r = CheckWhole(ff::kForceGainD, f.ForceGainD)) return r;
    for (int k = 0; k < 4; ++k) {
        const auto i = static_cast<std::size_t>(k);
        if (auto r = CheckWhole(ff::kTravelGainP + k, f.TravelGainP[i])) return r;
        if (k > 0) {
            if (auto r = CheckWhole(ff::kTravelPoint + k, f.TravelPoint[i], 0, 999)) return r;
        }
    }
    if (auto r = CheckWhole(ff::kTravelGainI, f.TravelGainI)) return r;
    if (auto r = CheckWhole(ff::kTravelGainD, f.TravelGainD)) return r;
    if (auto r = CheckWhole(ff::kStrainGainP, f.StrainGainP)) return r;
    if (auto r = CheckWhole(ff::kStrainGainI, f.StrainGainI)) return r;
    if (auto r = CheckWhole(ff::kStrainGainD, f.StrainGainD)) return r;
    if (auto r = CheckNumber(ff::kUserPosition, f.UserPosition)) return r;
    if (auto r = CheckNumber(ff::kTdmLeAt10V, f.TdmLeAt10V)) return r;
    if (auto r = CheckWhole(ff::kTdmIncrements, f.TdmIncrements)) return r;
    if (auto r = CheckWhole(ff::kTdmGainP, f.TdmGainP)) return r;
    return CheckNumber(ff::kTdmBaseDistance, f.TdmBaseDistance);
}

void StoreSetupForm(const SetupForm& f, ParameterSet& p, MachineConfig& m) {
    p.MessageTimeSec = WholeValue(f.MessageTime);
    p.NominalForceKn = static_cast<float>(ParseNumber(f.NominalForce));
    p.NominalTravelMm = static_cast<float>(ParseNumber(f.NominalTravel));
    p.ExtensometerRangeMm = static_cast<float>(ParseNumber(f.ExtensometerRange));
    p.GaugeLengthLe = static_cast<float>(ParseNumber(f.GaugeLengthLe));
    p.ExtensometerLimitMm = static_cast<float>(ParseNumber(f.ExtensometerLimit));
    p.TransverseRangeMm = ParseNumber(f.TransverseRange);
    p.TransverseLimitMm = ParseNumber(f.TransverseLimit);
    p.ExtensometerIncremental = f.ExtensometerType == 1 ? 1 : 0;
    p.FmaxLimitPercent = f.FmaxLimitPercent;
    p.ProtectiveDoor = f.ProtectiveDoor;
    p.PreloadTolerancePercent = f.PreloadTolerancePercent;
    p.SequenceTimeoutSec = f.SequenceTimeoutSec;
    const SequenceOptions& o = f.Sequence;
    p.AutoSequence = o.AutoSequence;
    p.AutoPreload = o.AutoPreload;
    p.AutoCloseArms = o.AutoCloseArms;
    p.AutoOpenArms = o.AutoOpenArms;
    p.AutoOpenGrips = o.AutoOpenGrips;
    p.AutoMoveTdmLe = o.AutoMoveTdmLe;
    p.AutoReturnStart = o.AutoReturnStart;
    p.AutoZeroForce = o.AutoZeroForce;

    MachineSetupRecord& s = m.Setup;
    s.ExtensometerChannel = f.ExtensometerChannelIndex + 1;
    s.TransverseChannel = f.TransverseChannelIndex + 3;
    for (std::size_t k = 0; k < 4; ++k) {
        s.ForceGainP[k] = WholeValue(f.ForceGainP[k]);
        s.ForceGainI[k] = WholeValue(f.ForceGainI[k]);
        s.TravelGainP[k] = WholeValue(f.TravelGainP[k]);
        // F1 and S1 stay as they are: the first point is always the zero of the range.
        if (k > 0) {
            s.ForcePoint[k] = PointFromPercent(WholeValue(f.ForcePoint[k]));
            s.TravelPoint[k] = PointFromPercent(WholeValue(f.TravelPoint[k]));
        }
    }
    s.ForceGainD = WholeValue(f.ForceGainD);
    s.TravelGainI = WholeValue(f.TravelGainI);
    s.TravelGainD = WholeValue(f.TravelGainD);
    s.StrainGainP = WholeValue(f.StrainGainP);
    s.StrainGainI = WholeValue(f.StrainGainI);
    s.StrainGainD = WholeValue(f.StrainGainD);
    s.MachineType = static_cast<std::uint8_t>(std::clamp(f.MachineType, 0, 2));
    s.MeasureOnly = f.ProgramControl == 1;
    s.EndSwitchType = f.EndSwitchType;
    s.JogInvert = f.JogInvert;
    s.FreeRunInvert = f.FreeRunInvert;
    s.InvertSetValue = f.InvertSetValue;
    s.FmaxMonitoring = f.FmaxMonitoring;
    s.FiveLimitOff = f.FiveLimitOff;
    s.UseSupportValues = f.UseSupportValues;
    s.AnalogOutActualValues = f.AnalogOutActualValues;
    if (IsNumber(f.TravelOffset)) s.TravelOffset = ParseNumber(f.TravelOffset);
    if (IsNumber(f.ValveOffset)) {
        s.ValveOffset = static_cast<std::int32_t>(std::lround(ParseNumber(f.ValveOffset) * 10));
    }
    s.AmpVersion = f.AmpVersion;
    s.QuickReleasePoint = f.QuickReleasePoint;
    s.IncrementalTravel = f.IncrementalTravel;
    s.TravelIncrements = WholeValue(f.TravelIncrements);
    s.ExtensometerIncrements = WholeValue(f.ExtensometerIncrements);
    s.TransverseIncrements = WholeValue(f.TransverseIncrements);
    s.UserPosition = ParseNumber(f.UserPosition);
    s.TdmCardId = f.TdmCardId;
    s.GripCardId = f.GripCardId;
    s.TdmLeAt10V = ParseNumber(f.TdmLeAt10V);
    s.TdmActive = f.TdmActive;
    s.HydraulicGrips = f.HydraulicGrips;
    s.RemoteControl = f.RemoteControl;

    // The TDM's I and D gains are shown only.
    m.Tdm.TdmGainP = WholeValue(f.TdmGainP);
    m.Tdm.TdmIncrements = WholeValue(f.TdmIncrements);
    m.Tdm.TdmBaseDistance = ParseNumber(f.TdmBaseDistance);
}

std::vector<std::filesystem::path> SaveSystemData(const ParameterSet& p, MachineConfig& m,
                                                  const std::filesystem::path& directory) {
    std::vector<std::filesystem::path> failed;
    m.Calibration.NominalForce = p.NominalForceKn;
    m.Calibration.NominalTravel = p.NominalTravelMm;
    m.Calibration.NominalStrain = p.ExtensometerRangeMm;
    m.Calibration.NominalTransverse = p.TransverseRangeMm;
    const auto calibrationPath = ResolveInDirectory(directory, kCalibrationFile);
    if (!SaveCalibration(m.Calibration, calibrationPath)) failed.push_back(calibrationPath);
    const int loadCell = m.LoadCells.SensorSelected;
    const std::string setupName = MachineSetupFileName(loadCell);
    if (!setupName.empty() && !SaveMachineSetup(m.Setup, directory, loadCell)) {
        failed.push_back(ResolveInDirectory(directory, setupName));
    }
    if (!SaveTdmParameters(m.Tdm, directory)) {
        failed.push_back(ResolveInDirectory(directory, kTdmParameterFile));
    }
    return failed;
}

CheckResult CheckSensorFields(const SetupForm& f, SensorKind kind) {
    namespace ff = form_field;
    const bool loadCell = kind == SensorKind::LoadCell;
    const int entries = loadCell ? 3 : 2;
    for (int i = 0; i < entries; ++i) {
        const auto k = static_cast<std::size_t>(i);
        const std::string& nominal = loadCell ? f.LoadCellNominal[k] : f.ExtensometerNominal[k];
        const std::string& factor = loadCell ? f.LoadCellFactor[k] : f.ExtensometerFactor[k];
        const int base = loadCell ? ff::kLoadCellNominal : ff::kExtensometerNominal;
        const int factorBase = loadCell ? ff::kLoadCellFactor : ff::kExtensometerFactor;
        if (auto r = CheckNumber(base + i, nominal)) return r;
        if (auto r = CheckNumber(factorBase + i, factor)) return r;
    }
    return std::nullopt;
}

bool SaveSensorFields(const SetupForm& f, SensorKind kind, SensorTable& table,
                      const std::filesystem::path& directory) {
    std::array<double, 3> nominals{}, factors{};
    std::array<std::int32_t, 3> channels{};
    if (kind == SensorKind::LoadCell) {
        for (std::size_t i = 0; i < 3; ++i) {
            nominals[i] = ParseNumber(f.LoadCellNominal[i]);
            factors[i] = ParseNumber(f.LoadCellFactor[i]);
            channels[i] = f.LoadCellChannel[i];
        }
    } else {
        for (std::size_t i = 0; i < 2; ++i) {
            nominals[i] = ParseNumber(f.ExtensometerNominal[i]);
            factors[i] = ParseNumber(f.ExtensometerFactor[i]);
            channels[i] = f.ExtensometerTableChannel[i];
        }
    }
    return SaveSensors(kind, table, nominals, factors, channels, directory);
}

}  // namespace quorvex
