#include "setup/calibration.h"

#include <gtest/gtest.h>

#include <cstring>

#include "evaluation/record_file.h"
#include "temp_dir.h"

namespace quorvex {
namespace {

using CalibrationTest = testing_support::TempDirTest;

TEST_F(CalibrationTest, RecordImages) {
    CalibrationRecord c;
    c.ReservedA = 5;
    c.CalibrationSpare = 9;
    ASSERT_TRUE(SaveCalibration(c, dir / "Quorvex.kal"));
    const ByteImage image = *ReadWholeFile(dir / "Quorvex.kal");
    ASSERT_EQ(image.size(), 41u);
    double v = 0;
    std::memcpy(&v, &image[0], 8);
    EXPECT_DOUBLE_EQ(v, 300.0);
    std::memcpy(&v, &image[24], 8);
    EXPECT_DOUBLE_EQ(v, 3.0);
    EXPECT_EQ(LoadU32(&image[32]), 0u);  // reserved integers written as 0
    EXPECT_EQ(image[40], 9);

    SensorTable t;
    t.SensorChannel = {1, 2, 4};
    t.SensorNominal = {100, 10, 1};
    t.SensorCalFactor = {1.5, 0, 0};
    t.SensorCount = 3;
    t.SensorSelected = 2;
    const ByteImage table = RecordImage(t);
    ASSERT_EQ(table.size(), 104u);
    EXPECT_EQ(LoadU32(&table[8]), 4u);
    std::memcpy(&v, &table[24], 8);
    EXPECT_DOUBLE_EQ(v, 10.0);
    std::memcpy(&v, &table[64], 8);
    EXPECT_DOUBLE_EQ(v, 1.5);
    EXPECT_EQ(LoadU32(&table[96]), 3u);
    EXPECT_EQ(LoadU32(&table[100]), 2u);

    const ByteImage support = RecordImage(SupportValues{});
    ASSERT_EQ(support.size(), 648u);
    std::memcpy(&v, &support[8 * 24], 8);  // entry 9 of block 1: 100 %
    EXPECT_DOUBLE_EQ(v, 100.0);
    std::memcpy(&v, &support[647 - 7], 8);
    EXPECT_DOUBLE_EQ(v, 1.0);
}

TEST_F(CalibrationTest, DecimalTables) {
    struct Case {
        double nominal;
        int decimals;
    } tableA[] = {{1, 5},   {10, 4},   {20, 3},   {25, 3},   {100, 3},  {120, 3},
                  {300, 2}, {2000, 1}, {2500, 1}, {1000, 2}, {99.6, 3}, {0.5, 2}};
    for (const Case& c : tableA)
        EXPECT_EQ(ForceDecimalsForNominal(c.nominal), c.decimals) << c.nominal;
    Case tableB[] = {{0.1, 5}, {1, 4},    {2, 3},    {25, 3}, {10, 3},
                     {300, 1}, {2000, 1}, {2500, 1}, {30, 2}, {100, 2}};
    for (const Case& c : tableB)
        EXPECT_EQ(CalibrationForceDecimals(c.nominal), c.decimals) << c.nominal;
}

TEST_F(CalibrationTest, ConversionFactors) {
    CalibrationRecord c;
    MachineSetupRecord m;
    ConversionFactors f = ComputeConversionFactors(c, m, false, 0.95);
    EXPECT_DOUBLE_EQ(30000 * f.ForceFactor, 300.0);  // 300.00 kN on a 300 kN machine
    EXPECT_EQ(f.ForceDecimals, 2);
    EXPECT_DOUBLE_EQ(f.ForceLimit, 306.0);
    EXPECT_DOUBLE_EQ(f.TravelLimit, 285.0);
    EXPECT_EQ(f.StrainDecimals, 4);

    m.IncrementalTravel = 1;
    m.TravelIncrements = 1000;
    m.ExtensometerIncrements = 50000;
    m.TransverseChannel = 5;
    m.TransverseIncrements = 0;  // no increments given: analogue scaling, never a division by 0
    c.NominalStrain = 10;
    f = ComputeConversionFactors(c, m, true, 0.95);
    EXPECT_DOUBLE_EQ(1500 * f.TravelFactor, 1.5);
    EXPECT_DOUBLE_EQ(f.StrainFactor, 1.0 / 50000);
    EXPECT_DOUBLE_EQ(f.TransverseFactor, 3.0 / 30000);
    EXPECT_EQ(f.StrainDecimals, 3);
}

TEST_F(CalibrationTest, LoadCellSelection) {
    CalibrationRecord c;
    SensorTable table;
    int asked = 0;
    SensorChooser chooseLast = [&](const std::vector<SensorEntry>& usable, int preselected) {
        ++asked;
        EXPECT_EQ(preselected, 1);
        return std::optional<int>(usable.back().Number);
    };

    // No table: the calibration record's load cell, nothing written.
    SelectedSensor s = SelectSensor(SensorKind::LoadCell, table, c, dir, chooseLast);
    EXPECT_EQ(s.File.status, LoadStatus::Missing);
    EXPECT_EQ(table.SensorCount, 1);
    EXPECT_DOUBLE_EQ(table.SensorNominal[0], 300.0);
    EXPECT_EQ(LoadU32(&table.Carried[48]), 1u);
    EXPECT_FALSE(std::filesystem::exists(dir / "Messdosen.kal"));

    // Cells 1 and 3 usable, 2 with nominal 0: two usable, and the dialog offers 1 and 3 (never
    // a load cell without a nominal force).
    ASSERT_TRUE(SaveSensors(SensorKind::LoadCell, table, {100, 0, 10}, {1, 1, 1}, {9, 2, 3}, dir));
    EXPECT_EQ(table.SensorCount, 2);
    EXPECT_EQ(table.SensorChannel[0], 1);
    table.SensorSelected = 1;
    ASSERT_TRUE(SaveSensorTable(table, dir / "Messdosen.kal"));
    s = SelectSensor(SensorKind::LoadCell, table, c, dir, chooseLast);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(table.SensorSelected, 3);
    EXPECT_DOUBLE_EQ(c.NominalForce, 10.0);
    EXPECT_EQ(s.Channel, 3);
    SensorTable written;
    ASSERT_TRUE(LoadSensorTable(written, dir / "messdosen.kal").Loaded());
    EXPECT_EQ(written.SensorSelected, 3);

    // One usable cell: no question.
    c.NominalForce = 300;
    ASSERT_TRUE(SaveSensors(SensorKind::LoadCell, table, {50, 0, 0}, {1, 0, 0}, {1, 0, 0}, dir));
    s = SelectSensor(SensorKind::LoadCell, table, c, dir, chooseLast);
    EXPECT_EQ(asked, 1);
    EXPECT_DOUBLE_EQ(c.NominalForce, 50.0);
    EXPECT_EQ(s.Channel, 1);

    // Three cells, dialog cancelled: nothing taken over.
    ASSERT_TRUE(SaveSensors(SensorKind::LoadCell, table, {100, 20, 5}, {1, 2, 3}, {1, 2, 3}, dir));
    c.NominalForce = 300;
    s = SelectSensor(SensorKind::LoadCell, table, c, dir,
                     [](const std::vector<SensorEntry>& usable, int) {
                         EXPECT_EQ(usable.size(), 3u);
                         return std::optional<int>();
                     });
    EXPECT_DOUBLE_EQ(c.NominalForce, 300.0);
}

TEST_F(CalibrationTest, ExtensometerTableHasTwoEntries) {
    CalibrationRecord c;
    SensorTable table;
    const SelectedSensor s = SelectSensor(SensorKind::Extensometer, table, c, dir, nullptr);
    EXPECT_EQ(s.Channel, 3);
    EXPECT_DOUBLE_EQ(table.SensorNominal[0], 2.0);
    ASSERT_TRUE(
        SaveSensors(SensorKind::Extensometer, table, {2, 10, 99}, {1, 1, 1}, {3, 4, 5}, dir));
    EXPECT_EQ(table.SensorChannel[2], 0);
    EXPECT_EQ(table.SensorCount, 2);
    EXPECT_TRUE(std::filesystem::exists(dir / "Dehnungsaufnehmer.kal"));
}

}  // namespace
}  // namespace quorvex
