// The test-programme dialog's widgets and handlers: filled from the parameter set when shown,
// checked and stored on OK, the break value relabelled by its channel.
#include "setup/programme_dialog.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QRadioButton>
#include <QVBoxLayout>

#include "evaluation/test_types.h"
#include "evaluation/text_functions.h"
#include "setup/setup_texts.h"
#include "ui/captions.h"
#include "ui/key_filters.h"
#include "ui/operator_message.h"
#include "ui/stored_texts.h"
#include "ui/text_table.h"

namespace quorvex {
namespace {

int F(SetupField field) {
    return static_cast<int>(field);
}

QString Qs(const std::string& text) {
    return QString::fromStdString(text);
}

std::string Std(const QLineEdit* edit) {
    return edit->text().toStdString();
}

struct BreakCaptions {
    int label;
    int unit;  // 0: the fixed unit below
    const char* fixedUnit;
};

// The test space of the flexural-strength machine.
constexpr int kTestSpaceText = 995;   // "Prüfraum"
constexpr int kTestSpaceLower = 996;  // "1 unten"
constexpr int kTestSpaceUpper = 997;  // "2 oben"

constexpr BreakCaptions kBreakCaptions[] = {
    {setup_text::kDropTo, setup_text::kPercentOfFmax, ""},
    {setup_text::kDeltaForce, 0, "N"},
    {setup_text::kDeltaTravel, 0, "mm"},
};

}  // namespace

template <class W>
W* TVersuchsDlg::Captioned(W* widget, int number) {
    SetTextNumber(widget, number);
    widget->setText(LoadText(number, ui_.Texts.Base()));
    return widget;
}

QLineEdit* TVersuchsDlg::DecimalField() {
    auto* edit = new QLineEdit;
    AttachDecimalKeyFilter(edit);
    // Wide enough for the widest value of a stage, so that no digit is hidden.
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("-20000.000")) + 12);
    return edit;
}

TVersuchsDlg::TVersuchsDlg(UiContext& ui, ParameterSet& parameters, QWidget* parent)
    : TVersuchsDlg(ui, parameters, false, parent) {}

TVersuchsDlg::TVersuchsDlg(UiContext& ui, ParameterSet& parameters, bool bending, QWidget* parent)
    : QuorvexDialog(ui, parent), parameters_(parameters), bending_(bending) {
    setObjectName(QStringLiteral("VersuchsDlg"));
    okButton_ = Captioned(new QPushButton, setup_text::kOk);
    cancelButton_ = Captioned(new QPushButton, setup_text::kCancel);
    for (QPushButton* button : {okButton_, cancelButton_}) button->setAutoDefault(false);
    connect(okButton_, &QPushButton::clicked, this, &TVersuchsDlg::accept);
    connect(cancelButton_, &QPushButton::clicked, this, &TVersuchsDlg::reject);

    auto* columns = new QHBoxLayout;
    columns->addWidget(BuildLeftColumn());
    columns->addWidget(BuildRightColumn());
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton_);
    buttons->addWidget(cancelButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addLayout(buttons);
}

QWidget* TVersuchsDlg::BuildStagePages() {
    pages_ = new QTabWidget;
    for (int page = 0; page < 30 / kStagesPerPage; ++page) {
        auto* grid = new QWidget;
        auto* layout = new QGridLayout(grid);
        layout->addWidget(Captioned(new QLabel, setup_text::kStage), 0, 0);
        layout->addWidget(Captioned(new QLabel, setup_text::kFrom), 0, 1);
        layout->addWidget(Captioned(new QLabel, setup_text::kWith), 0, 3);
        for (int k = 0; k < kStagesPerPage; ++k) {
            const int stage = page * kStagesPerPage + k + 1;
            StageRow& row = rows_[Row(stage)];
            row.Active = new QCheckBox(QString::number(stage));
            row.From = DecimalField();
            row.FromUnit = new QComboBox;
            row.FromUnit->addItems({QStringLiteral("kN"), QStringLiteral("mm")});
            row.Speed = DecimalField();
            row.SpeedUnit = new QComboBox;
            // The speed unit also chooses the stage's control: travel, force or holding; a
            // flexural-strength test has no holding stages.
            row.SpeedUnit->addItems({QStringLiteral("mm/min"), QStringLiteral("N/sec")});
            if (!bending_) {
                row.FromUnit->addItem(QStringLiteral("sec"));
                row.SpeedUnit->addItem(QStringLiteral("sec"));
            }
            layout->addWidget(row.Active, k + 1, 0);
            layout->addWidget(row.From, k + 1, 1);
            layout->addWidget(row.FromUnit, k + 1, 2);
            layout->addWidget(row.Speed, k + 1, 3);
            layout->addWidget(row.SpeedUnit, k + 1, 4);
        }
        pages_->addTab(grid, QStringLiteral("%1-%2")
                                 .arg(page * kStagesPerPage + 1)
                                 .arg((page + 1) * kStagesPerPage));
    }
    return pages_;
}

QWidget* TVersuchsDlg::BuildLeftColumn() {
    auto* column = new QWidget;
    auto* layout = new QVBoxLayout(column);
    auto group = [this](int caption) {
        auto* g = new QGroupBox(LoadText(caption, ui_.Texts.Base()));
        SetTextNumber(g, caption);
        return g;
    };
    auto radios = [this](QGroupBox* box, QButtonGroup*& buttons,
                         std::initializer_list<std::pair<int, int>> items) {
        auto* boxLayout = new QVBoxLayout(box);
        buttons = new QButtonGroup(box);
        for (const auto& [id, caption] : items) {
            auto* radio = Captioned(new QRadioButton, caption);
            buttons->addButton(radio, id);
            boxLayout->addWidget(radio);
        }
    };

    auto* setup = group(setup_text::kSetup);
    setupPosition_ = DecimalField();
    auto* setupForm = new QFormLayout(setup);
    setupForm->addRow(Captioned(new QLabel, setup_text::kPosition), setupPosition_);
    layout->addWidget(setup);

    auto* direction = group(setup_text::kTestDirection);
    radios(direction, direction_, {{1, setup_text::kTension}, {0, setup_text::kCompression}});
    layout->addWidget(direction);

    auto* travel = group(setup_text::kTravelChannel);
    auto* travelLayout = new QVBoxLayout(travel);
    auto* sensorType = group(setup_text::kSensorType);
    radios(sensorType, travelSensor_,
           {{0, setup_text::kCrossheadSensor},
            {1, setup_text::kStrainGaugeSensor},
            {2, setup_text::kIncremental}});
    travelLayout->addWidget(sensorType);
    layout->addWidget(travel);
    layout->addWidget(BuildStagePages());
    return column;
}

QWidget* TVersuchsDlg::BuildRightColumn() {
    auto* column = new QWidget;
    auto* layout = new QVBoxLayout(column);
    const int base = ui_.Texts.Base();

    auto* breakGroup = new QGroupBox(LoadText(setup_text::kBreakChannel, base));
    SetTextNumber(breakGroup, setup_text::kBreakChannel);
    auto* breakLayout = new QVBoxLayout(breakGroup);
    breakChannels_ = new QButtonGroup(breakGroup);
    int id = 0;
    for (int caption : {setup_text::kForceDropPercent, setup_text::kDeltaForceAbsolute,
                        setup_text::kDeltaTravelAbsolute}) {
        auto* radio = Captioned(new QRadioButton, caption);
        breakChannels_->addButton(radio, id++);
        breakLayout->addWidget(radio);
    }
    auto* breakRow = new QHBoxLayout;
    breakLabel_ = new QLabel;
    breakValue_ = DecimalField();
    breakUnit_ = new QLabel;
    breakRow->addWidget(breakLabel_);
    breakRow->addWidget(breakValue_);
    breakRow->addWidget(breakUnit_);
    breakLayout->addLayout(breakRow);
    connect(breakChannels_, &QButtonGroup::idClicked, this, &TVersuchsDlg::BreakChannelChanged);
    layout->addWidget(breakGroup);

    auto* values = new QFormLayout;
    fmin_ = DecimalField();
    values->addRow(Captioned(new QLabel, setup_text::kFminInTest), fmin_);
    auto* preloadRow = new QHBoxLayout;
    preloadUnit_ = new QComboBox;
    preloadUnit_->addItems({QStringLiteral("kN"), QStringLiteral("N"), QString()});
    preload_ = DecimalField();
    preloadRow->addWidget(preloadUnit_);
    preloadRow->addWidget(preload_);
    connect(preloadUnit_, &QComboBox::currentIndexChanged, this, &TVersuchsDlg::PreloadUnitChanged);
    values->addRow(Captioned(new QLabel, setup_text::kPreload), preloadRow);
    auto spin = [](int low, int high) {
        auto* s = new QSpinBox;
        s->setRange(low, high);
        return s;
    };
    fmaxLimit_ = spin(5, 100);
    endStage_ = spin(1, 30);
    springStage_ = spin(1, 5);
    controlDeviation_ = spin(1, 30);
    values->addRow(Captioned(new QLabel, setup_text::kFmaxInTest), fmaxLimit_);
    values->addRow(Captioned(new QLabel, setup_text::kEndFromStage), endStage_);
    values->addRow(Captioned(new QLabel, setup_text::kSpringConstantStage), springStage_);
    values->addRow(Captioned(new QLabel, setup_text::kControlDeviation), controlDeviation_);
    sampling_ = new QComboBox;
    for (int msec : {50, 100, 200, 500, 1000})
        sampling_->addItem(QStringLiteral("%1 msec").arg(msec));
    values->addRow(Captioned(new QLabel, setup_text::kSamplingRate), sampling_);
    machineOff_ = Captioned(new QCheckBox, setup_text::kMachineOffAtEnd);
    values->addRow(machineOff_);
    layout->addLayout(values);

    auto* jGroup = new QGroupBox(LoadText(setup_text::kJIntegral, base));
    SetTextNumber(jGroup, setup_text::kJIntegral);
    auto* jForm = new QFormLayout(jGroup);
    jActive_ = Captioned(new QCheckBox, setup_text::kActive);
    jForm->addRow(jActive_);
    jCycles_ = spin(3, 55);
    jForm->addRow(Captioned(new QLabel, setup_text::kUnloadCycles), jCycles_);
    auto length = [] {
        auto* s = new QDoubleSpinBox;
        s->setRange(0.0, 1000.0);
        s->setDecimals(3);
        s->setSuffix(QStringLiteral(" mm"));
        return s;
    };
    unloadStart_ = length();
    unloadInterval_ = length();
    unloadPercent_ = spin(3, 50);
    unloadPercent_->setSuffix(QStringLiteral(" %"));
    jForm->addRow(Captioned(new QLabel, setup_text::kUnloadFrom), unloadStart_);
    jForm->addRow(Captioned(new QLabel, setup_text::kUnloadInterval), unloadInterval_);
    jForm->addRow(Captioned(new QLabel, setup_text::kUnloadBy), unloadPercent_);
    layout->addWidget(jGroup);
    if (bending_) {
        for (QWidget* field :
             {static_cast<QWidget*>(springStage_), static_cast<QWidget*>(controlDeviation_),
              static_cast<QWidget*>(sampling_)}) {
            values->setRowVisible(field, false);
        }
        jGroup->hide();
        auto* space = new QGroupBox(LoadText(kTestSpaceText, base));
        SetTextNumber(space, kTestSpaceText);
        auto* spaceLayout = new QVBoxLayout(space);
        testSpace_ = new QButtonGroup(space);
        for (const auto& [id, caption] :
             {std::pair{1, kTestSpaceLower}, std::pair{2, kTestSpaceUpper}}) {
            auto* radio = Captioned(new QRadioButton, caption);
            testSpace_->addButton(radio, id);
            spaceLayout->addWidget(radio);
        }
        layout->addWidget(space);
    }
    layout->addStretch();
    return column;
}

void TVersuchsDlg::showEvent(QShowEvent* event) {
    FormShow();
    QuorvexDialog::showEvent(event);
}

void TVersuchsDlg::FormShow() {
    SetTextNumber(this, setup_text::kTestTitle);
    setWindowTitle(LoadText(setup_text::kTestTitle, ui_.Texts.Base()));
    const bool mpa = parameters_.UnitSystem == static_cast<std::int32_t>(UnitSystem::MPa);
    preloadUnit_->setItemText(2, mpa ? QStringLiteral("MPa") : QStringLiteral("N/mm²"));
    WriteForm(FillProgrammeForm(parameters_, bending_));
    machineOff_->setEnabled(EndOptionsGranted);
    pages_->setCurrentIndex(0);
}

void TVersuchsDlg::WriteForm(const ProgrammeForm& f) {
    const ProgrammeDialogTexts& t = f.Texts;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        rows_[i].Active->setChecked(t.Stages[i].Active);
        rows_[i].From->setText(Qs(t.Stages[i].From));
        rows_[i].FromUnit->setCurrentIndex(f.StageFromUnit[i] - 1);
        rows_[i].Speed->setText(Qs(t.Stages[i].Speed));
        rows_[i].SpeedUnit->setCurrentIndex(f.StageSpeedUnit[i] - 1);
    }
    setupPosition_->setText(Qs(t.SetupPosition));
    direction_->button(f.TensionDirection)->setChecked(true);
    travelSensor_->button(f.TravelSensorType)->setChecked(true);
    breakChannels_->button(t.BreakChannel)->setChecked(true);
    BreakChannelChanged(t.BreakChannel);
    breakValue_->setText(Qs(t.BreakValue));
    fmin_->setText(Qs(t.Fmin));
    {
        const QSignalBlocker quiet(preloadUnit_);
        preloadUnit_->setCurrentIndex(t.PreloadUnit);
    }
    preload_->setText(Qs(t.Preload));
    fmaxLimit_->setValue(f.FmaxLimitPercent);
    endStage_->setValue(f.EndStage);
    springStage_->setValue(f.SpringStage);
    controlDeviation_->setValue(f.ControlDeviation);
    sampling_->setCurrentIndex(f.SamplingIndex);
    machineOff_->setChecked(f.MachineOffAtEnd);
    jActive_->setChecked(f.JIntegralActive);
    jCycles_->setValue(f.JUnloadCycles);
    unloadStart_->setValue(f.UnloadStartMm);
    unloadInterval_->setValue(f.UnloadIntervalMm);
    unloadPercent_->setValue(f.UnloadPercent);
    if (testSpace_ != nullptr) testSpace_->button(f.TestSpace)->setChecked(true);
}

ProgrammeForm TVersuchsDlg::ReadForm() const {
    ProgrammeForm f;
    f.Bending = bending_;
    ProgrammeDialogTexts& t = f.Texts;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        t.Stages[i] = {rows_[i].Active->isChecked(), Std(rows_[i].From), Std(rows_[i].Speed)};
        f.StageFromUnit[i] = rows_[i].FromUnit->currentIndex() + 1;
        f.StageSpeedUnit[i] = rows_[i].SpeedUnit->currentIndex() + 1;
    }
    t.SetupPosition = Std(setupPosition_);
    t.BreakChannel = std::max(0, breakChannels_->checkedId());
    t.BreakValue = Std(breakValue_);
    t.Fmin = Std(fmin_);
    t.PreloadUnit = preloadUnit_->currentIndex();
    t.Preload = Std(preload_);
    f.TensionDirection = direction_->checkedId() == 0 ? 0 : 1;
    f.TravelSensorType = std::max(0, travelSensor_->checkedId());
    f.FmaxLimitPercent = fmaxLimit_->value();
    f.EndStage = endStage_->value();
    f.SpringStage = springStage_->value();
    f.ControlDeviation = controlDeviation_->value();
    f.SamplingIndex = sampling_->currentIndex();
    f.MachineOffAtEnd = machineOff_->isChecked();
    f.JIntegralActive = jActive_->isChecked();
    f.JUnloadCycles = jCycles_->value();
    f.UnloadStartMm = unloadStart_->value();
    f.UnloadIntervalMm = unloadInterval_->value();
    f.UnloadPercent = unloadPercent_->value();
    if (testSpace_ != nullptr) f.TestSpace = testSpace_->checkedId() == 2 ? 2 : 1;
    return f;
}

void TVersuchsDlg::BreakChannelChanged(int channel) {
    const BreakCaptions& c = kBreakCaptions[std::clamp(channel, 0, 2)];
    Captioned(breakLabel_, c.label);
    if (c.unit != 0) {
        Captioned(breakUnit_, c.unit);
    } else {
        SetTextNumber(breakUnit_, 0);
        breakUnit_->setText(QString::fromLatin1(c.fixedUnit));
    }
}

void TVersuchsDlg::PreloadUnitChanged(int unit) {
    if (unit < 0 || unit > 2) return;
    // Each unit keeps its own preload; the field shows the one of the chosen unit.
    preload_->setText(
        Qs(FormatFixed(parameters_.PreloadValue[static_cast<std::size_t>(unit)], 0, 3)));
}

void TVersuchsDlg::ShowFailure(const CheckFailure& failure) {
    const int base = ui_.Texts.Base();
    const std::string message = ComposeMessage(
        failure, [base](int number) { return LoadText(number, base).toStdString(); });
    ui_.Messages.ShowOperatorMessage(Qs(message), MessageKind::Warning, MessageButtons::Ok);
    QWidget* field = nullptr;
    switch (static_cast<SetupField>(failure.Field)) {
        case SetupField::StageFrom:
        case SetupField::StageSpeed: {
            const int stage = std::clamp(failure.Stage, 1, 30);
            pages_->setCurrentIndex((stage - 1) / kStagesPerPage);
            field =
                failure.Field == F(SetupField::StageFrom) ? StageFrom(stage) : StageSpeed(stage);
            break;
        }
        case SetupField::SetupPosition:
            field = setupPosition_;
            break;
        case SetupField::BreakValue:
            field = breakValue_;
            break;
        case SetupField::Fmin:
            field = fmin_;
            break;
        default:
            field = preload_;
    }
    field->setFocus();
}

bool TVersuchsDlg::FormCloseQuery() {
    const ProgrammeForm form = ReadForm();
    if (const CheckResult failure = CheckProgrammeForm(form, parameters_)) {
        ShowFailure(*failure);
        return false;
    }
    StoreProgrammeForm(form, parameters_);
    return true;
}

void TVersuchsDlg::accept() {
    if (FormCloseQuery()) QuorvexDialog::accept();
}

void TVersuchsDlg::keyPressEvent(QKeyEvent* event) {
    // Enter in a field moves on to the next one instead of closing the dialog.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        qobject_cast<QLineEdit*>(focusWidget()) != nullptr) {
        focusNextChild();
        event->accept();
        return;
    }
    QuorvexDialog::keyPressEvent(event);
}

}  // namespace quorvex
