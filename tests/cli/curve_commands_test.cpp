#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "command_run.h"
#include "curve_command.h"
#include "evaluate_command.h"
#include "evaluation/files.h"
#include "params_command.h"

namespace quorvex::cli {
namespace {

// The number after "name": in the JSON text.
double JsonNumber(const std::string& json, const std::string& name) {
    const std::size_t at = json.find("\"" + name + "\": ");
    if (at == std::string::npos) ADD_FAILURE() << name << " missing";
    return at == std::string::npos ? -1 : std::stod(json.substr(at + name.size() + 4));
}

class CurveCommands : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = std::filesystem::path(::testing::TempDir()) /
              (std::string("curve_") +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::string File(const char* name) { return (dir / name).string(); }
    void WriteText(const char* name, const std::string& text) { std::ofstream(File(name)) << text; }

    // A steel of So 10 mm² recorded elsewhere: elastic at 210000 N/mm² to 300 N/mm², linear
    // hardening to Rm 500 at 10 % plastic strain, necking, fracture.
    std::string SteelCsv(int& rows) {
        std::ostringstream csv;
        csv << "force kN;travel mm;extension mm;width mm\n";
        rows = 0;
        auto add = [&](double stress, double plastic) {
            const double strain = stress / 210000 + plastic;
            csv << stress * 10 / 1000 << "; " << strain * 50 << ";" << strain * 50 << ";0\r\n";
            ++rows;
        };
        for (int i = 0; i <= 100; ++i) add(3.0 * i, 0);
        for (int i = 1; i <= 500; ++i) add(300 + 0.4 * i, 0.0002 * i);
        for (int i = 1; i <= 50; ++i) add(500 - 2.0 * i, 0.1 + 0.0005 * i);
        add(100, 0.125);
        add(5, 0.125);
        return csv.str();
    }

    std::filesystem::path dir;
};

TEST_F(CurveCommands, ImportEvaluateAndExport) {
    int rows = 0;
    WriteText("steel.csv", SteelCsv(rows));
    const CommandRun imported = Command(
        RunCurveCommand,
        {"import", File("steel.csv"), File("steel.Dia"), "--So", "10", "--Lc=50", "--Le", "50"});
    ASSERT_EQ(imported.code, 0) << imported.err;
    EXPECT_EQ(std::filesystem::file_size(File("steel.Dia")),
              60u + 20u * static_cast<unsigned>(rows));

    ASSERT_EQ(Command(RunParamsCommand, {"defaults", File("d.Par")}).code, 0);
    const CommandRun evaluated = Command(RunEvaluateCommand, {File("steel.Dia"), File("d.Par")});
    ASSERT_EQ(evaluated.code, 0) << evaluated.err;
    const std::string& json = evaluated.out;
    EXPECT_NEAR(JsonNumber(json, "E"), 210000, 50);
    EXPECT_NEAR(JsonNumber(json, "Rm"), 500, 1e-3);
    EXPECT_NEAR(JsonNumber(json, "Rp"), 300 + 0.4 * 5, 0.5) << "0.1 % plastic at 5 steps";
    EXPECT_NEAR(JsonNumber(json, "So"), 10, 1e-6);
    EXPECT_EQ(JsonNumber(json, "SampleCount"), rows - 1);
    EXPECT_EQ(JsonNumber(json, "FmaxIndex"), 601);
    EXPECT_EQ(JsonNumber(json, "BreakIndex"), 603);
    EXPECT_GT(JsonNumber(json, "Ag"), 9.0);
    for (const char* key :
         {"\"Rp2\": ", "\"RatioR1R2\": ", "\"GaugeAtAt\": ", "\"ProofIndex2\": ",
          "\"ModulusLineIntercept\": ", "\"EvaluationDone\": true", "\"Results\": [0, "}) {
        EXPECT_NE(json.find(key), std::string::npos) << key;
    }

    const CommandRun exported = Command(RunCurveCommand, {"export", File("steel.Dia")});
    ASSERT_EQ(exported.code, 0) << exported.err;
    EXPECT_EQ(
        exported.out.rfind("Force_kN,Travel_mm,Extension_mm,WidthChange_mm\n0,0,0,0\n0.03,", 0), 0u)
        << exported.out.substr(0, 80);
    // The exported CSV builds the same file again.
    WriteText("again.csv", exported.out);
    ASSERT_EQ(Command(RunCurveCommand, {"import", File("again.csv"), File("again.Dia"), "--So=10",
                                        "--Lc=50", "--Le=50"})
                  .code,
              0);
    EXPECT_EQ(*ReadWholeFile(File("again.Dia")), *ReadWholeFile(File("steel.Dia")));
}

TEST_F(CurveCommands, BadInputIsRefusedWithItsName) {
    WriteText("bad.csv", "force,travel,extension\n1,2,3\n1,x,3\n");
    const CommandRun bad = Command(RunCurveCommand, {"import", File("bad.csv"), File("bad.Dia")});
    EXPECT_EQ(bad.code, 1);
    EXPECT_NE(bad.err.find("bad.csv\" line 3"), std::string::npos) << bad.err;
    EXPECT_FALSE(std::filesystem::exists(File("bad.Dia")));

    WriteText("ok.csv", "1,2,3\n");
    const CommandRun range =
        Command(RunCurveCommand, {"import", File("ok.csv"), File("ok.Dia"), "--So", "0"});
    EXPECT_EQ(range.code, 2);
    EXPECT_NE(range.err.find("0.001 ... 1000000"), std::string::npos);
    EXPECT_EQ(Command(RunCurveCommand, {"import", File("ok.csv"), File("ok.Dia"), "--Xo=1"}).code,
              2);

    // A curve file that holds fewer samples than it announces.
    ASSERT_EQ(Command(RunCurveCommand, {"import", File("ok.csv"), File("ok.Dia")}).code, 0);
    WriteText("one.csv", "1,2,3\n2,3,4\n3,4,5\n");
    ASSERT_EQ(Command(RunCurveCommand, {"import", File("one.csv"), File("short.Dia")}).code, 0);
    std::filesystem::resize_file(File("short.Dia"), 60 + 20);
    ASSERT_EQ(Command(RunParamsCommand, {"defaults", File("d.Par")}).code, 0);
    const CommandRun refused = Command(RunEvaluateCommand, {File("short.Dia"), File("d.Par")});
    EXPECT_EQ(refused.code, 1);
    EXPECT_NE(refused.err.find("short.Dia"), std::string::npos);
    EXPECT_NE(Command(RunCurveCommand, {"export", File("short.Dia")}).code, 0);
    EXPECT_EQ(Command(RunEvaluateCommand, {File("missing.Dia"), File("d.Par")}).code, 1);
    EXPECT_EQ(Command(RunEvaluateCommand, {File("ok.Dia"), File("missing.Par")}).code, 1);
    EXPECT_EQ(Command(RunEvaluateCommand, {File("ok.Dia")}).code, 2);
    EXPECT_EQ(Command(RunCurveCommand, {"bogus"}).code, 2);
}

// Line ends of every system and a byte-order mark are read; what would end as "NaN" in a
// result, a CSV without samples and an output that is the input itself are refused.
TEST_F(CurveCommands, ImportReadsEveryLineEndAndRefusesWhatItCannotKeep) {
    struct Case {
        const char* name;
        std::string csv;
        int samples;       // written, or -1: refused
        const char* says;  // in the refusal
    };
    const Case cases[] = {
        {"lf.csv", "force,travel,extension\n1,2,3\n2,3,4\n", 2, ""},
        {"crlf.csv", "force,travel,extension\r\n1,2,3\r\n2,3,4\r\n", 2, ""},
        {"cr.csv", "force,travel,extension\r1,2,3\r2,3,4\r", 2, ""},
        {"bom.csv",
         "\xEF\xBB\xBF"
         "1,2,3\n2,3,4",
         2, ""},
        // The program's own ASCII export: semicolons and decimal commas.
        {"comma.csv", "Kraft;Weg;Dehnung\r\n1,5;0,25;0,125\r\n2;0,5;0,25\r\n", 2, ""},
        {"tabs.csv", "1,5\t0,25\t0\n", 1, ""},
        {"nan.csv", "1,2,3\nnan,3,4\n", -1, "nan.csv\" line 2"},
        {"inf.csv", "1,2,3\n2,-inf,4\n", -1, "inf.csv\" line 2"},
        {"huge.csv", "1,2,3\r\n2,3,1e39\r\n", -1, "huge.csv\" line 2"},
        {"empty.csv", "", -1, "holds no sample"},
        {"header.csv", "force,travel,extension\n", -1, "holds no sample"},
        {"long.csv", "1,2,3\n" + std::string(5000, '1') + "\n", -1, "long.csv\" line 2 is longer"},
    };
    for (const Case& c : cases) {
        WriteText(c.name, c.csv);
        const CommandRun run = Command(RunCurveCommand, {"import", File(c.name), File("out.Dia")});
        if (c.samples < 0) {
            EXPECT_EQ(run.code, 1) << c.name;
            EXPECT_NE(run.err.find(c.says), std::string::npos) << c.name << ": " << run.err;
            EXPECT_FALSE(std::filesystem::exists(File("out.Dia"))) << c.name;
        } else {
            ASSERT_EQ(run.code, 0) << c.name << ": " << run.err;
            EXPECT_EQ(std::filesystem::file_size(File("out.Dia")), 60u + 20u * c.samples) << c.name;
            std::filesystem::remove(File("out.Dia"));
        }
    }
    WriteText("self.csv", "1,2,3\n");
    const CommandRun self =
        Command(RunCurveCommand, {"import", File("self.csv"), File("SELF.csv")});
    EXPECT_EQ(self.code, 1);
    EXPECT_NE(self.err.find("is the CSV itself"), std::string::npos) << self.err;
    EXPECT_EQ(*ReadWholeFile(File("self.csv")),
              (std::vector<std::uint8_t>{'1', ',', '2', ',', '3', '\n'}));
}

// A directory given for a file is refused with its name by every command that reads one.
TEST_F(CurveCommands, DirectoriesAreRefusedByEveryReader) {
    std::filesystem::create_directory(File("folder"));
    WriteText("ok.csv", "1,2,3\n2,3,4\n3,4,5\n");
    ASSERT_EQ(Command(RunCurveCommand, {"import", File("ok.csv"), File("ok.Dia")}).code, 0);
    ASSERT_EQ(Command(RunParamsCommand, {"defaults", File("d.Par")}).code, 0);
    const std::vector<std::vector<std::string>> commands[] = {
        {{"params", "show", File("folder")}},
        {{"params", "resave", File("folder"), File("x.Par")}},
        {{"evaluate", File("folder"), File("d.Par")}},
        {{"evaluate", File("ok.Dia"), File("folder")}},
        {{"curve", "export", File("folder")}},
        {{"curve", "import", File("folder"), File("x.Dia")}},
    };
    for (const auto& command : commands) {
        const std::vector<std::string>& words = command[0];
        const std::vector<std::string> args(words.begin() + 1, words.end());
        const CommandRun run = words[0] == "params"     ? Command(RunParamsCommand, args)
                               : words[0] == "evaluate" ? Command(RunEvaluateCommand, args)
                                                        : Command(RunCurveCommand, args);
        EXPECT_EQ(run.code, 1) << words[0] << " " << words[1];
        EXPECT_NE(run.err.find("folder"), std::string::npos) << run.err;
        EXPECT_NE(run.err.find("is a directory"), std::string::npos) << run.err;
    }
}

}  // namespace
}  // namespace quorvex::cli
