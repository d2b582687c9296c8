// "quorvex-cli export line" and "evaluate" for the test types beyond the tensile test: the
// result line's bytes, the specimen values taken from the files, and refused input.
#include "export_command.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <sstream>

#include "command_run.h"
#include "evaluate_command.h"
#include "evaluation/ascii_export.h"
#include "evaluation/curve_file.h"
#include "evaluation/parameter_file.h"
#include "evaluation/text_functions.h"

namespace quorvex::cli {
namespace {


class ExportCommand : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = std::filesystem::path(::testing::TempDir()) /
              (std::string("export_") +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        state = std::make_unique<TestState>();
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::string File(const char* name) { return (dir / name).string(); }

    // Writes the parameter set and a curve with a force maximum of `fmax` kN at sample 4.
    void WriteFiles(float fmax) {
        StartRecording(state->Buffer, state->Marks);
        const float forces[] = {0, fmax / 3, fmax * 2 / 3, fmax, fmax / 2, fmax / 4, 0.1f, 0};
        for (std::size_t i = 0; i < std::size(forces); ++i) {
            Sample s{};
            s[0] = forces[i];
            s[1] = 0.1f * static_cast<float>(i);
            RecordSample(state->Buffer, state->Marks, s);
        }
        FinishRecording(state->Marks);
        ASSERT_TRUE(SaveParameterSet(state->Parameters, File("test.Par")));
        ASSERT_TRUE(
            WriteCurveFile(File("test.Dia"), state->Parameters, state->Buffer, state->Marks));
    }

    // The shear specimen as its dialog leaves it: So 1.0, thickness 2 and width 10.
    void ShearTest() {
        ParameterSet& p = state->Parameters;
        p.TestType = 3;
        p.SpecimenShape = 1;
        p.Flat.a = 2;
        p.Flat.b = 10;
        p.EffectiveSo = 1;
        p.EffectiveLo = 12;
        p.EffectiveLc = 30;
        p.SpecimenNo = "A 12";
        p.SpecimenId = "Probe";
        p.UseSeparator = 1;
        p.DecimalComma = 1;
        const std::int32_t decimals[] = {1, 2, 2, 1, 0, 1};
        for (std::size_t slot = 0; slot < 6; ++slot) p.Results[slot].Decimals = decimals[slot];
        p.HeaderValue[0] = "Prüfer";
        p.HeaderValue[9] = "x;y";  // a ";" in a text becomes "," in the line
    }

    // The line with today's date in `format` (read before and after the command, so that a
    // run across midnight still matches one of them).
    void ExpectLine(const CommandRun& run, const std::string& before, const std::string& after,
                    const std::string& format) {
        ASSERT_EQ(run.code, 0) << run.err;
        const double now = DateTimeNow();
        const std::string today = FormatShortDate(now, format);
        const std::string yesterday = FormatShortDate(now - 1, format);
        EXPECT_TRUE(run.out == before + today + after || run.out == before + yesterday + after)
            << run.out;
    }

    std::filesystem::path dir;
    std::unique_ptr<TestState> state;
};

TEST_F(ExportCommand, ShearLineByteForByte) {
    ShearTest();
    WriteFiles(3.0f);
    const CommandRun run = Command(RunExportCommand, {"line", File("test.Dia"), File("test.Par"),
                                                      "--date-format", "yyyy-MM-dd"});
    // L, T (the thickness of the parameter set, not So / b), B, Lv, FMax, Tau; the remark
    // and ten header values, "ü" as one Windows-1252 byte, the separator in a value as it is.
    const std::string before = "A12           ;Probe               ;";
    const std::string after =
        ";   30,0;   2,00;  10,00;   12,0;   3000;  112,5;;Pr\xfc"
        "fer;;;;;;;;;x,y;\r\n";
    ExpectLine(run, before, after, "yyyy-MM-dd");
}

TEST_F(ExportCommand, TensileAndCompressionLines) {
    // The tensile line without separator and with a decimal point: 37 fields, each followed
    // by one blank; Rm of 2 kN over So 10 mm² with the default 0 decimals.
    ParameterSet& p = state->Parameters;
    p.EffectiveSo = 10;
    p.UseSeparator = 0;
    p.DecimalComma = 0;
    p.SpecimenNo = "T1";
    WriteFiles(2.0f);
    const CommandRun tensile =
        Command(RunExportCommand, {"line", File("test.Dia"), File("test.Par")});
    ASSERT_EQ(tensile.code, 0) << tensile.err;
    EXPECT_EQ(tensile.out.rfind("T1             ", 0), 0u);
    EXPECT_NE(tensile.out.find("    200 "), std::string::npos) << tensile.out;
    EXPECT_EQ(tensile.out.substr(tensile.out.size() - 3), " \r\n");
    const std::string date = FormatShortDate(DateTimeNow(), kDefaultShortDateFormat);
    EXPECT_TRUE(tensile.out.find(date) == 36 ||
                tensile.out.find(FormatShortDate(DateTimeNow() - 1, kDefaultShortDateFormat)) ==
                    36);

    // The compression line: 11 elements; S0 and H from the curve file.
    SetUp();
    state->Parameters.TestType = 9;
    state->Parameters.EffectiveSo = 78.54f;
    state->Parameters.GaugeLengthLe = 20;
    state->Parameters.UseSeparator = 1;
    state->Parameters.DecimalComma = 0;
    for (ResultDefinition& slot : state->Parameters.Results) slot.Decimals = 2;
    WriteFiles(50.0f);
    const CommandRun compression = Command(
        RunExportCommand, {"line", File("test.Dia"), File("test.Par"), "--date-format=d.M.yy"});
    ASSERT_EQ(compression.code, 0) << compression.err;
    EXPECT_EQ(std::count(compression.out.begin(), compression.out.end(), ';'), 3 + 11 + 11);
    // Sig-dB is the force maximum of 50 kN on So.
    EXPECT_NE(compression.out.find(";  10.00;  20.00;  78.54; 636.62;   0.00;   0.00;   0.00;"),
              std::string::npos)
        << compression.out;
    EXPECT_NE(compression.out.find(";2000000.00;"), std::string::npos) << "E without extensometer";
}

TEST_F(ExportCommand, EvaluateServesEveryTestType) {
    ShearTest();
    WriteFiles(3.0f);
    const CommandRun run = Command(RunEvaluateCommand, {File("test.Dia"), File("test.Par")});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.out.find("\"TestType\": 3"), std::string::npos);
    EXPECT_NE(run.out.find("\"ResultElements\": {\"L\": 30, \"T\": 2, \"B\": 10, \"Lv\": 12, "
                           "\"FMax\": 3000, \"Tau\": 112.5}"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("\"EvaluationDone\": true"), std::string::npos);
}

TEST_F(ExportCommand, RefusedInput) {
    WriteFiles(2.0f);
    const CommandRun missing =
        Command(RunExportCommand, {"line", File("none.Dia"), File("test.Par")});
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(missing.err.find("none.Dia"), std::string::npos);
    EXPECT_TRUE(missing.out.empty());
    EXPECT_EQ(Command(RunExportCommand, {"line", File("test.Dia")}).code, 2);
    EXPECT_EQ(Command(RunExportCommand, {"row", File("test.Dia"), File("test.Par")}).code, 2);
    EXPECT_EQ(
        Command(RunExportCommand, {"line", File("test.Dia"), File("test.Par"), "--date-format"})
            .code,
        2);
    EXPECT_EQ(Command(RunExportCommand, {"line", File("test.Dia"), File("test.Par"), "--sep"}).code,
              2);
}

}  // namespace
}  // namespace quorvex::cli
