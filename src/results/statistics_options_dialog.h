// "Statistik": which statistics rows the results editor and the printed list show below the
// selected tests.
#pragma once

#include <array>

#include "evaluation/parameter_set.h"
#include "results/project_options_form.h"
#include "ui/dialog_base.h"

class QCheckBox;
class QGroupBox;
class QPushButton;

namespace quorvex {

class TBtnRightDlg4 : public QuorvexDialog {
    Q_OBJECT
  public:
    TBtnRightDlg4(UiContext& ui, ParameterSet& parameters, QWidget* parent = nullptr);

    // Set by the caller before the dialog is shown (ProjectOptionsReadOnly): the boxes and OK
    // are disabled and the focus rests on Cancel.
    bool ReadOnly = false;

    // The check boxes in the order of kStatisticsChoices.
    QCheckBox* Choice(std::size_t row) const { return choices_.at(row); }
    QGroupBox* Group() const { return group_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }

    void FormShow();
    void OKBtnClick();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    ParameterSet& parameters_;
    QGroupBox* group_ = nullptr;
    std::array<QCheckBox*, kStatisticsChoices.size()> choices_{};
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace quorvex
