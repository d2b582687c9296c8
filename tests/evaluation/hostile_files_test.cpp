// No file can hang, flood or trick the program: a FIFO, a link to a device and a 2 GB file
// in the place of each file it reads are refused at once with a message naming them, and a
// write never replaces what a link points at.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>

#include "evaluation/ascii_export.h"
#include "evaluation/curve_file.h"
#include "evaluation/files.h"
#include "evaluation/parameter_file.h"
#include "evaluation/project_store.h"
#include "evaluation/screw_tables.h"
#include "evaluation/test_files.h"
#include "temp_dir.h"

namespace quorvex {
namespace {

namespace fs = std::filesystem;

struct Reader {
    const char* Name;  // the file's name in the directory
    std::function<LoadResult(const fs::path&)> Read;
    bool BoundedBySize;  // a 2 GB file is refused (the curve reader reads its largest curve)
};

const std::vector<Reader>& Readers() {
    static const std::vector<Reader> readers = {
        {"Quorvex.Con",
         [](const fs::path& f) {
             ParameterSet p;
             return LoadParameterSet(p, f, false);
         },
         true},
        {"1.Hea",
         [](const fs::path& f) {
             HeaderLines lines;
             return ReadHeaderFile(f, lines);
         },
         true},
        {"Probe.pro",
         [](const fs::path& f) {
             ParameterSet p;
             return LoadSpecimenFile(f, p);
         },
         true},
        {"ProbenNr.txt", [](const fs::path& f) { return ReadSpecimenNumber(f).Status; }, true},
        {"Schraubentabelle.Txt",
         [](const fs::path& f) {
             UserScrewTable table;
             return LoadScrewTable(table, f.parent_path());
         },
         true},
        {"1.Dia",
         [](const fs::path& f) {
             CurveFileContent content;
             return ParseCurveFile(f, content);
         },
         false},
        {"Proj.Res",
         [](const fs::path& f) {
             const AppendResult appended = AppendRecord(f, ResultsRecord{}, 0, 1);
             return LoadResult{appended.Written ? LoadStatus::Loaded : LoadStatus::Refused,
                               appended.Message};
         },
         false},
        {"EN10002.Asc",
         [](const fs::path& f) {
             const bool written = AppendTensileResultLine(f, ResultsRecord{}, ParameterSet{}, "");
             return LoadResult{written ? LoadStatus::Loaded : LoadStatus::Refused,
                               "\"" + f.string() + "\""};
         },
         false},
    };
    return readers;
}

class HostileFilesTest : public testing_support::TempDirTest {
  protected:
    // Runs the reader on what lies at its name and checks that it refused within a second.
    void ExpectRefused(const Reader& reader, const std::string& what) {
        const fs::path file = dir / reader.Name;
        const auto start = std::chrono::steady_clock::now();
        const LoadResult result = reader.Read(file);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1))
            << reader.Name << " " << what;
        EXPECT_EQ(result.status, LoadStatus::Refused) << reader.Name << " " << what;
        EXPECT_NE(result.message.find(reader.Name), std::string::npos)
            << reader.Name << " " << what << ": " << result.message;
    }
};

TEST_F(HostileFilesTest, AFifoADeviceLinkAndAHugeFileAreRefusedAtOnce) {
    for (const Reader& reader : Readers()) {
        const fs::path file = dir / reader.Name;
        ASSERT_EQ(mkfifo(file.c_str(), 0644), 0);
        ExpectRefused(reader, "as a FIFO");
        fs::remove(file);

        fs::create_symlink("/dev/zero", file);
        ExpectRefused(reader, "as a link to /dev/zero");
        fs::remove(file);

        if (reader.BoundedBySize) {
            std::ofstream(file).close();
            fs::resize_file(file, 2ull << 30);  // sparse: no disk space taken
            ExpectRefused(reader, "of 2 GB");
            fs::remove(file);
        }
    }
    EXPECT_TRUE(fs::is_character_file("/dev/zero"));
}

TEST_F(HostileFilesTest, AWriteReplacesALinkNeverItsTarget) {
    // A device of our own, so that the test cannot harm the machine's (root only).
    const fs::path device = dir / "device";
    if (mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0) {
        GTEST_SKIP() << "making a device needs root";
    }
    const fs::path regular = dir / "elsewhere.Con";
    std::ofstream(regular) << "kept";
    const fs::path linkToDevice = dir / "Quorvex.Con", linkToFile = dir / "1.Hea";
    fs::create_symlink(device, linkToDevice);
    fs::create_symlink(regular, linkToFile);

    ASSERT_TRUE(SaveParameterSet(ParameterSet{}, linkToDevice));
    ASSERT_TRUE(WriteHeaderFile(linkToFile, HeaderLines{}));
    EXPECT_TRUE(fs::is_character_file(device));
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(linkToDevice)));
    EXPECT_EQ(fs::file_size(linkToDevice), ParameterSet::kImageSize);
    EXPECT_EQ(fs::file_size(regular), 4u);
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(linkToFile)));

    // A FIFO or a device itself in the target's place is not taken over.
    const fs::path fifo = dir / "2.Hea";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    std::string error;
    EXPECT_FALSE(WriteFileAtomic(fifo, {1, 2, 3}, &error));
    EXPECT_NE(error.find("FIFO"), std::string::npos) << error;
    EXPECT_FALSE(WriteFileAtomic(device, {1, 2, 3}, &error));
    EXPECT_TRUE(fs::is_character_file(device));
    EXPECT_TRUE(fs::is_fifo(fifo));
}

}  // namespace
}  // namespace quorvex
