// The screw specimen dialog TProbenDatenDlg of the ISO 898 and ISO 3506 tensile tests: the
// kind of screw, the thread form and size, the property class or the user-table row, the
// lengths, Le, and the designation that becomes the remark of the test.
#pragma once

#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimer>

#include "evaluation/parameter_set.h"
#include "evaluation/results_record.h"
#include "evaluation/screw_tables.h"
#include "specimen/instrument_readings.h"
#include "specimen/screw_specimen_form.h"
#include "specimen/specimen_dialog.h"
#include "ui/dialog_base.h"

namespace quorvex {

class TProbenDatenDlg : public QuorvexDialog {
    Q_OBJECT
  public:
    TProbenDatenDlg(UiContext& ui, int testType, ParameterSet& parameters,
                    const UserScrewTable& table, ResultsRecord& current,
                    QWidget* parent = nullptr);

    // The link (F8, Ctrl+S), the acquisition (F5), the instrument ports and EditHeaderData.
    void SetMachine(const SpecimenDialogMachine& machine);

    // Ctrl+K closed the dialog with confirmed inputs: the last test is to be evaluated again.
    bool ConfirmedForReevaluation() const { return confirmedForReevaluation_; }

    // Set by a start with automatic specimen numbering: the counter read before the dialog;
    // the dialog then shows the number the test will receive. -1: no numbering.
    long long NumberingCounter = -1;

    QLineEdit* Input(ScrewField field) const { return inputs_.at(static_cast<std::size_t>(field)); }
    QButtonGroup* Kinds() const { return kinds_; }
    QButtonGroup* ThreadForms() const { return threadForms_; }
    QComboBox* Sizes() const { return sizes_; }
    QComboBox* Classes() const { return classes_; }
    QComboBox* UserRows() const { return userRows_; }
    QLineEdit* Designation() const { return designation_; }
    QLineEdit* SpecimenNo() const { return specimenNo_; }
    QLineEdit* SpecimenId() const { return specimenId_; }
    QLabel* SoField() const { return soField_; }
    QLabel* AsField() const { return asField_; }
    QPushButton* OkButton() const { return okButton_; }
    void PollInstruments();

  public slots:
    void accept() override;

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    ScrewFormTexts ReadForm() const;
    void SelectionChanged();
    void ShowKind(bool whole);
    void ShowTurnedSo();
    void EnterIn(ScrewField field);
    void FocusAfter(ScrewField field);
    bool HandleKey(int key, Qt::KeyboardModifiers modifiers);
    void ShowFailure(const CheckFailure& failure);
    bool CheckAndTake();
    int Base() const;

    const int testType_;
    ParameterSet& parameters_;
    const UserScrewTable& table_;
    ResultsRecord& current_;
    SpecimenDialogMachine machine_;
    InstrumentReadings readings_;
    QTimer readingTimer_;  // 50 ms, the instruments

    std::array<QLineEdit*, static_cast<std::size_t>(ScrewField::Le) + 1> inputs_{};
    QButtonGroup* kinds_ = nullptr;
    QButtonGroup* threadForms_ = nullptr;
    QStackedWidget* kindPages_ = nullptr;
    QComboBox* sizes_ = nullptr;
    QComboBox* classes_ = nullptr;
    QComboBox* userRows_ = nullptr;
    QLineEdit* designation_ = nullptr;
    QLineEdit* specimenNo_ = nullptr;
    QLineEdit* specimenId_ = nullptr;
    QLabel* soField_ = nullptr;
    QLabel* asField_ = nullptr;
    QPushButton* okButton_ = nullptr;
    bool loading_ = false;
    bool confirmedForReevaluation_ = false;
};

}  // namespace quorvex
