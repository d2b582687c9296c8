// "Kopfdaten": the ten header lines that every stored test and every report carry.
#pragma once

#include <array>

#include "evaluation/parameter_set.h"
#include "results/header_data_form.h"
#include "ui/dialog_base.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace quorvex {

class TKopfdatenDlg : public QuorvexDialog {
    Q_OBJECT
  public:
    TKopfdatenDlg(UiContext& ui, ParameterSet& parameters, QWidget* parent = nullptr);

    // Set by the caller before every showing: true everywhere except in the results editor,
    // which shows a stored test's lines read-only.
    bool Editable = true;

    QLabel* Title(int line) const { return titles_.at(static_cast<std::size_t>(line)); }
    QLineEdit* Input(int line) const { return inputs_.at(static_cast<std::size_t>(line)); }
    QPushButton* ClearButton() const { return clear_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }

    void FormShow();
    void LoeschenClick();
    void OKBtnClick();

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    ParameterSet& parameters_;
    std::array<QLabel*, kHeaderLines> titles_{};
    std::array<QLineEdit*, kHeaderLines> inputs_{};
    QPushButton* clear_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace quorvex
