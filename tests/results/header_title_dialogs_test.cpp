// The header data dialog and the title and header definition as the operator uses them, and
// the header lines on their way into the header file of a stored test.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <fstream>

#include "evaluation/series_store.h"
#include "evaluation/test_files.h"
#include "evaluation/test_state.h"
#include "gui_test_support.h"
#include "results/header_data_dialog.h"
#include "results/title_definition_dialog.h"
#include "temp_dir.h"
#include "ui/stored_texts.h"

namespace quorvex {
namespace {

class HeaderDialogs : public testing_support::TempDirTest {
  protected:
    RecordedMessages messages;
    StoredTexts texts;
    UiContext ui{messages, texts, {}, nullptr};
    ParameterSet parameters;
};

TEST_F(HeaderDialogs, HeaderDataFillsTheLinesAndReachesTheStoredTest) {
    parameters.HeaderLabel[0] = "Kunde";
    parameters.HeaderLabel[1] = "   ";
    parameters.HeaderValue[0] = "Alt";
    TKopfdatenDlg dialog(ui, parameters);
    dialog.open();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Kopfdaten"));
    EXPECT_EQ(dialog.Title(0)->text(), QStringLiteral("Kunde:"));
    EXPECT_EQ(dialog.Title(1)->text(), QStringLiteral("nicht definiert:"));
    EXPECT_TRUE(dialog.Title(1)->styleSheet().contains(QStringLiteral("red")));
    EXPECT_EQ(dialog.Input(0)->text(), QStringLiteral("Alt"));
    EXPECT_EQ(dialog.Input(0)->maxLength(), 40);

    // Enter moves on and is swallowed; from line 10 to OK.
    QTest::keyClick(dialog.Input(3), Qt::Key_Return);
    EXPECT_EQ(dialog.focusWidget(), dialog.Input(4));
    QTest::keyClick(dialog.Input(9), Qt::Key_Return);
    EXPECT_EQ(dialog.focusWidget(), dialog.OkButton());
    EXPECT_TRUE(dialog.isVisible());

    // "Löschen" answered Yes empties the inputs; Cancel then stores nothing.
    messages.answers.push_back(QMessageBox::Yes);
    dialog.ClearButton()->click();
    EXPECT_EQ(messages.shown.back().text, QStringLiteral("Wirklich alle Kopfdaten löschen?"));
    EXPECT_EQ(dialog.Input(0)->text(), QString());
    dialog.CancelButton()->click();
    EXPECT_EQ(parameters.HeaderValue[0], "Alt");

    dialog.open();
    dialog.Input(0)->setText(QStringLiteral("Müller GmbH"));
    dialog.Input(1)->setText(QStringLiteral("A-4711"));
    dialog.OkButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(parameters.HeaderValue[0], "Müller GmbH");

    // The lines go into the header file of the next stored test and read back the same.
    TestState state;
    state.Parameters = parameters;
    state.TestSeries.Current().Rm = 500;
    const StoredFiles stored = StoreTestInSeries(state, 1, dir, 46000.0);
    ASSERT_TRUE(stored.Header);
    HeaderLines lines;
    ASSERT_TRUE(ReadHeaderFile(SeriesFilePath(dir, 1, ".Hea"), lines).Loaded());
    EXPECT_EQ(lines[0], "Müller GmbH");
    EXPECT_EQ(lines[1], "A-4711");
}

TEST_F(HeaderDialogs, HeaderDataFromTheEditorIsReadOnly) {
    parameters.HeaderValue[4] = "Stahl";
    TKopfdatenDlg dialog(ui, parameters);
    dialog.Editable = false;
    dialog.open();
    EXPECT_EQ(dialog.Input(4)->text(), QStringLiteral("Stahl"));
    EXPECT_FALSE(dialog.Input(4)->isEnabled());
    EXPECT_FALSE(dialog.OkButton()->isEnabled());
    EXPECT_FALSE(dialog.ClearButton()->isEnabled());
    EXPECT_TRUE(dialog.CancelButton()->isEnabled());
    dialog.OKBtnClick();  // not reachable, and would store nothing
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    dialog.reject();
}

TEST_F(HeaderDialogs, TitleDefinitionStoresOnOkOnly) {
    const std::string logo = (dir / "firma.bmp").string();
    QPixmap(8, 8).save(QString::fromStdString(logo), "BMP");
    parameters.LogoFile = logo;
    parameters.TitleLine[1] = "Labor";
    TMultPageDlg dialog(ui, parameters);
    dialog.OperatorUnlocked = true;
    dialog.open();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Definition Titel und Kopfdaten"));
    EXPECT_EQ(dialog.Tabs()->currentIndex(), TMultPageDlg::HeaderTab);
    EXPECT_EQ(dialog.Tabs()->tabText(2), QStringLiteral("Logo"));
    EXPECT_EQ(dialog.pos(), QPoint(120, 100));
    EXPECT_EQ(dialog.LogoInput()->text(), QString::fromStdString(logo));
    EXPECT_FALSE(dialog.LogoPreview()->pixmap().isNull());
    EXPECT_EQ(dialog.focusWidget(), dialog.OkButton());

    // Enter: header title 10 -> 1, footnote -> title 1; Ctrl+0 focuses header title 10.
    QTest::keyClick(dialog.HeaderLabelInput(9), Qt::Key_Return);
    EXPECT_EQ(dialog.focusWidget(), dialog.HeaderLabelInput(0));
    QTest::keyClick(dialog.HeaderLabelInput(0), Qt::Key_0, Qt::ControlModifier);
    EXPECT_EQ(dialog.focusWidget(), dialog.HeaderLabelInput(9));
    QTest::keyClick(dialog.FootnoteInput(), Qt::Key_Return);
    EXPECT_EQ(dialog.focusWidget(), dialog.TitleInput(0));

    // Closing by the frame stores nothing.
    dialog.HeaderLabelInput(0)->setText(QStringLiteral("Kunde"));
    dialog.close();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(parameters.HeaderLabel[0], "");

    // The browse button puts the chosen file into the input.
    class OneFile : public NoFiles {
      public:
        QString path;
        QString OpenFileName(const QString&, const QString&, const QString& filter,
                             const QString&) override {
            lastFilter = filter;
            return path;
        }
        QString lastFilter;
    } files;
    files.path = QString::fromStdString((dir / "neu.bmp").string());
    QPixmap(4, 4).save(files.path, "BMP");
    dialog.Files = &files;
    dialog.open();
    dialog.BrowseButton()->click();
    for (const char* kind : {"*.png", "*.jpg", "*.jpeg", "*.bmp"}) {
        EXPECT_TRUE(files.lastFilter.contains(QLatin1String(kind))) << kind;
    }
    EXPECT_TRUE(messages.shown.empty());  // a BMP is drawn: nothing to say
    EXPECT_EQ(dialog.LogoInput()->text(), files.path);
    dialog.HeaderLabelInput(0)->setText(QStringLiteral("Kunde"));
    dialog.HeadingInput()->setText(QStringLiteral("Prüfprotokoll"));
    dialog.OkButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(parameters.HeaderLabel[0], "Kunde");
    EXPECT_EQ(parameters.TitleLine[1], "Labor");
    EXPECT_EQ(parameters.ReportHeading, "Prüfprotokoll");
    EXPECT_EQ(parameters.LogoFile, files.path.toStdString());
}

// A Windows metafile, which this system cannot draw, is named when it is chosen and in the
// preview when the dialog opens, instead of vanishing from the reports.
TEST_F(HeaderDialogs, ALogoThatCannotBeDrawnIsNamed) {
    const std::string emf = (dir / "firma.emf").string();
    std::ofstream(emf, std::ios::binary) << std::string("\x01\0\0\0EMF header", 14);
    class OneFile : public NoFiles {
      public:
        QString path;
        QString OpenFileName(const QString&, const QString&, const QString&,
                             const QString&) override {
            return path;
        }
    } files;
    files.path = QString::fromStdString(emf);
    TMultPageDlg dialog(ui, parameters);
    dialog.OperatorUnlocked = true;
    dialog.Files = &files;
    dialog.open();
    dialog.BrowseButton()->click();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].text.contains(QStringLiteral("firma.emf")));
    EXPECT_TRUE(messages.shown[0].text.contains(QStringLiteral("PNG")));
    EXPECT_EQ(dialog.LogoInput()->text(), files.path);  // the name is kept
    dialog.OkButton()->click();
    EXPECT_EQ(parameters.LogoFile, emf);

    TMultPageDlg reopened(ui, parameters);
    reopened.open();
    EXPECT_TRUE(reopened.LogoPreview()->text().contains(QStringLiteral("firma.emf")));
    reopened.reject();
}

TEST_F(HeaderDialogs, LockedTitleDefinitionShowsButCannotChange) {
    parameters.HeaderLabel[3] = "Werkstoff";
    parameters.LogoFile = (dir / "fehlt.bmp").string();
    TMultPageDlg dialog(ui, parameters);
    dialog.open();
    EXPECT_EQ(dialog.HeaderLabelInput(3)->text(), QStringLiteral("Werkstoff"));
    EXPECT_FALSE(dialog.HeaderLabelInput(3)->isEnabled());
    EXPECT_FALSE(dialog.TitleInput(0)->isEnabled());
    EXPECT_FALSE(dialog.BrowseButton()->isEnabled());
    EXPECT_EQ(dialog.LogoInput()->text(), QString());  // the logo file no longer exists
    EXPECT_EQ(dialog.focusWidget(), dialog.CancelButton());
    dialog.OkButton()->click();  // OK still stores the unchanged values
    EXPECT_EQ(parameters.HeaderLabel[3], "Werkstoff");
    EXPECT_EQ(parameters.LogoFile, "");
    EXPECT_EQ(ParameterSetImage(parameters)[1706], 0);
}

}  // namespace
}  // namespace quorvex
