#include "setup/machine_setup.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstring>

#include "evaluation/record_file.h"
#include "setup/controller_gains.h"
#include "setup/tdm_parameters.h"
#include "temp_dir.h"

namespace quorvex {
namespace {

using MachineSetupTest = testing_support::TempDirTest;

TEST_F(MachineSetupTest, FieldsAtTheirOffsets) {
    MachineSetupRecord m;
    m.ForceGainP = {1000000, 2, 3, 4};
    m.TravelPoint[3] = 500000;
    m.StrainGainD = -7;
    m.MachineType = 2;
    m.TravelOffset = 1.25;
    m.AmpVersion = 3;
    m.ExtensometerChannel = 5;
    m.MeasureOnly = 1;
    m.UserPosition = 12.5;
    m.TravelIncrements = 1000;
    m.AnalogOutActualValues = 1;
    m.Carried[3000] = 0xAB;  // reserved
    const ByteImage image = RecordImage(m);
    ASSERT_EQ(image.size(), 3782u);
    EXPECT_EQ(LoadU32(&image[0]), 1000000u);
    EXPECT_EQ(LoadU32(&image[76]), 500000u);
    EXPECT_EQ(static_cast<std::int32_t>(LoadU32(&image[116])), -7);
    EXPECT_EQ(image[120], 2);
    double offset = 0;
    std::memcpy(&offset, &image[121], 8);
    EXPECT_DOUBLE_EQ(offset, 1.25);
    EXPECT_EQ(LoadU32(&image[169]), 3u);
    EXPECT_EQ(LoadU32(&image[193]), 5u);
    EXPECT_EQ(image[211], 1);
    std::memcpy(&offset, &image[216], 8);
    EXPECT_DOUBLE_EQ(offset, 12.5);
    EXPECT_EQ(LoadU32(&image[384]), 1000u);
    EXPECT_EQ(image[474], 1);
    EXPECT_EQ(image[3000], 0xAB);
    EXPECT_EQ(RecordImage(RecordFromImage<MachineSetupRecord>(image)), image);
}

TEST_F(MachineSetupTest, FilesPerLoadCellAndChannelRepair) {
    MachineSetupRecord m;
    EXPECT_EQ(LoadMachineSetup(m, dir, 1).status, LoadStatus::Missing);
    EXPECT_EQ(m.MachineType, 0);  // a spindle machine, gains 0, control enabled
    EXPECT_EQ(m.ForceGainP[0], 0);
    EXPECT_EQ(m.MeasureOnly, 0);

    for (std::int32_t channel : {7, 6, 0}) {
        m.ExtensometerChannel = channel;
        ASSERT_TRUE(SaveMachineSetup(m, dir, 2));
        MachineSetupRecord read;
        ASSERT_TRUE(LoadMachineSetup(read, dir, 2).Loaded());
        EXPECT_EQ(read.ExtensometerChannel, channel == 6 ? 6 : 1) << channel;
    }
    EXPECT_TRUE(std::filesystem::exists(dir / "Dravon2.pid"));
    EXPECT_FALSE(std::filesystem::exists(dir / "Dravon.pid"));
    EXPECT_FALSE(SaveMachineSetup(m, dir, 4));
    EXPECT_EQ(LoadMachineSetup(m, dir, 0).status, LoadStatus::Missing);

    ASSERT_TRUE(WriteFileAtomic(dir / "dravon3.PID", ByteImage(3781, 1)));
    MachineSetupRecord before;
    before.AmpVersion = 4;
    MachineSetupRecord refused = before;
    const LoadResult result = LoadMachineSetup(refused, dir, 3);
    EXPECT_EQ(result.status, LoadStatus::Refused);
    EXPECT_NE(result.message.find("dravon3.PID"), std::string::npos);
    EXPECT_EQ(RecordImage(refused), RecordImage(before));
}

TEST_F(MachineSetupTest, TdmDefaultsAndFile) {
    TdmParameterRecord t;
    const ByteImage image = RecordImage(t);
    ASSERT_EQ(image.size(), 2240u);
    EXPECT_EQ(LoadU32(&image[0]), 100000u);
    EXPECT_EQ(LoadU32(&image[4]), 1100u);
    EXPECT_EQ(LoadU32(&image[28]), 60u);
    double base = 0;
    std::memcpy(&base, &image[32], 8);
    EXPECT_DOUBLE_EQ(base, 20.0);

    EXPECT_EQ(LoadTdmParameters(t, dir).status, LoadStatus::Missing);
    t.TdmGainP = 900;
    ASSERT_TRUE(SaveTdmParameters(t, dir));
    TdmParameterRecord read;
    ASSERT_TRUE(LoadTdmParameters(read, dir).Loaded());
    EXPECT_EQ(read.TdmGainP, 900);
}

TEST(ControllerGains, FrameValues) {
    MachineSetupRecord m;
    m.ForceGainP = {1000000, 900000, 800000, 700000};
    m.ForceGainI = {11, 12, 13, 14};
    m.ForcePoint = {0, PointFromPercent(10), PointFromPercent(30), PointFromPercent(50)};
    m.ForceGainD = 5;
    m.TravelGainP = {1, 2, 3, 4};
    m.TravelPoint = {0, 100000, 300000, 500000};
    m.TravelGainI = 77;
    m.TravelGainD = 6;
    const std::array<std::int32_t, 18> force = {1000000, 900000, 800000, 700000, 0,  100000,
                                                300000,  500000, 11,     12,     13, 14,
                                                0,       100000, 300000, 500000, 5,  1030000};
    EXPECT_EQ(ForceGainFrameValues(m), force);
    const std::array<std::int32_t, 18> travel = {1,      2,      3,      4,      0,  100000,
                                                 300000, 500000, 77,     77,     77, 77,
                                                 0,      100000, 300000, 500000, 6,  1030000};
    EXPECT_EQ(TravelGainFrameValues(m), travel);
    EXPECT_DOUBLE_EQ(PercentFromPoint(100000), 10.0);
}

}  // namespace
}  // namespace quorvex
