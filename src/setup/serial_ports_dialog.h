// The choice of the serial ports of the controller, the caliper and the micrometer screw.
// The choices take effect at the next start, when the ports are opened.
#pragma once

#include "evaluation/parameter_set.h"
#include "ui/dialog_base.h"

class QComboBox;
class QPushButton;

namespace quorvex {

// List positions 0..15 are "Com 1".."Com 16", 16 is "None".
struct SerialPortChoice {
    int Controller = 16;
    int Caliper = 16;
    int Micrometer = 16;
};

constexpr int kNoPortEntry = 16;

// The controller and caliper ports are kept as 0..15 (16 none), the micrometer port as the
// COM number 1..16 (17 none); anything else shows as "None".
SerialPortChoice SerialPortChoiceOf(const ParameterSet& p);
void StoreSerialPortChoice(const SerialPortChoice& choice, ParameterSet& p);

class TBtnRightDlg5 : public QuorvexDialog {
    Q_OBJECT
  public:
    TBtnRightDlg5(UiContext& ui, ParameterSet& parameters, QWidget* parent = nullptr);

    bool OperatorUnlocked = false;  // set by the caller: the lists are locked without it

    QComboBox* ControllerList() const { return lists_[0]; }
    QComboBox* CaliperList() const { return lists_[1]; }
    QComboBox* MicrometerList() const { return lists_[2]; }
    QPushButton* OkButton() const { return okButton_; }

  public slots:
    void accept() override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    ParameterSet& parameters_;
    QComboBox* lists_[3] = {};
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};

}  // namespace quorvex
