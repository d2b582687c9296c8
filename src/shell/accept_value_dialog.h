// The confirmation of a value picked on the curve (the modulus or a proof strength): the
// operator sees the value with its label and unit and takes it or leaves the old one.
#pragma once

#include "ui/dialog_base.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace quorvex {

class TUeberNehmeE : public QuorvexDialog {
    Q_OBJECT
  public:
    TUeberNehmeE(UiContext& ui, QWidget* parent);

    // The label ("E_Modul", "Rp 0.20"), the value already in the stress unit, its decimals
    // and the unit.
    void Prepare(const QString& label, double value, int decimals, const QString& unit);

    QLabel* Label() const { return label_; }
    QLineEdit* ValueField() const { return value_; }
    QLabel* Unit() const { return unit_; }
    QPushButton* OkButton() const { return ok_; }

  private:
    QLabel* label_ = nullptr;
    QLineEdit* value_ = nullptr;
    QLabel* unit_ = nullptr;
    QPushButton* ok_ = nullptr;
};

}  // namespace quorvex
