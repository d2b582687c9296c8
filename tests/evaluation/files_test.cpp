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
