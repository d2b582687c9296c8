// A store is all or nothing: a store that ends at any point leaves no record without its files,
// the next store removes what it left, one store at a time holds a project, and a write that
// fails (a size limit, a full disk) leaves no torn record and no torn result line.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <algorithm>
#include <memory>
#include <set>

#include "evaluation/ascii_export.h"
#include "evaluation/files.h"
#include "evaluation/project_store.h"
#include "evaluation/store_lock.h"
#include "temp_dir.h"

namespace quorvex {
namespace {

namespace fs = std::filesystem;

struct NoRows : ExportRowSink {
    void WriteExportRow(const ExportRow&) override { ++Rows; }
    void WriteAliasRow(const ExportRow&) override {}
    int Rows = 0;
};

// What a crash does to a store: nothing after the point runs.
struct Crash {};

// A file-size limit for the lifetime of the object, reported as a write error.
class SizeLimit {
  public:
    explicit SizeLimit(rlim_t bytes) : previous_(std::signal(SIGXFSZ, SIG_IGN)) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~SizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }

  private:
    void (*previous_)(int);
    rlimit saved_{};
};

int CountMentions(const std::vector<std::string>& messages, const std::string& text) {
    int n = 0;
    for (const std::string& message : messages) n += message.find(text) != std::string::npos;
    return n;
}

class StoreIntegrityTest : public testing_support::TempDirTest {
  protected:
    void SetUp() override {
        TempDirTest::SetUp();
        fs::create_directory(Project());
        context.WorkingDirectory = dir;
        context.ProjectName = "Proj";
        context.LockWait = std::chrono::milliseconds(200);
        P().SaveCurves = 1;
        P().RawDataExport = 1;
        P().AsciiExport = 1;
        for (int slot = 1; slot <= 2; ++slot) {
            ResultsRecord& r = state->TestSeries.Slots[static_cast<std::size_t>(slot)];
            r.SpecimenNo = "S" + std::to_string(slot);
            r.Rm = 500.0f + static_cast<float>(slot);
            std::ofstream(dir / (std::to_string(slot) + ".Dia"), std::ios::binary)
                << std::string(60 + 20 * static_cast<std::size_t>(slot), 'c');
            std::ofstream(dir / (std::to_string(slot) + ".Txt"), std::ios::binary) << "raw\r\n";
        }
    }

    ParameterSet& P() { return state->Parameters; }
    fs::path Project() const { return dir / "Proj"; }
    fs::path ResultsFile() const { return Project() / "Proj.Res"; }

    ProjectStoreResult Store(const std::vector<int>& slots) {
        return StoreSeriesInProject(*state, slots, context, rows);
    }

    // Every record has the files it names; with `exactly`, nothing else is in the project
    // directory (after a crash, files without their record may be there).
    void ExpectWholeProject(const std::string& where, bool exactly = true) {
        const int records = CountRecords(ResultsFile()).Records;
        EXPECT_EQ(CountRecords(ResultsFile()).TornBytes, 0u) << where;
        std::set<std::string> expected = {kStoreLockFile};
        if (fs::exists(ResultsFile())) expected.insert("Proj.Res");
        for (int n = 1; n <= records; ++n) {
            const ResultsRecord r = *ReadProjectRecord(ResultsFile(), n);
            EXPECT_EQ(r.RecordNumber, n) << where;
            expected.insert(std::to_string(n) + ".Hea");
            if (r.CurveNumber != 0) {
                EXPECT_EQ(r.CurveNumber, n) << where;
                expected.insert(std::to_string(n) + ".Dia");
                expected.insert(std::to_string(n) + ".Txt");
            }
        }
        std::set<std::string> present;
        for (const auto& entry : fs::directory_iterator(Project())) {
            present.insert(entry.path().filename().string());
        }
        if (exactly) {
            EXPECT_EQ(present, expected) << where;
        } else {
            EXPECT_TRUE(std::includes(present.begin(), present.end(), expected.begin(),
                                      expected.end()))
                << where;
        }
    }

    std::unique_ptr<TestState> state = std::make_unique<TestState>();
    ProjectStoreContext context;
    NoRows rows;
};

TEST_F(StoreIntegrityTest, AStoreEndedAtAnyPointLeavesNoRecordWithoutItsFiles) {
    const StorePoint points[] = {StorePoint::Header, StorePoint::Curve,      StorePoint::RawData,
                                 StorePoint::Record, StorePoint::ResultLine, StorePoint::Rows};
    int recordsBefore = 0;
    for (const StorePoint point : points) {
        for (const int slot : {1, 2}) {
            const std::string where =
                "point " + std::to_string(static_cast<int>(point)) + " slot " +
                std::to_string(slot);
            context.AtPoint = [&](StorePoint at, int atSlot) {
                if (at == point && atSlot == slot) throw Crash{};
            };
            EXPECT_THROW(Store({1, 2}), Crash) << where;
            ExpectWholeProject(where + ", after the crash", false);
            const int afterCrash = CountRecords(ResultsFile()).Records;
            // The files of the records that were not stored go with the next store, each
            // named once; the records that were stored stay.
            std::set<std::string> orphans;
            for (const auto& entry : fs::directory_iterator(Project())) {
                const std::string name = entry.path().filename().string();
                const int number = std::atoi(name.c_str());
                if (number > afterCrash) orphans.insert(name);
            }
            context.AtPoint = nullptr;
            const ProjectStoreResult next = Store({1});
            ASSERT_EQ(next.Stored.size(), 1u) << where;
            EXPECT_TRUE(next.Complete) << where;
            EXPECT_EQ(next.Stored[0].RecordNumber, afterCrash + 1) << where;
            for (const std::string& orphan : orphans) {
                EXPECT_EQ(CountMentions(next.Messages, "/" + orphan + "\""), 1) << where << orphan;
            }
            EXPECT_EQ(next.Messages.size(), orphans.size()) << where;
            ExpectWholeProject(where + ", after the next store");
            EXPECT_GE(afterCrash, recordsBefore) << where;
            recordsBefore = afterCrash + 1;
        }
    }
}

TEST_F(StoreIntegrityTest, AbandonedTemporaryFilesGoAndThoseOfRunningWritersStay) {
    // The process id of a program that has ended.
    const pid_t child = fork();
    if (child == 0) _exit(0);
    waitpid(child, nullptr, 0);
    const std::string abandoned = ".3.Dia.tmp" + std::to_string(child) + "-17";
    const std::string running = ".3.Hea.tmp" + std::to_string(getppid()) + "-4";
    std::ofstream(Project() / abandoned) << "half";
    std::ofstream(Project() / running) << "half";
    std::ofstream(Project() / ".notes.tmp") << "not ours";

    const ProjectStoreResult result = Store({1});
    EXPECT_EQ(CountMentions(result.Messages, abandoned), 1);
    EXPECT_FALSE(fs::exists(Project() / abandoned));
    EXPECT_TRUE(fs::exists(Project() / running));
    EXPECT_TRUE(fs::exists(Project() / ".notes.tmp"));
    // Only what one store can have written goes; a results file that cannot be read (here a
    // FIFO) keeps every file.
    std::ofstream(Project() / "12.Dia") << "far";
    fs::remove(ResultsFile());
    ASSERT_EQ(mkfifo(ResultsFile().c_str(), 0644), 0);
    const ProjectStoreResult refused = Store({1});
    EXPECT_TRUE(refused.Stored.empty());
    EXPECT_TRUE(fs::exists(Project() / "1.Hea"));
    EXPECT_TRUE(fs::exists(Project() / "12.Dia"));
    EXPECT_EQ(CountMentions(refused.Messages, "is a FIFO"), 1);
    EXPECT_FALSE(IsAbandonedTemporaryFile(".x.tmp-1"));
    EXPECT_FALSE(IsAbandonedTemporaryFile("x.tmp1-1"));
}

TEST_F(StoreIntegrityTest, AProjectTakesOneStoreAtATime) {
    {
        const StoreLock other(Project(), std::chrono::milliseconds(0));
        ASSERT_TRUE(other.Held());
        const auto start = std::chrono::steady_clock::now();
        const ProjectStoreResult waited = Store({1});
        EXPECT_GE(std::chrono::steady_clock::now() - start, context.LockWait);
        EXPECT_TRUE(waited.Stored.empty());
        EXPECT_FALSE(waited.Complete);
        EXPECT_EQ(CountMentions(waited.Messages, "Another store is writing into"), 1);
        EXPECT_EQ(CountRecords(ResultsFile()).Records, 0);
    }
    // Released with its holder, whatever way the holder ends.
    EXPECT_EQ(Store({1}).Stored.size(), 1u);
}

TEST_F(StoreIntegrityTest, AFileThatCannotBeWrittenStoresNoRecord) {
    // A file-size limit below the 510 bytes of a header file: the first file of the test
    // fails, and no record refers to it.
    {
        const SizeLimit limit(40);
        const ProjectStoreResult failed = Store({1});
        EXPECT_TRUE(failed.Stored.empty());
        EXPECT_FALSE(failed.Complete);
        EXPECT_EQ(CountMentions(failed.Messages, "header file of series slot 1"), 1)
            << testing::PrintToString(failed.Messages);
    }
    EXPECT_EQ(CountRecords(ResultsFile()).Records, 0);
    ExpectWholeProject("after the failed store");

    // The result line: a line that does not fit is cut off again, and the next one is whole.
    const fs::path ascii = dir / kTensileResultFile;
    std::ofstream(ascii, std::ios::binary) << std::string(2000, 'x') << "\r\n";
    const ProjectStoreResult first = Store({1});
    ASSERT_EQ(first.Stored.size(), 1u);
    const auto before = fs::file_size(ascii);
    const auto line = before - 2002;
    {
        const SizeLimit limit(before + 20);
        const ProjectStoreResult second = Store({2});
        ASSERT_EQ(second.Stored.size(), 1u);
        EXPECT_FALSE(second.Complete);
        EXPECT_EQ(CountMentions(second.Messages, "Record 2 is stored, but its result line"), 1);
    }
    EXPECT_EQ(fs::file_size(ascii), before);
    ASSERT_EQ(Store({2}).Stored.size(), 1u);
    EXPECT_EQ(fs::file_size(ascii), before + line);
    ExpectWholeProject("after the size limit");
}

TEST_F(StoreIntegrityTest, TextsCannotBreakTheResultLine) {
    ResultsRecord& r = state->TestSeries.Slots[1];
    r.SpecimenId = "A;B\nC";
    r.Remark = "line\r\nbreak;here\t.";
    P().HeaderValue[0] = "Kunde;\nX";
    P().UseSeparator = 1;
    const std::string hostile = TensileResultLine(r, P(), "dd.MM.yyyy");
    r.SpecimenId = "ABC";
    r.Remark = "plain";
    P().HeaderValue[0] = "Kunde";
    const std::string plain = TensileResultLine(r, P(), "dd.MM.yyyy");
    EXPECT_EQ(std::count(hostile.begin(), hostile.end(), ';'),
              std::count(plain.begin(), plain.end(), ';'));
    EXPECT_EQ(hostile.find_first_of("\r\n\t"), std::string::npos);
    EXPECT_NE(hostile.find("A,BC"), std::string::npos) << hostile;
    EXPECT_NE(hostile.find("line  break,here ."), std::string::npos) << hostile;
}

}  // namespace
}  // namespace quorvex
