// "quorvex-cli report" headless: the PDF of a three-record project carries the values of the
// editor's grid and its statistics; a chosen list of records, the diagram printout, and the
// refusals of wrong arguments and of a project without its parameter set.
#include <gtest/gtest.h>

#include "command_run.h"
#include "pdf_text.h"
#include "report_command.h"
#include "report_project.h"
#include "temp_dir.h"

namespace quorvex::cli {
namespace {

namespace fs = std::filesystem;
using testing_support::PdfText;

class ReportCommand : public testing_support::TempDirTest {
  protected:
    void SetUp() override {
        TempDirTest::SetUp();
        results = testing_support::WriteReportProject(dir).string();
        pdf = (dir / "out.pdf").string();
    }
    std::string results, pdf;
};

TEST_F(ReportCommand, WritesTheResultsListWithItsStatistics) {
    const CommandRun run = Command(RunReportCommand, {results, "--pdf", pdf});
    ASSERT_EQ(run.code, 0) << run.err;
    ASSERT_TRUE(fs::exists(pdf));
    EXPECT_FALSE(fs::exists(pdf + ".part"));
    const auto text = PdfText(pdf);
    if (!text) GTEST_SKIP() << "pdftotext is not installed";
    for (const char* expected : {"Zugversuch", "Auftrag-3", "PR-101", "PR-102", "PR-103", "412.5",
                                 "425.5", "431.0", "Mittelwert", "423.0", "Maximum"}) {
        EXPECT_NE(text->find(expected), std::string::npos) << expected << " in\n" << *text;
    }
}

TEST_F(ReportCommand, PrintsTheChosenRecordsAndTheirCurves) {
    const CommandRun run =
        Command(RunReportCommand, {results, "--pdf", pdf, "--records", "1,3", "--diagram"});
    ASSERT_EQ(run.code, 0) << run.err;
    const auto text = PdfText(pdf);
    if (!text) GTEST_SKIP() << "pdftotext is not installed";
    EXPECT_NE(text->find("PR-101"), std::string::npos);
    EXPECT_NE(text->find("PR-103"), std::string::npos);
    EXPECT_EQ(text->find("PR-102"), std::string::npos);
    EXPECT_NE(text->find("Dehnung %"), std::string::npos);
    EXPECT_EQ(text->find("Mittelwert"), std::string::npos);
}

TEST(ReportRecordList, ReadsNumbersAndRanges) {
    std::vector<int> numbers;
    ASSERT_TRUE(ParseRecordList("5,1,3-4,3", numbers));
    EXPECT_EQ(numbers, (std::vector<int>{1, 3, 4, 5}));
    for (const char* bad : {"", "0", "1,,2", "3-1", "a", "1-", "-2", "1.5", "99999999999"}) {
        EXPECT_FALSE(ParseRecordList(bad, numbers)) << bad;
    }
}

TEST_F(ReportCommand, RefusesWrongArgumentsAndAProjectWithoutItsParameterSet) {
    EXPECT_EQ(Command(RunReportCommand, {results}).code, 2);
    EXPECT_EQ(Command(RunReportCommand, {results, "--pdf", pdf, "--records", "x"}).code, 2);
    EXPECT_EQ(Command(RunReportCommand, {results, "--pdf", pdf, "--colour"}).code, 2);
    const CommandRun none = Command(RunReportCommand, {results, "--pdf", pdf, "--records", "9"});
    EXPECT_EQ(none.code, 1);
    EXPECT_NE(none.err.find("record 9"), std::string::npos);
    EXPECT_FALSE(fs::exists(pdf));
    fs::remove(dir / "P" / "P.Par");
    const CommandRun missing = Command(RunReportCommand, {results, "--pdf", pdf});
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(missing.err.find("P.Par"), std::string::npos) << missing.err;
    EXPECT_FALSE(fs::exists(pdf));
    // A PDF that cannot be written is reported, not claimed.
    const CommandRun unwritable = Command(
        RunReportCommand, {(dir / "nowhere" / "P.Res").string(), "--pdf", pdf});
    EXPECT_EQ(unwritable.code, 1);
}

// Each refusal names what it is about: the missing results file (not its parameter set),
// the directory the PDF cannot go into.
TEST_F(ReportCommand, NamesTheFileThatIsWrong) {
    const struct {
        std::vector<std::string> args;
        std::string says;
    } cases[] = {
        {{(dir / "P" / "Q.Res").string(), "--pdf", pdf}, "Q.Res\" is not there"},
        {{(dir / "P").string(), "--pdf", pdf}, "is a directory"},
        {{results, "--pdf", "/nonexistent/x.pdf"}, "the directory \"/nonexistent\""},
    };
    for (const auto& c : cases) {
        const CommandRun run = Command(RunReportCommand, c.args);
        EXPECT_EQ(run.code, 1) << c.says;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
    }
    EXPECT_FALSE(fs::exists("/nonexistent/x.pdf"));
}

}  // namespace
}  // namespace quorvex::cli
