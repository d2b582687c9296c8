#include "machine/acquisition.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "test_doubles.h"

namespace quorvex {
namespace {

using testing::EventLog;
using testing::FakeDaqCard;
using testing::LoggingClock;

class AcquisitionTest : public ::testing::Test {
protected:
    std::string Log() {
        daq.FlushReads();
        return log.Take();
    }

    EventLog log;
    LoggingClock clock{log};
    FakeDaqCard daq{log};
    Acquisition acquisition{&daq, clock};
};

TEST_F(AcquisitionTest, StartUpOutputsAndSettling) {
    acquisition.InitDaq();
    EXPECT_TRUE(acquisition.DaqPresent());
    EXPECT_EQ(Log(), "do00 do00 do02 wait300 do00");
    EXPECT_EQ(acquisition.Map().ShutdownWiring, 1);

    acquisition.SetForceRange(10);
    acquisition.ShutdownLineHigh();
    acquisition.ShutdownLineLow();
    EXPECT_EQ(Log(), "do03 wait300 do03 do01");
    acquisition.SetForceRange(1);
    acquisition.StopPulse();
    EXPECT_EQ(Log(), "do02 wait300 do00 wait300 do02");
}

TEST_F(AcquisitionTest, AverageOfSignedSamplesTimesPolarity) {
    acquisition.InitDaq();
    Log();
    daq.sequences[5] = {0x8000, 0x7FFF, 0x0003, 0xFFFF};  // -32768, 32767, 3, -1
    EXPECT_DOUBLE_EQ(acquisition.ReadChannelAverage(5, 4), 0.25);
    ChannelMap map;
    map.ChannelSign[5] = -1;
    acquisition.SetChannelMap(map);
    daq.samples[5] = 100;
    EXPECT_DOUBLE_EQ(acquisition.ReadChannelAverage(5, 0), -100);  // at least one conversion
    EXPECT_EQ(Log(), "ai5x5");
}

TEST_F(AcquisitionTest, ReadAllTakesForceStrainTravelInThisOrder) {
    acquisition.SetSampleCounts(100, 100, 200);
    acquisition.InitDaq();
    Log();
    daq.samples = {{0, 12000}, {2, 900}, {4, -50}, {7, 70}};
    acquisition.ReadAll();
    EXPECT_EQ(Log(), "ai0x100 ai4x100 ai2x200");
    EXPECT_EQ(acquisition.RawValues(), (std::array<double, 3>{12000, 900, -50}));

    acquisition.ReadAllWithStrainSource(2);
    EXPECT_DOUBLE_EQ(acquisition.RawValues()[kRawStrain], 70);
    acquisition.ReadAllWithStrainSource(3);
    EXPECT_DOUBLE_EQ(acquisition.RawValues()[kRawStrain], 10);
    EXPECT_EQ(Log(), "ai0x100 ai7x100 ai2x200 ai0x100 ai4x100 ai7x100 ai2x200");

    acquisition.SetForceRange(10);
    acquisition.ReadAll();
    EXPECT_DOUBLE_EQ(acquisition.RawValues()[kRawForce], 1200);
}

TEST_F(AcquisitionTest, ZeroingIsTakenAfterThePolarity) {
    ChannelMap map;
    map.ChannelSign[2] = -1;  // the travel input inverted
    acquisition.SetChannelMap(map);
    acquisition.InitDaq();
    daq.samples = {{0, 500}, {2, 800}, {4, 40}};
    acquisition.ReadAll();
    EXPECT_DOUBLE_EQ(acquisition.RawValues()[kRawTravel], -800);
    acquisition.ZeroTravel();
    acquisition.ZeroForce();
    acquisition.ZeroStrain();
    EXPECT_EQ(acquisition.ZeroOffsets(), (std::array<double, 3>{500, -800, 40}));
    daq.samples = {{0, 600}, {2, 700}, {4, 40}};
    acquisition.ReadAll();
    EXPECT_EQ(acquisition.RawValues(), (std::array<double, 3>{100, 100, 0}));
    acquisition.ZeroAll();
    acquisition.ReadAll();
    EXPECT_EQ(acquisition.RawValues(), (std::array<double, 3>{600, -700, 40}));
}

TEST(AcquisitionWithoutCard, ReadsThe3000CountsAndIgnoresOutputs) {
    EventLog log;
    LoggingClock clock(log);
    FakeDaqCard missing(log, /*present=*/false);
    for (DaqCard* card : {static_cast<DaqCard*>(&missing), static_cast<DaqCard*>(nullptr)}) {
        Acquisition acquisition(card, clock);
        acquisition.InitDaq();
        EXPECT_FALSE(acquisition.DaqPresent());
        acquisition.ReadAll();
        EXPECT_EQ(acquisition.RawValues(), (std::array<double, 3>{3000, 3000, 3000}));
        EXPECT_DOUBLE_EQ(acquisition.ReadChannelAverage(3, 10), 3000);
        acquisition.ZeroForce();
        acquisition.ZeroTravel();
        acquisition.ZeroStrain();
        acquisition.ReadAll();
        EXPECT_EQ(acquisition.RawValues(), (std::array<double, 3>{0, 0, 0}));
        acquisition.StopPulse();
        acquisition.SetForceRange(10);
        acquisition.WriteAnalogOutput(0, 5);
        EXPECT_EQ(log.Take(), "");  // no conversion, output or wait
    }
}

TEST(Overload, ForceBeyond102PercentOrTravelBeyondTheLimit) {
    // 100 kN and 500 mm nominal at 30000 counts.
    const double forceFactor = 100.0 / 30000, travelFactor = 500.0 / 30000;
    auto exceeded = [&](double force, double travel, double limit = 0.95) {
        return OverloadExceeded({force, travel, 0}, forceFactor, 100, travelFactor, 500, limit);
    };
    EXPECT_FALSE(exceeded(30600, 28500));  // exactly 102 % and 95 %
    EXPECT_TRUE(exceeded(30601, 0));
    EXPECT_TRUE(exceeded(0, 28501));
    EXPECT_FALSE(exceeded(0, 28501, 0.96));
}

TEST_F(AcquisitionTest, AnalogOutputs) {
    acquisition.InitDaq();
    Log();
    acquisition.WriteAnalogOutput(1, 2.5);
    acquisition.ZeroAnalogOutputs();
    EXPECT_EQ(Log(), "ao1=2.5 ao0=0 ao1=0 ao2=0 ao3=0");
}

// A channel map image with the given 1-based inputs and travel limit.
std::vector<std::uint8_t> ChannelMapImage(std::array<double, 7> doubles, std::size_t size = 3000) {
    std::vector<std::uint8_t> image(size, 0);
    for (std::size_t i = 0; i < doubles.size() && 8 * i + 8 <= size; ++i) {
        std::memcpy(&image[8 * i], &doubles[i], 8);  // the test host is little-endian
    }
    return image;
}

TEST(ChannelMapFile, InputsRoundTiesToEvenAndPolarityBytes) {
    auto image = ChannelMapImage({1.0, 1.0, 2.5, 3.5, 8.0, 1.0, 90.0});
    image[400] = 1;
    image[402] = 2;
    image[407] = 1;
    ChannelMap map;
    const ChannelMapResult result = ParseChannelMap(image, map);
    ASSERT_TRUE(result.loaded) << result.message;
    EXPECT_EQ(map.Reserved0, 1.0);
    EXPECT_EQ(map.ForceChannel, 0);
    EXPECT_EQ(map.TravelChannel, 1);   // 2.5 rounds to 2
    EXPECT_EQ(map.StrainChannelA, 3);  // 3.5 rounds to 4
    EXPECT_EQ(map.StrainChannelB, 7);
    EXPECT_EQ(map.ShutdownWiring, 1);
    EXPECT_DOUBLE_EQ(map.TravelLimitFactor, 0.9);
    EXPECT_EQ(map.ChannelSign, (std::array<int, 8>{-1, 1, 1, 1, 1, 1, 1, -1}));
}

TEST(ChannelMapFile, ShortOrGarbledImagesAreRefusedWhole) {
    const ChannelMap defaults;
    const std::vector<std::vector<std::uint8_t>> refused = {
        ChannelMapImage({832, 1, 3, 5, 8, 0, 95}, 2999),
        ChannelMapImage({832, 0, 3, 5, 8, 0, 95}),  // input 0
        ChannelMapImage({832, 1, 3, 5, 9, 0, 95}),  // input 9
        ChannelMapImage({832, 1, 3, 5, 8, 0, std::nan("")}),
        {},
    };
    for (const auto& image : refused) {
        ChannelMap map;
        map.ForceChannel = 6;
        const ChannelMapResult result = ParseChannelMap(image, map);
        EXPECT_FALSE(result.loaded);
        EXPECT_NE(result.message.find("Dravon.Set"), std::string::npos) << result.message;
        EXPECT_EQ(map.ForceChannel, 6);
        EXPECT_EQ(map.ChannelSign, defaults.ChannelSign);
        EXPECT_EQ(map.TravelLimitFactor, defaults.TravelLimitFactor);
    }
}

TEST(Ik220Ini, SampleCountsAndFactors) {
    const Ik220Settings none = ParseIk220Ini("");
    EXPECT_EQ(none.ForceSamples, 100);
    EXPECT_EQ(none.StrainSamples, 100);
    EXPECT_EQ(none.TravelSamples, 200);
    EXPECT_EQ(none.FactorX1, 1);
    EXPECT_EQ(none.FactorX2, 1);

    const Ik220Settings read = ParseIk220Ini(
        "; counts\r\n[pci9111]\r\nAnzahlMessungenKraft = 150 ; more\r\n"
        "ANZAHLMESSUNGENWEG=50\r\nanzahlmessungenweg=60\r\n"
        "[KaliX1X2]\nFaktorX1=-4\nFaktorX2=abc\n[Other]\nAnzahlMessungenDehnung=7\n");
    EXPECT_EQ(read.ForceSamples, 150);
    EXPECT_EQ(read.TravelSamples, 50);   // the first entry counts
    EXPECT_EQ(read.StrainSamples, 100);  // only in another section
    EXPECT_EQ(read.FactorX1, -4);
    EXPECT_EQ(read.FactorX2, 0);
}

}  // namespace
}  // namespace quorvex
