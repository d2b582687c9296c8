// "ASCII-Datei": what a test stored in the results project also writes (the ASCII result line,
// the raw-data file, the alias table) and how, and the automatic specimen numbering.
#pragma once

#include "evaluation/parameter_set.h"
#include "results/project_options_form.h"
#include "ui/dialog_base.h"

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QPushButton;
class QRadioButton;

namespace quorvex {

class TAscii_Format : public QuorvexDialog {
    Q_OBJECT
  public:
    TAscii_Format(UiContext& ui, ParameterSet& parameters, QWidget* parent = nullptr);

    // Set by the caller before the dialog is shown.
    bool DatabaseAvailable = false;  // the alias table was reachable at start-up
    bool ReadOnly = false;           // ProjectOptionsReadOnly: boxes and OK disabled

    QCheckBox* AsciiExport() const { return asciiExport_; }
    QCheckBox* UseSeparator() const { return useSeparator_; }
    QGroupBox* DecimalGroup() const { return decimalGroup_; }
    QRadioButton* DecimalPoint() const { return decimalPoint_; }
    QRadioButton* DecimalComma() const { return decimalComma_; }
    QCheckBox* WriteAliasTable() const { return writeAliasTable_; }
    QCheckBox* AutoSpecimenNo() const { return autoSpecimenNo_; }
    QCheckBox* RawDataExport() const { return rawDataExport_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }

    void FormShow();
    void OKBtnClick();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    ParameterSet& parameters_;
    QCheckBox* asciiExport_ = nullptr;
    QCheckBox* useSeparator_ = nullptr;
    QGroupBox* decimalGroup_ = nullptr;
    QButtonGroup* decimalButtons_ = nullptr;
    QRadioButton* decimalPoint_ = nullptr;
    QRadioButton* decimalComma_ = nullptr;
    QCheckBox* writeAliasTable_ = nullptr;
    QCheckBox* autoSpecimenNo_ = nullptr;
    QCheckBox* rawDataExport_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace quorvex
