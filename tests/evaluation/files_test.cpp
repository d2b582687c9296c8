#include "evaluation/files.h"

#include <gtest/gtest.h>

#include <fstream>

#include "temp_dir.h"

namespace quorvex {
namespace {

class FilesTest : public testing_support::TempDirTest {
  protected:
    void Write(const std::string& name, const std::string& content) {
        std::ofstream(dir / name, std::ios::binary) << content;
    }
};

TEST_F(FilesTest, NamesMatchWithoutRegardToCase) {
    Write("Dravon.Pid", "x");
    EXPECT_EQ(ResolveInDirectory(dir, "dravon.pid"), dir / "Dravon.Pid");
    EXPECT_EQ(ResolvePath(dir / "DRAVON.PID"), dir / "Dravon.Pid");
    EXPECT_EQ(ResolveInDirectory(dir, "Missing.kal"), dir / "Missing.kal");
    EXPECT_EQ(ResolveInDirectory(dir / "nowhere", "a.b"), dir / "nowhere" / "a.b");
}

TEST_F(FilesTest, NamesFoldTheLettersOfTheirCodePage) {
    Write("\xC3\x84RGER.PAR", "x");  // ÄRGER.PAR
    EXPECT_EQ(ResolveInDirectory(dir, "\xC3\xA4rger.par"), dir / "\xC3\x84RGER.PAR");
    Write("\xC5\x92UVRE.Dia", "x");  // ŒUVRE.Dia
    EXPECT_EQ(ResolveInDirectory(dir, "\xC5\x93uvre.dia"), dir / "\xC5\x92UVRE.Dia");
    // Letters outside the code page are not folded into one another.
    Write("\xE6\x97\xA5.Par", "x");
    EXPECT_EQ(ResolveInDirectory(dir, "\xE6\x9C\xAC.Par"), dir / "\xE6\x9C\xAC.Par");
}

TEST_F(FilesTest, ReadsAreBoundedAndRefuseDirectories) {
    std::filesystem::create_directory(dir / "Quorvex.Con");
    std::vector<std::uint8_t> image = {9};
    const LoadResult folder = ReadRecordFile(dir / "Quorvex.Con", 4, image);
    EXPECT_EQ(folder.status, LoadStatus::Refused);
    EXPECT_NE(folder.message.find("Quorvex.Con"), std::string::npos) << folder.message;
    EXPECT_EQ(image, std::vector<std::uint8_t>{9});
    EXPECT_FALSE(ReadWholeFile(dir / "Quorvex.Con"));

    // A device is no file of the program: refused without reading it.
    const FileBytes zeros = ReadFileBytes("/dev/zero", 1000, Beyond::Ignored);
    EXPECT_EQ(zeros.Status.status, LoadStatus::Refused);
    EXPECT_NE(zeros.Status.message.find("is a device"), std::string::npos);
    EXPECT_TRUE(zeros.Bytes.empty());
    EXPECT_FALSE(ReadWholeFile("/dev/zero", 1 << 20));
    Write("ten", "0123456789");
    EXPECT_TRUE(ReadWholeFile(dir / "ten", 10));
    EXPECT_FALSE(ReadWholeFile(dir / "ten", 9));
}

TEST_F(FilesTest, AtomicWriteReplacesWholeAndLeavesNoTemporary) {
    Write("a.bin", "old content");
    ASSERT_TRUE(WriteFileAtomic(dir / "a.bin", {'n', 'e', 'w'}));
    EXPECT_EQ(*ReadWholeFile(dir / "a.bin"), (std::vector<std::uint8_t>{'n', 'e', 'w'}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir),
                            std::filesystem::directory_iterator()),
              1);
    EXPECT_FALSE(WriteFileAtomic(dir / "no" / "such" / "dir.bin", {1}));
}

TEST_F(FilesTest, RecordFileShortRefusedLongCut) {
    std::vector<std::uint8_t> image = {9};
    EXPECT_EQ(ReadRecordFile(dir / "none", 4, image).status, LoadStatus::Missing);
    Write("short", "abc");
    const LoadResult refused = ReadRecordFile(dir / "short", 4, image);
    EXPECT_EQ(refused.status, LoadStatus::Refused);
    EXPECT_NE(refused.message.find("short"), std::string::npos);
    EXPECT_EQ(image, std::vector<std::uint8_t>{9});  // untouched
    Write("long", "abcdef");
    EXPECT_TRUE(ReadRecordFile(dir / "long", 4, image).Loaded());
    EXPECT_EQ(image, (std::vector<std::uint8_t>{'a', 'b', 'c', 'd'}));
}

}  // namespace
}  // namespace quorvex
