// "specimen show": a prepared specimen file printed as JSON, refusals named.
#include "specimen_command.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "command_run.h"
#include "evaluation/test_files.h"
#include "temp_dir.h"

namespace quorvex::cli {
namespace {

class SpecimenCommandTest : public testing_support::TempDirTest {
  protected:
    std::string File(const char* name) { return (dir / name).string(); }
};

TEST_F(SpecimenCommandTest, ShowPrintsTheSavedSpecimen) {
    ParameterSet p;
    p.SpecimenShape = 1;
    p.Flat = {20.0F, 5.0F, 80.0F, 120.0F, 100.0F};
    p.EffectiveSo = 100.0F;
    p.EffectiveLo = 80.0F;
    p.SpecimenNo = "A-17";
    p.SpecimenId = "Heat \"12\"";
    p.HeaderValue[2] = "Customer";
    ASSERT_TRUE(SaveSpecimenFile(File("bar.pro"), p));

    const CommandRun show = Command(RunSpecimenCommand, {"show", File("bar.pro")});
    ASSERT_EQ(show.code, 0) << show.err;
    for (const char* fragment :
         {"\"SpecimenShape\": 1", "\"FlatSpecimen\": [20, 5, 80, 120, 100]",
          "\"EffectiveSo\": 100", "\"EffectiveLo\": 80", "\"SpecimenNo\": \"A-17\"",
          "\"SpecimenId\": \"Heat \\\"12\\\"\"", "\"Customer\""}) {
        EXPECT_NE(show.out.find(fragment), std::string::npos) << fragment << "\n" << show.out;
    }
}

TEST_F(SpecimenCommandTest, RefusalsNameTheFile) {
    std::ofstream(File("short.pro")) << "abc";
    struct Case {
        std::vector<std::string> args;
        int code;
        const char* said;
    };
    const Case cases[] = {
        {{"show", File("short.pro")}, 1, "short.pro"},
        {{"show", File("missing.pro")}, 1, "missing.pro"},
        {{"show", dir.string()}, 1, "directory"},
        {{"show"}, 2, "usage"},
        {{"list", File("short.pro")}, 2, "usage"},
    };
    for (const Case& c : cases) {
        const CommandRun run = Command(RunSpecimenCommand, c.args);
        EXPECT_EQ(run.code, c.code) << run.err;
        EXPECT_NE(run.err.find(c.said), std::string::npos) << run.err;
        EXPECT_TRUE(run.out.empty());
    }
}

}  // namespace
}  // namespace quorvex::cli
