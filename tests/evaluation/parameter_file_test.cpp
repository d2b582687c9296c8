#include "evaluation/parameter_file.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <fstream>

#include "evaluation/test_types.h"
#include "temp_dir.h"

namespace quorvex {
namespace {

class ParameterFileTest : public testing_support::TempDirTest {
  protected:
    // A defaults image with some values poked in at their offsets.
    static ByteImage Image() { return ParameterSetImage(DefaultParameterSet()); }
    static void PutInt32(ByteImage& image, std::size_t offset, std::int32_t v) {
        StoreU32(&image[offset], static_cast<std::uint32_t>(v));
    }
    static void PutDouble(ByteImage& image, std::size_t offset, double v) {
        std::memcpy(&image[offset], &v, 8);
    }
    static void PutFloat(ByteImage& image, std::size_t offset, float v) {
        StoreU32(&image[offset], std::bit_cast<std::uint32_t>(v));
    }
    std::filesystem::path Write(const std::string& name, const ByteImage& image) {
        std::ofstream(dir / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(image.data()),
                   static_cast<std::streamsize>(image.size()));
        return dir / name;
    }
};

TEST_F(ParameterFileTest, SavingTheDefaultsWritesTheDefaultImage) {
    ASSERT_TRUE(SaveParameterSet(DefaultParameterSet(), dir / "Quorvex.Con"));
    EXPECT_EQ(*ReadWholeFile(dir / "Quorvex.Con"), Image());
}

TEST_F(ParameterFileTest, LoadRepairsExactlyTheListedFields) {
    struct Case {
        std::size_t offset;
        std::int32_t stored, loaded;
        std::int32_t ParameterSet::*field;
    } cases[] = {
        {3651, 5, 100, &ParameterSet::FmaxLimitPercent},
        {3651, 6, 6, &ParameterSet::FmaxLimitPercent},
        {3651, 101, 100, &ParameterSet::FmaxLimitPercent},
        {3655, 0, 10, &ParameterSet::ModulusF1Percent},
        {3655, 200, 200, &ParameterSet::ModulusF1Percent},
        {3659, 0, 30, &ParameterSet::ModulusF2Percent},
        {3663, 2, 2, &ParameterSet::ModulusMethod},  // the robust window
        {3663, 3, 0, &ParameterSet::ModulusMethod},
        {3663, -1, 0, &ParameterSet::ModulusMethod},
        {3663, 1, 1, &ParameterSet::ModulusMethod},
        {3679, 11, 1, &ParameterSet::SpringStage},
        {3679, -1, 1, &ParameterSet::SpringStage},
        {3679, 10, 10, &ParameterSet::SpringStage},
        {3687, 0, 1, &ParameterSet::ControlDeviation},
        {3687, 50, 50, &ParameterSet::ControlDeviation},
        {3687, 51, 1, &ParameterSet::ControlDeviation},
        {3695, 0, 1, &ParameterSet::TestSpace},
        {3695, 3, 2, &ParameterSet::TestSpace},
        {2381, 0, 16, &ParameterSet::MicrometerPort},
        {2381, 3, 3, &ParameterSet::MicrometerPort},
        {3683, 9, 9, &ParameterSet::SamplingIndex},  // not repaired on load
        {3675, -4, -4, &ParameterSet::EndStage},
        {2397, 9, 9, &ParameterSet::TestType},
    };
    for (const Case& c : cases) {
        ByteImage image = Image();
        PutInt32(image, c.offset, c.stored);
        ParameterSet p;
        ASSERT_TRUE(LoadParameterSet(p, Write("case.Par", image), false).Loaded());
        EXPECT_EQ(p.*c.field, c.loaded) << "offset " << c.offset << " stored " << c.stored;
    }

    ByteImage image = Image();
    PutDouble(image, 3251, 0.0);  // EnergyAxisEnd
    PutDouble(image, 3259, 2.5);  // SigStrainPoint 1: whole percent, ties to even
    PutDouble(image, 3267, 2.6);
    PutDouble(image, 3299, 7.25);  // ProbeTolerance: copied as is
    ParameterSet p;
    ASSERT_TRUE(LoadParameterSet(p, Write("doubles.Par", image), false).Loaded());
    EXPECT_DOUBLE_EQ(p.EnergyAxisEnd, 1.0);
    EXPECT_DOUBLE_EQ(p.SigStrainPoint[0], 2.0);
    EXPECT_DOUBLE_EQ(p.SigStrainPoint[1], 3.0);
    EXPECT_DOUBLE_EQ(p.ProbeTolerance, 7.25);
}

// Values that flow into results: a non-finite or denormal float takes its default like an
// out-of-range one, so that no evaluation turns it into "NaN" or "Infinity".
TEST_F(ParameterFileTest, NonFiniteNumbersTakeTheirDefaults) {
    const ParameterSet defaults = DefaultParameterSet();
    ByteImage image = Image();
    PutFloat(image, 1812, std::nanf(""));  // round d
    PutFloat(image, 1816, INFINITY);       // round Lo
    PutFloat(image, 1824, 1e-42f);         // round So, denormal
    PutFloat(image, 1840, -INFINITY);      // flat Lc
    PutFloat(image, 1832, 2.5f);           // flat a: a sound value stays
    PutDouble(image, 3251, std::nan(""));  // EnergyAxisEnd
    ParameterSet p;
    ASSERT_TRUE(LoadParameterSet(p, Write("nan.Par", image), false).Loaded());
    EXPECT_EQ(p.Round.d, defaults.Round.d);
    EXPECT_EQ(p.Round.Lo, defaults.Round.Lo);
    EXPECT_EQ(p.Round.So, defaults.Round.So);
    EXPECT_EQ(p.Flat.Lc, defaults.Flat.Lc);
    EXPECT_EQ(p.Flat.a, 2.5f);
    EXPECT_DOUBLE_EQ(p.EnergyAxisEnd, defaults.EnergyAxisEnd);
}

// No repair is defined for the test type: a file naming none of 0 ... 9 is refused.
TEST_F(ParameterFileTest, UnknownTestTypeIsRefused) {
    for (const std::int32_t type : {-1, 10, 1000000}) {
        ByteImage image = Image();
        PutInt32(image, 2397, type);
        ParameterSet p;
        p.SpecimenNo = "kept";
        const LoadResult result = LoadParameterSet(p, Write("type.Par", image), false);
        EXPECT_EQ(result.status, LoadStatus::Refused) << type;
        EXPECT_NE(result.message.find("type.Par"), std::string::npos) << result.message;
        EXPECT_EQ(p.SpecimenNo, "kept");
    }
}

TEST_F(ParameterFileTest, KeepMachineFieldsKeepsPortsAndLanguage) {
    ByteImage image = Image();
    image[1704] = 4;
    image[1705] = 5;
    PutInt32(image, 2381, 6);
    PutInt32(image, 2377, 2);
    PutInt32(image, 2397, 9);
    const auto path = Write("other.Par", image);

    ParameterSet running;
    running.CaliperPort = 2;
    running.ControllerPort = 3;
    running.MicrometerPort = 7;
    running.Language = 1;
    ParameterSet kept = running;
    ASSERT_TRUE(LoadParameterSet(kept, path, true).Loaded());
    EXPECT_EQ(kept.CaliperPort, 2);
    EXPECT_EQ(kept.ControllerPort, 3);
    EXPECT_EQ(kept.MicrometerPort, 7);
    EXPECT_EQ(kept.Language, 1);
    EXPECT_EQ(kept.TestType, 9);  // a ".Par" file of the compression test switches the type

    ParameterSet taken = running;
    ASSERT_TRUE(LoadParameterSet(taken, path, false).Loaded());
    EXPECT_EQ(taken.CaliperPort, 4);
    EXPECT_EQ(taken.ControllerPort, 5);
    EXPECT_EQ(taken.MicrometerPort, 6);
    EXPECT_EQ(taken.Language, 2);
}

TEST_F(ParameterFileTest, ShortFileIsRefusedAndNothingChanges) {
    ByteImage image = Image();
    PutInt32(image, 2397, 5);
    image.resize(6450);
    ParameterSet p;
    p.SpecimenNo = "kept";
    const ParameterSet before = p;
    const LoadResult result = LoadParameterSet(p, Write("short.Par", image), false);
    EXPECT_EQ(result.status, LoadStatus::Refused);
    EXPECT_NE(result.message.find("short.Par"), std::string::npos);
    EXPECT_EQ(ParameterSetImage(p), ParameterSetImage(before));
    EXPECT_EQ(LoadParameterSetIntoProject(p, dir / "short.Par").status, LoadStatus::Refused);
    EXPECT_EQ(ParameterSetImage(p), ParameterSetImage(before));

    EXPECT_EQ(LoadParameterSet(p, dir / "missing.Par", false).status, LoadStatus::Missing);
    EXPECT_EQ(ParameterSetImage(p), ParameterSetImage(before));
}

TEST_F(ParameterFileTest, LongerFileUsesItsFirstBytesAndNamesIgnoreCase) {
    ByteImage image = Image();
    PutInt32(image, 2397, 3);
    image.resize(7000, 0xFF);
    Write("Shear.PA1", image);
    ParameterSet p;
    ASSERT_TRUE(LoadParameterSet(p, dir / "shear.pa1", false).Loaded());
    EXPECT_EQ(p.TestType, 3);
    EXPECT_EQ(p.Carried.size(), 6451u);

    // Saving under another spelling replaces the same file.
    ASSERT_TRUE(SaveParameterSet(p, dir / "SHEAR.pa1"));
    EXPECT_EQ(ReadWholeFile(dir / "Shear.PA1")->size(), 6451u);
    EXPECT_FALSE(std::filesystem::exists(dir / "SHEAR.pa1"));
}

TEST_F(ParameterFileTest, ResaveKeepsReservedBytesAndStageTexts) {
    ByteImage image = Image();
    for (std::size_t i = 5176; i < 6451; ++i) image[i] = static_cast<std::uint8_t>(i * 7);
    image[2690] = 0x42;
    const std::string stage = "/1/    50.000/2/    10.000/3";
    image[3901 + 51 * 24] = 28;
    std::memcpy(&image[3902 + 51 * 24], stage.data(), stage.size());
    ParameterSet p;
    ASSERT_TRUE(LoadParameterSet(p, Write("in.Par", image), false).Loaded());
    ASSERT_TRUE(SaveParameterSet(p, dir / "out.Par"));
    EXPECT_EQ(*ReadWholeFile(dir / "out.Par"), image);
    EXPECT_EQ(p.Stages[29].StageSpeedUnit, 3);
}

TEST_F(ParameterFileTest, LoadIntoProjectKeepsTheResultChoice) {
    ParameterSet file;
    file.SpecimenShape = 1;
    file.Flat.a = 3;
    file.EffectiveSo = 60;
    file.PreloadValue[0] = 1.5f;
    file.Stages[0].StageActive = 1;
    file.Stages[6].StageActive = 1;
    file.Results[5].Evaluate = 1;  // ReH
    file.Results[5].LimitMin = 123;
    file.Results[9].PrintInReport = 0;  // Rm
    file.StatLimits = 1;
    file.AutoReturnStart = 1;
    file.FmaxLimitPercent = 3;
    file.ModulusMethod = 1;
    file.SamplingIndex = 4;
    file.CaliperPort = 9;
    file.MicrometerPort = 9;
    file.Language = 3;
    file.Carried[2420] = 0x77;
    ASSERT_TRUE(SaveParameterSet(file, dir / "f.Par"));

    ParameterSet project;
    project.ControlDeviation = 20;  // allowed on a plain load, not in a project
    ASSERT_TRUE(LoadParameterSetIntoProject(project, dir / "f.Par").Loaded());
    EXPECT_EQ(project.SpecimenShape, 1);
    EXPECT_FLOAT_EQ(project.Flat.a, 3);
    EXPECT_FLOAT_EQ(project.EffectiveSo, 60);
    EXPECT_FLOAT_EQ(project.PreloadValue[0], 1.5f);
    EXPECT_EQ(project.Stages[0].StageActive, 1);
    EXPECT_EQ(project.Stages[6].StageActive, 0);  // stages 6-30 are not taken over
    EXPECT_FLOAT_EQ(project.Results[5].LimitMin, 123);
    EXPECT_EQ(project.Results[5].Evaluate, 0);
    EXPECT_EQ(project.Results[9].PrintInReport, 1);
    EXPECT_EQ(project.StatLimits, 1);
    EXPECT_EQ(project.AutoReturnStart, 1);
    EXPECT_EQ(project.Carried[2420], 0x77);
    EXPECT_EQ(project.FmaxLimitPercent, 100);
    EXPECT_EQ(project.ModulusMethod, 1);
    EXPECT_EQ(project.SamplingIndex, 0);
    EXPECT_EQ(project.CaliperPort, 1);
    EXPECT_EQ(project.MicrometerPort, 16);
    EXPECT_EQ(project.Language, 0);
    EXPECT_EQ(project.ControlDeviation, 1);
}

TEST_F(ParameterFileTest, SaveNamesAndDelete) {
    EXPECT_EQ(ParameterSaveName("/data/steel.old", 8), std::filesystem::path("/data/steel.pa7"));
    EXPECT_EQ(ParameterSaveName("/data/v1.2/steel", 0),
              std::filesystem::path("/data/v1.2/steel.par"));
    EXPECT_EQ(ParameterSaveName("plain", 9), std::filesystem::path("plain.pa8"));
    const std::string extensions[] = {".Par", ".Par", ".Par", ".Pa1", ".Pa2",
                                      ".Pa3", ".Pa4", ".Pa5", ".Pa7", ".Pa8"};
    for (int type = 0; type < 10; ++type) EXPECT_EQ(ParameterFileExtension(type), extensions[type]);
    EXPECT_EQ(TestTypeGermanName(4), "Kettenprüfung");
    EXPECT_EQ(TestTypeTextNumber(9), 653);

    ASSERT_TRUE(SaveParameterSet(DefaultParameterSet(), dir / "Gone.Par"));
    EXPECT_TRUE(DeleteParameterFile(dir / "gone.par"));
    EXPECT_FALSE(std::filesystem::exists(dir / "Gone.Par"));
    EXPECT_FALSE(DeleteParameterFile(dir / "gone.par"));
}

}  // namespace
}  // namespace quorvex
