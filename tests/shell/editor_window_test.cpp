// The results editor reached from the main window: three tests run on the simulated machine
// and kept with F6, then F10, OK in the filter and Ctrl+A list them with the statistics block;
// "Datensatz bearbeiten" re-opens a stored test with the results it was stored with.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QToolBar>
#include <algorithm>
#include <QTableView>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "evaluation/project_store.h"
#include "evaluation/text_functions.h"
#include "machine/sim/virtual_machine.h"
#include "results/filter_dialog.h"
#include "report/report_painter.h"
#include "specimen/specimen_dialog.h"
#include "results/results_editor.h"
#include "shell/lu_dialog.h"
#include "shell/results_project.h"
#include "support/pdf_text.h"
#include "window_fixture.h"

namespace quorvex {
namespace {

namespace fs = std::filesystem;

class EditorWindowTest : public testing::WindowFixture {
  protected:
    void StartWithProject() {
        PrepareWorkingDirectory(testing::kSimulatedDevices);
        ShowWindow(&machine, &clock);
        ASSERT_TRUE(app.DaqPresent);
        ParameterSet& p = test->Parameters;
        p.TestType = 0;
        p.Stages = {};
        p.Stages[0] = {1, 0, 1, 2, 1};
        p.Stages[1] = {1, 1, 1, 20, 1};
        p.MessageTimeSec = 2;
        p.SaveCurves = 1;
        p.StatMean = 1;
        p.StatCount = 1;
        p.Results[9].PrintInList = 1;  // Rm takes part in the statistics
        p.Results[9].PrintInReport = 1;  // and is printed
        ASSERT_TRUE(CreateResultsProject(work, QStringLiteral("P")).Opened);
        app.ProjectOpen = true;
        app.ProjectName = QStringLiteral("P");
    }

    void RunTensileTest() { RunTensileTestToBreak(clock); }

    ManualClock clock;
    VirtualMachine machine{SimulationConfig{}, clock};
};

TEST_F(EditorWindowTest, F10ListsTheStoredTestsWithStatisticsAndEditReopensOne) {
    StartWithProject();
    for (int n = 1; n <= 3; ++n) {
        SCOPED_TRACE(n);
        RunTensileTest();
        ASSERT_TRUE(window->FormKeyDown(Qt::Key_F6, Qt::NoModifier));
    }
    const fs::path results = work / "P" / "P.Res";
    ASSERT_EQ(CountRecords(results).Records, 3);
    const ResultsRecord second = *ReadProjectRecord(results, 2);

    int rows = -1;
    bool statistics = false;
    QString count;
    int curves = 0;
    bool pdfWritten = false;
    const fs::path pdf = work / "three.pdf";
    WhenModal<TFilterdialog>([](TFilterdialog* d) { d->OkButton()->click(); });
    WhenModal<TDatabaseDialog>([&](TDatabaseDialog* d) {
        rows = d->Model().TestCount();
        d->Grid()->setFocus();
        QTest::keyClick(d->Grid(), Qt::Key_A, Qt::ControlModifier);
        count = d->Model().CellText(d->Model().rowCount() - 1, 0);
        statistics = !d->Model().StatisticsBlock().empty();
        // "Dia&gramm": the three stored curves; the list and the diagram as a PDF.
        d->DiagramClick();
        for (int k = 1; k <= 3; ++k) curves += d->Diagram()->HasCurve(k) ? 1 : 0;
        pdfWritten = d->SavePdf(QString::fromStdString(pdf.string()));
        d->FormClick();
        // One test selected: the pop-up menu's edit re-opens it.
        d->ClearSelectionClick();
        d->CellClick(1, 1);
        d->Grid()->setCurrentIndex(d->Model().index(1, 1));
        messages.answers = {QMessageBox::Yes};
        d->EditRecordClick();
    });
    ASSERT_TRUE(window->FormKeyDown(Qt::Key_F10, Qt::NoModifier));
    EXPECT_EQ(rows, 3);
    EXPECT_TRUE(statistics);
    EXPECT_EQ(count, QStringLiteral("Anzahl der Werte"));
    EXPECT_EQ(curves, 3);
    ASSERT_TRUE(pdfWritten);
    if (const auto text = testing_support::PdfText(pdf)) {
        EXPECT_NE(text->find(FormatFixed(second.Rm, 1, test->Parameters.Results[9].Decimals)), std::string::npos) << *text;
        EXPECT_NE(text->find("Dehnung %"), std::string::npos);
    }

    const ResultsRecord& reopened = test->Current();
    EXPECT_EQ(test->Parameters.SpecimenNo, second.SpecimenNo);
    EXPECT_FLOAT_EQ(reopened.Rm, second.Rm);
    EXPECT_FLOAT_EQ(reopened.Rp, second.Rp);
    EXPECT_FLOAT_EQ(reopened.Ag, second.Ag);
    EXPECT_FLOAT_EQ(reopened.At, second.At);
    EXPECT_FLOAT_EQ(reopened.E, second.E);
    EXPECT_TRUE(app.LastTestNew);
    EXPECT_FALSE(app.LastTestSaved);
}

TEST_F(EditorWindowTest, TheSingleTestReportPrintsTheRowAndTheCurveOfTheCurrentTest) {
    StartWithProject();
    QAction* printTest = window->SeriesBar()->findChild<QAction*>(QStringLiteral("PrintTest"));
    ASSERT_NE(printTest, nullptr);
    EXPECT_TRUE(printTest->isEnabled());
    printTest->trigger();  // no test yet
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, texts.Text(174));
    ASSERT_NE(window->Printer(), nullptr);

    RunTensileTest();
    const ResultsReport report = window->CurrentTestReport();
    ASSERT_EQ(report.Rows.size(), 1u);
    const auto rm = std::find_if(report.Columns.begin(), report.Columns.end(),
                                 [](const ReportColumnTitle& c) { return c.Name == "Rm"; });
    ASSERT_NE(rm, report.Columns.end());
    const std::string cell =
        report.Rows[0].Cells[static_cast<std::size_t>(rm - report.Columns.begin())];
    EXPECT_EQ(cell, FormatFixed(test->Current().Rm, 1, test->Parameters.Results[9].Decimals));
    const auto diagram = window->CurrentTestDiagram();
    EXPECT_GT(diagram->Points(1).size(), 100u);
    const ReportDiagram printed{diagram.get(), window->CurrentTestLook()};
    const fs::path pdf = work / "test.pdf";
    ASSERT_TRUE(WriteReportPdf(QString::fromStdString(pdf.string()), report, &printed));
    if (const auto text = testing_support::PdfText(pdf)) {
        EXPECT_NE(text->find(cell), std::string::npos) << *text;
        EXPECT_NE(text->find("Spannung"), std::string::npos);
    }
}

TEST_F(EditorWindowTest, AFullSeriesOpensTheSeriesEditorAndItsStoreEmptiesTheSeries) {
    StartWithProject();
    test->Parameters.SaveCurves = 0;
    for (int slot = 1; slot <= Series::kMaxTests; ++slot) {
        ResultsRecord& r = test->TestSeries.Slots[static_cast<std::size_t>(slot)];
        r.Rm = static_cast<float>(400 + slot);
        r.SpecimenNo = "S" + std::to_string(slot);
    }
    int listed = 0;
    std::size_t selected = 0;
    WhenModal<TDatabaseDialog>([&](TDatabaseDialog* d) {
        listed = d->Model().TestCount();
        selected = d->Model().SelectedRows().size();
        messages.answers = {QMessageBox::Yes};  // text 210
        d->StoreButton()->click();
        d->CloseButton()->click();
    });
    WhenModal<TBtnRightDlg3>([](TBtnRightDlg3* d) { d->reject(); });
    messages.answers = {QMessageBox::Ok};  // the series is full
    window->FormKeyDown(Qt::Key_F2, Qt::NoModifier);

    EXPECT_EQ(listed, Series::kMaxTests);
    EXPECT_EQ(selected, static_cast<std::size_t>(Series::kMaxTests));
    EXPECT_EQ(CountOccupiedSlots(test->TestSeries), 0);
    ASSERT_EQ(CountRecords(work / "P" / "P.Res").Records, Series::kMaxTests);
    EXPECT_EQ(ReadProjectRecord(work / "P" / "P.Res", 10)->SpecimenNo, "S10");
}

}  // namespace
}  // namespace quorvex
