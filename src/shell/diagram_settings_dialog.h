// "Diagramm-Darstellung": the diagram type, the start diagram, the automatic options and the
// end of the deformation-energy axis of the current test type.
#pragma once

#include <array>

#include "shell/diagram_settings_form.h"
#include "ui/dialog_base.h"

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace quorvex {

class TBtnRightDlg2 : public QuorvexDialog {
    Q_OBJECT
  public:
    TBtnRightDlg2(UiContext& ui, ParameterSet& parameters, QWidget* parent);

    QRadioButton* TypeItem(int item) const { return typeItems_[static_cast<std::size_t>(item)]; }
    QRadioButton* StartItem(int item) const { return startItems_[static_cast<std::size_t>(item)]; }
    QGroupBox* StartGroup() const { return startGroup_; }
    QCheckBox* AutoScale() const { return autoScale_; }
    QCheckBox* SaveCurves() const { return saveCurves_; }
    QCheckBox* CurveOffset() const { return curveOffset_; }
    QCheckBox* PrintColoured() const { return printColoured_; }
    QCheckBox* HideGrid() const { return hideGrid_; }
    QLineEdit* EnergyEnd() const { return energyEnd_; }
    QPushButton* OkButton() const { return ok_; }

    void FormShow();
    void OKBtnClick();

  protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void TypeChosen(int item);
    void StartChosen(int item);
    void Refuse(QButtonGroup* group);

    ParameterSet& parameters_;
    QButtonGroup* typeGroup_ = nullptr;
    QButtonGroup* startGroupButtons_ = nullptr;
    QGroupBox* typeGroupBox_ = nullptr;
    QGroupBox* startGroup_ = nullptr;
    std::array<QRadioButton*, 7> typeItems_{};
    std::array<QRadioButton*, 4> startItems_{};
    QCheckBox* autoScale_ = nullptr;
    QCheckBox* saveCurves_ = nullptr;
    QCheckBox* curveOffset_ = nullptr;
    QCheckBox* printColoured_ = nullptr;
    QCheckBox* hideGrid_ = nullptr;
    QLineEdit* energyEnd_ = nullptr;
    QPushButton* ok_ = nullptr;
};

}  // namespace quorvex
