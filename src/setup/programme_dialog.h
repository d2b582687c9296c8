// The test-programme dialog of the universal and flexural-modulus tests: up to 30 speed
// stages page by page, the break channel and its value, Fmin, the preload, the sampling rate
// and the J-integral unloading. A view over the programme form.
#pragma once

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <array>

#include "evaluation/parameter_set.h"
#include "setup/programme_form.h"
#include "ui/dialog_base.h"

namespace quorvex {

class TVersuchsDlg : public QuorvexDialog {
    Q_OBJECT
  public:
    static constexpr int kStagesPerPage = 5;

    TVersuchsDlg(UiContext& ui, ParameterSet& parameters, QWidget* parent = nullptr);

    // The access code's Granted when the dialog opens: it enables the end-of-test option
    // "Maschine A&US bei Versuchsende".
    bool EndOptionsGranted = false;

    void FormShow();
    bool FormCloseQuery();
    ProgrammeForm ReadForm() const;

    // The widgets, for the operator's hand in tests; stages count from 1.
    QCheckBox* StageActive(int stage) const { return rows_.at(Row(stage)).Active; }
    QLineEdit* StageFrom(int stage) const { return rows_.at(Row(stage)).From; }
    QComboBox* StageFromUnit(int stage) const { return rows_.at(Row(stage)).FromUnit; }
    QLineEdit* StageSpeed(int stage) const { return rows_.at(Row(stage)).Speed; }
    QComboBox* StageSpeedUnit(int stage) const { return rows_.at(Row(stage)).SpeedUnit; }
    QTabWidget* StagePages() const { return pages_; }
    QLineEdit* SetupPosition() const { return setupPosition_; }
    QButtonGroup* BreakChannels() const { return breakChannels_; }
    QLineEdit* BreakValue() const { return breakValue_; }
    QLabel* BreakLabel() const { return breakLabel_; }
    QLabel* BreakUnitLabel() const { return breakUnit_; }
    QLineEdit* Fmin() const { return fmin_; }
    QComboBox* PreloadUnitList() const { return preloadUnit_; }
    QLineEdit* Preload() const { return preload_; }
    QComboBox* SamplingRate() const { return sampling_; }
    QSpinBox* EndStage() const { return endStage_; }
    QCheckBox* MachineOffAtEnd() const { return machineOff_; }
    QPushButton* OkButton() const { return okButton_; }
    QPushButton* CancelButton() const { return cancelButton_; }
    // The bending variant's "Prüfraum" (ids 1 and 2); null in the plain dialog.
    QButtonGroup* TestSpace() const { return testSpace_; }
    bool Bending() const { return bending_; }

  public slots:
    void accept() override;

  protected:
    // The flexural-strength variant shares the whole dialog and its checks.
    TVersuchsDlg(UiContext& ui, ParameterSet& parameters, bool bending, QWidget* parent);
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    struct StageRow {
        QCheckBox* Active = nullptr;
        QLineEdit* From = nullptr;
        QComboBox* FromUnit = nullptr;
        QLineEdit* Speed = nullptr;
        QComboBox* SpeedUnit = nullptr;
    };
    static std::size_t Row(int stage) { return static_cast<std::size_t>(stage - 1); }

    QWidget* BuildStagePages();
    QWidget* BuildLeftColumn();
    QWidget* BuildRightColumn();
    void WriteForm(const ProgrammeForm& form);
    void BreakChannelChanged(int channel);
    void PreloadUnitChanged(int unit);
    void ShowFailure(const CheckFailure& failure);
    QLineEdit* DecimalField();
    template <class W>
    W* Captioned(W* widget, int number);

    ParameterSet& parameters_;
    const bool bending_;
    QButtonGroup* testSpace_ = nullptr;
    std::array<StageRow, 30> rows_{};
    QTabWidget* pages_ = nullptr;
    QLineEdit* setupPosition_ = nullptr;
    QButtonGroup* direction_ = nullptr;
    QButtonGroup* travelSensor_ = nullptr;
    QButtonGroup* breakChannels_ = nullptr;
    QLineEdit* breakValue_ = nullptr;
    QLabel* breakLabel_ = nullptr;
    QLabel* breakUnit_ = nullptr;
    QLineEdit* fmin_ = nullptr;
    QComboBox* preloadUnit_ = nullptr;
    QLineEdit* preload_ = nullptr;
    QSpinBox* fmaxLimit_ = nullptr;
    QSpinBox* endStage_ = nullptr;
    QSpinBox* springStage_ = nullptr;
    QSpinBox* controlDeviation_ = nullptr;
    QComboBox* sampling_ = nullptr;
    QCheckBox* machineOff_ = nullptr;
    QCheckBox* jActive_ = nullptr;
    QSpinBox* jCycles_ = nullptr;
    QDoubleSpinBox* unloadStart_ = nullptr;
    QDoubleSpinBox* unloadInterval_ = nullptr;
    QSpinBox* unloadPercent_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};

}  // namespace quorvex
