// The files of the tests kept at a termination signal: read back as written, refused whole
// (naming the file) when short or garbled.
#include "shell/kept_tests.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>

#include "evaluation/parameter_file.h"

namespace quorvex {
namespace {

namespace fs = std::filesystem;

class KeptTestsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        work = fs::temp_directory_path() /
               ("kept-tests-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(work);
        fs::create_directories(work);
        parameters = DefaultParameterSet();
        parameters.TestType = 6;
        parameters.HeaderValue[2] = "Charge 4711 äö";
        for (int slot : {1, 2}) {
            ResultsRecord& r = series.Slots[static_cast<std::size_t>(slot)];
            r.Rm = 400.5f + static_cast<float>(slot);
            r.SpecimenNo = "S" + std::to_string(slot);
            r.Remark = "Bemerkung";
            r.Results[7] = 12.25f;
            r.Reserved[3] = 0x5a;
            r.RecordNumber = slot;
        }
    }
    void TearDown() override { fs::remove_all(work); }

    void Write(const char* name, const std::string& bytes) {
        std::ofstream(work / name, std::ios::binary) << bytes;
    }
    std::string Read(const char* name) {
        std::ifstream in(work / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    fs::path work;
    Series series;
    ParameterSet parameters;
};

TEST_F(KeptTestsTest, WhatIsKeptIsReadBackAsItWasAndRemovedOnce) {
    ASSERT_EQ(WriteKeptTests(work, series, parameters, "Stahl 1"), "");
    EXPECT_EQ(fs::file_size(work / kKeptSeriesFile), 2 * ResultsRecord::kImageSize);

    const KeptRead read = ReadKeptTests(work);
    ASSERT_TRUE(read.Status.Loaded()) << read.Status.message;
    EXPECT_EQ(read.Tests.ProjectName, "Stahl 1");
    EXPECT_EQ(read.Tests.Parameters.TestType, 6);
    EXPECT_EQ(read.Tests.Parameters.HeaderValue[2], "Charge 4711 äö");
    ASSERT_EQ(read.Tests.Records.size(), 2u);
    for (int slot : {1, 2}) {
        EXPECT_EQ(ResultsRecordImage(read.Tests.Records[static_cast<std::size_t>(slot - 1)]),
                  ResultsRecordImage(series.Slots[static_cast<std::size_t>(slot)]));
    }

    RemoveKeptTests(work);
    EXPECT_EQ(ReadKeptTests(work).Status.status, LoadStatus::Missing);
    EXPECT_TRUE(fs::is_empty(work));
}

TEST_F(KeptTestsTest, AnEmptySeriesKeepsNothingAndLeavesWhatWasKept) {
    ASSERT_EQ(WriteKeptTests(work, series, parameters, "P"), "");
    const std::string before = Read(kKeptSeriesFile);
    ASSERT_EQ(WriteKeptTests(work, Series{}, parameters, "Q"), "");
    EXPECT_EQ(Read(kKeptSeriesFile), before);
    EXPECT_EQ(ReadKeptTests(work).Tests.ProjectName, "P");
    fs::remove_all(work);
    fs::create_directories(work);
    ASSERT_EQ(WriteKeptTests(work, Series{}, parameters, "P"), "");
    EXPECT_TRUE(fs::is_empty(work));
}

TEST_F(KeptTestsTest, AShortOrGarbledFileIsRefusedNamingIt) {
    ASSERT_EQ(WriteKeptTests(work, series, parameters, "P"), "");
    const std::string records = Read(kKeptSeriesFile);
    const std::string one = records.substr(0, ResultsRecord::kImageSize);
    auto withRecord = [&](auto change) {
        ResultsRecord r = series.Slots[1];
        change(r);
        const ByteImage image = ResultsRecordImage(r);
        return std::string(image.begin(), image.end());
    };
    const struct {
        const char* file;
        std::string content;
    } cases[] = {
        {kKeptSeriesFile, records.substr(0, records.size() - 1)},
        {kKeptSeriesFile, ""},
        {kKeptSeriesFile, one + one},  // slot 1 twice
        {kKeptSeriesFile, withRecord([](ResultsRecord& r) { r.RecordNumber = 51; })},
        {kKeptSeriesFile, withRecord([](ResultsRecord& r) { r.Rm = 0; })},
        {kKeptSeriesFile,
         withRecord([](ResultsRecord& r) { r.Ag = std::numeric_limits<float>::quiet_NaN(); })},
        {kKeptParameterFile, std::string(100, '\0')},
        {kKeptProjectFile, "P"},  // no line break: cut off
        {kKeptProjectFile, "../elsewhere\n"},
        {kKeptProjectFile, std::string(300, 'x') + "\n"},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(WriteKeptTests(work, series, parameters, "P"), "");
        Write(c.file, c.content);
        const KeptRead read = ReadKeptTests(work);
        EXPECT_EQ(read.Status.status, LoadStatus::Refused) << c.file << " " << c.content.size();
        EXPECT_NE(read.Status.message.find(c.file), std::string::npos) << read.Status.message;
    }
    // A part missing beside the records is refused too.
    for (const char* part : {kKeptParameterFile, kKeptProjectFile}) {
        ASSERT_EQ(WriteKeptTests(work, series, parameters, "P"), "");
        fs::remove(work / part);
        const KeptRead read = ReadKeptTests(work);
        EXPECT_EQ(read.Status.status, LoadStatus::Refused) << part;
        EXPECT_NE(read.Status.message.find(part), std::string::npos) << read.Status.message;
    }
}

}  // namespace
}  // namespace quorvex
