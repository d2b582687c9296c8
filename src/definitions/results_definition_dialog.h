// The results-definition dialogs of every test type: one view over the plain form of
// results_definition_form.h, built from the type's table.
#pragma once

#include <QString>
#include <map>
#include <vector>

#include "definitions/results_definition_form.h"
#include "ui/dialog_base.h"

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QWidget;

namespace quorvex {

class ResultsDefinitionDialog : public QuorvexDialog {
    Q_OBJECT
  public:
    ResultsDefinitionDialog(UiContext& ui, ParameterSet& parameters, DefinitionKind kind,
                            QWidget* parent = nullptr);

    // Set by the caller before every showing. ReadOnly: the open results project was taken
    // over from an existing project directory and the operator has not unlocked it; every
    // control and OK are disabled. HydraulicGrips: the machine has automatic hydraulic grips,
    // which the grip pressure needs.
    bool ReadOnly = false;
    bool HydraulicGrips = false;

    const DefinitionLayout& Layout() const { return layout_; }

    // The controls of a row (by its slot) and of an option (by its key).
    QCheckBox* EvaluateBox(int slot) const { return RowAt(slot).Evaluate; }
    QCheckBox* LimitBox(int slot) const { return RowAt(slot).LimitActive; }
    QCheckBox* PrintBox(int slot) const { return RowAt(slot).Print; }
    QCheckBox* StatisticsBox(int slot) const { return RowAt(slot).Statistics; }
    QLineEdit* MinInput(int slot) const { return RowAt(slot).Min; }
    QLineEdit* MaxInput(int slot) const { return RowAt(slot).Max; }
    QLabel* UnitLabel(int slot) const { return RowAt(slot).Unit; }
    QSpinBox* DecimalsSpin(int slot) const { return RowAt(slot).Decimals; }
    QWidget* Option(const std::string& key) const;
    // An item of a choice option.
    QAbstractButton* OptionItem(const std::string& key, int item) const;
    QCheckBox* RemarkBox() const { return remark_; }
    QCheckBox* FootnoteBox() const { return footnote_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }
    // The page shown: 0 "Auswertung", 1 "Optionen" (always 0 for a single page).
    int CurrentPage() const;

    void FormShow();
    void OKBtnClick();
    void reject() override;

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    struct RowWidgets {
        QCheckBox* Evaluate = nullptr;
        QCheckBox* LimitActive = nullptr;
        QCheckBox* Print = nullptr;
        QCheckBox* Statistics = nullptr;
        QLineEdit* Min = nullptr;
        QLineEdit* Max = nullptr;
        QLabel* Unit = nullptr;
        QSpinBox* Decimals = nullptr;
    };
    struct OptionWidgets {
        QLabel* Label = nullptr;
        QWidget* Input = nullptr;  // the line edit, spin box or check box; a choice's group
        QButtonGroup* Items = nullptr;
    };

    const RowWidgets& RowAt(int slot) const;
    QWidget* BuildRowsPage();
    QWidget* BuildOptionsPage();
    void ConnectRow(RowWidgets& row);
    void ShowForm(const DefinitionForm& form);
    DefinitionForm ReadForm() const;
    void RefreshLabels();
    // A fixed caption, with the word of the table it holds at "%1" in the current language.
    QString FixedCaption(const OptionSpec& option, const std::string& caption) const;
    void ApplyAccess();
    QWidget* FieldWidget(int field) const;
    void ShowFailure(const CheckFailure& failure);
    // The field's name as the operator sees it: the result and "min :" / "max :", or the
    // option's group and label.
    QString FieldCaption(int field) const;
    // Enter in an option input that has a range: checks it and moves to the next one.
    bool EnterInRangedOption(int option);

    ParameterSet& parameters_;
    const DefinitionLayout& layout_;
    ParameterSet restorePoint_;
    bool acAsAl_ = false;
    std::vector<RowWidgets> rows_;
    std::vector<OptionWidgets> options_;
    QTabWidget* pages_ = nullptr;
    QCheckBox* remark_ = nullptr;
    QCheckBox* footnote_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

// The dialogs by the program's names, each for its test types.
template <DefinitionKind Kind>
class NamedDefinitionDialog : public ResultsDefinitionDialog {
  public:
    NamedDefinitionDialog(UiContext& ui, ParameterSet& p, QWidget* parent = nullptr)
        : ResultsDefinitionDialog(ui, p, Kind, parent) {}
};
using TBtnRightDlg1 = NamedDefinitionDialog<DefinitionKind::Tensile>;           // types 0-2
using TDefResult3Dlg = NamedDefinitionDialog<DefinitionKind::Chain>;            // type 4
using TDefResult4Dlg = NamedDefinitionDialog<DefinitionKind::Universal>;        // type 5
using TDefResult5Dlg = NamedDefinitionDialog<DefinitionKind::Plastics>;         // type 6
using TDefResult6Dlg = NamedDefinitionDialog<DefinitionKind::FlexuralModulus>;  // type 7
using TResult_DruckDlg = NamedDefinitionDialog<DefinitionKind::Compression>;    // type 9

// Mode 0: test type 3 (shear), mode 1: test type 8 (flexural strength).
class TDefResult2Dlg : public ResultsDefinitionDialog {
  public:
    TDefResult2Dlg(UiContext& ui, ParameterSet& p, int mode, QWidget* parent = nullptr)
        : ResultsDefinitionDialog(
              ui, p, mode == 1 ? DefinitionKind::FlexuralStrength : DefinitionKind::Shear, parent) {
    }
};

// "Def &Resultate" and the results-definition step of creating a project: shows the dialog of
// the test type modally and returns QDialog::Accepted on OK. readOnly as for ReadOnly above.
int ExecResultsDefinition(UiContext& ui, ParameterSet& parameters, int testType, bool readOnly,
                          bool hydraulicGrips, QWidget* parent = nullptr);

}  // namespace quorvex
