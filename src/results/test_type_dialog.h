// "Versuchsart": the choice of the test type, the first step when a results project is created.
#pragma once

#include "evaluation/parameter_set.h"
#include "ui/dialog_base.h"

class QListWidget;
class QPushButton;

namespace quorvex {

class TVersuchsartDlg : public QuorvexDialog {
    Q_OBJECT
  public:
    TVersuchsartDlg(UiContext& ui, ParameterSet& parameters, QWidget* parent = nullptr);

    // Set by the caller before the dialog is shown: the choice and OK are disabled and the
    // focus rests on Cancel (the test method is a protected setting).
    bool ReadOnly = false;

    // One row per test type, row = TestType.
    QListWidget* TypeList() const { return typeList_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }

    void FormShow();
    // OK, Enter or a double click: the chosen row becomes TestType. Nothing else of the
    // parameter set changes here; the caller re-lays the window for the new type.
    void OKBtnClick();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    ParameterSet& parameters_;
    QListWidget* typeList_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace quorvex
