// Results projects and the working files of start-up and shutdown.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "evaluation/files.h"
#include "evaluation/parameter_file.h"
#include "shell/results_project.h"
#include "shell/working_files.h"
#include "ui/stored_texts.h"

namespace quorvex {
namespace {

namespace fs = std::filesystem;

class WorkingDirectoryTest : public testing::Test {
protected:
    void SetUp() override {
        work = fs::temp_directory_path() /
               ("quorvex_shell_" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(work);
        fs::create_directories(work);
    }
    void TearDown() override { fs::remove_all(work); }

    ParameterSet Saved(int testType, int language, const fs::path& path) {
        ParameterSet p;
        p.TestType = testType;
        p.Language = language;
        p.HeaderValue[0] = "Projekt";
        EXPECT_TRUE(SaveParameterSet(p, path));
        return p;
    }

    fs::path work;
};

TEST(ResultsProject, NamesAreCleanedAndKeptInsideTheWorkingDirectory) {
    EXPECT_EQ(CleanProjectName(QStringLiteral(" Stahl 2024\r")), QStringLiteral("Stahl2024"));
    for (const char* bad : {"", ".", "..", "../x", "a/b", "a\\b"}) {
        EXPECT_FALSE(IsUsableProjectName(QString::fromLatin1(bad))) << bad;
    }
    EXPECT_TRUE(IsUsableProjectName(QStringLiteral("Prüfung_7")));
}

TEST_F(WorkingDirectoryTest, ListsTheSubDirectories) {
    fs::create_directories(work / "beta");
    fs::create_directories(work / "Alpha");
    std::ofstream(work / "file.Par") << "x";
    EXPECT_EQ(ListProjectDirectories(work), (QStringList{"Alpha", "beta"}));
}

TEST_F(WorkingDirectoryTest, CreateRefusesAProjectThatHasItsParameterFile) {
    fs::create_directories(work / "Old");
    Saved(0, 0, work / "Old" / "Old.Par");
    const ProjectResult refused = CreateResultsProject(work, QStringLiteral("Old"));
    EXPECT_FALSE(refused.Opened);
    EXPECT_EQ(refused.RefusalText, text::kProjectCannotBeCreated);

    // A directory without its parameter file is taken over; a new name makes the directory.
    fs::create_directories(work / "Empty");
    EXPECT_TRUE(CreateResultsProject(work, QStringLiteral("Empty")).Opened);
    EXPECT_TRUE(CreateResultsProject(work, QStringLiteral("Neu")).Opened);
    EXPECT_TRUE(fs::is_directory(work / "Neu"));
    EXPECT_FALSE(CreateResultsProject(work, QStringLiteral("../Neu")).Opened);
}

TEST_F(WorkingDirectoryTest, OpenReadsTheProjectParametersKeepingTheLanguage) {
    fs::create_directories(work / "P");
    Saved(8, 1, work / "P" / "p.par");  // the case of the file name does not matter
    ParameterSet p;
    p.Language = 0;
    const ProjectResult opened = OpenResultsProject(work, QStringLiteral("P"), p);
    EXPECT_TRUE(opened.Opened);
    EXPECT_EQ(p.TestType, 8);
    EXPECT_EQ(p.Language, 0);
    EXPECT_EQ(p.HeaderValue[0], "Projekt");

    // A short parameter file is refused with a message naming it and changes nothing.
    std::ofstream(work / "P" / "p.par", std::ios::trunc) << "short";
    ParameterSet untouched;
    const ProjectResult shortFile = OpenResultsProject(work, QStringLiteral("P"), untouched);
    EXPECT_TRUE(shortFile.Opened);
    EXPECT_TRUE(shortFile.FileMessage.contains(QStringLiteral("p.par")));
    EXPECT_EQ(untouched.TestType, 0);
}

TEST_F(WorkingDirectoryTest, ProjectParameterFilesOnLeavingAProject) {
    fs::create_directories(work / "P");
    ParameterSet p;
    p.TestType = 8;
    ASSERT_TRUE(WriteProjectParameterFiles(p, work, QStringLiteral("P")));
    EXPECT_TRUE(fs::exists(work / "P" / "P.Par"));  // always ".Par"
    EXPECT_TRUE(fs::exists(work / "P.Pa7"));

    // The file of the working directory is written only when it does not exist yet.
    std::ofstream(work / "P.Pa7", std::ios::trunc) << "kept";
    p.TestType = 8;
    ASSERT_TRUE(WriteProjectParameterFiles(p, work, QStringLiteral("P")));
    EXPECT_EQ(ReadWholeFile(work / "P.Pa7")->size(), 4u);
    EXPECT_EQ(ReadWholeFile(work / "P" / "P.Par")->size(), ParameterSet::kImageSize);
}

TEST_F(WorkingDirectoryTest, LanguageMarkerAndDatabaseDirectory) {
    EXPECT_FALSE(LanguageMarkerExists(work));
    ASSERT_TRUE(WriteLanguageMarker(work));
    EXPECT_TRUE(LanguageMarkerExists(work));
    EXPECT_EQ(ReadWholeFile(work / "Sprache.con")->size(), kNominalRangesSize);

    EXPECT_EQ(ReadDatabaseDirectory(work, QStringLiteral("/home/lab/q")), QStringLiteral("/home/lab/q"));
    std::ofstream(work / "net.cfg") << "  D:\\Daten  \r\nsecond line\r\n";
    EXPECT_EQ(ReadDatabaseDirectory(work, QStringLiteral("/home/lab/q")), QStringLiteral("D:\\Daten"));
}

TEST(WorkingFiles, MeasuringPortsFromTheParameterSet) {
    struct Case {
        std::uint8_t caliperByte;
        std::int32_t micrometer;
        int caliper;
        int micrometerPort;
    };
    const Case cases[] = {{0, 2, 1, 2}, {1, 0, 2, 16}, {15, 16, 16, 16}, {2, 3, 3, 3}};
    for (const Case& c : cases) {
        ParameterSet p;
        p.CaliperPort = c.caliperByte;
        p.MicrometerPort = c.micrometer;
        AppState state;
        AssignMeasuringPorts(p, state);
        EXPECT_EQ(state.CaliperPort.Number, c.caliper);
        EXPECT_EQ(state.MicrometerPort.Number, c.micrometerPort);
        EXPECT_FALSE(state.CaliperPort.Open);
    }
}

}  // namespace
}  // namespace quorvex
