// quorvex-cli run: a whole test on the simulated machine gives the series files of slot 1 and
// the results of the specimen; wrong options and a test that cannot be evaluated say why.
#include "run_command.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "command_run.h"
#include "evaluate_command.h"
#include "evaluation/files.h"
#include "params_command.h"
#include "temp_dir.h"

namespace quorvex::cli {
namespace {

using RunCommandTest = testing_support::TempDirTest;

double JsonNumber(const std::string& json, const std::string& name) {
    const std::size_t at = json.find("\"" + name + "\": ");
    if (at == std::string::npos) return -1;
    return std::stod(json.substr(at + name.size() + 4));
}

TEST_F(RunCommandTest, WritesTheSeriesFilesOfSlot1AndPrintsTheResults) {
    const CommandRun run = Command(RunRunCommand, {"--preset", "aluminium", "--dir", dir.string()});
    ASSERT_EQ(run.code, 0) << run.err;
    for (const char* name : {"1.Dia", "1.Hea", "1.Txt"}) {
        EXPECT_TRUE(std::filesystem::exists(dir / name)) << name;
    }
    EXPECT_NEAR(JsonNumber(run.out, "Rm"), 320, 0.02 * 320);
    EXPECT_NEAR(JsonNumber(run.out, "E"), 70000, 0.05 * 70000);
    EXPECT_NEAR(JsonNumber(run.out, "So"), 60, 0.01);
    EXPECT_NE(run.out.find("\"EvaluationDone\": true"), std::string::npos);
}

// The three machines differ as such machines do: the hydraulic ones follow their set values
// through the valve, the bleed-off machine slower under load, so their curves differ.
TEST_F(RunCommandTest, TheThreeMachinesDrawTheirOwnCurves) {
    std::vector<std::vector<std::uint8_t>> curves;
    for (const char* machine : {"spindle", "hydraulic-bleed-off", "hydraulic-inflow"}) {
        const CommandRun run = Command(
            RunRunCommand, {"--preset", "aluminium", "--machine", machine, "--dir", dir.string()});
        ASSERT_EQ(run.code, 0) << machine << ": " << run.err;
        EXPECT_NEAR(JsonNumber(run.out, "Rm"), 320, 0.03 * 320) << machine;
        curves.push_back(*ReadWholeFile(dir / "1.Dia"));
    }
    EXPECT_NE(curves[0], curves[1]);
    EXPECT_NE(curves[0], curves[2]);
    EXPECT_NE(curves[1], curves[2]);
}

TEST_F(RunCommandTest, RefusesWrongOptionsAndTestsWithoutEvaluation) {
    struct Case {
        std::vector<std::string> args;
        int code;
        const char* says;
    };
    const Case cases[] = {
        {{"--type", "10"}, 2, "the test type is 0 ... 9"},
        {{"--preset", "granite"}, 2, "no specimen preset (none, steel-yield-point, steel, "},
        {{"--fault", "gremlins"}, 2, "\"gremlins\" is not understood (faults: noisy-force, "},
        {{"--speed"}, 2, "unknown option \"--speed\""},
        {{"--speed", "3"}, 2, "unknown option \"--speed\""},
        {{"extra"}, 2, "unexpected argument \"extra\""},
        {{"--type"}, 2, "\"--type\" needs a value"},
        {{"--params", "missing.Par"}, 1, "cannot open \"missing.Par\""},
        {{"--fault", "missing-card"}, 1, "did not register"},
        {{"--fault", "stuck-crosshead"}, 1, "without evaluation"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"--dir", dir.string()};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const CommandRun run = Command(RunRunCommand, args);
        EXPECT_EQ(run.code, c.code) << c.says;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_FALSE(std::filesystem::exists(dir / "1.Dia"));
    }
}

// A test that never loads its specimen says what the program can know about why.
TEST_F(RunCommandTest, TestsWithoutEvaluationSayWhatHappened) {
    struct Case {
        std::vector<std::string> args;
        const char* says;
    };
    const Case cases[] = {
        {{"--fault", "stuck-crosshead"}, "the crosshead did not move"},
        {{"--set", "Stages[0].StageActive=0", "--set", "Stages[1].StageActive=0", "--set",
          "Stages[0].StageSpeed=0"},
         "the speed programme has no active stage"},
        {{"--preset", "none"}, "the force never reached the preload"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"--dir", dir.string()};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const CommandRun run = Command(RunRunCommand, args);
        EXPECT_EQ(run.code, 1) << c.says;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
    }
}

// Weak specimens under the default programme end at their break (the minimum force comes
// from the specimen), and a stored sudden break evaluates again to the same Rm.
TEST_F(RunCommandTest, WeakSpecimensBreakAndStoredCurvesKeepTheirMaximum) {
    for (const char* preset : {"plastic", "beam-3point", "shear"}) {
        const CommandRun run = Command(RunRunCommand, {"--preset", preset, "--dir", dir.string()});
        ASSERT_EQ(run.code, 0) << preset << run.err;
        EXPECT_EQ(run.err.find("message 169"), std::string::npos) << preset << ": memory full";
        ASSERT_EQ(Command(RunParamsCommand, {"defaults", (dir / "d.Par").string()}).code, 0);
        const CommandRun again =
            Command(RunEvaluateCommand, {(dir / "1.Dia").string(), (dir / "d.Par").string()});
        ASSERT_EQ(again.code, 0) << again.err;
        EXPECT_GT(JsonNumber(run.out, "Rm"), 0) << preset;
        EXPECT_FLOAT_EQ(static_cast<float>(JsonNumber(again.out, "Rm")),
                        static_cast<float>(JsonNumber(run.out, "Rm")))
            << preset;
    }
}

TEST_F(RunCommandTest, SetChangesTheParameterSetBeforeTheStart) {
    const CommandRun refused = Command(
        RunRunCommand,
        {"--dir", dir.string(), "--set", "HeaderValue[0]=Kunde", "--set", "EffectiveSo=nan"});
    EXPECT_EQ(refused.code, 2);  // a usage error, as every refused option
    EXPECT_NE(refused.err.find("EffectiveSo takes a finite number"), std::string::npos)
        << refused.err;
    const CommandRun wrongType =
        Command(RunRunCommand, {"--dir", dir.string(), "--set", "TestType=12"});
    EXPECT_EQ(wrongType.code, 2);
    EXPECT_NE(wrongType.err.find("the test type is 0 ... 9"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir / "1.Dia"));

    const CommandRun run = Command(RunRunCommand, {"--preset", "aluminium", "--dir", dir.string(),
                                                   "--set", "HeaderValue[0]=Kunde"});
    ASSERT_EQ(run.code, 0) << run.err;
    const auto header = ReadWholeFile(dir / "1.Hea");
    ASSERT_TRUE(header);
    EXPECT_EQ(std::string(header->begin() + 1, header->begin() + 6), "Kunde");
}

// A break drop of 150 % would end the test on its first samples with Rm far below the
// specimen's: the option is refused naming the range, and nothing runs. A parameter set file
// that holds such a value (an older program's, another machine's) stays readable, but no test
// starts on it.
TEST_F(RunCommandTest, ABreakValueOutsideItsRangeStartsNoTest) {
    const CommandRun option =
        Command(RunRunCommand, {"--dir", dir.string(), "--set", "BreakDropPercent=150"});
    EXPECT_EQ(option.code, 2);
    EXPECT_NE(option.err.find("\"BreakDropPercent=150\": the break value BreakDropPercent 150 "
                              "lies outside 10.0 ... 90.0 %"),
              std::string::npos)
        << option.err;
    EXPECT_NE(option.err.find("usage:"), std::string::npos);

    const std::string file = (dir / "old.Par").string();
    ASSERT_EQ(Command(RunParamsCommand, {"defaults", file}).code, 0);
    auto image = *ReadWholeFile(file);
    const float drop = 150.0f;  // BreakDropPercent, as an older program let it be stored
    std::memcpy(image.data() + 2076, &drop, sizeof drop);
    ASSERT_TRUE(WriteFileAtomic(file, image));
    const CommandRun stored = Command(RunRunCommand, {"--dir", dir.string(), "--params", file});
    EXPECT_EQ(stored.code, 1);
    EXPECT_NE(stored.err.find("old.Par\": the break value BreakDropPercent 150 lies outside "
                              "10.0 ... 90.0 %"),
              std::string::npos)
        << stored.err;
    EXPECT_FALSE(std::filesystem::exists(dir / "1.Dia"));
    const CommandRun shown = Command(RunParamsCommand, {"show", file});
    EXPECT_EQ(shown.code, 0);
    EXPECT_NE(shown.out.find("\"BreakDropPercent\": 150"), std::string::npos);
}

// The types 3-9 print their own result names: the record's tensile fields hold other things
// for them. The cast-iron cylinder breaks at the top of its curve, on the last samples.
TEST_F(RunCommandTest, OtherTypesPrintTheirOwnResultsWithTheStrengthAtTheMaximum) {
    const CommandRun shear = Command(RunRunCommand, {"--type", "3", "--dir", dir.string()});
    ASSERT_EQ(shear.code, 0) << shear.err;
    for (const char* tensile : {"\"ReH\"", "\"Rm\"", "\"Ag\"", "\"So\"", "\"GaugeAtAg\""}) {
        EXPECT_EQ(shear.out.find(tensile), std::string::npos) << tensile;
    }
    EXPECT_GT(JsonNumber(shear.out, "FMax"), 0);
    EXPECT_GT(JsonNumber(shear.out, "Tau"), 0);
    EXPECT_NE(shear.out.find("\"Results\": ["), std::string::npos);

    const CommandRun compression = Command(RunRunCommand, {"--type", "9", "--dir", dir.string()});
    ASSERT_EQ(compression.code, 0) << compression.err;
    EXPECT_NEAR(JsonNumber(compression.out, "Sig-dB"), 961, 0.03 * 961);
    EXPECT_EQ(compression.out.find("\"Rm\""), std::string::npos);

    // The tensile family keeps its names.
    const CommandRun tensile = Command(RunRunCommand, {"--dir", dir.string()});
    ASSERT_EQ(tensile.code, 0) << tensile.err;
    EXPECT_GT(JsonNumber(tensile.out, "Rm"), 0);
}

// A header or parameter file is no curve: evaluate says so instead of answering with zeros.
TEST_F(RunCommandTest, EvaluateRefusesFilesThatAreNoCurve) {
    ASSERT_EQ(Command(RunRunCommand, {"--dir", dir.string()}).code, 0);
    const std::string params = (dir / "d.Par").string();
    ASSERT_EQ(Command(RunParamsCommand, {"defaults", params}).code, 0);
    for (const char* name : {"1.Hea", "1.Txt", "d.Par"}) {
        const std::string file = (dir / name).string();
        const CommandRun run = Command(RunEvaluateCommand, {file, params});
        EXPECT_EQ(run.code, 1) << name;
        EXPECT_NE(run.err.find("\"" + file + "\""), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "") << name;
    }
    EXPECT_EQ(Command(RunEvaluateCommand, {(dir / "1.Dia").string(), params}).code, 0);
}

// What the simulated machine measures besides force, travel and extension is recorded: the
// transverse gauge on the aluminium sheet gives its r value, the probes of the compression
// platen are checked against each other.
TEST_F(RunCommandTest, TheTransverseGaugeAndTheProbesAreRecordedAndEvaluated) {
    const CommandRun sheet = Command(RunRunCommand, {"--preset", "aluminium", "--dir", dir.string()});
    ASSERT_EQ(sheet.code, 0) << sheet.err;
    EXPECT_NEAR(JsonNumber(sheet.out, "r"), 0.7, 0.05 * 0.7);

    const CommandRun even = Command(RunRunCommand, {"--type", "9", "--dir", dir.string()});
    ASSERT_EQ(even.code, 0) << even.err;
    EXPECT_EQ(even.err.find("Messwertgeber"), std::string::npos) << even.err;

    const CommandRun stuck = Command(
        RunRunCommand, {"--type", "9", "--fault", "stuck-probe", "--dir", dir.string()});
    ASSERT_EQ(stuck.code, 0) << stuck.err;
    EXPECT_NE(stuck.err.find("Fehler bei Messwertgeber-Überwachung / Taster = 3 / "),
              std::string::npos)
        << stuck.err;
}

}  // namespace
}  // namespace quorvex::cli
