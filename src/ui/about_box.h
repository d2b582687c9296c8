// The information box of the menu "Info".
#pragma once

#include "ui/dialog_base.h"

class QLabel;

namespace quorvex {

class TAboutBox : public QuorvexDialog {
    Q_OBJECT
public:
    TAboutBox(UiContext& ui, QWidget* parent);

    QLabel* UserLine() const { return userLine_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLabel* userLine_;
};

}  // namespace quorvex
