// The information box of the menu "Info".
#pragma once

#include <QStringList>

#include "ui/dialog_base.h"

class QLabel;

namespace quorvex {

class TAboutBox : public QuorvexDialog {
    Q_OBJECT
public:
    TAboutBox(UiContext& ui, QWidget* parent);

    QLabel* UserLine() const { return userLine_; }
    QLabel* HardwareLine() const { return hardware_; }
    // The cards this machine has, one per entry; none: "-".
    void SetHardware(const QStringList& cards);

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLabel* userLine_;
    QLabel* hardware_;
};

}  // namespace quorvex
