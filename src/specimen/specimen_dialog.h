// The specimen data dialog of the tensile and plastics tests: identification, shape and
// dimensions with So and the proportional lengths, the instrument readings, the keys of the
// machine, and in start mode the start readiness and the automatic start.
#pragma once

#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimer>
#include <array>
#include <functional>
#include <memory>

#include "evaluation/parameter_set.h"
#include "machine/acquisition.h"
#include "machine/clock.h"
#include "machine/controller_link.h"
#include "machine/port_table.h"
#include "machine/relay_card.h"
#include "specimen/automatic_start.h"
#include "specimen/import_dialogs.h"
#include "specimen/instrument_readings.h"
#include "specimen/specimen_form.h"
#include "ui/dialog_base.h"

namespace quorvex {

class TAbmessungenDlg;

// What the dialog drives and reads besides the parameter set; every pointer may be null
// (no machine: the machine keys do nothing).
struct SpecimenDialogMachine {
    ControllerLink* Link = nullptr;
    RelayBank* Relays = nullptr;
    Acquisition* Daq = nullptr;
    PortTable* Ports = nullptr;
    int CaliperPort = 0;  // COM numbers of the open instrument ports, 0 for none
    int MicrometerPort = 0;
    int AmpVersion = 0;                  // of the machine setup
    double TravelOffset = 0;             // mm, of the machine setup
    SecondCardIo* SecondCard = nullptr;  // null: the absent card
    Clock* Time = nullptr;               // null: the wall clock
    // The measured force in kN; empty: from the acquisition's last readings.
    std::function<double()> ForceKn;
    // F7 header data: the shell's dialog.
    std::function<void()> EditHeaderData;
    // F9 and F6: the look-ups of prepared specimens and limit sets in the alias database;
    // empty: the keys do nothing. The mark records a specimen taken from the import.
    SpecimenFinder FindSpecimen;
    LimitFinder FindLimits;
    ImportedSpecimenMark* Imported = nullptr;
};

class TBtnRightDlg3 : public QuorvexDialog {
    Q_OBJECT
  public:
    static constexpr int kPlainMode = 0;
    static constexpr int kStartMode = 1;

    TBtnRightDlg3(UiContext& ui, ParameterSet& parameters, QWidget* parent = nullptr);
    ~TBtnRightDlg3() override;

    void SetMachine(const SpecimenDialogMachine& machine);

    // The test start of the tensile test: "Start", the readiness line and the automatic
    // start. True when the operator started the test and, when the dialog was ready, the
    // preload was reached and the arms closed. counter: the automatic specimen counter as
    // read before (for the number Enter shows).
    bool ExecuteForStart(long long counter = 0);
    // The menu and the plastics test: "Ok", never an automatic start. True when confirmed.
    bool ExecutePlain(long long counter = 0);
    // Ctrl+K closed the dialog with confirmed inputs: the last test is to be evaluated again.
    bool ConfirmedForReevaluation() const { return confirmedForReevaluation_; }

    int Mode = kPlainMode;
    long long SpecimenCounter = 0;
    // Set by a start with automatic specimen numbering: the counter read before the dialog;
    // the dialog then shows the number the test will receive. -1: no numbering.
    long long NumberingCounter = -1;

    // The widgets and steps, for the operator's hand in tests.
    QLineEdit* Input(SpecimenField field) const {
        return inputs_.at(static_cast<std::size_t>(field));
    }
    QLineEdit* SpecimenNo() const { return specimenNo_; }
    QLineEdit* SpecimenId() const { return specimenId_; }
    QButtonGroup* Shapes() const { return shapes_; }
    QButtonGroup* GaugeKinds() const { return gaugeKinds_; }
    QLabel* SoField() const { return soField_; }
    QLabel* StatusLine() const { return statusLine_; }
    QPushButton* OkButton() const { return okButton_; }
    QPushButton* PreloadButton() const { return preloadButton_; }
    QLabel* Label(SpecimenField field) const { return labels_.at(static_cast<std::size_t>(field)); }
    bool Ready() const { return ready_; }
    const AutomaticStart& Start() const { return *automaticStart_; }
    void PollInstruments();
    void RefreshReadiness();
    void AutomaticStartTick();
    TAbmessungenDlg* DimensionDialog() const { return dimensionDlg_; }
    // A found specimen into the inputs: number, identification, shape and its dimensions, the
    // form with Lo and test length when user defined; its header lines into the header data.
    void TakeImportedSpecimen(const ImportedSpecimen& specimen);
    // The import dialogs of F9 and F6, built for each showing; null while none shows.
    TImportDlg* SpecimenImportDialog() const { return specimenImportDlg_; }
    TGImportDlg* LimitImportDialog() const { return limitImportDlg_; }

  public slots:
    void accept() override;
    void reject() override;
    void done(int result) override;

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* BuildShapePage(int shape);
    void FormShow();
    void ShowShape(int shape);
    SpecimenFormTexts ReadForm() const;
    bool CheckAndTake();
    void ShowFailure(const CheckFailure& failure);
    void DimensionConfirmed();
    // Lo and the test length of a proportional specimen from its cross-section.
    void ShowProportionalLengths(double so, int shape);
    double CurrentSo(bool* valid = nullptr) const;
    bool IsDimension(const QWidget* widget) const;
    void FocusChanged(QWidget* old, QWidget* now);
    bool HandleKey(int key, Qt::KeyboardModifiers modifiers);
    void ApproachPreload();
    void MeasureFocusedDimension();
    void MoveExtensometerToLe();
    void MoveToStartPosition();
    void StopKey();
    void ImportSpecimen();
    void ImportLimits();
    void BeginAutomaticStart();
    double MeasuredForceKn() const;
    std::int64_t NowMs() const;
    int Base() const;

    ParameterSet& parameters_;
    SpecimenDialogMachine machine_;
    SteadyClock wallClock_;
    AbsentSecondCard absentCard_;
    std::unique_ptr<AutomaticStart> automaticStart_;
    InstrumentReadings readings_;

    std::array<QLineEdit*, static_cast<std::size_t>(SpecimenField::Le) + 1> inputs_{};
    std::array<QLabel*, static_cast<std::size_t>(SpecimenField::Le) + 1> labels_{};
    QLineEdit* specimenNo_ = nullptr;
    QLineEdit* specimenId_ = nullptr;
    QButtonGroup* shapes_ = nullptr;
    QButtonGroup* gaugeKinds_ = nullptr;
    QWidget* shapeBox_ = nullptr;
    QWidget* gaugeBox_ = nullptr;
    QStackedWidget* shapePages_ = nullptr;
    QLabel* soField_ = nullptr;
    QLabel* statusLine_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QPushButton* preloadButton_ = nullptr;
    QPushButton* measureButton_ = nullptr;
    QPushButton* leButton_ = nullptr;
    QPushButton* limitsButton_ = nullptr;
    QPushButton* headerButton_ = nullptr;
    QPushButton* importButton_ = nullptr;
    TAbmessungenDlg* dimensionDlg_ = nullptr;
    TImportDlg* specimenImportDlg_ = nullptr;
    TGImportDlg* limitImportDlg_ = nullptr;

    QTimer readingTimer_;    // 50 ms, the instruments
    QTimer readinessTimer_;  // 100 ms, the start readiness (start mode)
    QTimer startTimer_;      // 100 ms, the automatic start's waits
    bool ready_ = false;
    bool approachStarted_ = false;
    bool confirmedForReevaluation_ = false;
    bool closingForReevaluation_ = false;
};

}  // namespace quorvex
