// Filling, checking and storing the test-programme dialog's fields.
#include "programme_form.h"

#include <algorithm>
#include <cmath>

#include "evaluation/text_functions.h"

namespace quorvex {
namespace {

std::string Fixed(double value, int decimals) {
    return FormatFixed(value, 0, decimals);
}

bool IsNumber(const std::string& text) {
    return ParseNumberInRange(text, -1e300, 1e300).valid;
}

}  // namespace

ProgrammeForm FillProgrammeForm(const ParameterSet& p, bool bending) {
    ProgrammeForm f;
    f.Bending = bending;
    // The bending variant has no holding stages: "Ab" in kN or mm, "Mit" in mm/min or N/sec.
    const int lastUnit = bending ? 2 : 3;
    ProgrammeDialogTexts& t = f.Texts;
    t.SetupPosition = Fixed(p.StartPosition, 2);
    for (std::size_t i = 0; i < t.Stages.size(); ++i) {
        const SpeedStage& s = p.Stages[i];
        t.Stages[i] = {s.StageActive != 0, Fixed(s.StageFrom, 3), Fixed(s.StageSpeed, 3)};
        f.StageFromUnit[i] = std::clamp(s.StageFromUnit, 1, lastUnit);
        f.StageSpeedUnit[i] = std::clamp(s.StageSpeedUnit, 1, lastUnit);
    }
    t.BreakChannel = std::clamp(p.BreakChannel, 0, 2);
    // A force or travel delta may be a ten-thousandth of the nominal value.
    t.BreakValue = Fixed(p.BreakDropPercent, t.BreakChannel == 0 ? 2 : 4);
    t.Fmin = Fixed(p.RminInTest, 2);
    t.PreloadUnit = std::clamp(p.PreloadUnit, 0, 2);
    t.Preload = Fixed(p.PreloadValue[static_cast<std::size_t>(t.PreloadUnit)], 3);

    f.TensionDirection = p.TensionDirection != 0 ? 1 : 0;
    f.TravelSensorType = std::clamp(p.TravelSensorType, 0, 2);
    f.FmaxLimitPercent = std::clamp(p.FmaxLimitPercent, 5, 100);
    f.EndStage = std::clamp(p.EndStage, 1, 30);
    f.SpringStage = std::clamp(p.SpringStage, 1, 5);
    f.ControlDeviation = std::clamp(p.ControlDeviation, 1, 30);
    f.SamplingIndex = std::clamp(p.SamplingIndex, 0, 4);
    f.MachineOffAtEnd = p.MachineOffAtEnd != 0;
    f.JIntegralActive = p.JIntegralActive != 0;
    f.JUnloadCycles = std::clamp(p.JUnloadCycles, 3, 55);
    f.UnloadStartMm = p.JUnloadData[0];
    f.UnloadIntervalMm = p.JUnloadData[1];
    f.UnloadPercent = std::clamp(static_cast<int>(std::lround(p.JUnloadData[2])), 3, 50);
    f.TestSpace = p.TestSpace == 2 ? 2 : 1;  // anything else is the lower space
    return f;
}

CheckResult CheckProgrammeForm(const ProgrammeForm& form, const ParameterSet& p) {
    return CheckProgrammeDialog(form.Texts, p.NominalForceKn, p.NominalTravelMm);
}

void StoreProgrammeForm(const ProgrammeForm& f, ParameterSet& p) {
    const ProgrammeDialogTexts& t = f.Texts;
    const int lastUnit = f.Bending ? 2 : 3;
    for (std::size_t i = 0; i < t.Stages.size(); ++i) {
        SpeedStage& s = p.Stages[i];
        s.StageActive = t.Stages[i].Active ? 1 : 0;
        // An inactive row is not checked and may hold any text; its values stay.
        if (IsNumber(t.Stages[i].From)) s.StageFrom = ParseNumber(t.Stages[i].From);
        if (IsNumber(t.Stages[i].Speed)) s.StageSpeed = ParseNumber(t.Stages[i].Speed);
        s.StageFromUnit = std::clamp(f.StageFromUnit[i], 1, lastUnit);
        s.StageSpeedUnit = std::clamp(f.StageSpeedUnit[i], 1, lastUnit);
    }
    p.StartPosition = ParseNumber(t.SetupPosition);
    p.TensionDirection = f.TensionDirection != 0 ? 1 : 0;
    p.TravelSensorType = f.TravelSensorType;
    p.BreakChannel = t.BreakChannel;
    p.FmaxLimitPercent = f.FmaxLimitPercent;
    p.EndStage = f.EndStage;
    p.BreakDropPercent = static_cast<float>(ParseNumber(t.BreakValue));
    p.RminInTest = static_cast<float>(ParseNumber(t.Fmin));
    p.PreloadUnit = std::clamp(t.PreloadUnit, 0, 2);
    p.PreloadValue[static_cast<std::size_t>(p.PreloadUnit)] =
        static_cast<float>(ParseNumber(t.Preload));
    p.MachineOffAtEnd = f.MachineOffAtEnd ? 1 : 0;
    if (f.Bending) {
        p.TestSpace = f.TestSpace == 2 ? 2 : 1;
        return;
    }
    p.SpringStage = f.SpringStage;
    p.ControlDeviation = f.ControlDeviation;
    p.SamplingIndex = f.SamplingIndex;
    p.JUnloadCycles = f.JUnloadCycles;
    p.JIntegralActive = f.JIntegralActive ? 1 : 0;
    p.JUnloadData = {f.UnloadStartMm, f.UnloadIntervalMm, static_cast<double>(f.UnloadPercent)};
}

}  // namespace quorvex
