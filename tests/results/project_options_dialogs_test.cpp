// The test-type, statistics and ASCII options dialogs as the operator uses them: ticks and
// choices go into the parameter set on OK, Cancel leaves it as it was, and a read-only dialog
// offers nothing to change.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "evaluation/parameter_set.h"
#include "gui_test_support.h"
#include "results/ascii_format_dialog.h"
#include "results/statistics_options_dialog.h"
#include "results/test_type_dialog.h"
#include "ui/captions.h"
#include "ui/stored_texts.h"

namespace quorvex {
namespace {

class ProjectOptionsDialogs : public ::testing::Test {
  protected:
    void Click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    // Ticks a box wherever its caption ends (its row is wider than a short caption).
    void Tick(QAbstractButton* box) { box->click(); }
    ByteImage Image() const { return ParameterSetImage(parameters); }

    RecordedMessages messages;
    StoredTexts texts;
    UiContext ui{messages, texts, {}, nullptr};
    ParameterSet parameters;
};

TEST_F(ProjectOptionsDialogs, StatisticsTicksGoIntoTheParameterSetOnOkOnly) {
    TBtnRightDlg4 dialog(ui, parameters);
    dialog.open();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Statistik"));
    EXPECT_EQ(dialog.Group()->title(), QStringLiteral("Gewünschte Werte"));
    EXPECT_EQ(dialog.Choice(6)->text(), QStringLiteral("cp"));
    EXPECT_EQ(dialog.Choice(9)->text(), QStringLiteral("Grenzwerte"));
    // The defaults: mean, minimum, maximum, range and standard deviation.
    for (std::size_t row = 0; row < 10; ++row) EXPECT_EQ(dialog.Choice(row)->isChecked(), row < 5);

    // Cancel after ticking everything leaves the set as it was.
    const ByteImage before = Image();
    for (std::size_t row = 0; row < 10; ++row) dialog.Choice(row)->setChecked(true);
    Click(dialog.CancelButton());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(Image(), before);

    dialog.open();
    EXPECT_FALSE(dialog.Choice(6)->isChecked());  // the ticks of the cancelled opening are gone
    Tick(dialog.Choice(0));                       // &Mittelwert off
    Tick(dialog.Choice(6));                       // cp
    Tick(dialog.Choice(8));                       // Anzahl der &Werte
    Tick(dialog.Choice(9));                       // Grenzwerte
    Click(dialog.OkButton());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(parameters.StatMean, 0);
    EXPECT_EQ(parameters.StatMinimum, 1);
    EXPECT_EQ(parameters.StatStdDev, 1);
    EXPECT_EQ(parameters.StatConfidence, 0);
    EXPECT_EQ(parameters.StatCp, 1);
    EXPECT_EQ(parameters.StatCpk, 0);
    EXPECT_EQ(parameters.StatCount, 1);
    EXPECT_EQ(parameters.StatLimits, 1);

    // The language switch re-captions the numbered boxes; "cp" is the same in every language.
    ApplyLanguage(1000, texts);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Statistics"));
    EXPECT_EQ(dialog.Choice(0)->text(), QStringLiteral("&Mean"));
    EXPECT_EQ(dialog.Choice(6)->text(), QStringLiteral("cp"));
}

TEST_F(ProjectOptionsDialogs, ReadOnlyOptionsOfferNothingToChange) {
    TBtnRightDlg4 statistics(ui, parameters);
    statistics.ReadOnly = true;
    statistics.open();
    for (std::size_t row = 0; row < 10; ++row) EXPECT_FALSE(statistics.Choice(row)->isEnabled());
    EXPECT_FALSE(statistics.OkButton()->isEnabled());
    EXPECT_EQ(statistics.focusWidget(), statistics.CancelButton());
    statistics.reject();

    TAscii_Format ascii(ui, parameters);
    ascii.ReadOnly = true;
    ascii.DatabaseAvailable = true;
    ascii.open();
    for (QWidget* w : std::initializer_list<QWidget*>{ascii.AsciiExport(), ascii.UseSeparator(),
                                                      ascii.DecimalGroup(), ascii.WriteAliasTable(),
                                                      ascii.AutoSpecimenNo(), ascii.RawDataExport(),
                                                      ascii.OkButton()}) {
        EXPECT_FALSE(w->isEnabled()) << w->metaObject()->className();
    }
    EXPECT_EQ(ascii.focusWidget(), ascii.CancelButton());
    // Enter on Cancel closes without writing.
    const ByteImage before = Image();
    QTest::keyClick(ascii.CancelButton(), Qt::Key_Return);
    EXPECT_FALSE(ascii.isVisible());
    EXPECT_EQ(ascii.result(), QDialog::Rejected);
    EXPECT_EQ(Image(), before);
}

TEST_F(ProjectOptionsDialogs, AsciiOptionsGoIntoTheParameterSetOnOk) {
    TAscii_Format dialog(ui, parameters);
    dialog.DatabaseAvailable = true;
    dialog.open();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("ASCII-Datei"));
    EXPECT_EQ(dialog.pos(), QPoint(120, 100));
    EXPECT_TRUE(dialog.DecimalComma()->isChecked());
    EXPECT_TRUE(dialog.WriteAliasTable()->isEnabled());

    Tick(dialog.AsciiExport());      // off
    Tick(dialog.DecimalPoint());     // "&Punkt"
    Tick(dialog.WriteAliasTable());  // on
    Tick(dialog.AutoSpecimenNo());
    Tick(dialog.RawDataExport());
    Click(dialog.OkButton());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(parameters.AsciiExport, 0);
    EXPECT_EQ(parameters.UseSeparator, 1);
    EXPECT_EQ(parameters.DecimalPoint, 1);
    EXPECT_EQ(parameters.DecimalComma, 0);
    EXPECT_EQ(parameters.WriteAliasTable, 1);
    EXPECT_EQ(parameters.AutoSpecimenNo, 1);
    EXPECT_EQ(parameters.RawDataExport, 1);
}

TEST_F(ProjectOptionsDialogs, WithoutTheAliasTableOkClearsTheDatabaseOptionAndCancelKeepsIt) {
    parameters.WriteAliasTable = 1;
    parameters.DecimalPoint = 1;  // both flags set: shown and written as the comma
    TAscii_Format dialog(ui, parameters);
    dialog.DatabaseAvailable = false;
    dialog.open();
    EXPECT_FALSE(dialog.WriteAliasTable()->isChecked());
    EXPECT_FALSE(dialog.WriteAliasTable()->isEnabled());
    EXPECT_TRUE(dialog.DecimalComma()->isChecked());
    EXPECT_TRUE(dialog.AsciiExport()->isEnabled());

    const ByteImage before = Image();
    Click(dialog.CancelButton());
    EXPECT_EQ(Image(), before);

    dialog.open();
    Click(dialog.OkButton());
    EXPECT_EQ(parameters.WriteAliasTable, 0);
    EXPECT_EQ(parameters.DecimalComma, 1);
    EXPECT_EQ(parameters.DecimalPoint, 0);
}

TEST_F(ProjectOptionsDialogs, TestTypeIsSetOnOkAndKeptOnCancel) {
    parameters.TestType = 3;
    TVersuchsartDlg dialog(ui, parameters);

    WhenModal<TVersuchsartDlg>([this](TVersuchsartDlg* d) {
        EXPECT_EQ(d->windowTitle(), QStringLiteral("Versuchsart"));
        EXPECT_EQ(d->pos(), QPoint(120, 100));
        EXPECT_EQ(d->TypeList()->count(), 10);
        EXPECT_EQ(d->TypeList()->currentRow(), 3);
        EXPECT_EQ(d->TypeList()->item(6)->text(), QStringLiteral("Kunststoffversuch EN ISO 527"));
        d->TypeList()->setCurrentRow(6);
        Click(d->CancelButton());
    });
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    EXPECT_EQ(parameters.TestType, 3);

    WhenModal<TVersuchsartDlg>([this](TVersuchsartDlg* d) {
        EXPECT_EQ(d->TypeList()->currentRow(), 3);
        d->TypeList()->setCurrentRow(6);
        Click(d->OkButton());
    });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_EQ(parameters.TestType, 6);

    // The names follow a language switch made while the dialog was closed.
    texts.Apply(1000);
    dialog.open();
    EXPECT_EQ(dialog.TypeList()->item(6)->text(), QStringLiteral("Plastics test EN ISO 527"));
    dialog.reject();
}

TEST_F(ProjectOptionsDialogs, TestTypeIsConfirmedByEnterOrDoubleClick) {
    TVersuchsartDlg dialog(ui, parameters);
    dialog.open();
    QApplication::setActiveWindow(&dialog);
    QListWidget* list = dialog.TypeList();
    EXPECT_EQ(dialog.focusWidget(), list);
    list->setCurrentRow(8);
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(parameters.TestType, 8);

    dialog.open();
    const QPoint row9 = list->visualItemRect(list->item(9)).center();
    // The events of a real double click: the second press comes before the double click.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row9);
    EXPECT_TRUE(dialog.isVisible());  // a single click only chooses
    QTest::mousePress(list->viewport(), Qt::LeftButton, {}, row9);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row9);
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, row9);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(parameters.TestType, 9);
}

TEST_F(ProjectOptionsDialogs, TestTypeOutsideTheListOffersTheFirstAndReadOnlyChangesNothing) {
    parameters.TestType = 42;  // from a garbled parameter file
    TVersuchsartDlg dialog(ui, parameters);
    dialog.open();
    EXPECT_EQ(dialog.TypeList()->currentRow(), 0);
    Click(dialog.CancelButton());
    EXPECT_EQ(parameters.TestType, 42);

    parameters.TestType = 2;
    dialog.ReadOnly = true;
    dialog.open();
    EXPECT_FALSE(dialog.TypeList()->isEnabled());
    EXPECT_FALSE(dialog.OkButton()->isEnabled());
    EXPECT_EQ(dialog.focusWidget(), dialog.CancelButton());
    dialog.OKBtnClick();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(parameters.TestType, 2);
}

}  // namespace
}  // namespace quorvex
