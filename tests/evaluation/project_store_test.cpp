// The results project on disk: numbering, the deletion mark, torn and failed writes, the
// editor's filter and the order in which a store writes files and database rows.
#include "evaluation/project_store.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <memory>

#include "evaluation/files.h"
#include "temp_dir.h"

namespace quorvex {
namespace {

ResultsRecord Record(const std::string& specimenNo) {
    ResultsRecord r;
    r.SpecimenNo = specimenNo;
    r.SpecimenId = "Charge 7";
    r.Date = 46366.75;
    r.Rm = 512.5f;
    r.Lo = 50;
    return r;
}

void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string FileText(const std::filesystem::path& path) {
    const auto bytes = ReadWholeFile(path);
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string("<missing>");
}

// The numbers of the records a scan hands over.
std::vector<int> Listed(const std::filesystem::path& file, const RecordFilter& filter) {
    std::vector<int> numbers;
    ScanProject(file, filter, [&](int number, const ResultsRecord&) {
        numbers.push_back(number);
        return true;
    });
    return numbers;
}

bool Mentions(const std::vector<std::string>& messages, const std::string& text) {
    for (const std::string& message : messages) {
        if (message.find(text) != std::string::npos) return true;
    }
    return false;
}

// Notes each row with its specimen number and how many result lines the ASCII file held at
// that moment, which shows the order of line, alias row and export row per test.
class RecordingSink : public ExportRowSink {
  public:
    explicit RecordingSink(std::filesystem::path asciiFile) : asciiFile_(std::move(asciiFile)) {}

    void WriteExportRow(const ExportRow& row) override { Note("export " + row.Table, row); }
    void WriteAliasRow(const ExportRow& row) override { Note("alias", row); }

    std::vector<std::string> Events;
    std::vector<ExportRow> Rows;

  private:
    void Note(const std::string& what, const ExportRow& row) {
        const std::string text = FileText(asciiFile_);
        const auto lines = text == "<missing>" ? 0 : std::count(text.begin(), text.end(), '\n');
        Events.push_back(what + " " + row.Fields.at(0).Text + " after " + std::to_string(lines));
        Rows.push_back(row);
    }
    std::filesystem::path asciiFile_;
};

class ProjectStoreTest : public testing_support::TempDirTest {
  protected:
    void SetUp() override {
        TempDirTest::SetUp();
        std::filesystem::create_directory(dir / "Proj");
        context.WorkingDirectory = dir;
        context.ProjectName = "Proj";
        context.Today = 46370.4;
        P().HeaderValue[0] = "Kunde";
        P().AsciiExport = 0;
        sink = std::make_unique<RecordingSink>(dir / "EN10002.Asc");
    }

    ParameterSet& P() { return state->Parameters; }
    std::filesystem::path ResultsFile() const { return dir / "Proj" / "Proj.Res"; }

    void AppendRecords(int count) {
        const int first = CountRecords(ResultsFile()).Records + 1;
        for (int n = first; n < first + count; ++n) {
            ASSERT_TRUE(
                AppendRecord(ResultsFile(), Record("Old" + std::to_string(n)), 0, n).Written);
        }
    }

    // Series slot k with its curve file (60 + 20·k bytes) and raw-data file.
    void FillSlot(int slot) {
        state->TestSeries.Slots[static_cast<std::size_t>(slot)] =
            Record("S" + std::to_string(slot));
        WriteBytes(
            dir / (std::to_string(slot) + ".Dia"),
            std::string(static_cast<std::size_t>(60 + 20 * slot), static_cast<char>('0' + slot)));
        WriteBytes(dir / (std::to_string(slot) + ".Txt"),
                   "[Headings]\r\nslot " + std::to_string(slot) + "\r\n");
    }

    ProjectStoreResult Store(const std::vector<int>& slots, ExportRowSink& rows) {
        return StoreSeriesInProject(*state, slots, context, rows);
    }

    std::unique_ptr<TestState> state = std::make_unique<TestState>();
    ProjectStoreContext context;
    std::unique_ptr<RecordingSink> sink;
};

TEST_F(ProjectStoreTest, NumbersFollowTheStoredRecordsInSelectionOrder) {
    AppendRecords(5);
    for (int slot = 1; slot <= 3; ++slot) FillSlot(slot);
    P().SaveCurves = 1;
    P().RawDataExport = 1;
    const ProjectStoreResult result = Store({3, 1, 2}, *sink);
    EXPECT_TRUE(result.Messages.empty()) << result.Messages.front();
    ASSERT_EQ(result.Stored.size(), 3u);
    const int slots[] = {3, 1, 2};
    for (int i = 0; i < 3; ++i) {
        const int k = 6 + i;
        const std::string name = std::to_string(k);
        EXPECT_EQ(result.Stored[i].Slot, slots[i]);
        EXPECT_EQ(result.Stored[i].RecordNumber, k);
        EXPECT_EQ(result.Stored[i].CurveNumber, k);
        const auto record = ReadProjectRecord(ResultsFile(), k);
        ASSERT_TRUE(record);
        EXPECT_EQ(record->SpecimenNo, "S" + std::to_string(slots[i]));
        EXPECT_EQ(record->RecordNumber, k);
        EXPECT_EQ(record->CurveNumber, k);
        EXPECT_EQ(std::filesystem::file_size(dir / "Proj" / (name + ".Hea")), 510u);
        EXPECT_NE(FileText(dir / "Proj" / (name + ".Hea")).find("Kunde"), std::string::npos);
        EXPECT_EQ(FileText(dir / "Proj" / (name + ".Dia")),
                  FileText(dir / (std::to_string(slots[i]) + ".Dia")));
        EXPECT_NE(FileText(dir / "Proj" / (name + ".Txt")).find("slot " + std::to_string(slots[i])),
                  std::string::npos);
    }

    // Without curves: curve number 0 and neither curve nor raw-data copy.
    P().SaveCurves = 0;
    const ProjectStoreResult without = Store({1}, *sink);
    ASSERT_EQ(without.Stored.size(), 1u);
    EXPECT_EQ(without.Stored[0].RecordNumber, 9);
    EXPECT_EQ(ReadProjectRecord(ResultsFile(), 9)->CurveNumber, 0);
    EXPECT_TRUE(std::filesystem::exists(dir / "Proj" / "9.Hea"));
    EXPECT_FALSE(std::filesystem::exists(dir / "Proj" / "9.Dia"));
    EXPECT_FALSE(std::filesystem::exists(dir / "Proj" / "9.Txt"));
    EXPECT_EQ(CountRecords(ResultsFile()).Records, 9);
    EXPECT_FALSE(ReadProjectRecord(ResultsFile(), 10));
    EXPECT_FALSE(ReadProjectRecord(ResultsFile(), 0));
}

TEST_F(ProjectStoreTest, DeletedRecordsKeepTheirNumbersAndAreNeverListed) {
    AppendRecords(2);
    // A record that carries the mark whatever its test type or content.
    ResultsRecord marked = Record("Marked");
    marked.Results[49] = kDeletionMark;
    ASSERT_TRUE(AppendRecord(ResultsFile(), marked, 0, 3).Written);
    AppendRecords(5);
    const ByteImage before = *ReadWholeFile(ResultsFile());

    ASSERT_TRUE(MarkRecordDeleted(ResultsFile(), 8));
    EXPECT_FALSE(MarkRecordDeleted(ResultsFile(), 9));
    ByteImage after = *ReadWholeFile(ResultsFile());
    EXPECT_TRUE(IsDeletedRecord(*ReadProjectRecord(ResultsFile(), 8)));
    // Only the four bytes of the mark changed.
    std::copy_n(before.begin() + 7 * 544 + 447, 4, after.begin() + 7 * 544 + 447);
    EXPECT_EQ(after, before);

    FillSlot(1);
    const ProjectStoreResult result = Store({1}, *sink);
    ASSERT_EQ(result.Stored.size(), 1u);
    EXPECT_EQ(result.Stored[0].RecordNumber, 9);
    EXPECT_EQ(Listed(ResultsFile(), RecordFilter{}), (std::vector<int>{1, 2, 4, 5, 6, 7, 9}));
}

TEST_F(ProjectStoreTest, AnInterruptedWriteLeavesTheWholeRecordsReadable) {
    AppendRecords(3);
    const std::string stored = FileText(ResultsFile());
    std::ofstream(ResultsFile(), std::ios::binary | std::ios::app) << std::string(200, '\x7f');

    const RecordCount count = CountRecords(ResultsFile());
    EXPECT_EQ(count.Records, 3);
    EXPECT_EQ(count.TornBytes, 200u);
    EXPECT_NE(count.Message.find("Proj.Res"), std::string::npos);
    EXPECT_EQ(Listed(ResultsFile(), RecordFilter{}), (std::vector<int>{1, 2, 3}));
    EXPECT_FALSE(ReadProjectRecord(ResultsFile(), 4));

    FillSlot(1);
    const ProjectStoreResult result = Store({1}, *sink);
    ASSERT_EQ(result.Stored.size(), 1u);
    EXPECT_EQ(result.Stored[0].RecordNumber, 4);
    EXPECT_TRUE(Mentions(result.Messages, "Proj.Res"));
    const std::string now = FileText(ResultsFile());
    ASSERT_EQ(now.size(), 4 * 544u);
    EXPECT_TRUE(now.substr(0, 3 * 544) == stored);
    EXPECT_EQ(ReadProjectRecord(ResultsFile(), 4)->SpecimenNo, "S1");
    EXPECT_EQ(ReadProjectRecord(ResultsFile(), 4)->RecordNumber, 4);
    EXPECT_EQ(CountRecords(ResultsFile()).TornBytes, 0u);
}

TEST_F(ProjectStoreTest, AFailedWriteLeavesNoPartOfTheRecord) {
    AppendRecords(2);
    const std::string stored = FileText(ResultsFile());
    // A file-size limit 100 bytes behind the records: the write stops inside the record.
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
    const rlimit saved = limit;
    limit.rlim_cur = 2 * 544 + 100;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    const AppendResult appended = AppendRecord(ResultsFile(), Record("Lost"), 0, 3);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);

    EXPECT_FALSE(appended.Written);
    EXPECT_EQ(std::filesystem::file_size(ResultsFile()), 2 * 544u);
    EXPECT_TRUE(FileText(ResultsFile()) == stored);

    // A results "file" that is a directory takes nothing either.
    std::filesystem::create_directories(dir / "Dir.Res");
    EXPECT_FALSE(AppendRecord(dir / "Dir.Res", Record("X"), 0, 1).Written);
    EXPECT_EQ(CountRecords(dir / "Dir.Res").Records, 0);
    EXPECT_EQ(CountRecords(dir / "Missing.Res").Records, 0);
}

TEST_F(ProjectStoreTest, FilesThatCannotBeWrittenAreReported) {
    FillSlot(1);
    std::filesystem::remove(dir / "1.Dia");
    std::filesystem::remove(dir / "1.Txt");
    P().SaveCurves = 1;
    P().RawDataExport = 1;
    const ProjectStoreResult result = Store({1}, *sink);
    ASSERT_EQ(result.Stored.size(), 1u);
    EXPECT_TRUE(Mentions(result.Messages, "1.Dia")) << ::testing::PrintToString(result.Messages);
    EXPECT_TRUE(Mentions(result.Messages, "1.Txt"));

    // A project whose directory is gone stores nothing and says where it could not write.
    context.ProjectName = "Gone";
    const ProjectStoreResult gone = Store({1}, *sink);
    EXPECT_TRUE(gone.Stored.empty());
    EXPECT_TRUE(Mentions(gone.Messages, "Gone.Res"));
    EXPECT_EQ(sink->Rows.size(), 1u);  // the export row of the first store only
}

TEST_F(ProjectStoreTest, EachTestWritesItsLineThenItsAliasRowThenItsExportRow) {
    FillSlot(1);
    FillSlot(2);
    state->TestSeries.Slots[2].SpecimenNo = "   ";
    state->TestSeries.Slots[2].Remark = "";
    P().AsciiExport = 1;
    P().WriteAliasTable = 1;
    Store({2, 1}, *sink);
    EXPECT_EQ(sink->Events,
              (std::vector<std::string>{"alias - after 1", "export Data_EN10002 - after 1",
                                        "alias S1 after 2", "export Data_EN10002 S1 after 2"}));
    // "-" stands for blank text in the rows only; the results file keeps the text.
    EXPECT_EQ(ReadProjectRecord(ResultsFile(), 1)->SpecimenNo, "   ");
    const ExportRow& row = sink->Rows.at(1);
    EXPECT_EQ(row.Fields.at(0).Text, "-");
    EXPECT_EQ(row.Fields.at(26).Name, "Comment");
    EXPECT_EQ(row.Fields.at(26).Text, "-");
    EXPECT_EQ(row.Fields.at(3).Number, 46370.0);  // the day of storing

    // The other test types write no alias row, and their own result file.
    P().TestType = 3;
    RecordingSink shear(dir / "Data_ENEN2563.Asc");
    Store({1, 2}, shear);
    EXPECT_EQ(shear.Events, (std::vector<std::string>{"export Data_EN2563 S1 after 1",
                                                      "export Data_EN2563 - after 2"}));
}

TEST(RecordFilterTest, Patterns) {
    struct Case {
        const char* pattern;
        const char* field;
        bool matches;
    };
    const Case cases[] = {
        {"12*", "A123", true},    {"12*", "1-2", false},   {"*12*", "x12", true},
        {"ab*", "AB1", false},    {"AB12", "ab12", true},  {"AB12", "AB123", false},
        {"AB12", " AB12", false}, {"*", "anything", true}, {"Ä*", "xÄ", true},
        {"ä1", "Ä1", false},      {"", "", true},          {"", "x", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PatternMatches(c.pattern, c.field), c.matches) << c.pattern << " / " << c.field;
    }
}

TEST(RecordFilterTest, Criteria) {
    RecordFilter filter;
    filter.ShowAll = false;
    filter.ByDate = true;
    filter.FromDay = 46000;
    filter.ToDay = 46002;
    filter.ByGaugeLength = true;
    filter.GaugeLength = 80;
    struct Case {
        double date;
        float lo;
        bool accepted;
    };
    const Case cases[] = {
        {46000.0, 80.0f, true},  {46002.99, 80.9f, true},  {45999.99, 80.0f, false},
        {46003.0, 80.0f, false}, {46001.0, 79.99f, false}, {46001.0, 81.0f, false},
    };
    for (const Case& c : cases) {
        ResultsRecord r;
        r.Date = c.date;
        r.Lo = c.lo;
        EXPECT_EQ(FilterAccepts(filter, r), c.accepted) << c.date << " / " << c.lo;
        filter.ShowAll = true;
        EXPECT_TRUE(FilterAccepts(filter, r));
        filter.ShowAll = false;
    }
}

// The scan filters the stored bytes: it must list exactly what the filter accepts.
TEST_F(ProjectStoreTest, TheScanListsWhatTheFilterAccepts) {
    const char* numbers[] = {"A12", "a12", "B123", "Ä12x", "12", "x", "", "€12"};
    for (int i = 0; i < 8; ++i) {
        ResultsRecord r = Record(numbers[i]);
        r.SpecimenId = i % 2 ? "Kennung" : "kennung";
        r.Date = 46000 + i % 3;
        ASSERT_TRUE(AppendRecord(ResultsFile(), r, 0, i + 1).Written);
    }
    for (const char* pattern : {"12*", "A12", "Ä*", "€*", "Ω*", "x", "*"}) {
        for (bool byId : {false, true}) {
            RecordFilter filter;
            filter.ShowAll = false;
            filter.BySpecimenNo = true;
            filter.SpecimenNoPattern = pattern;
            filter.ByDate = true;
            filter.FromDay = 46001;
            filter.ToDay = 46002;
            filter.ById = byId;
            filter.IdPattern = "Kenn*";
            std::vector<int> expected;
            ReadProjectRecords(ResultsFile(), [&](int n, const ResultsRecord& r) {
                if (FilterAccepts(filter, r)) expected.push_back(n);
                return true;
            });
            EXPECT_EQ(Listed(ResultsFile(), filter), expected) << pattern;
        }
    }
}

}  // namespace
}  // namespace quorvex
