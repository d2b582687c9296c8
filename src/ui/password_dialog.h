// The access-code dialog: the caller sets the mode, shows it, and reads Granted, which keeps
// its value until the next use so that later dialogs can read it too.
#pragma once

#include "ui/dialog_base.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace quorvex {

class TPasswordDlg : public QuorvexDialog {
    Q_OBJECT
public:
    TPasswordDlg(UiContext& ui, QWidget* parent);

    int Mode = 1;
    bool Granted = false;

    QLineEdit* Entry() const { return entry_; }

public slots:
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLabel* prompt_;
    QLineEdit* entry_;
    QPushButton* okButton_;
    QPushButton* cancelButton_;
};

}  // namespace quorvex
