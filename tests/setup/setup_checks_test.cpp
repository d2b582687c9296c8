#include "setup/setup_checks.h"

#include <gtest/gtest.h>

#include <functional>

namespace quorvex {
namespace {

SetupDialogTexts ValidSetup() {
    SetupDialogTexts t;
    t.MessageTime = "3";
    t.BreakDrop = "60.0";
    t.Rmin = "80";
    t.NominalForce = "100.00";
    t.NominalTravel = "300";
    t.ExtensometerRange = "2";
    t.GaugeLengthLe = "50";
    t.ExtensometerLimit = "1.9";
    t.TransverseRange = "3";
    t.TransverseLimit = "0.5";
    t.Stages[0] = {true, "0", "10"};
    t.Stages[1] = {true, "5", "20"};
    t.SetupPosition = "100.0";
    t.Preload = "0.2";
    t.Hysteresis = "2.0";
    return t;
}

TEST(SetupChecks, SetupDialogChain) {
    struct Case {
        const char* what;
        std::function<void(SetupDialogTexts&)> change;
        int testType;
        SetupField field;  // MessageTime with an empty range text means: accepted
        const char* rangeText;
        int textNumber;
    } cases[] = {
        {"valid", [](auto&) {}, 0, SetupField::MessageTime, nullptr, 0},
        {"message time", [](auto& t) { t.MessageTime = "11"; }, 0, SetupField::MessageTime,
         " 0 ... 10 !", 181},
        {"message time decimal", [](auto& t) { t.MessageTime = "1.5"; }, 0, SetupField::MessageTime,
         " 0 ... 10 !", 181},
        {"break drop", [](auto& t) { t.BreakDrop = "150"; }, 0, SetupField::BreakDrop,
         " 10.0 ... 90.0 !", 181},
        {"a programme test's break value by its channel",
         [](auto& t) {
             t.BreakChannel = 1;
             t.BreakDrop = "5000";
         },
         5, SetupField::MessageTime, nullptr, 0},
        {"first failure wins",
         [](auto& t) {
             t.Rmin = "0";
             t.GaugeLengthLe = "5";
         },
         0, SetupField::Rmin, " 0.1 ... 100000.0 !", 181},
        {"nominal force", [](auto& t) { t.NominalForce = "5000.1"; }, 0, SetupField::NominalForce,
         " 0.1 ... 5000.0 !", 181},
        {"nominal travel", [](auto& t) { t.NominalTravel = "abc"; }, 0, SetupField::NominalTravel,
         " 0.0 ... 2000.0 !", 181},
        {"gauge length", [](auto& t) { t.GaugeLengthLe = "500.5"; }, 0, SetupField::GaugeLengthLe,
         " 10.0 ... 500.0 !", 181},
        {"extensometer limit", [](auto& t) { t.ExtensometerLimit = "0.19"; }, 0,
         SetupField::ExtensometerLimit, "", 567},
        {"transverse limit", [](auto& t) { t.TransverseLimit = "0.05"; }, 0,
         SetupField::TransverseLimit, "  0.1 ... 600.0 !", 181},
        {"stage 1 from not a number", [](auto& t) { t.Stages[0].From = "x"; }, 0,
         SetupField::StageFrom, "", 567},
        {"stage 2 from", [](auto& t) { t.Stages[1].From = "0"; }, 0, SetupField::StageFrom,
         "  0.01 ... 1000.0 !", 181},
        {"inactive stage not checked",
         [](auto& t) {
             t.Stages[2] = {false, "x", "x"};
         },
         0, SetupField::MessageTime, nullptr, 0},
        {"tensile speed", [](auto& t) { t.Stages[1].Speed = "0"; }, 1, SetupField::StageSpeed,
         "  0.01 ... 1000.0 !", 181},
        {"other types may reverse", [](auto& t) { t.Stages[1].Speed = "-1000"; }, 5,
         SetupField::MessageTime, nullptr, 0},
        {"other types bound", [](auto& t) { t.Stages[1].Speed = "-1000.1"; }, 5,
         SetupField::StageSpeed, "  -1000 ... 1000.0 !", 181},
        {"setup position 1 %", [](auto& t) { t.SetupPosition = "3"; }, 0, SetupField::MessageTime,
         nullptr, 0},
        {"setup position 95 %", [](auto& t) { t.SetupPosition = "285"; }, 0,
         SetupField::MessageTime, nullptr, 0},
        {"setup position 0.5 %", [](auto& t) { t.SetupPosition = "1.5"; }, 0,
         SetupField::SetupPosition, " 3.00 ... 285.00 !", 181},
        {"preload 10 %", [](auto& t) { t.Preload = "10"; }, 0, SetupField::MessageTime, nullptr, 0},
        {"preload above 10 %", [](auto& t) { t.Preload = "10.5"; }, 0, SetupField::Preload,
         "  0.0 ... 10% * ", 181},
        {"preload in N",
         [](auto& t) {
             t.PreloadUnit = 1;
             t.Preload = "10000";
         },
         0, SetupField::MessageTime, nullptr, 0},
        {"preload in N above",
         [](auto& t) {
             t.PreloadUnit = 1;
             t.Preload = "10001";
         },
         0, SetupField::Preload, "  0.0 ... 10% * ", 181},
        {"preload stress",
         [](auto& t) {
             t.PreloadUnit = 2;
             t.Preload = "201";
         },
         0, SetupField::Preload, "  0.0 ... 200.0 !", 181},
        {"hysteresis", [](auto& t) { t.Hysteresis = ""; }, 9, SetupField::Hysteresis, "", 567},
        {"no hysteresis for shear", [](auto& t) { t.Hysteresis = ""; }, 3, SetupField::MessageTime,
         nullptr, 0},
    };
    for (const Case& c : cases) {
        SetupDialogTexts t = ValidSetup();
        c.change(t);
        const CheckResult result = CheckSetupDialog(t, c.testType);
        if (c.rangeText == nullptr) {
            EXPECT_FALSE(result.has_value()) << c.what;
            continue;
        }
        ASSERT_TRUE(result.has_value()) << c.what;
        EXPECT_EQ(result->Field, static_cast<int>(c.field)) << c.what;
        EXPECT_EQ(result->RangeText, c.rangeText) << c.what;
        EXPECT_EQ(result->TextNumber, c.textNumber) << c.what;
    }
}

TEST(SetupChecks, PreloadMessageNamesTheNominalForce) {
    SetupDialogTexts t = ValidSetup();
    t.Preload = "11";
    const CheckResult result = CheckSetupDialog(t, 0);
    ASSERT_TRUE(result);
    const auto german = [](int n) {
        return n == 181 ? std::string("Gültigkeitsbereich") : n == 320 ? "Nennkraft" : "?";
    };
    EXPECT_EQ(ComposeMessage(*result, german), "Gültigkeitsbereich  0.0 ... 10% * Nennkraft !");
}

ProgrammeDialogTexts ValidProgramme() {
    ProgrammeDialogTexts t;
    t.SetupPosition = "100";
    t.Stages[0] = {true, "0", "10"};
    t.Stages[1] = {true, "1", "-5"};
    t.Stages[29] = {true, "5000", "20000"};
    t.BreakValue = "40";
    t.Fmin = "0";
    t.Preload = "0.2";
    return t;
}

TEST(SetupChecks, ProgrammeDialogChain) {
    struct Case {
        const char* what;
        std::function<void(ProgrammeDialogTexts&)> change;
        SetupField field;
        int stage;
        const char* rangeText;
    } cases[] = {
        {"valid", [](auto&) {}, SetupField::MessageTime, 0, nullptr},
        {"setup position 0.4", [](auto& t) { t.SetupPosition = "0.4"; }, SetupField::SetupPosition,
         0, " :  0.5 ...300.00 !"},
        {"setup position at nominal travel", [](auto& t) { t.SetupPosition = "300"; },
         SetupField::MessageTime, 0, nullptr},
        {"stage 1 speed -20000", [](auto& t) { t.Stages[0].Speed = "-20000"; },
         SetupField::MessageTime, 0, nullptr},
        {"stage 1 speed -20001", [](auto& t) { t.Stages[0].Speed = "-20001"; },
         SetupField::StageSpeed, 1, " : -20000 ... 20000.0 !"},
        {"stage 30 from", [](auto& t) { t.Stages[29].From = "5000.1"; }, SetupField::StageFrom, 30,
         " : 0 ... 5000.0 !"},
        {"stage 7 speed",
         [](auto& t) {
             t.Stages[6] = {true, "1", "-20001"};
         },
         SetupField::StageSpeed, 7, " :  -20000 ... 20000.0 !"},
        {"drop", [](auto& t) { t.BreakValue = "99.5"; }, SetupField::BreakValue, 0,
         " : 0.05 ... 99.0 !"},
        {"delta F 10 N",
         [](auto& t) {
             t.BreakChannel = 1;
             t.BreakValue = "10";
         },
         SetupField::MessageTime, 0, nullptr},
        {"delta F 9 N",
         [](auto& t) {
             t.BreakChannel = 1;
             t.BreakValue = "9";
         },
         SetupField::BreakValue, 0, " : 10.0 ... 100000.0 N !"},
        {"delta S",
         [](auto& t) {
             t.BreakChannel = 2;
             t.BreakValue = "301";
         },
         SetupField::BreakValue, 0, " : 0.03 ... 300.0 mm !"},
        {"Fmin", [](auto& t) { t.Fmin = "2001"; }, SetupField::Fmin, 0, " :  0 ... 2000 !"},
        {"preload 10 kN", [](auto& t) { t.Preload = "10"; }, SetupField::MessageTime, 0, nullptr},
        {"preload 10.5 kN", [](auto& t) { t.Preload = "10.5"; }, SetupField::Preload, 0,
         " :  0.0 ... 10%  !"},
    };
    for (const Case& c : cases) {
        ProgrammeDialogTexts t = ValidProgramme();
        c.change(t);
        const CheckResult result = CheckProgrammeDialog(t, 100.0, 300.0);
        if (c.rangeText == nullptr) {
            EXPECT_FALSE(result.has_value()) << c.what;
            continue;
        }
        ASSERT_TRUE(result.has_value()) << c.what;
        EXPECT_EQ(result->Field, static_cast<int>(c.field)) << c.what;
        EXPECT_EQ(result->Stage, c.stage) << c.what;
        EXPECT_EQ(result->RangeText, c.rangeText) << c.what;
        EXPECT_EQ(result->TextNumber, *c.rangeText ? 181 : 567) << c.what;
    }
}

}  // namespace
}  // namespace quorvex
