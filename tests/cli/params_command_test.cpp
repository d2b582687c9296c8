#include "params_command.h"

#include <gtest/gtest.h>

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
             "\"TestType\": 0", "\"EffectiveSo\": 78.54", "\"FixedModulus\": 210000",
             "\"RoundSpecimen\": [10, 50, 60, 78.54]", "\"PreloadValue\": [0.2, 20, 30]",
             "\"SigStrainPoint\": [1, 2, 3, 4, 5]", "\"JUnloadData\": [0.5, 0.2, 30]",
             "\"AutoReturnStart\": 0", "\"MicrometerPort\": 16",
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
        .write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
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

}  // namespace
}  // namespace quorvex::cli
