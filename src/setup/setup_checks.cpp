// Confirmation checks of the setup and test-programme dialogs.
#include "setup_checks.h"

#include "evaluation/break_value.h"
#include "evaluation/test_types.h"
#include "evaluation/text_functions.h"

namespace quorvex {
namespace {

constexpr int F(SetupField f) {
    return static_cast<int>(f);
}

// The preload bound: 10 % of the nominal force, in kN or N; 200 N/mm² as a stress.
CheckResult CheckPreload(int unit, const std::string& text, double nominalForceKn,
                         const std::string& percentText, bool nameNominalForce) {
    if (unit == static_cast<int>(PreloadUnit::Stress)) {
        return CheckNumberField(F(SetupField::Preload), text, 0.0, 200.0, "  0.0 ... 200.0 !");
    }
    const double high =
        unit == static_cast<int>(PreloadUnit::N) ? nominalForceKn * 100.0 : nominalForceKn * 0.1;
    CheckResult failure = CheckNumberField(F(SetupField::Preload), text, 0.0, high, percentText);
    if (failure && nameNominalForce) {
        failure->EmbeddedTextNumber = 320;  // "Nennkraft"
        failure->RangeTextTail = " !";
    }
    return failure;
}

}  // namespace

namespace {

// The steps of the machine's measuring ranges: nominal values, extensometer and transverse
// gauge.
CheckResult CheckRangesTab(const SetupDialogTexts& t) {
    if (auto f = CheckNumberField(F(SetupField::NominalForce), t.NominalForce, 0.1, 5000,
                                  " 0.1 ... 5000.0 !"))
        return f;
    if (auto f = CheckNumberField(F(SetupField::NominalTravel), t.NominalTravel, 0, 2000,
                                  " 0.0 ... 2000.0 !"))
        return f;
    if (auto f = CheckNumberField(F(SetupField::ExtensometerRange), t.ExtensometerRange, 0.5, 600,
                                  " 0.5 ... 600.0 !"))
        return f;
    if (auto f = CheckNumberField(F(SetupField::GaugeLengthLe), t.GaugeLengthLe, 10, 500,
                                  " 10.0 ... 500.0 !"))
        return f;
    if (auto f =
            CheckNumberField(F(SetupField::ExtensometerLimit), t.ExtensometerLimit, 0.199, 600, ""))
        return f;
    if (auto f = CheckNumberField(F(SetupField::TransverseRange), t.TransverseRange, 0.5, 600,
                                  " 0.5 ... 600.0 !"))
        return f;
    // 0 is the default of a machine without a transverse gauge limit and stays allowed.
    const bool noTransverseLimit = ParseNumberInRange(t.TransverseLimit, 0, 0).valid;
    if (!noTransverseLimit) {
        if (auto f = CheckNumberField(F(SetupField::TransverseLimit), t.TransverseLimit, 0.1, 600,
                                      "  0.1 ... 600.0 !"))
            return f;
    }
    return std::nullopt;
}

}  // namespace

CheckResult CheckSetupDialog(const SetupDialogTexts& t, int testType) {
    const bool machine = t.Scope == SetupChecks::Machine;
    // Where the stored range text and the accepted range differ, the message states the
    // accepted range.
    if (machine) {
        if (auto f =
                CheckIntegerField(F(SetupField::MessageTime), t.MessageTime, 0, 10, " 0 ... 10 !"))
            return f;
    }
    // The field holds the break value of the test type (a programme test's by its channel).
    if (auto f = CheckBreakValueText(
            F(SetupField::BreakDrop), t.BreakDrop,
            BreakValueRangeOf(testType, t.BreakChannel, ParseNumber(t.NominalForce),
                              ParseNumber(t.NominalTravel)))) {
        return f;
    }
    if (auto f = CheckNumberField(F(SetupField::Rmin), t.Rmin, 0.1, 100000, " 0.1 ... 100000.0 !"))
        return f;
    if (machine) {
        if (auto f = CheckRangesTab(t)) return f;
    }

    const bool tensile = testType >= 0 && testType <= 2;
    for (int stage = 1; stage <= 5; ++stage) {
        const StageTexts& s = t.Stages[static_cast<std::size_t>(stage - 1)];
        if (!s.Active) continue;
        if (stage == 1) {
            if (auto f =
                    CheckNumberField(F(SetupField::StageFrom), s.From, -1e300, 1e300, "", stage))
                return f;
        } else if (auto f = CheckNumberField(F(SetupField::StageFrom), s.From, 0.01, 1000,
                                             "  0.01 ... 1000.0 !", stage)) {
            return f;
        }
        if (auto f =
                CheckNumberField(F(SetupField::StageSpeed), s.Speed, tensile ? 0.01 : -1000, 1000,
                                 tensile ? "  0.01 ... 1000.0 !" : "  -1000 ... 1000.0 !", stage)) {
            return f;
        }
    }

    const double nominalTravel = ParseNumber(t.NominalTravel);
    const double low = nominalTravel * 0.01, high = nominalTravel * 0.95;
    if (auto f = CheckNumberField(
            F(SetupField::SetupPosition), t.SetupPosition, low, high,
            " " + FormatFixed(low, 0, 2) + " ... " + FormatFixed(high, 0, 2) + " !")) {
        return f;
    }
    if (auto f = CheckSetupPreload(t.PreloadUnit, t.Preload, ParseNumber(t.NominalForce))) {
        return f;
    }
    if (tensile || testType == 9) {
        if (auto f = CheckNumberField(F(SetupField::Hysteresis), t.Hysteresis, -1e300, 1e300, ""))
            return f;
    }
    return std::nullopt;
}

CheckResult CheckSetupPreload(int unit, const std::string& text, double nominalForceKn) {
    return CheckPreload(unit, text, nominalForceKn, "  0.0 ... 10% * ", true);
}

CheckResult CheckProgrammeDialog(const ProgrammeDialogTexts& t, double nominalForceKn,
                                 double nominalTravelMm) {
    if (auto f =
            CheckNumberField(F(SetupField::SetupPosition), t.SetupPosition, 0.5, nominalTravelMm,
                             " :  0.5 ..." + FormatFixed(nominalTravelMm, 0, 2) + " !")) {
        return f;
    }
    for (int stage = 1; stage <= 30; ++stage) {
        const StageTexts& s = t.Stages[static_cast<std::size_t>(stage - 1)];
        if (!s.Active) continue;
        if (stage == 1) {
            if (auto f =
                    CheckNumberField(F(SetupField::StageFrom), s.From, -1e300, 1e300, "", stage))
                return f;
            if (auto f = CheckNumberField(F(SetupField::StageSpeed), s.Speed, -20000, 20000,
                                          " : -20000 ... 20000.0 !", stage)) {
                return f;
            }
            continue;
        }
        if (auto f = CheckNumberField(F(SetupField::StageFrom), s.From, 0, 5000,
                                      " : 0 ... 5000.0 !", stage))
            return f;
        if (auto f = CheckNumberField(F(SetupField::StageSpeed), s.Speed, -20000, 20000,
                                      " :  -20000 ... 20000.0 !", stage)) {
            return f;
        }
    }
    // The programme dialogs serve the universal test's break channels.
    if (auto f = CheckBreakValueText(
            F(SetupField::BreakValue), t.BreakValue,
            BreakValueRangeOf(static_cast<int>(TestType::Universal), t.BreakChannel,
                              nominalForceKn, nominalTravelMm))) {
        return f;
    }
    if (auto f = CheckNumberField(F(SetupField::Fmin), t.Fmin, 0, 2000, " :  0 ... 2000 !"))
        return f;
    return CheckPreload(t.PreloadUnit, t.Preload, nominalForceKn, " :  0.0 ... 10%  !", false);
}

}  // namespace quorvex
