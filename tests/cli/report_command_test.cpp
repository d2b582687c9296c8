// "quorvex-cli report" headless: the PDF of a three-record project carries the values of the
// editor's grid and its statistics; a chosen list of records, the diagram printout, and the
// refusals of wrong arguments and of a project without its parameter set.
#include <gtest/gtest.h>

#include <QImage>
#include <fstream>

#include "evaluation/parameter_file.h"
#include "evaluation/project_store.h"
#include "report/report_content.h"

#include "command_run.h"
#include "pdf_text.h"
#include "report_command.h"
#include "report_project.h"
#include "temp_dir.h"

namespace quorvex::cli {
namespace {

namespace fs = std::filesystem;
using testing_support::PdfText;
using testing_support::ReportTests;

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

// PNG, JPEG and BMP logos are drawn into the page head; a Windows metafile (which this system
// cannot draw) is named instead of silently dropping out.
TEST_F(ReportCommand, DrawsPictureLogosAndNamesOneItCannotDraw) {
    QImage picture(40, 20, QImage::Format_RGB32);
    picture.fill(Qt::darkBlue);
    ASSERT_TRUE(picture.save(QString::fromStdString((dir / "logo.png").string()), "PNG"));
    ASSERT_TRUE(picture.save(QString::fromStdString((dir / "logo.jpg").string()), "JPEG"));
    ASSERT_TRUE(picture.save(QString::fromStdString((dir / "logo.bmp").string()), "BMP"));
    std::ofstream(dir / "logo.emf", std::ios::binary) << std::string("\x01\0\0\0EMF header", 14);
    struct Case {
        const char* logo;
        int pictures;
        bool named;
    };
    const Case cases[] = {{"logo.png", 1, false}, {"logo.jpg", 1, false}, {"logo.bmp", 1, false},
                          {"logo.emf", 0, true},  {"gone.png", 0, false}, {"", 0, false}};
    const fs::path params = dir / "P" / "P.Par";
    for (const Case& c : cases) {
        ParameterSet p;
        ASSERT_TRUE(LoadParameterSet(p, params, false).Loaded());
        p.LogoFile = *c.logo ? (dir / c.logo).string() : std::string();
        ASSERT_TRUE(SaveParameterSet(p, params));
        const CommandRun run = Command(RunReportCommand, {results, "--pdf", pdf});
        ASSERT_EQ(run.code, 0) << run.err;
        EXPECT_EQ(run.err.find(c.logo) != std::string::npos && *c.logo, c.named)
            << c.logo << ": " << run.err;
        const auto pictures = testing_support::PdfImageCount(pdf);
        if (!pictures) GTEST_SKIP() << "pdfimages is not installed";
        EXPECT_EQ(*pictures, c.pictures) << c.logo;
    }
}

// A long project is printed one row at a time: every row on its page, in order, the statistics
// over all of them the same as the editor's over the whole selection.
TEST_F(ReportCommand, ALongProjectPrintsEveryRowAndItsStatistics) {
    const fs::path res = dir / "P" / "P.Res";
    const std::optional<ResultsRecord> middle = ReadProjectRecord(res, 2);
    ASSERT_TRUE(middle);
    const int kRecords = 1203;
    {
        std::ofstream file(res, std::ios::binary | std::ios::app);
        for (int n = 4; n <= kRecords; ++n) {
            ResultsRecord r = *middle;
            r.SpecimenNo = "L-" + std::to_string(n);
            r.Rm = 400.0f + static_cast<float>(n % 37);
            r.RecordNumber = n;
            r.CurveNumber = 0;
            const ByteImage image = ResultsRecordImage(r);
            file.write(reinterpret_cast<const char*>(image.data()),
                       static_cast<std::streamsize>(image.size()));
        }
    }
    const CommandRun run = Command(RunReportCommand, {results, "--pdf", pdf});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.out.find("wrote 1203 record(s)"), std::string::npos) << run.out;

    // The statistics the editor would show for the same selection.
    ParameterSet p;
    ASSERT_TRUE(LoadParameterSet(p, dir / "P" / "P.Par", false).Loaded());
    std::vector<ResultsRecord> all;
    ReadProjectRecords(res, [&](int number, const ResultsRecord& r) {
        all.push_back(r);
        all.back().RecordNumber = number;
        return true;
    });
    const EditorColumns columns(p, "dd.MM.yyyy");
    const std::vector<StatisticsRow> expected = StatisticsOfSelection(p, columns, all, false);
    ASSERT_FALSE(expected.empty());

    const auto text = PdfText(pdf);
    if (!text) GTEST_SKIP() << "pdftotext is not installed";
    EXPECT_GT(testing_support::PdfPageCount(*text), 20);
    std::size_t at = 0;
    for (int n : {1, 2, 3, 4, 600, 1203}) {  // in order
        const std::string specimen = n <= 3 ? ReportTests()[n - 1].SpecimenNo
                                            : "L-" + std::to_string(n);
        const std::size_t found = text->find(specimen, at);
        ASSERT_NE(found, std::string::npos) << specimen;
        at = found;
    }
    for (const StatisticsRow& row : expected) {
        for (const std::string& cell : row.Cells) {
            const std::string value = cell.substr(cell.find_first_not_of(' ') == std::string::npos
                                                      ? cell.size()
                                                      : cell.find_first_not_of(' '));
            if (value.empty() || value == "-") continue;
            EXPECT_NE(text->find(value, at), std::string::npos) << row.Label << " " << value;
        }
    }
}

// The printout speaks the project's language; --language names another. The column titles,
// the statistics rows and the axis titles follow.
TEST_F(ReportCommand, PrintsInTheProjectsLanguageOrTheOneAskedFor) {
    const CommandRun french =
        Command(RunReportCommand, {results, "--pdf", pdf, "--language", "fr"});
    ASSERT_EQ(french.code, 0) << french.err;
    const auto text = PdfText(pdf);
    if (!text) GTEST_SKIP() << "pdftotext is not installed";
    for (const char* expected : {"Moyenne", "prouvette", "423.0"}) {
        EXPECT_NE(text->find(expected), std::string::npos) << expected << " in\n" << *text;
    }
    for (const char* german : {"Mittelwert", "Probennummer", "Datum"}) {
        EXPECT_EQ(text->find(german), std::string::npos) << german << " in\n" << *text;
    }

    ParameterSet p = testing_support::ReportParameters();
    p.Language = 3;  // Dutch
    ASSERT_TRUE(SaveParameterSet(p, dir / "P" / "P.Par"));
    ASSERT_EQ(Command(RunReportCommand, {results, "--pdf", pdf, "--diagram"}).code, 0);
    const auto dutch = PdfText(pdf);
    ASSERT_TRUE(dutch.has_value());
    EXPECT_NE(dutch->find("Rek %"), std::string::npos) << *dutch;
    EXPECT_EQ(dutch->find("Dehnung"), std::string::npos) << *dutch;
    ASSERT_EQ(Command(RunReportCommand, {results, "--pdf", pdf}).code, 0);
    EXPECT_NE(PdfText(pdf)->find("Gemiddelde"), std::string::npos);

    const CommandRun unknown =
        Command(RunReportCommand, {results, "--pdf", pdf, "--language", "xx"});
    EXPECT_EQ(unknown.code, 2);
    EXPECT_NE(unknown.err.find("\"xx\" is no language"), std::string::npos) << unknown.err;
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
