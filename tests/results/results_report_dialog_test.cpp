// The editor's printouts as the operator makes them: three stored tests selected with
// Ctrl+A, the list with its statistics as a PDF and through the printer, the overlay
// diagram on the screen and in the diagram printout; read back with pdftotext.
#include <gtest/gtest.h>

#include <QPrinter>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "gui_test_support.h"
#include "pdf_text.h"
#include "report_project.h"
#include "results/overlay_widget.h"
#include "results/results_editor.h"
#include "temp_dir.h"
#include "ui/stored_texts.h"

namespace quorvex {
namespace {

namespace fs = std::filesystem;
using testing_support::PdfPageCount;
using testing_support::PdfText;

class ResultsReportDialog : public testing_support::TempDirTest {
  protected:
    void SetUp() override {
        TempDirTest::SetUp();
        testing_support::WriteReportProject(dir);
        test = std::make_unique<TestState>();
        test->Parameters = testing_support::ReportParameters();
        test->Parameters.HeaderValue[0] = "laufender Auftrag";
    }

    std::unique_ptr<TDatabaseDialog> OpenEditor() {
        EditorServices s;
        s.WorkingDirectory = dir;
        s.ProjectName = "P";
        auto editor = std::make_unique<TDatabaseDialog>(ui, *test, std::move(s), false);
        QTest::keyClick(editor->Grid(), Qt::Key_A, Qt::ControlModifier);
        return editor;
    }

    RecordedMessages messages;
    StoredTexts texts;
    UiContext ui{messages, texts, {}, nullptr};
    std::unique_ptr<TestState> test;
};

TEST_F(ResultsReportDialog, ThePdfOfThreeRecordsShowsTheHeadTheRowsAndTheStatistics) {
    auto editor = OpenEditor();
    ASSERT_EQ(editor->Model().SelectedRows().size(), 3u);
    const fs::path pdf = dir / "list.pdf";
    ASSERT_TRUE(editor->SavePdf(QString::fromStdString(pdf.string())));
    const auto text = PdfText(pdf);
    if (!text) GTEST_SKIP() << "pdftotext is not installed";
    for (const char* expected :
         {"Werkstoffprüfung Nord", "Zugversuch", "Datum:", "Auftrag", "Probennummer", "Rm",
          "PR-101", "PR-102", "PR-103", "412.5", "425.5", "431.0", "312.5", "21.5", "23.0",
          "Mittelwert", "423.0", "Minimum", "Maximum"}) {
        EXPECT_NE(text->find(expected), std::string::npos) << expected << " in\n" << *text;
    }
    // The header printed is that of the last selected test, not the running one.
    EXPECT_NE(text->find("Auftrag-3"), std::string::npos);
    EXPECT_EQ(text->find("laufender Auftrag"), std::string::npos);
    // PR-102 has no Ae: its row shows no "-" placeholder.
    const std::size_t row = text->find("PR-102");
    const std::string line = text->substr(row, text->find('\n', row) - row);
    EXPECT_EQ(line.find('-', 6), std::string::npos) << line;
    EXPECT_EQ(PdfPageCount(*text), 1);
    // Closing gives the running header data back.
    editor->reject();
    EXPECT_EQ(test->Parameters.HeaderValue[0], "laufender Auftrag");
}

TEST_F(ResultsReportDialog, TheDiagramShowsTheCurvesAndItsPrintoutGoesThroughThePrinter) {
    auto editor = OpenEditor();
    ASSERT_TRUE(editor->DiagramButton()->isEnabled());
    QTest::mouseClick(editor->DiagramButton(), Qt::LeftButton);
    ASSERT_TRUE(editor->DiagramShown());
    ASSERT_NE(editor->Diagram(), nullptr);
    EXPECT_EQ(editor->Diagram()->CurveCount(), 3);
    for (int k = 1; k <= 3; ++k) EXPECT_EQ(editor->Diagram()->Points(k).size(), 100u);
    EXPECT_TRUE(editor->FormButton()->isEnabled());
    // The screen picture holds the colour of the second curve (blue).
    editor->DiagramWidget()->resize(800, 500);
    editor->DiagramWidget()->Redraw();
    const QImage picture = editor->DiagramWidget()->Picture().toImage();
    bool blue = false;
    for (int y = 0; y < picture.height() && !blue; ++y) {
        for (int x = 0; x < picture.width() && !blue; ++x) {
            blue = picture.pixelColor(x, y) == QColor(0, 0, 255);
        }
    }
    EXPECT_TRUE(blue);
    // The y title ("Spannung N/mm²") stands whole beside the frame: its letters reach well
    // below the frame's top edge instead of running off the top of the picture.
    int titleRows = 0;
    for (int y = 40; y < picture.height(); ++y) {
        for (int x = 0; x < 30; ++x) {
            if (picture.pixelColor(x, y).lightness() < 128) {
                ++titleRows;
                break;
            }
        }
    }
    EXPECT_GT(titleRows, 60);
    // In the diagram mode the editor still fits a screen of 1024 x 768.
    EXPECT_LE(editor->minimumSizeHint().width(), 1024);
    EXPECT_LE(editor->minimumSizeHint().height(), 700);

    // The diagram printout through Qt Print Support, the printer writing a PDF file.
    QPrinter printer(QPrinter::HighResolution);
    const fs::path pdf = dir / "diagram.pdf";
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdf.string()));
    printer.setFullPage(true);
    ASSERT_TRUE(editor->PrintTo(printer));
    ASSERT_TRUE(fs::exists(pdf));
    const auto text = PdfText(pdf);
    if (!text) GTEST_SKIP() << "pdftotext is not installed";
    for (const char* expected : {"PR-101", "PR-103", "Dehnung %", "Spannung", "500.0"}) {
        EXPECT_NE(text->find(expected), std::string::npos) << expected << " in\n" << *text;
    }
    // The diagram printout lists the tests without statistics.
    EXPECT_EQ(text->find("Mittelwert"), std::string::npos);

    QTest::mouseClick(editor->FormButton(), Qt::LeftButton);
    EXPECT_FALSE(editor->DiagramShown());
    EXPECT_FALSE(editor->Grid()->isHidden());
}

TEST_F(ResultsReportDialog, PrintingAndTheDiagramWithNothingSelectedSayNoTestIsSelected) {
    EditorServices s;
    s.WorkingDirectory = dir;
    s.ProjectName = "P";
    TDatabaseDialog editor(ui, *test, std::move(s), false);
    EXPECT_FALSE(editor.DiagramButton()->isEnabled());
    editor.DiagramClick();
    editor.PrintClick();
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[0].text, LoadText(207, 0));
    EXPECT_EQ(messages.shown[1].kind, MessageKind::Error);
    EXPECT_FALSE(editor.DiagramShown());
    EXPECT_FALSE(editor.SavePdf(QString::fromStdString((dir / "none.pdf").string())));
    EXPECT_FALSE(fs::exists(dir / "none.pdf"));
}

}  // namespace
}  // namespace quorvex
