// The machine setup form without widgets: filling, the conversion checks after the range
// checks, storing, the sequence option rules, saving the system data and the sensor tables.
#include "setup/setup_form.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>

#include "evaluation/files.h"
#include "setup/controller_gains.h"
#include "temp_dir.h"

namespace quorvex {
namespace {

namespace fs = std::filesystem;
namespace ff = form_field;

MachineConfig SampleMachine() {
    MachineConfig m;
    MachineSetupRecord& s = m.Setup;
    s.ForceGainP = {1000000, 900000, 800000, 700000};
    s.ForceGainI = {10, 20, 30, 40};
    s.ForcePoint = {0, 100000, 300000, 500000};
    s.TravelPoint = {0, 100000, 300000, 500000};
    s.TravelGainI = 77;
    s.ValveOffset = -15;  // -1.5 V
    s.TravelOffset = 1.255;
    s.ExtensometerChannel = 4;
    s.TransverseChannel = 5;
    s.MachineType = 2;
    s.MeasureOnly = 1;
    s.HydraulicGrips = 1;
    s.AmpVersion = 4;
    s.QuickReleasePoint = 3;
    m.Tdm.TdmGainI = 12;
    m.LoadCells.SensorNominal = {100, 10, 0};
    m.LoadCells.SensorCalFactor = {1.00005, 0.99, 0};
    m.LoadCells.SensorChannel = {1, 2, 0};
    return m;
}

TEST(SetupForm, ShowsTheRecordsInTheirFormatsAndStoresThemBack) {
    ParameterSet p;
    MachineConfig m = SampleMachine();
    SetupForm f = FillSetupForm(p, m);
    EXPECT_EQ(f.ForceGainP[1], "900000");
    EXPECT_EQ(f.ForcePoint[0], "   0");
    EXPECT_EQ(f.ForcePoint[1], " 10");
    EXPECT_EQ(f.ValveOffset, "-1.5");
    EXPECT_EQ(f.TravelOffset, "1.25");
    EXPECT_EQ(f.ExtensometerChannelIndex, 3);
    EXPECT_EQ(f.TransverseChannelIndex, 2);
    EXPECT_EQ(f.ProgramControl, 1);
    EXPECT_EQ(f.LoadCellNominal[0], "100.00");
    EXPECT_EQ(f.LoadCellFactor[0], "1.0001");
    EXPECT_EQ(f.NominalForce, "100.00");

    // Unchanged, a form stores the values it showed.
    MachineConfig stored = m;
    ParameterSet storedParameters = p;
    StoreSetupForm(f, storedParameters, stored);
    EXPECT_EQ(stored.Setup.ForcePoint, m.Setup.ForcePoint);
    EXPECT_EQ(stored.Setup.ValveOffset, -15);
    EXPECT_EQ(stored.Setup.ExtensometerChannel, 4);
    EXPECT_EQ(stored.Setup.TransverseChannel, 5);
    EXPECT_EQ(stored.Setup.MeasureOnly, 1);
    EXPECT_EQ(stored.Tdm.TdmGainI, 12);

    // Edited: F2 = 20 % is sent as 200000, F1 stays what the record holds; gains whole.
    f.ForcePoint[1] = "20";
    f.ForcePoint[0] = "55";
    f.TravelGainI = "-5";
    f.ValveOffset = "2.34";
    f.TravelOffset = "";  // not a number: the record keeps its offset
    f.ProgramControl = 0;
    f.ExtensometerType = 1;
    f.TdmGainI = "999";  // shown only
    f.NominalForce = "250";
    StoreSetupForm(f, p, m);
    EXPECT_EQ(m.Setup.ForcePoint[1], 200000);
    EXPECT_EQ(m.Setup.ForcePoint[0], 0);
    EXPECT_EQ(ForceGainFrameValues(m.Setup)[5], 200000);
    EXPECT_EQ(TravelGainFrameValues(m.Setup)[11], -5);
    EXPECT_EQ(m.Setup.ValveOffset, 23);
    EXPECT_DOUBLE_EQ(m.Setup.TravelOffset, 1.255);
    EXPECT_EQ(m.Setup.MeasureOnly, 0);
    EXPECT_EQ(p.ExtensometerIncremental, 1);
    EXPECT_EQ(m.Tdm.TdmGainI, 12);
    EXPECT_FLOAT_EQ(p.NominalForceKn, 250.0f);
}

// "Parameter > Versuch" and "Setup > Maschine" accept the defaults; the test-parameter mode
// checks only the fields of its own tab.
TEST(SetupForm, DefaultsPassTheChecksOfBothModes) {
    const SetupForm defaults = FillSetupForm(DefaultParameterSet(), MachineConfig{});
    for (int type = 0; type <= 9; ++type) {
        for (const SetupChecks scope : {SetupChecks::Machine, SetupChecks::TestTabOnly}) {
            const CheckResult r = CheckSetupForm(defaults, type, scope);
            EXPECT_FALSE(r.has_value()) << "type " << type << " field " << (r ? r->Field : -1);
        }
    }
    SetupForm f = defaults;
    f.TransverseLimit = "0.05";
    f.MessageTime = "99";
    f.ForceGainP[1] = "x";
    EXPECT_FALSE(CheckSetupForm(f, 0, SetupChecks::TestTabOnly).has_value());
    const CheckResult machine = CheckSetupForm(f, 0, SetupChecks::Machine);
    ASSERT_TRUE(machine.has_value());
    EXPECT_EQ(machine->Field, static_cast<int>(SetupField::MessageTime));
    f.Rmin = "0";
    const CheckResult test = CheckSetupForm(f, 0, SetupChecks::TestTabOnly);
    ASSERT_TRUE(test.has_value());
    EXPECT_EQ(test->Field, static_cast<int>(SetupField::Rmin));
}

TEST(SetupForm, ChecksRangesFirstThenTheWholeNumbersNamingTheField) {
    ParameterSet p;
    p.TransverseLimitMm = 0.5;
    const SetupForm valid = FillSetupForm(p, SampleMachine());
    ASSERT_FALSE(CheckSetupForm(valid, 0).has_value());
    struct Case {
        const char* what;
        std::function<void(SetupForm&)> change;
        int field;
        int textNumber;
    } cases[] = {
        {"range before gain",
         [](SetupForm& f) {
             f.ForceGainP[2] = "1x";
             f.NominalTravel = "2500";
         },
         static_cast<int>(SetupField::NominalTravel), 181},
        {"force gain", [](SetupForm& f) { f.ForceGainP[2] = "1x"; }, ff::kForceGainP + 2, 567},
        {"empty travel D", [](SetupForm& f) { f.TravelGainD = ""; }, ff::kTravelGainD, 567},
        {"point beyond 3 digits", [](SetupForm& f) { f.TravelPoint[3] = "1000"; },
         ff::kTravelPoint + 3, 567},
        {"increments decimal", [](SetupForm& f) { f.TravelIncrements = "1.5"; },
         ff::kTravelIncrements, 567},
        {"user position", [](SetupForm& f) { f.UserPosition = "-"; }, ff::kUserPosition, 567},
        {"TDM base distance", [](SetupForm& f) { f.TdmBaseDistance = "a"; }, ff::kTdmBaseDistance,
         567},
        // The start position must lie within the nominal travel just entered.
        {"setup position", [](SetupForm& f) { f.NominalTravel = "50"; },
         static_cast<int>(SetupField::SetupPosition), 181},
    };
    for (const Case& c : cases) {
        SetupForm f = valid;
        c.change(f);
        const CheckResult r = CheckSetupForm(f, 0);
        ASSERT_TRUE(r.has_value()) << c.what;
        EXPECT_EQ(r->Field, c.field) << c.what;
        EXPECT_EQ(r->TextNumber, c.textNumber) << c.what;
    }
    // The offsets are taken only when they are numbers and never refused.
    SetupForm f = valid;
    f.TravelOffset = f.ValveOffset = "?";
    EXPECT_FALSE(CheckSetupForm(f, 0).has_value());
}

TEST(SetupForm, TestFieldsRoundTripAndTextsLeftUncheckedKeepTheirValues) {
    ParameterSet p;
    p.Stages[2] = {1, 0.5, 3, 25.0, 2};
    p.PreloadUnit = 2;
    p.PreloadValue = {0.5f, 50, 30};
    p.HysteresisActive = 1;
    SetupForm f = FillSetupForm(p, MachineConfig{});
    EXPECT_EQ(f.Stages[2].From, "0.500");
    EXPECT_EQ(f.StageFromUnit[2], 3);
    EXPECT_EQ(f.StageSpeedUnit[2], 2);
    EXPECT_EQ(f.Preload, "30.000");
    EXPECT_TRUE(f.HysteresisActive);

    // An inactive stage and the hysteresis of a type that does not check it may hold any text.
    f.Stages[2].Active = false;
    f.Stages[2].Speed = "-";
    f.Hysteresis = "";
    f.Preload = "45";
    f.StageFromUnit[2] = 1;
    ParameterSet stored = p;
    StoreTestFields(f, stored);
    EXPECT_EQ(stored.Stages[2].StageActive, 0);
    EXPECT_DOUBLE_EQ(stored.Stages[2].StageSpeed, 25.0);
    EXPECT_EQ(stored.Stages[2].StageFromUnit, 1);
    EXPECT_DOUBLE_EQ(stored.HysteresisPercent, p.HysteresisPercent);
    EXPECT_FLOAT_EQ(stored.PreloadValue[2], 45);
    EXPECT_FLOAT_EQ(stored.PreloadValue[1], 50);

    // A failing stage row names its own field.
    CheckFailure failure;
    failure.Field = static_cast<int>(SetupField::StageSpeed);
    failure.Stage = 4;
    EXPECT_EQ(TestFieldOf(failure), ff::kStageSpeed + 3);
}

TEST(SequenceOptions, DependentOptionsFollow) {
    using O = SequenceOption;
    struct Case {
        const char* what;
        SequenceOptions before;
        O option;
        bool checked;
        SequenceOptions after;
    } cases[] = {
        {"preload cleared clears closing the arms",
         {false, true, true},
         O::AutoPreload,
         false,
         {false, false, false}},
        {"closing the arms needs the preload", {}, O::AutoCloseArms, true, {}},
        {"closing the arms with the preload",
         {false, true},
         O::AutoCloseArms,
         true,
         {false, true, true}},
        {"opening the arms cleared clears Le",
         {false, false, false, true, true, true},
         O::AutoOpenArms,
         false,
         {false, false, false, false, true, false}},
        {"grips cleared clear Le and the return",
         {false, false, false, true, true, true, true},
         O::AutoOpenGrips,
         false,
         {false, false, false, true, false, false, false}},
        {"return needs the grips", {}, O::AutoReturnStart, true, {}},
        {"zeroing is free",
         {},
         O::AutoZeroForce,
         true,
         {false, false, false, false, false, false, false, true}},
    };
    auto list = [](const SequenceOptions& o) {
        std::string s;
        for (int i = 0; i < 8; ++i) s += OptionOf(o, static_cast<O>(i)) ? '1' : '0';
        return s;
    };
    for (Case c : cases) {
        SetSequenceOption(c.before, c.option, c.checked);
        EXPECT_EQ(list(c.before), list(c.after)) << c.what;
    }

    // Enabled after the sequence password: grips for the grip, Le and return options, the
    // TDM for the preload and arm options up to amplifier version 2, both for the sequence.
    EXPECT_EQ(list(SequenceOptionsEnabled(false, true, true, 4)), "00000000");
    EXPECT_EQ(list(SequenceOptionsEnabled(true, false, false, 2)), "00000001");
    EXPECT_EQ(list(SequenceOptionsEnabled(true, false, false, 3)), "01110001");
    EXPECT_EQ(list(SequenceOptionsEnabled(true, true, false, 1)), "00001111");
    EXPECT_EQ(list(SequenceOptionsEnabled(true, true, true, 1)), "11111111");
}

class SystemDataTest : public testing_support::TempDirTest {};

TEST_F(SystemDataTest, WritesTheCalibrationTheSetupOfTheSelectedCellAndTheTdm) {
    ParameterSet p;
    p.NominalForceKn = 250;
    p.NominalTravelMm = 800;
    p.ExtensometerRangeMm = 5;
    p.TransverseRangeMm = 2.5;
    MachineConfig m = SampleMachine();
    m.LoadCells.SensorSelected = 2;
    m.Tdm.TdmIncrements = 4242;
    std::ofstream(dir / "Dravon.pid") << "stays";

    EXPECT_TRUE(SaveSystemData(p, m, dir).empty());
    auto bytes = ReadWholeFile(dir / "Quorvex.kal");
    ASSERT_TRUE(bytes && bytes->size() == 41u);
    CalibrationRecord c;
    ASSERT_TRUE(LoadCalibration(c, dir / "Quorvex.kal").Loaded());
    EXPECT_DOUBLE_EQ(c.NominalForce, 250);
    EXPECT_DOUBLE_EQ(c.NominalTravel, 800);
    EXPECT_DOUBLE_EQ(c.NominalStrain, 5);
    EXPECT_DOUBLE_EQ(c.NominalTransverse, 2.5);
    MachineSetupRecord reread;
    ASSERT_TRUE(LoadMachineSetup(reread, dir, 2).Loaded());
    EXPECT_EQ(reread.ForcePoint, m.Setup.ForcePoint);
    EXPECT_EQ(*ReadWholeFile(dir / "Dravon.pid"),
              std::vector<std::uint8_t>({'s', 't', 'a', 'y', 's'}));
    TdmParameterRecord tdm;
    ASSERT_TRUE(LoadTdmParameters(tdm, dir).Loaded());
    EXPECT_EQ(tdm.TdmIncrements, 4242);

    // No load cell selected: no machine setup file; an unwritable directory is named.
    m.LoadCells.SensorSelected = 0;
    fs::remove(dir / "Dravon.pid");
    EXPECT_TRUE(SaveSystemData(p, m, dir).empty());
    EXPECT_FALSE(fs::exists(dir / "Dravon.pid"));
    EXPECT_EQ(SaveSystemData(p, m, dir / "missing").size(), 2u);
}

TEST_F(SystemDataTest, SensorValuesAreCheckedThenSavedWithTheirUsableCount) {
    MachineConfig m = SampleMachine();
    m.LoadCells.SensorSelected = 2;
    SetupForm f = FillSetupForm(ParameterSet{}, m);
    f.LoadCellNominal = {"100", "0", "500"};
    f.LoadCellChannel = {1, 2, 3};
    f.LoadCellFactor[1] = "x";
    const CheckResult bad = CheckSensorFields(f, SensorKind::LoadCell);
    ASSERT_TRUE(bad.has_value());
    EXPECT_EQ(bad->Field, ff::kLoadCellFactor + 1);
    EXPECT_EQ(bad->TextNumber, 567);

    f.LoadCellFactor[1] = "1";
    ASSERT_FALSE(CheckSensorFields(f, SensorKind::LoadCell).has_value());
    ASSERT_TRUE(SaveSensorFields(f, SensorKind::LoadCell, m.LoadCells, dir));
    SensorTable cells;
    ASSERT_TRUE(LoadSensorTable(cells, dir / "Messdosen.kal").Loaded());
    EXPECT_EQ(cells.SensorCount, 2);
    EXPECT_EQ(cells.SensorSelected, 2);
    EXPECT_DOUBLE_EQ(cells.SensorNominal[2], 500);

    f.ExtensometerNominal = {"2", "10"};
    f.ExtensometerFactor = {"1", "1"};
    f.ExtensometerTableChannel = {3, 0};
    ASSERT_TRUE(SaveSensorFields(f, SensorKind::Extensometer, m.Extensometers, dir));
    SensorTable extensometers;
    ASSERT_TRUE(LoadSensorTable(extensometers, dir / "Dehnungsaufnehmer.kal").Loaded());
    EXPECT_EQ(extensometers.SensorCount, 1);
    EXPECT_EQ(extensometers.SensorChannel[0], 3);
}

}  // namespace
}  // namespace quorvex
