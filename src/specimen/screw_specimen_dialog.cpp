#include "specimen/screw_specimen_dialog.h"

#include <QApplication>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QRadioButton>
#include <QVBoxLayout>

#include "evaluation/specimen_number.h"
#include "evaluation/text_functions.h"
#include "specimen/specimen_dialog_parts.h"
#include "ui/captions.h"
#include "ui/key_filters.h"
#include "ui/operator_message.h"
#include "ui/stored_texts.h"
#include "ui/text_table.h"

namespace quorvex {
namespace {

constexpr int kTitleText = 89;        // "Probendaten"
constexpr int kKindText = 90;         // "Probentyp"
constexpr int kTurnedText = 352;      // "abgedrehte Schraube"
constexpr int kWholeText = 353;       // "ganze Schraube"
constexpr int kCoarseText = 354;      // "Regelgewinde"
constexpr int kFineText = 355;        // "Feingewinde"
constexpr int kScrewText = 356;       // "Schraube"
constexpr int kClassText = 358;       // "Festigkeitsklasse"
constexpr int kUserTableText = 359;   // "Benutzertabelle"
constexpr int kThreadFormText = 360;  // "Gewindeform"
constexpr int kThreadText = 361;      // "Gewinde"
constexpr int kSpecimenNoText = 104;  // "Probennummer"
constexpr int kSpecimenIdText = 194;  // "&Kennung"
constexpr int kCancelText = 975;      // "&Abbruch"

using SF = ScrewField;

QString Text(const std::string& s) {
    return QString::fromStdString(s);
}

QString Area(double mm2) {
    return Text(FormatFixed(mm2, 0, 2)) + QStringLiteral(" mm²");
}

}  // namespace

TProbenDatenDlg::TProbenDatenDlg(UiContext& ui, int testType, ParameterSet& parameters,
                                 const UserScrewTable& table, ResultsRecord& current,
                                 QWidget* parent)
    : QuorvexDialog(ui, parent),
      testType_(testType),
      parameters_(parameters),
      table_(table),
      current_(current) {
    setObjectName(QStringLiteral("ProbenDatenDlg"));
    const int base = Base();
    SetTextNumber(this, kTitleText);
    setWindowTitle(LoadText(kTitleText, base));
    for (auto& input : inputs_) {
        input = new QLineEdit;
        input->setMaxLength(8);
        AttachDecimalKeyFilter(input);
        input->installEventFilter(this);
    }

    // The kind of screw, each with its page of inputs.
    auto* kindBox = Captioned(new QGroupBox, kKindText, base);
    auto* kindLayout = new QVBoxLayout(kindBox);
    kinds_ = new QButtonGroup(this);
    for (const auto& [id, number] : {std::pair{0, kTurnedText}, std::pair{1, kWholeText}}) {
        auto* radio = Captioned(new QRadioButton, number, base);
        kinds_->addButton(radio, id);
        kindLayout->addWidget(radio);
    }
    soField_ = new QLabel;
    asField_ = new QLabel;
    auto* turned = new QWidget;
    auto* turnedForm = new QFormLayout(turned);
    turnedForm->addRow(QStringLiteral("Lo [mm]"), Input(SF::TurnedLo));
    turnedForm->addRow(QStringLiteral("Lc [mm]"), Input(SF::TurnedLc));
    turnedForm->addRow(QStringLiteral("So"), soField_);
    auto* whole = new QWidget;
    auto* wholeForm = new QFormLayout(whole);
    wholeForm->addRow(QStringLiteral("As"), asField_);
    wholeForm->addRow(QStringLiteral("Lo [mm]"), Input(SF::WholeLo));
    wholeForm->addRow(QStringLiteral("Lc [mm]"), Input(SF::WholeLc));
    // do stays in sight for both kinds: OK checks it for a whole screw as well.
    auto* diameter = new QFormLayout;
    diameter->addRow(QStringLiteral("do [mm]"), Input(SF::TurnedDiameter));
    kindLayout->addLayout(diameter);
    kindPages_ = new QStackedWidget;
    kindPages_->addWidget(turned);
    kindPages_->addWidget(whole);
    kindLayout->addWidget(kindPages_);

    // The thread: its form, size and class, or a row of the user table.
    auto* threadBox = Captioned(new QGroupBox, kThreadFormText, base);
    auto* threadLayout = new QVBoxLayout(threadBox);
    threadForms_ = new QButtonGroup(this);
    for (const auto& [id, number] :
         {std::pair{0, kCoarseText}, std::pair{1, kFineText}, std::pair{2, kUserTableText}}) {
        auto* radio = Captioned(new QRadioButton, number, base);
        threadForms_->addButton(radio, id);
        threadLayout->addWidget(radio);
    }
    sizes_ = new QComboBox;
    for (int i = 0; i < kThreadSizeCount; ++i) sizes_->addItem(Text(ThreadSizeListItem(i)));
    classes_ = new QComboBox;
    const int classCount = testType_ == 2 ? kIso3506ClassCount : kIso898ClassCount;
    for (int i = 0; i < classCount; ++i) {
        classes_->addItem(Text(testType_ == 2 ? Iso3506ListItem(i) : Iso898ListItem(i)));
    }
    userRows_ = new QComboBox;
    for (int i = 0; i < table_.Count; ++i) {
        userRows_->addItem(Text(table_.Entries[static_cast<std::size_t>(i)].Designation));
    }
    auto* lists = new QFormLayout;
    auto listLabel = [&](int number) { return Captioned(new QLabel, number, base); };
    lists->addRow(listLabel(kThreadText), sizes_);
    lists->addRow(listLabel(kClassText), classes_);
    lists->addRow(listLabel(kUserTableText), userRows_);
    threadLayout->addLayout(lists);

    specimenNo_ = new QLineEdit;
    specimenNo_->setMaxLength(14);
    specimenId_ = new QLineEdit;
    specimenId_->setMaxLength(30);
    designation_ = new QLineEdit;
    designation_->setMaxLength(40);
    for (QLineEdit* edit : {specimenNo_, specimenId_, designation_}) edit->installEventFilter(this);
    auto* identity = new QFormLayout;
    QLabel* noLabel = Captioned(new QLabel, kSpecimenNoText, base);
    QLabel* idLabel = Captioned(new QLabel, kSpecimenIdText, base);
    idLabel->setBuddy(specimenId_);
    identity->addRow(noLabel, specimenNo_);
    identity->addRow(idLabel, specimenId_);
    identity->addRow(Captioned(new QLabel, kScrewText, base), designation_);
    identity->addRow(QStringLiteral("Le [mm]"), Input(SF::Le));

    const SpecimenButtonRow buttons = MakeSpecimenButtonRow(kCancelText, base);
    okButton_ = buttons.Ok;
    connect(okButton_, &QPushButton::clicked, this, &TProbenDatenDlg::accept);
    connect(buttons.Cancel, &QPushButton::clicked, this, &TProbenDatenDlg::reject);
    connect(buttons.HeaderData, &QPushButton::clicked, this, [this] { HandleKey(Qt::Key_F7, {}); });

    auto* columns = new QHBoxLayout;
    columns->addWidget(kindBox);
    columns->addWidget(threadBox);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(identity);
    layout->addLayout(columns);
    layout->addLayout(buttons.Layout);

    connect(kinds_, &QButtonGroup::idClicked, this, [this](int id) { ShowKind(id == 1); });
    connect(threadForms_, &QButtonGroup::idClicked, this, [this] { SelectionChanged(); });
    for (QComboBox* list : {sizes_, classes_, userRows_}) {
        connect(list, &QComboBox::currentIndexChanged, this, [this] { SelectionChanged(); });
    }
    readingTimer_.setInterval(50);
    readingTimer_.setSingleShot(true);
    connect(&readingTimer_, &QTimer::timeout, this, &TProbenDatenDlg::PollInstruments);
}

int TProbenDatenDlg::Base() const {
    return ui_.Texts.Base();
}

void TProbenDatenDlg::SetMachine(const SpecimenDialogMachine& machine) {
    machine_ = machine;
    readings_ = InstrumentReadings(machine.Ports, machine.CaliperPort, machine.MicrometerPort);
}

void TProbenDatenDlg::showEvent(QShowEvent* event) {
    confirmedForReevaluation_ = false;
    const ScrewFormTexts t = LoadScrewForm(testType_, parameters_, table_);
    loading_ = true;
    kinds_->button(t.Selection.WholeScrew ? 1 : 0)->setChecked(true);
    threadForms_->button(t.Selection.Kind)->setChecked(true);
    sizes_->setCurrentIndex(t.Selection.ThreadSizeIndex);
    classes_->setCurrentIndex(testType_ == 2 ? t.Selection.StainlessClassIndex
                                             : t.Selection.StrengthClassIndex);
    userRows_->setCurrentIndex(t.Selection.UserTableRow - 1);
    loading_ = false;
    Input(SF::TurnedDiameter)->setText(Text(t.TurnedDiameter));
    Input(SF::TurnedLo)->setText(Text(t.TurnedLo));
    Input(SF::TurnedLc)->setText(Text(t.TurnedLc));
    Input(SF::WholeLo)->setText(Text(t.WholeLo));
    Input(SF::WholeLc)->setText(Text(t.WholeLc));
    Input(SF::Le)->setText(Text(t.Le));
    soField_->setText(Area(parameters_.Round.So));
    specimenNo_->setText(Text(NumberingCounter >= 0
                                  ? PreviewSpecimenNumber(t.SpecimenNo, NumberingCounter)
                                  : t.SpecimenNo));
    specimenId_->setText(Text(t.SpecimenId));
    ShowKind(t.Selection.WholeScrew);
    SelectionChanged();
    readings_.Purge(Instrument::Caliper);
    readings_.Purge(Instrument::Micrometer);
    if (readings_.Connected()) readingTimer_.start();
    QuorvexDialog::showEvent(event);
}

ScrewFormTexts TProbenDatenDlg::ReadForm() const {
    ScrewFormTexts t;
    ScrewSelection& s = t.Selection;
    s.TestType = testType_;
    s.WholeScrew = kinds_->checkedId() == 1;
    s.Kind = std::max(0, threadForms_->checkedId());
    s.ThreadSizeIndex = std::max(0, sizes_->currentIndex());
    const int classIndex = std::max(0, classes_->currentIndex());
    (testType_ == 2 ? s.StainlessClassIndex : s.StrengthClassIndex) = classIndex;
    s.UserTableRow = userRows_->currentIndex() + 1;
    auto text = [this](SF field) { return Input(field)->text().toStdString(); };
    t.TurnedDiameter = text(SF::TurnedDiameter);
    s.TurnedDiameter = ParseNumber(t.TurnedDiameter);
    t.TurnedLo = text(SF::TurnedLo);
    t.TurnedLc = text(SF::TurnedLc);
    t.WholeLo = text(SF::WholeLo);
    t.WholeLc = text(SF::WholeLc);
    t.Le = text(SF::Le);
    t.SpecimenNo = specimenNo_->text().toStdString();
    t.SpecimenId = specimenId_->text().toStdString();
    t.Designation = designation_->text().toStdString();
    return t;
}

// The thread form, size, class or user row changed: As and the designation follow.
void TProbenDatenDlg::SelectionChanged() {
    if (loading_) return;
    const ScrewFormTexts t = ReadForm();
    ScrewSelection whole = t.Selection;
    whole.WholeScrew = true;
    asField_->setText(Area(StressArea(whole, table_)));
    designation_->setText(Text(ScrewDesignation(t.Selection, table_)));
}

void TProbenDatenDlg::ShowKind(bool whole) {
    kindPages_->setCurrentIndex(whole ? 1 : 0);
}

void TProbenDatenDlg::ShowTurnedSo() {
    const ScrewFormTexts t = ReadForm();
    ScrewSelection turned = t.Selection;
    turned.WholeScrew = false;
    soField_->setText(Area(StressArea(turned, table_)));
}

void TProbenDatenDlg::FocusAfter(SF field) {
    switch (field) {
        case SF::TurnedDiameter: Input(SF::TurnedLo)->setFocus(); break;
        case SF::TurnedLo: Input(SF::TurnedLc)->setFocus(); break;
        case SF::TurnedLc: specimenId_->setFocus(); break;
        case SF::WholeLo: Input(SF::WholeLc)->setFocus(); break;
        case SF::WholeLc: Input(SF::Le)->setFocus(); break;
        case SF::Le: okButton_->setFocus(); break;
    }
}

void TProbenDatenDlg::EnterIn(SF field) {
    QLineEdit* input = Input(field);
    const std::string text = input->text().toStdString();
    if (const CheckResult failure = CheckScrewInput(field, text)) {
        ShowFailure(*failure);
        return;
    }
    input->setText(Text(FormatFixed(ParseNumber(text), 0, ScrewInputDecimals(field))));
    if (field == SF::TurnedDiameter) ShowTurnedSo();
    FocusAfter(field);
}

void TProbenDatenDlg::PollInstruments() {
    const auto reading = readings_.Poll();
    if (reading) {
        QWidget* focused = focusWidget();
        // A reading goes into do or a length; anything else drops it.
        for (const SF field : {SF::TurnedDiameter, SF::TurnedLo, SF::TurnedLc, SF::WholeLo,
                               SF::WholeLc}) {
            if (focused != Input(field)) continue;
            QApplication::beep();
            Input(field)->setText(
                Text(FormatFixed(reading->Value, 0, field == SF::TurnedDiameter ? 3 : 2)));
            if (field == SF::TurnedDiameter) ShowTurnedSo();
            FocusAfter(field == SF::TurnedLc ? SF::WholeLc : field);
        }
    }
    if (isVisible() && readings_.Connected()) readingTimer_.start();
}

void TProbenDatenDlg::ShowFailure(const CheckFailure& failure) {
    ShowRefusedValue(ui_, failure, Input(static_cast<SF>(std::clamp(failure.Field, 0, int(SF::Le)))));
}

bool TProbenDatenDlg::CheckAndTake() {
    const ScrewFormTexts t = ReadForm();
    if (const CheckResult failure = CheckScrewForm(t)) {
        ShowFailure(*failure);
        return false;
    }
    TakeScrewForm(t, table_, parameters_, current_);
    return true;
}

void TProbenDatenDlg::accept() {
    if (!CheckAndTake()) return;
    readingTimer_.stop();
    QuorvexDialog::accept();
}

bool TProbenDatenDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            for (std::size_t i = 0; i < inputs_.size(); ++i) {
                if (watched == inputs_[i]) {
                    EnterIn(static_cast<SF>(i));
                    return true;
                }
            }
            if (watched == specimenId_) {
                okButton_->setFocus();
                return true;
            }
            if (watched == specimenNo_ || watched == designation_) {
                focusNextChild();
                return true;
            }
        }
        if (HandleKey(key->key(), key->modifiers())) return true;
    }
    return QuorvexDialog::eventFilter(watched, event);
}

bool TProbenDatenDlg::HandleKey(int key, Qt::KeyboardModifiers modifiers) {
    if (modifiers & Qt::ControlModifier) {
        if (key != Qt::Key_K) return false;
        // Confirmed for a new evaluation of the last test; the caller starts no test.
        QApplication::beep();
        if (!CheckAndTake()) return true;
        confirmedForReevaluation_ = true;
        readingTimer_.stop();
        QuorvexDialog::reject();
        return true;
    }
    switch (key) {
        case Qt::Key_F5:
            if (machine_.Daq != nullptr) machine_.Daq->ZeroForce();
            return true;
        case Qt::Key_F7:
            if (machine_.EditHeaderData) machine_.EditHeaderData();
            return true;
        default:
            return false;
    }
}

}  // namespace quorvex
