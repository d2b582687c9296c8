// The results-definition dialogs as the operator uses them: what opening shows and changes,
// the boxes that follow each other, a refused OK with its message and focus, Cancel, and
// the access rule.
#include "definitions/results_definition_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include "gui_test_support.h"
#include "ui/stored_texts.h"

namespace quorvex {
namespace {

class ResultsDefinitionDialogs : public ::testing::Test {
  protected:
    void SetUp() override { Reset(); }
    // Limits that pass every check: each test type has its own parameter set.
    void Reset() {
        parameters = ParameterSet{};
        for (int slot = 1; slot <= 27; ++slot) {
            parameters.Results[static_cast<std::size_t>(slot - 1)].LimitMin = 1;
            parameters.Results[static_cast<std::size_t>(slot - 1)].LimitMax = 100;
        }
    }
    ResultDefinition& Slot(int slot) {
        return parameters.Results[static_cast<std::size_t>(slot - 1)];
    }
    void Ok(ResultsDefinitionDialog& d) { QTest::mouseClick(d.OkButton(), Qt::LeftButton); }

    RecordedMessages messages;
    StoredTexts texts;
    UiContext ui{messages, texts, {}, nullptr};
    ParameterSet parameters;
};

TEST_F(ResultsDefinitionDialogs, TensileRowsFollowTheirRules) {
    TBtnRightDlg1 dialog(ui, parameters);
    dialog.open();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Definition Resultate"));
    EXPECT_EQ(dialog.pos(), QPoint(120, 100));
    EXPECT_TRUE(dialog.EvaluateBox(1)->isChecked());
    EXPECT_FALSE(dialog.EvaluateBox(1)->isEnabled());   // a cannot be switched off
    EXPECT_FALSE(dialog.EvaluateBox(11)->isEnabled());  // Rr cannot be switched on
    EXPECT_EQ(dialog.MinInput(11)->text(), QStringLiteral("  -"));
    EXPECT_FALSE(dialog.MinInput(11)->isEnabled());
    EXPECT_EQ(dialog.UnitLabel(10)->text(), QStringLiteral("N/mm²"));

    // Switching Rm off and on again leaves its other boxes cleared; a box clicked while Rm
    // is off is cleared again.
    dialog.LimitBox(10)->setChecked(true);
    dialog.PrintBox(10)->setChecked(true);
    dialog.EvaluateBox(10)->click();
    EXPECT_FALSE(dialog.LimitBox(10)->isChecked() || dialog.PrintBox(10)->isChecked());
    dialog.StatisticsBox(10)->click();
    EXPECT_FALSE(dialog.StatisticsBox(10)->isChecked());
    dialog.EvaluateBox(10)->click();
    EXPECT_FALSE(dialog.LimitBox(10)->isChecked() || dialog.PrintBox(10)->isChecked());

    // The labels follow the choices at once.
    dialog.OptionItem("Dimension", 2)->click();
    EXPECT_EQ(dialog.UnitLabel(10)->text(), QStringLiteral("Psi"));
    dialog.OptionItem("SecondProof", 1)->click();
    EXPECT_EQ(dialog.EvaluateBox(9)->text(), QStringLiteral("Rt"));
    dialog.OptionItem("Standard", 2)->click();
    EXPECT_EQ(dialog.EvaluateBox(16)->text(), QStringLiteral("Al"));
    EXPECT_EQ(dialog.UnitLabel(16)->text(), QStringLiteral("mm"));
    dialog.OptionItem("Standard", 0)->click();
    EXPECT_EQ(dialog.EvaluateBox(16)->text(), QStringLiteral("Ac"));

    // An upper limit of 0 refuses OK while Z is in use, naming the field and its range, on
    // page "Auswertung"; with Z switched off its limits are not used and 0 passes.
    dialog.MaxInput(18)->setText(QStringLiteral("0"));
    Ok(dialog);
    EXPECT_TRUE(dialog.isVisible());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("Z max :\nGültigkeitsbereich > 0 !"));
    EXPECT_EQ(messages.shown[0].kind, MessageKind::Error);
    EXPECT_EQ(dialog.CurrentPage(), kPageEvaluation);
    EXPECT_EQ(dialog.focusWidget(), dialog.MaxInput(18));

    dialog.EvaluateBox(18)->setChecked(false);
    Ok(dialog);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(parameters.UnitSystem, 2);
    EXPECT_EQ(Slot(10).Evaluate, 1);
    EXPECT_EQ(Slot(10).LimitActive, 0);
    EXPECT_EQ(Slot(18).Evaluate, 0);
}

// Every dialog opened on a new parameter set, and on one the tensile dialog confirmed before
// the test type changed, accepts OK as it opens; it fits a screen of 1024 x 768 (its pages
// scroll) and shows no "&" of a shortcut literally.
TEST_F(ResultsDefinitionDialogs, EveryDialogAcceptsItsDefaultsAndFitsASmallScreen) {
    ParameterSet inherited;
    {
        TBtnRightDlg1 tensile(ui, inherited);
        tensile.open();
        Ok(tensile);
        ASSERT_EQ(tensile.result(), QDialog::Accepted);
    }
    for (const DefinitionKind kind :
         {DefinitionKind::Tensile, DefinitionKind::Shear, DefinitionKind::FlexuralStrength,
          DefinitionKind::Chain, DefinitionKind::Universal, DefinitionKind::Plastics,
          DefinitionKind::FlexuralModulus, DefinitionKind::Compression}) {
        SCOPED_TRACE(static_cast<int>(kind));
        for (ParameterSet start : {ParameterSet{}, inherited}) {
            ResultsDefinitionDialog dialog(ui, start, kind);
            dialog.open();
            Ok(dialog);
            EXPECT_EQ(dialog.result(), QDialog::Accepted);
            EXPECT_TRUE(messages.shown.empty())
                << (messages.shown.empty() ? "" : messages.shown[0].text.toStdString());
            messages.shown.clear();
            EXPECT_LE(dialog.minimumSizeHint().height(), 600);
            EXPECT_LE(dialog.minimumSizeHint().width(), 1000);
            EXPECT_LE(dialog.height(), 768 - 100);
            for (const QLabel* label : dialog.findChildren<QLabel*>()) {
                if (label->buddy() != nullptr) continue;
                EXPECT_FALSE(label->text().contains(QLatin1Char('&'))) << label->text().toStdString();
            }
        }
    }
}

TEST_F(ResultsDefinitionDialogs, EnterChecksTheRangedOptionsAndMovesOn) {
    TBtnRightDlg1 dialog(ui, parameters);
    dialog.open();
    auto* deltaR = static_cast<QLineEdit*>(dialog.Option("DeltaR"));
    deltaR->setText(QStringLiteral("1"));
    QTest::keyClick(deltaR, Qt::Key_Return);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text,
              QStringLiteral("Streckgrenze Delta-R :\nGültigkeitsbereich 2.0 ... 50000.0 !"));
    EXPECT_EQ(dialog.focusWidget(), deltaR);
    EXPECT_TRUE(dialog.isVisible());
    deltaR->setText(QStringLiteral("2"));
    QTest::keyClick(deltaR, Qt::Key_Return);
    EXPECT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(dialog.focusWidget(), dialog.Option("FixedModulus"));

    // Alt+V and Alt+R reach their controls from anywhere.
    QTest::keyClick(&dialog, Qt::Key_R, Qt::AltModifier);
    EXPECT_EQ(dialog.focusWidget(), dialog.EvaluateBox(5));
    EXPECT_EQ(dialog.CurrentPage(), kPageEvaluation);
    QTest::keyClick(&dialog, Qt::Key_V, Qt::AltModifier);
    EXPECT_EQ(dialog.focusWidget(), deltaR);

    // The same value refuses OK on page "Optionen".
    deltaR->setText(QStringLiteral("1"));
    Ok(dialog);
    EXPECT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(dialog.CurrentPage(), kPageOptions);
    EXPECT_EQ(dialog.focusWidget(), deltaR);
    EXPECT_TRUE(dialog.isVisible());
}

TEST_F(ResultsDefinitionDialogs, CancelKeepsOrUndoesTheOpeningChangesAsTheTypeDoes) {
    Slot(9).Evaluate = 1;
    parameters.UnitSystem = 0;
    const ParameterSet before = parameters;
    {  // chain: the opening changes stay after Cancel
        TDefResult3Dlg dialog(ui, parameters);
        dialog.open();
        dialog.MinInput(4)->setText(QStringLiteral("7"));
        dialog.reject();
        EXPECT_EQ(parameters.UnitSystem, 1);
        EXPECT_EQ(Slot(9).Evaluate, 0);
        EXPECT_EQ(Slot(3).Decimals, 0);
        EXPECT_EQ(Slot(4).LimitMin, 1);
    }
    parameters = before;
    {  // shear: Cancel puts the set back as it was after the unit and the decimals
        TDefResult2Dlg dialog(ui, parameters, 0);
        dialog.open();
        EXPECT_TRUE(dialog.EvaluateBox(4)->isChecked());
        EXPECT_EQ(dialog.Option("Bending"), nullptr);
        EXPECT_EQ(dialog.EvaluateBox(6)->text(), QStringLiteral("Tau"));
        EXPECT_EQ(Slot(9).Evaluate, 0);
        dialog.reject();
        EXPECT_EQ(Slot(9).Evaluate, 1);
        EXPECT_EQ(parameters.UnitSystem, 1);
    }
    TDefResult2Dlg bending(ui, parameters, 1);
    bending.open();
    EXPECT_NE(bending.Option("Bending"), nullptr);
    EXPECT_EQ(bending.EvaluateBox(6)->text(), QStringLiteral("Rtf (fct)"));
}

TEST_F(ResultsDefinitionDialogs, AccessRuleAndGripPressure) {
    TDefResult5Dlg plastics(ui, parameters);
    plastics.ReadOnly = true;
    plastics.HydraulicGrips = true;
    plastics.open();
    EXPECT_FALSE(plastics.OkButton()->isEnabled());
    EXPECT_FALSE(plastics.MinInput(5)->isEnabled());
    EXPECT_FALSE(plastics.Option("SigPoint1")->isEnabled());
    EXPECT_EQ(plastics.focusWidget(), plastics.CancelButton());
    plastics.reject();
    plastics.ReadOnly = false;
    plastics.HydraulicGrips = false;
    plastics.open();
    EXPECT_TRUE(plastics.OkButton()->isEnabled());
    EXPECT_FALSE(plastics.Option("GripPressure")->isEnabled());
    EXPECT_FALSE(plastics.EvaluateBox(4)->isEnabled());
    plastics.reject();

    // The chain-test dialog stays editable in a locked project.
    TDefResult3Dlg chain(ui, parameters);
    chain.ReadOnly = true;
    chain.open();
    EXPECT_TRUE(chain.OkButton()->isEnabled());
    EXPECT_EQ(chain.DecimalsSpin(1), nullptr);
}

TEST_F(ResultsDefinitionDialogs, OptionFailureShowsItsPageAndRemarkSurvivesReopening) {
    TDefResult4Dlg universal(ui, parameters);
    universal.open();
    static_cast<QLineEdit*>(universal.Option("F1Travel"))->setText(QStringLiteral("-1"));
    universal.OkButton()->click();
    EXPECT_EQ(universal.CurrentPage(), kPageOptions);
    EXPECT_EQ(universal.focusWidget(), universal.Option("F1Travel"));
    universal.reject();

    TResult_DruckDlg compression(ui, parameters);
    Slot(22).PrintInReport = 1;
    compression.open();
    EXPECT_TRUE(compression.RemarkBox()->isChecked());
    compression.RemarkBox()->click();
    compression.DecimalsSpin(4)->setValue(3);
    compression.OkButton()->click();
    ASSERT_EQ(compression.result(), QDialog::Accepted);
    EXPECT_EQ(Slot(22).PrintInReport, 0);
    EXPECT_EQ(Slot(4).Decimals, 3);
    compression.open();
    EXPECT_FALSE(compression.RemarkBox()->isChecked());
    EXPECT_EQ(compression.DecimalsSpin(4)->value(), 3);
}

TEST_F(ResultsDefinitionDialogs, OneCallPicksTheDialogOfTheTestType) {
    for (const auto& [type, kind] : {std::pair{1, DefinitionKind::Tensile},
                                     {6, DefinitionKind::Plastics},
                                     {8, DefinitionKind::FlexuralStrength}}) {
        Reset();
        DefinitionKind shown = DefinitionKind::Compression;
        WhenModal<ResultsDefinitionDialog>([&shown](ResultsDefinitionDialog* d) {
            shown = d->Layout().Kind;
            d->OkButton()->click();
        });
        EXPECT_EQ(ExecResultsDefinition(ui, parameters, type, false, false), QDialog::Accepted);
        EXPECT_EQ(shown, kind);
    }
    WhenModal<ResultsDefinitionDialog>([](ResultsDefinitionDialog* d) { d->reject(); });
    EXPECT_EQ(ExecResultsDefinition(ui, parameters, 9, false, false), QDialog::Rejected);
}

}  // namespace
}  // namespace quorvex
