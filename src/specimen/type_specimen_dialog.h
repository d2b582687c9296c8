// The small specimen dialogs of the shear and flexural-strength (TProbenDatenIIIDlg), chain
// (TProbenDatenIVDlg), universal (TProbenDatenVDlg), flexural-modulus (TProbenDatenVIDlg) and
// compression tests (TProbendatenVIIIDlg): one view over the form of their test type.
#pragma once

#include <QLineEdit>
#include <QPushButton>
#include <vector>

#include "evaluation/parameter_set.h"
#include "evaluation/results_record.h"
#include "specimen/specimen_dialog.h"
#include "specimen/type_specimen_form.h"
#include "ui/dialog_base.h"

namespace quorvex {

class TTypeSpecimenDlg : public QuorvexDialog {
    Q_OBJECT
  public:
    // current: the results of the current test, which two of the dialogs fill.
    TTypeSpecimenDlg(UiContext& ui, int testType, ParameterSet& parameters,
                     ResultsRecord& current, QWidget* parent = nullptr);

    // Only the link, relays, AmpVersion, TravelOffset and EditHeaderData are used.
    void SetMachine(const SpecimenDialogMachine& machine) { machine_ = machine; }

    // Ctrl+K closed the dialog with confirmed inputs (the universal dialog's OK as well): the
    // last test is to be evaluated again.
    bool ConfirmedForReevaluation() const { return confirmedForReevaluation_; }

    // Set by a start with automatic specimen numbering: the counter read before the dialog;
    // the dialog then shows the number the test will receive. -1: no numbering.
    long long NumberingCounter = -1;

    int TestType() const { return testType_; }
    QLineEdit* Dimension(std::size_t i) const { return dimensions_.at(i); }
    std::size_t DimensionCount() const { return dimensions_.size(); }
    QLineEdit* SpecimenNo() const { return specimenNo_; }
    QLineEdit* SpecimenId() const { return specimenId_; }
    QPushButton* OkButton() const { return okButton_; }

  public slots:
    void accept() override;
    void done(int result) override;

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    TypeSpecimenTexts ReadForm() const;
    bool CheckAndTake();
    void ShowFailure(const CheckFailure& failure);
    bool HandleKey(int key, Qt::KeyboardModifiers modifiers);
    void EnterInDimension(std::size_t i);
    void StopKey();
    void TdmStop();
    int Base() const;

    const int testType_;
    const TypeSpecimenKind kind_;
    const std::vector<TypeSpecimenInput> inputs_;
    ParameterSet& parameters_;
    ResultsRecord& current_;
    SpecimenDialogMachine machine_;
    std::vector<QLineEdit*> dimensions_;
    QLineEdit* specimenNo_ = nullptr;
    QLineEdit* specimenId_ = nullptr;
    QPushButton* okButton_ = nullptr;
    bool confirmedForReevaluation_ = false;
};

// The dialogs by the names of their test types.
class TProbenDatenIIIDlg : public TTypeSpecimenDlg {  // shear (3), flexural strength (8)
  public:
    using TTypeSpecimenDlg::TTypeSpecimenDlg;
};
class TProbenDatenIVDlg : public TTypeSpecimenDlg {  // chain (4)
  public:
    using TTypeSpecimenDlg::TTypeSpecimenDlg;
};
class TProbenDatenVDlg : public TTypeSpecimenDlg {  // universal (5)
  public:
    using TTypeSpecimenDlg::TTypeSpecimenDlg;
};
class TProbenDatenVIDlg : public TTypeSpecimenDlg {  // flexural modulus (7)
  public:
    using TTypeSpecimenDlg::TTypeSpecimenDlg;
};
class TProbendatenVIIIDlg : public TTypeSpecimenDlg {  // compression (9)
  public:
    using TTypeSpecimenDlg::TTypeSpecimenDlg;
};

}  // namespace quorvex
