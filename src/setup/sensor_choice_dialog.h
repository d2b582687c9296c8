// The start-up question which load cell (or extensometer) is fitted, when the table holds
// more than one usable sensor.
#pragma once

#include <QRadioButton>
#include <optional>
#include <vector>

#include "setup/calibration.h"
#include "ui/dialog_base.h"

class QGroupBox;

namespace quorvex {

class TSensorChoiceDlg : public QuorvexDialog {
    Q_OBJECT
  public:
    TSensorChoiceDlg(UiContext& ui, SensorKind kind, QWidget* parent = nullptr);

    // Lists the usable sensors ("100.00 kN", "2.00 mm"), preselects the stored choice and
    // returns the entry number chosen with OK; nothing when the dialog is left otherwise.
    std::optional<int> Choose(const std::vector<SensorEntry>& usable, int preselected);

    const std::vector<QRadioButton*>& Choices() const { return choices_; }

  private:
    SensorKind kind_;
    QGroupBox* group_ = nullptr;
    std::vector<QRadioButton*> choices_;
};

// The load-cell choice ("Messdosen.Kal").
class TMessdosenDlg : public TSensorChoiceDlg {
    Q_OBJECT
  public:
    explicit TMessdosenDlg(UiContext& ui, QWidget* parent = nullptr)
        : TSensorChoiceDlg(ui, SensorKind::LoadCell, parent) {}
};

// The extensometer choice ("Dehnungsaufnehmer.Kal").
class TDehnungsaufnehmerDlg : public TSensorChoiceDlg {
    Q_OBJECT
  public:
    explicit TDehnungsaufnehmerDlg(UiContext& ui, QWidget* parent = nullptr)
        : TSensorChoiceDlg(ui, SensorKind::Extensometer, parent) {}
};

}  // namespace quorvex
