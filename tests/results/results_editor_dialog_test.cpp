// The results editor as the operator uses it: a small project listed through the filter,
// the deleted record hidden, selection by click, space and Ctrl+A with the statistics block,
// the pop-up menu's delete and edit, and the series stored into the project.
#include <gtest/gtest.h>

#include <QMenu>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "evaluation/project_store.h"
#include "evaluation/test_files.h"
#include "gui_test_support.h"
#include "results/filter_dialog.h"
#include "results/results_editor.h"
#include "temp_dir.h"
#include "ui/captions.h"
#include "ui/stored_texts.h"

namespace quorvex {
namespace {

namespace fs = std::filesystem;

class ResultsEditorDialog : public testing_support::TempDirTest {
  protected:
    void SetUp() override {
        TempDirTest::SetUp();
        test = std::make_unique<TestState>();
        test->Parameters.TestType = 0;
        fs::create_directories(dir / "P");
        struct Row {
            const char* specimen;
            int day;
            float lo;
            float rm;
        };
        const Row rows[] = {{"A12x", 10, 50.4f, 9},
                            {"ab12", 11, 80.0f, 10},
                            {"AB12", 12, 50.9f, 11},
                            {"X9", 13, 50.0f, 12}};
        int n = 0;
        for (const Row& row : rows) {
            ResultsRecord r;
            r.SpecimenNo = row.specimen;
            r.Date = DaysFromCivilDate(2024, 1, row.day) + 0.25;
            r.Lo = row.lo;
            r.Rm = row.rm;
            ++n;
            ASSERT_TRUE(AppendRecord(Results(), r, n, n).Written);
            HeaderLines header;
            header[0] = "Order " + std::to_string(n);
            ASSERT_TRUE(WriteHeaderFile(dir / "P" / (std::to_string(n) + ".Hea"), header));
        }
        ASSERT_TRUE(MarkRecordDeleted(Results(), 4));
        filter = std::make_unique<TFilterdialog>(ui, test->Parameters, "dd.MM.yyyy");
    }

    fs::path Results() const { return dir / "P" / "P.Res"; }

    EditorServices Services() {
        EditorServices s;
        s.WorkingDirectory = dir;
        s.ProjectName = "P";
        s.Filter = filter.get();
        s.StoreSlots = [this](const std::vector<int>& seriesSlots) {
            storedSlots = seriesSlots;
            return true;
        };
        s.ReopenRecord = [this](int number) { reopened = number; };
        s.ShowHeaderData = [this](const HeaderLines& lines) { shownHeader = lines[0]; };
        return s;
    }

    // The specimen numbers the grid lists after OK in the filter.
    std::vector<std::string> Listed(const std::function<void(TFilterdialog&)>& setFilter) {
        setFilter(*filter);
        filter->OKBtnClick();
        TDatabaseDialog editor(ui, *test, Services(), false);
        std::vector<std::string> listed;
        for (int row = 0; row < editor.Model().TestCount(); ++row) {
            listed.push_back(editor.Model().Test(row).SpecimenNo);
        }
        return listed;
    }

    RecordedMessages messages;
    StoredTexts texts;
    UiContext ui{messages, texts, {}, nullptr};
    std::unique_ptr<TestState> test;
    std::unique_ptr<TFilterdialog> filter;
    std::vector<int> storedSlots;
    int reopened = 0;
    std::string shownHeader;
};

TEST_F(ResultsEditorDialog, TheFilterChoosesTheListedRecordsAndHidesTheDeletedOne) {
    using V = std::vector<std::string>;
    EXPECT_EQ(Listed([](TFilterdialog&) {}), (V{"A12x", "ab12", "AB12"}));
    EXPECT_EQ(Listed([](TFilterdialog& f) {
                  f.ShowAllBox()->setChecked(false);
                  f.SpecimenNoBox()->setChecked(true);
                  f.SpecimenNoEdit()->setText(QStringLiteral("12*"));
              }),
              (V{"A12x", "ab12", "AB12"}));
    EXPECT_EQ(Listed([](TFilterdialog& f) { f.SpecimenNoEdit()->setText(QStringLiteral("AB12")); }),
              (V{"ab12", "AB12"}));
    EXPECT_EQ(Listed([](TFilterdialog& f) {
                  f.SpecimenNoBox()->setChecked(false);
                  f.DateBox()->setChecked(true);
                  f.FromEdit()->setText(QStringLiteral("11.01.2024"));
                  f.ToEdit()->setText(QStringLiteral("13.01.2024"));
              }),
              (V{"ab12", "AB12"}));
    EXPECT_EQ(Listed([](TFilterdialog& f) {
                  f.DateBox()->setChecked(false);
                  f.GaugeLengthBox()->setChecked(true);
                  f.GaugeLengthEdit()->setText(QStringLiteral("50"));
              }),
              (V{"A12x", "AB12"}));
    EXPECT_EQ(test->Parameters.FilterRange, 50.0);

    // No criterion: text 182, and the last accepted filter stays.
    filter->GaugeLengthBox()->setChecked(false);
    messages.shown.clear();
    filter->OKBtnClick();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("Keine gültiges Filterkriterium!"));
    EXPECT_TRUE(filter->Filter().ByGaugeLength);
}

// The column headings follow the operator's language; symbols and units stay as they are.
TEST_F(ResultsEditorDialog, TheColumnHeadingsAreInTheOperatorsLanguage) {
    filter->OKBtnClick();
    ApplyLanguage(1000, texts);
    TDatabaseDialog editor(ui, *test, Services(), false);
    auto heading = [&](int column) {
        return editor.Model().headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
    };
    EXPECT_EQ(heading(1), QStringLiteral(" Specimen number\n"));
    EXPECT_EQ(heading(3), QStringLiteral(" Date/time\n DD.MM.YYYY"));
    EXPECT_EQ(heading(editor.Model().columnCount() - 1), QStringLiteral("Header\nindex"));
    ApplyLanguage(0, texts);
}

TEST_F(ResultsEditorDialog, SelectionStatisticsHeaderAndPopupMenu) {
    test->Parameters.HeaderValue[0] = "Before";
    test->Parameters.StatCount = 1;
    test->Parameters.Results[9].PrintInList = 1;
    TDatabaseDialog editor(ui, *test, Services(), false);
    editor.show();
    EXPECT_EQ(editor.windowTitle(), QStringLiteral("Resultate-Projekt bearbeiten"));
    EXPECT_FALSE(editor.StoreButton()->isVisible());
    ASSERT_EQ(editor.Model().TestCount(), 3);
    EXPECT_EQ(editor.Model().CellText(2, 28).trimmed(), QStringLiteral("3"));

    editor.CellClick(1, 1);
    EXPECT_EQ(editor.SelectedCount()->text(), QStringLiteral("1"));
    EXPECT_EQ(test->Parameters.HeaderValue[0], "Order 2");  // the last selected test's header
    EXPECT_TRUE(editor.PopupMenuOffered());
    editor.CellClick(0, 28);  // the record-number column shows the header, no selection
    EXPECT_EQ(shownHeader, "Order 1");
    EXPECT_EQ(editor.SelectedCount()->text(), QStringLiteral("1"));

    editor.Grid()->setFocus();
    editor.Grid()->setCurrentIndex(editor.Model().index(2, 1));
    QTest::keyClick(editor.Grid(), Qt::Key_Space);
    EXPECT_EQ(editor.Model().SelectedRows(), (std::vector<int>{1, 2}));
    // A right click acts on the row under the pointer, whatever else is selected.
    EXPECT_TRUE(editor.PopupMenuOffered());
    const QRect first = editor.Grid()->visualRect(editor.Model().index(0, 1));
    emit editor.Grid()->customContextMenuRequested(first.center());
    EXPECT_EQ(editor.Grid()->currentIndex().row(), 0);
    for (QMenu* menu : editor.findChildren<QMenu*>()) menu->hide();
    editor.Grid()->setCurrentIndex(editor.Model().index(2, 1));
    QTest::keyClick(editor.Grid(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(editor.SelectedCount()->text(), QStringLiteral("3"));
    ASSERT_FALSE(editor.Model().StatisticsBlock().empty());
    const int last = editor.Model().rowCount() - 1;
    EXPECT_EQ(editor.Model().CellText(last, 0), QStringLiteral("Anzahl der Werte"));
    EXPECT_EQ(editor.Model().CellText(last, 14).trimmed(), QStringLiteral("3"));
    EXPECT_EQ(editor.Model().CellText(0, 0), QStringLiteral("    1*"));

    editor.ClearSelectionClick();
    EXPECT_TRUE(editor.Model().SelectedRows().empty());
    messages.shown.clear();
    editor.ClearSelectionClick();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("Es wurden keine Versuch selektiert!"));

    // Delete the second listed record (number 2): No keeps it, Yes marks it and rescans.
    editor.CellClick(1, 1);
    editor.Grid()->setCurrentIndex(editor.Model().index(1, 1));
    editor.DeleteRecordClick();
    EXPECT_EQ(editor.Model().TestCount(), 3);
    messages.answers = {QMessageBox::Yes};
    editor.DeleteRecordClick();
    EXPECT_EQ(editor.Model().TestCount(), 2);
    EXPECT_TRUE(IsDeletedRecord(*ReadProjectRecord(Results(), 2)));
    EXPECT_EQ(editor.Model().CellText(1, 28).trimmed(), QStringLiteral("3"));
    EXPECT_EQ(editor.Model().CellText(1, 0).trimmed(), QStringLiteral("3"));  // "Nr.": record 3

    editor.reject();
    EXPECT_EQ(test->Parameters.HeaderValue[0], "Before");  // restored at closing
}

TEST_F(ResultsEditorDialog, EditReopensTheRecordOfTheCurrentRowAndKeepsItsHeader) {
    TDatabaseDialog editor(ui, *test, Services(), false);
    editor.show();
    editor.CellClick(2, 1);
    editor.Grid()->setCurrentIndex(editor.Model().index(2, 1));
    messages.answers = {QMessageBox::Yes};
    editor.EditRecordClick();
    EXPECT_EQ(reopened, 3);
    EXPECT_TRUE(editor.Reopened());
    EXPECT_FALSE(editor.isVisible());
    EXPECT_EQ(test->Parameters.HeaderValue[0], "Order 3");
}

TEST_F(ResultsEditorDialog, SeriesModeListsTheSeriesSelectedAndStoresItOnce) {
    test->Parameters.StatMean = 1;
    test->Parameters.Results[9].PrintInList = 1;
    for (int slot : {1, 2, 3}) {
        test->TestSeries.Slots[static_cast<std::size_t>(slot)].Rm =
            100.0f * static_cast<float>(slot);
    }
    TDatabaseDialog editor(ui, *test, Services(), true);
    editor.show();
    EXPECT_EQ(editor.windowTitle(), QStringLiteral("aktuelle Serie bearbeiten"));
    EXPECT_FALSE(editor.FilterButton()->isVisible());
    EXPECT_EQ(editor.SelectedCount()->text(), QStringLiteral("3"));
    const int mean = editor.Model().StatisticsFirstRow();
    EXPECT_EQ(editor.Model().CellText(mean, 0), QStringLiteral("Mittelwert"));
    EXPECT_EQ(editor.Model().CellText(mean, 14).trimmed(), QStringLiteral("200"));
    EXPECT_EQ(editor.Model().CellText(0, 28), QString());

    // Clearing the selection asks first; No keeps it.
    editor.ClearSelectionClick();
    EXPECT_EQ(editor.Model().SelectedRows().size(), 3u);

    editor.StoreClick();  // the question answered No
    EXPECT_TRUE(storedSlots.empty());
    editor.CellClick(0, 1);  // slot 1 out of the selection
    messages.answers = {QMessageBox::Yes};
    editor.StoreClick();
    EXPECT_EQ(storedSlots, (std::vector<int>{2, 3}));
    EXPECT_TRUE(editor.Stored());
    messages.shown.clear();
    editor.StoreClick();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("Die Versuche wurden bereits gespeichert!"));

    QTest::keyClick(editor.Grid(), Qt::Key_F9);
    EXPECT_FALSE(editor.isVisible());
}

}  // namespace
}  // namespace quorvex
