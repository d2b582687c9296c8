// The language dialog: a radio group of the languages, preselected with the current one.
#pragma once

#include "ui/dialog_base.h"

class QButtonGroup;
class QGroupBox;

namespace quorvex {

class TSpracheDlg : public QuorvexDialog {
    Q_OBJECT
public:
    TSpracheDlg(UiContext& ui, QWidget* parent);

    // Set before showing (the current language index); on OK it holds the chosen one.
    int ItemIndex = 0;

public slots:
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QGroupBox* group_;
    QButtonGroup* choices_;
};

}  // namespace quorvex
