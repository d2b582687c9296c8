// The specimen data dialog's inputs: filled from the parameter set when shown, So and the
// proportional lengths recomputed as dimensions are confirmed, checked and taken on OK.
#include "specimen/specimen_dialog.h"

#include <QApplication>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QVBoxLayout>

#include "evaluation/cross_section.h"
#include "evaluation/specimen_number.h"
#include "evaluation/text_functions.h"
#include "specimen/dimension_dialog.h"
#include "ui/captions.h"
#include "ui/key_filters.h"
#include "ui/operator_message.h"
#include "ui/stored_texts.h"
#include "ui/text_table.h"

namespace quorvex {
namespace {

constexpr int kTitleText = 89;        // "Probendaten"
constexpr int kShapeText = 90;        // "Probentyp", the shapes 91..95
constexpr int kGaugeText = 100;       // "Probenform", the kinds 101..103
constexpr int kSpecimenNoText = 104;  // "Probennummer"
constexpr int kSpecimenIdText = 194;  // "&Kennung"
constexpr int kCancelText = 35;
constexpr int kPlasticsTestType = 6;

struct InputSpec {
    SpecimenField field;
    int shape;  // -1: every shape
    const char* label;
    int decimals;
    bool crossSection;  // So follows from it
};

using SF = SpecimenField;
constexpr InputSpec kInputs[] = {
    {SF::RoundD, 0, "d", 3, true},      {SF::RoundLo, 0, "Lo", 2, false},
    {SF::RoundLc, 0, "Lc", 2, false},   {SF::FlatA, 1, "a", 3, true},
    {SF::FlatB, 1, "b", 3, true},       {SF::FlatLo, 1, "Lo", 2, false},
    {SF::FlatLc, 1, "Lc", 2, false},    {SF::TubeD, 2, "D", 3, true},
    {SF::TubeA, 2, "a", 3, true},       {SF::TubeLo, 2, "Lo", 2, false},
    {SF::TubeLc, 2, "Lc", 2, false},    {SF::MassRho, 3, "ρ (g/cm³)", 3, true},
    {SF::MassM, 3, "m (g)", 2, true},   {SF::MassLt, 3, "Lt", 2, true},
    {SF::MassLo, 3, "Lo", 2, false},    {SF::MassLv, 3, "Lv", 2, false},
    {SF::SegmentA, 4, "a", 3, true},    {SF::SegmentB, 4, "b", 3, true},
    {SF::SegmentD, 4, "D", 3, true},    {SF::SegmentLo, 4, "Lo", 2, false},
    {SF::SegmentLv, 4, "Lv", 2, false}, {SF::Le, -1, "Le", 2, false},
};

const InputSpec& Spec(SpecimenField field) {
    return kInputs[static_cast<std::size_t>(field)];
}

std::string Text(const QLineEdit* edit) {
    return edit->text().toStdString();
}

}  // namespace

TBtnRightDlg3::TBtnRightDlg3(UiContext& ui, ParameterSet& parameters, QWidget* parent)
    : QuorvexDialog(ui, parent),
      parameters_(parameters),
      automaticStart_(std::make_unique<AutomaticStart>(nullptr, absentCard_)) {
    setObjectName(QStringLiteral("BtnRightDlg3"));
    const int base = Base();
    for (const InputSpec& entry : kInputs) {
        auto* edit = new QLineEdit;
        AttachDecimalKeyFilter(edit);
        inputs_[static_cast<std::size_t>(entry.field)] = edit;
        labels_[static_cast<std::size_t>(entry.field)] = new QLabel(QString::fromUtf8(entry.label));
        if (entry.crossSection) {
            connect(edit, &QLineEdit::editingFinished, this, &TBtnRightDlg3::DimensionConfirmed);
        }
    }

    specimenNo_ = new QLineEdit;
    specimenNo_->setMaxLength(14);
    specimenId_ = new QLineEdit;
    specimenId_->setMaxLength(30);
    auto* identity = new QFormLayout;
    QLabel* specimenNoLabel = Captioned(new QLabel, kSpecimenNoText, base);
    QLabel* specimenIdLabel = Captioned(new QLabel, kSpecimenIdText, base);
    // The labels' "&" marks the Alt key of their input.
    specimenNoLabel->setBuddy(specimenNo_);
    specimenIdLabel->setBuddy(specimenId_);
    identity->addRow(specimenNoLabel, specimenNo_);
    identity->addRow(specimenIdLabel, specimenId_);

    auto* shapeBox = new QGroupBox(LoadText(kShapeText, base));
    SetTextNumber(shapeBox, kShapeText);
    auto* shapeLayout = new QVBoxLayout(shapeBox);
    shapes_ = new QButtonGroup(shapeBox);
    for (int shape = 0; shape < 5; ++shape) {
        auto* radio = Captioned(new QRadioButton, 91 + shape, base);
        shapes_->addButton(radio, shape);
        shapeLayout->addWidget(radio);
    }
    shapeBox_ = shapeBox;
    connect(shapes_, &QButtonGroup::idClicked, this, [this](int shape) {
        ShowShape(shape);
        DimensionConfirmed();
    });

    auto* gaugeBox = new QGroupBox(LoadText(kGaugeText, base));
    SetTextNumber(gaugeBox, kGaugeText);
    auto* gaugeLayout = new QVBoxLayout(gaugeBox);
    gaugeKinds_ = new QButtonGroup(gaugeBox);
    for (int kind = 0; kind < 3; ++kind) {
        auto* radio = Captioned(new QRadioButton, 101 + kind, base);
        gaugeKinds_->addButton(radio, kind);
        gaugeLayout->addWidget(radio);
    }
    gaugeBox_ = gaugeBox;
    connect(gaugeKinds_, &QButtonGroup::idClicked, this, [this] { DimensionConfirmed(); });

    shapePages_ = new QStackedWidget;
    for (int shape = 0; shape < 5; ++shape) shapePages_->addWidget(BuildShapePage(shape));
    auto* common = new QFormLayout;
    common->addRow(Label(SF::Le), Input(SF::Le));
    soField_ = new QLabel;
    common->addRow(new QLabel(QStringLiteral("So")), soField_);

    auto* left = new QVBoxLayout;
    left->addLayout(identity);
    left->addWidget(shapeBox);
    left->addWidget(gaugeBox);
    auto* right = new QVBoxLayout;
    right->addWidget(shapePages_);
    right->addLayout(common);
    right->addStretch();

    auto button = [this](const QString& text) {
        auto* b = new QPushButton(text);
        b->setAutoDefault(false);
        b->setFocusPolicy(Qt::NoFocus);
        return b;
    };
    preloadButton_ = Captioned(button({}), 343, base);
    measureButton_ = Captioned(button({}), 826, base);  // "Messen F3"
    leButton_ = Captioned(button({}), 502, base);
    limitsButton_ = Captioned(button({}), 551, base);
    headerButton_ = Captioned(button({}), 549, base);
    importButton_ = Captioned(button({}), 547, base);
    connect(preloadButton_, &QPushButton::clicked, this, [this] { HandleKey(Qt::Key_F2, {}); });
    connect(measureButton_, &QPushButton::clicked, this, [this] { HandleKey(Qt::Key_F3, {}); });
    connect(leButton_, &QPushButton::clicked, this, [this] { HandleKey(Qt::Key_F4, {}); });
    connect(limitsButton_, &QPushButton::clicked, this, [this] { HandleKey(Qt::Key_F6, {}); });
    connect(headerButton_, &QPushButton::clicked, this, [this] { HandleKey(Qt::Key_F7, {}); });
    connect(importButton_, &QPushButton::clicked, this, [this] { HandleKey(Qt::Key_F9, {}); });
    auto* keys = new QVBoxLayout;
    for (QPushButton* b :
         {preloadButton_, measureButton_, leButton_, limitsButton_, headerButton_, importButton_}) {
        keys->addWidget(b);
    }
    keys->addStretch();

    okButton_ = new QPushButton;
    okButton_->setAutoDefault(false);
    cancelButton_ = Captioned(new QPushButton, kCancelText, base);
    cancelButton_->setAutoDefault(false);
    connect(okButton_, &QPushButton::clicked, this, &TBtnRightDlg3::accept);
    connect(cancelButton_, &QPushButton::clicked, this, &TBtnRightDlg3::reject);
    statusLine_ = new QLabel;
    statusLine_->setStyleSheet(QStringLiteral("background-color: yellow;"));

    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right);
    columns->addLayout(keys);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(statusLine_, 1);
    bottom->addWidget(okButton_);
    bottom->addWidget(cancelButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addLayout(bottom);

    dimensionDlg_ = new TAbmessungenDlg(ui_, this);

    readingTimer_.setInterval(50);
    readinessTimer_.setInterval(100);
    startTimer_.setInterval(100);
    connect(&readingTimer_, &QTimer::timeout, this, &TBtnRightDlg3::PollInstruments);
    connect(&readinessTimer_, &QTimer::timeout, this, &TBtnRightDlg3::RefreshReadiness);
    connect(&startTimer_, &QTimer::timeout, this, &TBtnRightDlg3::AutomaticStartTick);
    connect(qApp, &QApplication::focusChanged, this, &TBtnRightDlg3::FocusChanged);

    // The dialog sees every key first, before the input that has the focus.
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>()) {
        if (child != dimensionDlg_ && !dimensionDlg_->isAncestorOf(child)) {
            child->installEventFilter(this);
        }
    }
}

TBtnRightDlg3::~TBtnRightDlg3() {
    // The inputs lose their focus while the base class deletes them; by then this dialog is
    // no longer a TBtnRightDlg3 and must not hear of it.
    disconnect(qApp, &QApplication::focusChanged, this, &TBtnRightDlg3::FocusChanged);
}

QWidget* TBtnRightDlg3::BuildShapePage(int shape) {
    auto* page = new QWidget;
    auto* form = new QFormLayout(page);
    for (const InputSpec& entry : kInputs) {
        if (entry.shape != shape) continue;
        form->addRow(Label(entry.field), Input(entry.field));
    }
    return page;
}

int TBtnRightDlg3::Base() const {
    return ui_.Texts.Base();
}

void TBtnRightDlg3::SetMachine(const SpecimenDialogMachine& machine) {
    machine_ = machine;
    SecondCardIo& card = machine_.SecondCard ? *machine_.SecondCard : absentCard_;
    automaticStart_ = std::make_unique<AutomaticStart>(machine_.Link, card);
    readings_ = InstrumentReadings(machine_.Ports, machine_.CaliperPort, machine_.MicrometerPort);
}

bool TBtnRightDlg3::ExecuteForStart(long long counter) {
    Mode = kStartMode;
    SpecimenCounter = counter;
    return exec() == QDialog::Accepted;
}

bool TBtnRightDlg3::ExecutePlain(long long counter) {
    Mode = kPlainMode;
    SpecimenCounter = counter;
    return exec() == QDialog::Accepted;
}

void TBtnRightDlg3::showEvent(QShowEvent* event) {
    FormShow();
    QuorvexDialog::showEvent(event);
}

void TBtnRightDlg3::FormShow() {
    SetTextNumber(this, kTitleText);
    setWindowTitle(LoadText(kTitleText, Base()));
    confirmedForReevaluation_ = false;
    closingForReevaluation_ = false;
    approachStarted_ = false;
    const ParameterSet& p = parameters_;
    auto put = [this](SpecimenField field, double value) {
        Input(field)->setText(QString::fromStdString(FormatFixed(value, 0, Spec(field).decimals)));
    };
    put(SF::RoundD, p.Round.d);
    put(SF::RoundLo, p.Round.Lo);
    put(SF::RoundLc, p.Round.Lc);
    put(SF::FlatA, p.Flat.a);
    put(SF::FlatB, p.Flat.b);
    put(SF::FlatLo, p.Flat.Lo);
    put(SF::FlatLc, p.Flat.Lc);
    put(SF::TubeD, p.Tube.D);
    put(SF::TubeA, p.Tube.a);
    put(SF::TubeLo, p.Tube.Lo);
    put(SF::TubeLc, p.Tube.Lc);
    put(SF::MassRho, p.Mass.rho);
    put(SF::MassM, p.Mass.m);
    put(SF::MassLt, p.Mass.Lt);
    put(SF::MassLo, p.Mass.Lo);
    put(SF::MassLv, p.Mass.Lv);
    put(SF::SegmentA, p.TubeSegment.a);
    put(SF::SegmentB, p.TubeSegment.b);
    put(SF::SegmentD, p.TubeSegment.D);
    put(SF::SegmentLo, p.TubeSegment.Lo);
    put(SF::SegmentLv, p.TubeSegment.Lv);
    put(SF::Le, p.GaugeLengthLe);
    // With automatic numbering the start shows the number this test will receive, so the
    // operator sees the counter advance from test to test ("Charge 7-#12", then "-#13").
    specimenNo_->setText(QString::fromStdString(
        NumberingCounter >= 0 ? PreviewSpecimenNumber(p.SpecimenNo, NumberingCounter)
                              : p.SpecimenNo));
    specimenId_->setText(QString::fromStdString(p.SpecimenId));

    // The plastics specimen is always a flat bar of user-defined length: b, h, L and A.
    const bool plastics = p.TestType == kPlasticsTestType;
    const int shape = plastics ? 1 : std::clamp<int>(p.SpecimenShape, 0, 4);
    const int gauge = plastics ? 2 : std::clamp<int>(p.GaugeKind, 0, 2);
    shapes_->button(shape)->setChecked(true);
    gaugeKinds_->button(gauge)->setChecked(true);
    shapeBox_->setEnabled(!plastics);
    gaugeBox_->setEnabled(!plastics);
    Label(SF::FlatA)->setText(plastics ? QStringLiteral("h") : QStringLiteral("a"));
    Label(SF::FlatLc)->setText(plastics ? QStringLiteral("L") : QStringLiteral("Lc"));
    ShowShape(shape);
    bool valid = true;
    const double so = CurrentSo(&valid);
    soField_->setText(QString::fromStdString(FormatFixed(so, 0, 2)) +
                      (plastics ? QStringLiteral(" mm² (A)") : QStringLiteral(" mm²")));
    // A proportional specimen opens with the lengths of its cross-section, as Enter in a
    // dimension would give them, not with stored lengths of another kind.
    if (valid && !plastics) ShowProportionalLengths(so, shape);

    const bool start = Mode == kStartMode;
    const int okText = start ? text::kStartButton : text::kOkButton;
    okButton_->setText(LoadText(okText, Base()));
    SetTextNumber(okButton_, okText);
    statusLine_->setVisible(start);
    ready_ = false;
    preloadButton_->setVisible(p.AutoPreload == 0);
    leButton_->setVisible(p.AutoMoveTdmLe != 0);
    limitsButton_->setVisible(p.WriteAliasTable != 0);
    importButton_->setVisible(p.WriteAliasTable != 0);
    okButton_->setEnabled(true);
    if (start) {
        RefreshReadiness();
        readinessTimer_.start();
    }
    if (readings_.Connected()) readingTimer_.start();
    specimenNo_->setFocus();
}

void TBtnRightDlg3::ShowShape(int shape) {
    shapePages_->setCurrentIndex(std::clamp(shape, 0, 4));
    if (readings_.Connected() && isVisible()) readingTimer_.start();
}

SpecimenFormTexts TBtnRightDlg3::ReadForm() const {
    SpecimenFormTexts t;
    t.Shape = std::max(0, shapes_->checkedId());
    t.Gauge = std::max(0, gaugeKinds_->checkedId());
    t.SpecimenNo = Text(specimenNo_);
    t.SpecimenId = Text(specimenId_);
    t.Round = {Text(Input(SF::RoundD)), Text(Input(SF::RoundLo)), Text(Input(SF::RoundLc))};
    t.Flat = {Text(Input(SF::FlatA)), Text(Input(SF::FlatB)), Text(Input(SF::FlatLo)),
              Text(Input(SF::FlatLc))};
    t.Tube = {Text(Input(SF::TubeD)), Text(Input(SF::TubeA)), Text(Input(SF::TubeLo)),
              Text(Input(SF::TubeLc))};
    t.Mass = {Text(Input(SF::MassRho)), Text(Input(SF::MassM)), Text(Input(SF::MassLt)),
              Text(Input(SF::MassLo)), Text(Input(SF::MassLv))};
    t.Segment = {Text(Input(SF::SegmentA)), Text(Input(SF::SegmentB)), Text(Input(SF::SegmentD)),
                 Text(Input(SF::SegmentLo)), Text(Input(SF::SegmentLv))};
    t.Le = Text(Input(SF::Le));
    return t;
}

double TBtnRightDlg3::CurrentSo(bool* valid) const {
    auto value = [this](SpecimenField field) { return ParseNumber(Text(Input(field))); };
    CrossSection so{0.0, true};
    switch (static_cast<SpecimenShape>(std::max(0, shapes_->checkedId()))) {
        case SpecimenShape::Round:
            so.So = RoundSo(value(SF::RoundD));
            break;
        case SpecimenShape::Flat:
            so.So = FlatSo(value(SF::FlatA), value(SF::FlatB));
            break;
        case SpecimenShape::Tube:
            so.So = TubeSo(value(SF::TubeD), value(SF::TubeA));
            break;
        case SpecimenShape::Mass:
            so = MassSo(value(SF::MassRho), value(SF::MassM), value(SF::MassLt));
            break;
        case SpecimenShape::TubeSegment:
            so = TubeSegmentSo(value(SF::SegmentA), value(SF::SegmentB), value(SF::SegmentD));
            break;
    }
    if (valid != nullptr) *valid = so.valid;
    return so.So;
}

void TBtnRightDlg3::DimensionConfirmed() {
    bool valid = true;
    const double so = CurrentSo(&valid);
    const bool plastics = parameters_.TestType == kPlasticsTestType;
    soField_->setText(QString::fromStdString(FormatFixed(so, 0, 2)) +
                      (plastics ? QStringLiteral(" mm² (A)") : QStringLiteral(" mm²")));
    if (!valid) {
        ui_.Messages.ShowOperatorMessage(LoadText(kInvalidTextNumber, Base()), MessageKind::Error,
                                         MessageButtons::Ok);
        return;
    }
    ShowProportionalLengths(so, std::max(0, shapes_->checkedId()));
}

void TBtnRightDlg3::ShowProportionalLengths(double so, int shape) {
    const auto lengths = ProportionalSpecimenLengths(so, shape, gaugeKinds_->checkedId());
    if (!lengths) return;
    static constexpr std::array<std::pair<SpecimenField, SpecimenField>, 5> kLengths{{
        {SF::RoundLo, SF::RoundLc},
        {SF::FlatLo, SF::FlatLc},
        {SF::TubeLo, SF::TubeLc},
        {SF::MassLo, SF::MassLv},
        {SF::SegmentLo, SF::SegmentLv},
    }};
    const auto& [lo, testLength] = kLengths[static_cast<std::size_t>(shape)];
    Input(lo)->setText(QString::fromStdString(FormatFixed(lengths->Lo, 0, 2)));
    if (lengths->SetTestLength) {
        Input(testLength)->setText(QString::fromStdString(FormatFixed(lengths->TestLength, 0, 2)));
    }
}

void TBtnRightDlg3::ShowFailure(const CheckFailure& failure) {
    const int base = Base();
    const std::string message = ComposeMessage(
        failure, [base](int number) { return LoadText(number, base).toStdString(); });
    ui_.Messages.ShowOperatorMessage(QString::fromStdString(message), MessageKind::Error,
                                     MessageButtons::Ok);
    QLineEdit* field = Input(static_cast<SpecimenField>(
        std::clamp(failure.Field, 0, static_cast<int>(SpecimenField::Le))));
    field->setFocus();
    field->selectAll();
}

bool TBtnRightDlg3::CheckAndTake() {
    const SpecimenFormTexts texts = ReadForm();
    if (const CheckResult failure = CheckSpecimenForm(texts)) {
        ShowFailure(*failure);
        return false;
    }
    if (!TakeSpecimenForm(texts, parameters_)) {
        // A cross-section that cannot be computed (So 1.0) would give wrong stresses: the
        // operator corrects the dimensions before the test can go on.
        ui_.Messages.ShowOperatorMessage(LoadText(kInvalidTextNumber, Base()), MessageKind::Error,
                                         MessageButtons::Ok);
        Input(texts.Shape == static_cast<int>(SpecimenShape::Mass) ? SF::MassRho : SF::SegmentB)
            ->setFocus();
        return false;
    }
    return true;
}

}  // namespace quorvex
