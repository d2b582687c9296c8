// quorvex-cli project list: one JSON line per record of a small project, deleted records
// marked, names of the results array from the project's parameter set, a torn tail reported.
#include "project_command.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>

#include "command_run.h"
#include "evaluation/parameter_file.h"
#include "evaluation/project_store.h"
#include "temp_dir.h"

namespace quorvex::cli {
namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

class ProjectCommandTest : public testing_support::TempDirTest {
  protected:
    void SetUp() override {
        TempDirTest::SetUp();
        std::filesystem::create_directory(dir / "Proj");
        ResultsRecord r;
        r.SpecimenNo = "A-1";
        r.SpecimenId = "Charge \"7\"";
        r.Date = 46366.75;  // 2026-12-10, 18:00
        r.Remark = "zäh";
        r.Rm = 512.5f;
        r.Results[4] = 1234.5f;
        ASSERT_TRUE(AppendRecord(File(), r, 1, 1).Written);
        r.SpecimenNo = "A-2";
        ASSERT_TRUE(AppendRecord(File(), r, 0, 2).Written);
        ASSERT_TRUE(MarkRecordDeleted(File(), 2));
    }
    std::filesystem::path File() const { return dir / "Proj" / "Proj.Res"; }
};

TEST_F(ProjectCommandTest, ListsEveryRecordOnALine) {
    const CommandRun run = Command(RunProjectCommand, {"list", File().string()});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const auto lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 2u);
    for (const char* fragment :
         {"{ \"Number\": 1, \"Deleted\": false, \"SpecimenNo\": \"A-1\", "
          "\"SpecimenId\": \"Charge \\\"7\\\"\", \"Date\": \"2026-12-10T18:00:00\", "
          "\"Remark\": \"zäh\", \"CurveNumber\": 1, \"ReH\": 0,",
          "\"Rm\": 512.5,", "\"Results\": [0, 0, 0, 0, 1234.5, 0,"}) {
        EXPECT_NE(lines[0].find(fragment), std::string::npos) << fragment << "\n" << lines[0];
    }
    EXPECT_EQ(lines[0].back(), '}');
    EXPECT_NE(lines[1].find("\"Number\": 2, \"Deleted\": true, \"SpecimenNo\": \"A-2\""),
              std::string::npos);
    EXPECT_NE(lines[1].find("\"CurveNumber\": 0"), std::string::npos);
    EXPECT_EQ(run.out.find("ResultElements"), std::string::npos);

    // The project's parameter set names the results array of its test type.
    ParameterSet p;
    p.TestType = 3;
    ASSERT_TRUE(SaveParameterSet(p, (dir / "Proj" / "Proj.Par").string()));
    const CommandRun named = Command(RunProjectCommand, {"list", File().string()});
    EXPECT_NE(named.out.find("\"ResultElements\": {\"L\": 0, \"T\": 0, \"B\": 0, \"Lv\": 0, "
                             "\"FMax\": 1234.5, \"Tau\": 0}"),
              std::string::npos)
        << named.out;
}

TEST_F(ProjectCommandTest, TornTailAndMissingFile) {
    std::ofstream(File(), std::ios::binary | std::ios::app) << std::string(100, 'x');
    const CommandRun torn = Command(RunProjectCommand, {"list", File().string()});
    EXPECT_EQ(torn.code, 0);
    EXPECT_EQ(Lines(torn.out).size(), 2u);
    EXPECT_NE(torn.err.find("Proj.Res"), std::string::npos);
    EXPECT_NE(torn.err.find("100 bytes"), std::string::npos);

    // Numbers that no test gives are damage: the record is named, its values are not printed.
    std::filesystem::resize_file(File(), 2 * 544);
    ResultsRecord damaged;
    damaged.Rm = std::numeric_limits<float>::quiet_NaN();
    damaged.ReH = std::numeric_limits<float>::infinity();
    damaged.Results[3] = 3.4e38f;
    ASSERT_TRUE(AppendRecord(File(), damaged, 0, 3).Written);
    const CommandRun listed = Command(RunProjectCommand, {"list", File().string()});
    EXPECT_EQ(listed.code, 1);
    ASSERT_EQ(Lines(listed.out).size(), 3u);
    EXPECT_EQ(Lines(listed.out)[2], "{\"Number\": 3, \"Damaged\": [\"ReH\", \"Rm\", \"Results[3]\"]}");
    EXPECT_NE(listed.err.find("record 3 of"), std::string::npos) << listed.err;
    for (const char* number : {"NaN", "Infinity", "e+38", "340282"}) {
        EXPECT_EQ(listed.out.find(number), std::string::npos) << number;
    }

    const CommandRun missing = Command(RunProjectCommand, {"list", (dir / "No.Res").string()});
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(missing.err.find("No.Res"), std::string::npos);
    EXPECT_EQ(Command(RunProjectCommand, {"store"}).code, 2);
}

// Any file divides into records of 544 bytes: only a results file is listed.
TEST_F(ProjectCommandTest, RefusesWhatIsNotAResultsFile) {
    std::ofstream(dir / "Proj.Par", std::ios::binary) << std::string(6451, '\0');
    const struct {
        std::filesystem::path file;
        const char* says;
    } cases[] = {
        {dir / "Proj.Par", "is not a results file"},
        {dir, "is a directory"},
    };
    for (const auto& c : cases) {
        const CommandRun run = Command(RunProjectCommand, {"list", c.file.string()});
        EXPECT_EQ(run.code, 1) << c.file;
        EXPECT_EQ(run.out, "") << c.file;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
    }
}

}  // namespace
}  // namespace quorvex::cli
