#include "params_command.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "evaluation/files.h"
#include "evaluation/parameter_set.h"
#include "temp_dir.h"

namespace quorvex::cli {
namespace {

struct CommandRun {
    int code;
    std::string out, err;
};

CommandRun Params(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int code = RunParamsCommand(args, out, err);
    return {code, out.str(), err.str()};
}

class ParamsCommandTest : public testing_support::TempDirTest {
  protected:
    std::string File(const char* name) { return (dir / name).string(); }
};

TEST_F(ParamsCommandTest, DefaultsThenShow) {
    ASSERT_EQ(Params({"defaults", File("d.Par")}).code, 0);
    EXPECT_EQ(std::filesystem::file_size(File("d.Par")), 6451u);
    const CommandRun show = Params({"show", File("d.Par")});
    ASSERT_EQ(show.code, 0) << show.err;
    for (const char* fragment : {
             "\"TestType\": 0",
             "\"EffectiveSo\": 78.54",
             "\"FixedModulus\": 210000",
             "\"RoundSpecimen\": [10, 50, 60, 78.54]",
             "\"PreloadValue\": [0.2, 20, 30]",
             "\"SigStrainPoint\": [1, 2, 3, 4, 5]",
             "\"JUnloadData\": [0.5, 0.2, 30]",
             "\"AutoReturnStart\": 0",
             "\"MicrometerPort\": 16",
             "{\"StageActive\": 0, \"StageFrom\": 0, \"StageFromUnit\": 1, \"StageSpeed\": 0, "
             "\"StageSpeedUnit\": 1}",
             "{\"Evaluate\": 1, \"LimitActive\": 1, \"PrintInReport\": 1, \"LimitMin\": 1, "
             "\"LimitMax\": 100, \"Decimals\": 1, \"PrintInList\": 0}",
         }) {
        EXPECT_NE(show.out.find(fragment), std::string::npos) << fragment;
    }
}

TEST_F(ParamsCommandTest, ResaveRepairsAndRefusesShortFiles) {
    ByteImage image = ParameterSetImage(DefaultParameterSet());
    StoreU32(&image[3651], 5);  // FmaxLimitPercent
    image[6000] = 0x99;         // reserved
    std::ofstream(File("in.Par"), std::ios::binary)
        .write(reinterpret_cast<const char*>(image.data()),
               static_cast<std::streamsize>(image.size()));
    ASSERT_EQ(Params({"resave", File("in.Par"), File("out.Par")}).code, 0);
    const ByteImage out = *ReadWholeFile(File("out.Par"));
    EXPECT_EQ(LoadU32(&out[3651]), 100u);
    EXPECT_EQ(out[6000], 0x99);

    image.resize(100);
    std::ofstream(File("short.Par"), std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(image.data()), 100);
    const CommandRun refused = Params({"resave", File("short.Par"), File("never.Par")});
    EXPECT_NE(refused.code, 0);
    EXPECT_NE(refused.err.find("short.Par"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(File("never.Par")));
    EXPECT_NE(Params({"show", File("short.Par")}).code, 0);
    EXPECT_NE(Params({"show", File("missing.Par")}).code, 0);
    EXPECT_EQ(Params({"bogus"}).code, 2);
}

// The indices of the bytes in which `after` differs from `before`.
std::vector<std::size_t> ChangedBytes(const ByteImage& before, const ByteImage& after) {
    std::vector<std::size_t> changed;
    for (std::size_t i = 0; i < std::min(before.size(), after.size()); ++i) {
        if (before[i] != after[i]) changed.push_back(i);
    }
    return changed;
}

void WriteImage(const std::string& path, const ByteImage& image) {
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(image.data()),
               static_cast<std::streamsize>(image.size()));
}

TEST_F(ParamsCommandTest, SetChangesOnlyTheNamedFields) {
    ByteImage image = ParameterSetImage(DefaultParameterSet());
    image[6000] = 0x99;     // reserved
    image.push_back(0x42);  // behind the record
    WriteImage(File("p.Par"), image);
    const CommandRun run =
        Params({"set", File("p.Par"), "EffectiveSo=12.5", "HeaderValue[0]=Kunde ä",
                "ResultDefinition[3].Decimals=2", "Stages[1].StageSpeed=3.25",
                "Stages[7].StageSpeed=12.5", "RoundSpecimen[0]=8", "TestType=6"});
    ASSERT_EQ(run.code, 0) << run.err;
    const ByteImage out = *ReadWholeFile(File("p.Par"));
    ASSERT_EQ(out.size(), image.size());
    const ParameterSet p = ParameterSetFromImage(out);
    EXPECT_EQ(p.EffectiveSo, 12.5f);
    EXPECT_EQ(p.HeaderValue[0], "Kunde ä");
    EXPECT_EQ(p.Results[3].Decimals, 2);
    EXPECT_EQ(p.Stages[1].StageSpeed, 3.25);
    EXPECT_EQ(p.Stages[7].StageSpeed, 12.5);
    EXPECT_EQ(p.Round.d, 8.0f);
    EXPECT_EQ(p.TestType, 6);
    // Each changed byte belongs to one of the assigned fields.
    const std::pair<std::size_t, std::size_t> fields[] = {
        {1925, 4}, {510, 51}, {1224 + 3 * 16 + 11, 4}, {2148 + 25 + 13, 8}, {3901 + 2 * 51, 51},
        {1812, 4}, {2397, 4}};
    for (std::size_t at : ChangedBytes(image, out)) {
        EXPECT_TRUE(std::any_of(std::begin(fields), std::end(fields),
                                [&](const auto& field) {
                                    return at >= field.first && at < field.first + field.second;
                                }))
            << "byte " << at;
    }
}

TEST_F(ParamsCommandTest, SetRefusesWhatDoesNotFitAndWritesNothing) {
    const ByteImage image = ParameterSetImage(DefaultParameterSet());
    WriteImage(File("p.Par"), image);
    struct Case {
        std::string assignment;
        const char* says;
    };
    const Case cases[] = {
        {"Bogus=1", "\"Bogus\" is no field"},
        {"HeaderValue=1", "\"HeaderValue\" is no field"},
        {"HeaderValue[10]=x", "\"HeaderValue[10]\" is no field"},
        {"ResultDefinition[3].Evaluate=256", "ResultDefinition[3].Evaluate takes a whole number 0"},
        {"SaveCurves=-1", "SaveCurves takes a whole number 0 ... 255"},
        {"TestType=2147483648", "TestType takes a whole number -2147483648"},
        {"TestType=1.5", "TestType takes"},
        {"EffectiveSo=nan", "EffectiveSo takes a finite number"},
        {"EffectiveSo=1e39", "EffectiveSo takes a finite number"},
        {"StartPosition=inf", "StartPosition takes a finite number"},
        {"HeaderValue[0]=" + std::string(51, 'x'), "HeaderValue[0] takes a text of at most 50"},
        {"HeaderValue[0]=\u03a9", "Windows-1252"},
        {"HeaderValue[0]=Kunde\nX", "without control characters"},
        {"SpecimenId=A\rB", "without control characters"},
        {"HeaderValue[1]=\tX", "without control characters"},
        {"Stages[7].StageSpeed=1234567", "Stages[7].StageSpeed=1234567\" does not fit"},
        {"EffectiveSo", "no assignment"},
        // What a load would refuse or repair is not written either.
        {"TestType=300", "the test type is 0 ... 9"},
        {"TestType=-1", "the test type is 0 ... 9"},
        {"ModulusMethod=7", "ModulusMethod takes 0 ... 2"},
        {"FmaxLimitPercent=3", "FmaxLimitPercent takes 6 ... 100"},
        {"ModulusF1Percent=0", "ModulusF1Percent takes any but 0"},
        {"ControlDeviation=51", "ControlDeviation takes 1 ... 50"},
        {"SigStrainPoint[1]=2.5", "SigStrainPoint[1] takes whole numbers"},
        {"EffectiveSo=1e-40", "EffectiveSo takes normal numbers"},
        // The break value in the range of its meaning (the tensile drop 10 ... 90 %).
        {"BreakDropPercent=150", "BreakDropPercent 150 lies outside 10.0 ... 90.0 %"},
        {"BreakDropPercent=5", "lies outside 10.0 ... 90.0 %"},
    };
    for (const Case& c : cases) {
        const CommandRun run = Params({"set", File("p.Par"), "EffectiveSo=1", c.assignment});
        EXPECT_EQ(run.code, 1) << c.assignment;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
        EXPECT_EQ(*ReadWholeFile(File("p.Par")), image) << c.assignment;
    }
    WriteImage(File("short.Par"), ByteImage(image.begin(), image.begin() + 6450));
    const CommandRun shortFile = Params({"set", File("short.Par"), "EffectiveSo=1"});
    EXPECT_EQ(shortFile.code, 1);
    EXPECT_NE(shortFile.err.find("short.Par"), std::string::npos);
    EXPECT_EQ(std::filesystem::file_size(File("short.Par")), 6450u);
    EXPECT_EQ(Params({"set", File("missing.Par"), "EffectiveSo=1"}).code, 1);
    EXPECT_FALSE(std::filesystem::exists(File("missing.Par")));
    EXPECT_EQ(Params({"set", File("p.Par")}).code, 2);
}

// A programme test reads the break value by its channel: Delta-F in N between a ten-thousandth
// of the nominal force and the nominal force. The combination counts, not the order of the
// assignments; a change of the test type that would make the stored value a drop of 5000 % is
// refused as well.
TEST_F(ParamsCommandTest, SetHoldsTheBreakValueToTheRangeOfItsChannel) {
    ASSERT_EQ(Params({"defaults", File("p.Par")}).code, 0);
    const CommandRun universal = Params(
        {"set", File("p.Par"), "BreakDropPercent=5000", "BreakChannel=1", "TestType=5"});
    ASSERT_EQ(universal.code, 0) << universal.err;
    const auto image = *ReadWholeFile(File("p.Par"));
    const struct {
        std::vector<std::string> assignments;
        const char* says;
    } refused[] = {
        {{"BreakDropPercent=5"}, "\"BreakDropPercent=5\": the break value BreakDropPercent 5 "
                                 "lies outside 10.0 ... 100000.0 N (the force drop"},
        {{"NominalForceKn=2"}, "lies outside 0.2 ... 2000.0 N"},
        {{"BreakChannel=2"}, "lies outside 0.03 ... 300.0 mm"},
        {{"TestType=0"}, "\"TestType=0\": the break value BreakDropPercent 5000 lies outside "
                         "10.0 ... 90.0 %"},
    };
    for (const auto& c : refused) {
        std::vector<std::string> args = {"set", File("p.Par")};
        args.insert(args.end(), c.assignments.begin(), c.assignments.end());
        const CommandRun run = Params(args);
        EXPECT_EQ(run.code, 1) << c.says;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
        EXPECT_EQ(*ReadWholeFile(File("p.Par")), image) << c.says;
    }
}

}  // namespace
}  // namespace quorvex::cli
