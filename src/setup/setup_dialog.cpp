// The setup dialog's behaviour: showing the form, the editing rights and access codes, the
// sequence option dependencies, the confirmation with its checks, and the two save buttons.
#include "setup/setup_dialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "setup/setup_texts.h"
#include "ui/captions.h"
#include "ui/operator_message.h"
#include "ui/password_dialog.h"
#include "ui/stored_texts.h"
#include "ui/text_table.h"

namespace quorvex {
namespace {

int F(SetupField field) {
    return static_cast<int>(field);
}

}  // namespace

TBtnRightDlg::TBtnRightDlg(UiContext& ui, ParameterSet& parameters, MachineConfig& machine,
                           TPasswordDlg& password, QWidget* parent)
    : QuorvexDialog(ui, parent), parameters_(parameters), machine_(machine), password_(password) {
    setObjectName(QStringLiteral("BtnRightDlg"));
    BuildTabs();

    okButton_ = Captioned(new QPushButton, setup_text::kOk);
    cancelButton_ = Captioned(new QPushButton, setup_text::kCancel);
    systemDataButton_ = Captioned(new QPushButton, setup_text::kSaveSystemData);
    for (QPushButton* button : {okButton_, cancelButton_, systemDataButton_}) {
        button->setAutoDefault(false);
    }
    connect(okButton_, &QPushButton::clicked, this, &TBtnRightDlg::accept);
    connect(cancelButton_, &QPushButton::clicked, this, &TBtnRightDlg::reject);
    connect(systemDataButton_, &QPushButton::clicked, this, &TBtnRightDlg::Button1Click);
    connect(machineCodeButton_, &QPushButton::clicked, this, &TBtnRightDlg::BitBtn1Click);
    connect(sequenceCodeButton_, &QPushButton::clicked, this, &TBtnRightDlg::BitBtn2Click);
    connect(saveLoadCellsButton_, &QPushButton::clicked, this, &TBtnRightDlg::SaveButtonClick);
    connect(saveExtensometersButton_, &QPushButton::clicked, this, &TBtnRightDlg::SaveButton2Click);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(systemDataButton_);
    buttons->addStretch();
    buttons->addWidget(okButton_);
    buttons->addWidget(cancelButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addLayout(buttons);
}

QWidget* TBtnRightDlg::Field(int field) const {
    const auto found = fields_.find(field);
    return found == fields_.end() ? nullptr : found->second;
}

QCheckBox* TBtnRightDlg::SequenceBox(SequenceOption option) const {
    return sequenceBoxes_.at(option);
}

void TBtnRightDlg::showEvent(QShowEvent* event) {
    FormShow();
    // The two modes show different tabs: the size follows the tabs of this showing, not
    // those of the mode shown before.
    if (layout() != nullptr) layout()->activate();
    resize(sizeHint());
    QuorvexDialog::showEvent(event);
}

void TBtnRightDlg::SetTabCaptions() {
    const int base = ui_.Texts.Base();
    tabs_->clear();
    if (Mode == kTestParameterMode) {
        tabs_->addTab(testTab_, LoadText(setup_text::kTestTab, base));
    } else {
        tabs_->addTab(rangesTab_, LoadText(setup_text::kRangesTab, base));
        tabs_->addTab(gainsTab_, LoadText(setup_text::kGainsTab, base));
        tabs_->addTab(machineTab_, LoadText(setup_text::kMachineTab, base));
        tabs_->addTab(accessoriesTab_, LoadText(setup_text::kAccessoriesTab, base));
    }
    tabs_->addTab(sequenceTab_, LoadText(setup_text::kSequenceTab, base));
    tabs_->setCurrentIndex(0);
}

void TBtnRightDlg::FormShow() {
    systemDataRequested_ = false;
    rights_ = SetupRights{OperatorUnlocked, false, false};
    const bool machineMode = Mode != kTestParameterMode;
    const int title = machineMode ? setup_text::kMachineSetupTitle : setup_text::kTestTitle;
    SetTextNumber(this, title);
    setWindowTitle(LoadText(title, ui_.Texts.Base()));
    SetTabCaptions();
    systemDataButton_->setVisible(machineMode);
    machineCodeButton_->setVisible(machineMode);
    // Without hydraulic grips the machine cannot return on its own once the test is over.
    if (machine_.Setup.HydraulicGrips == 0) parameters_.AutoReturnStart = 0;
    WriteForm(FillSetupForm(parameters_, machine_));
    ApplyRights();
    if (!OperatorUnlocked) cancelButton_->setFocus();
}

void TBtnRightDlg::WriteForm(const SetupForm& form) {
    for (const auto& write : writers_) write(form);
}

SetupForm TBtnRightDlg::ReadForm() const {
    // The fields the dialog does not show keep the record's values.
    SetupForm form = FillSetupForm(parameters_, machine_);
    for (const auto& read : readers_) read(form);
    return form;
}

void TBtnRightDlg::ApplyRights() {
    const bool machineFields = rights_.Basic && rights_.Machine;
    for (QWidget* w : basicWidgets_) w->setEnabled(rights_.Basic);
    for (QWidget* w : machineWidgets_) w->setEnabled(machineFields);
    machineCodeButton_->setEnabled(rights_.Basic);
    sequenceCodeButton_->setEnabled(rights_.Basic);
    systemDataButton_->setEnabled(rights_.Basic);
    EnableSequenceOptions();
    // The test type closes some of the test fields whatever the rights open.
    if (Mode == kTestParameterMode) AdjustTestTab();
}

void TBtnRightDlg::EnableSequenceOptions() {
    const SetupForm form = ReadForm();
    const SequenceOptions enabled = SequenceOptionsEnabled(
        rights_.Basic && rights_.Sequence, form.HydraulicGrips, form.TdmActive, form.AmpVersion);
    for (const auto& [option, box] : sequenceBoxes_) box->setEnabled(OptionOf(enabled, option));
}

void TBtnRightDlg::SequenceOptionClicked(SequenceOption option, bool checked) {
    SetupForm form = ReadForm();
    SetSequenceOption(form.Sequence, option, checked);
    for (const auto& [o, box] : sequenceBoxes_) box->setChecked(OptionOf(form.Sequence, o));
}

void TBtnRightDlg::BitBtn1Click() {
    password_.Mode = 2;
    password_.exec();
    if (password_.Granted) {
        rights_.Machine = true;
        ApplyRights();
    }
}

void TBtnRightDlg::BitBtn2Click() {
    password_.Mode = 3;
    password_.exec();
    if (password_.Granted) {
        rights_.Sequence = true;
        ApplyRights();
    }
}

void TBtnRightDlg::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers mods = event->modifiers();
    const int key = event->key();
    // Alt+F12 or Ctrl+F open the machine fields as the master code does.
    if ((key == Qt::Key_F12 && mods == Qt::AltModifier) ||
        (key == Qt::Key_F && mods == Qt::ControlModifier)) {
        if (rights_.Basic) {
            rights_.Machine = true;
            ApplyRights();
        }
        event->accept();
        return;
    }
    if (mods == Qt::AltModifier) {
        static const std::map<int, SetupField> kAltFields = {
            {Qt::Key_E, SetupField::ExtensometerLimit}, {Qt::Key_F, SetupField::BreakDrop},
            {Qt::Key_G, SetupField::GaugeLengthLe},     {Qt::Key_K, SetupField::NominalForce},
            {Qt::Key_M, SetupField::ExtensometerRange}, {Qt::Key_R, SetupField::Rmin},
            {Qt::Key_T, SetupField::NominalTravel},     {Qt::Key_V, SetupField::Preload},
            {Qt::Key_Z, SetupField::MessageTime},
        };
        if (const auto found = kAltFields.find(key); found != kAltFields.end()) {
            FocusField(F(found->second));
            event->accept();
            return;
        }
    }
    // Enter in a field moves on to the next one instead of closing the dialog; the preload
    // is checked against its bounds first.
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) &&
        qobject_cast<QLineEdit*>(focusWidget()) != nullptr) {
        if (focusWidget() != Field(F(SetupField::Preload)) || PreloadEntryAccepted()) {
            focusNextChild();
        }
        event->accept();
        return;
    }
    QuorvexDialog::keyPressEvent(event);
}

void TBtnRightDlg::FocusField(int field) {
    QWidget* widget = Field(field);
    if (widget == nullptr) return;
    for (int i = 0; i < tabs_->count(); ++i) {
        if (tabs_->widget(i)->isAncestorOf(widget)) {
            tabs_->setCurrentIndex(i);
            if (widget->isEnabled()) widget->setFocus();
            return;
        }
    }
}

void TBtnRightDlg::ShowFailure(const CheckFailure& failure) {
    const int base = ui_.Texts.Base();
    const std::string message = ComposeMessage(
        failure, [base](int number) { return LoadText(number, base).toStdString(); });
    ui_.Messages.ShowOperatorMessage(QString::fromStdString(message), MessageKind::Warning,
                                     MessageButtons::Ok);
    // A test field that this mode does not show: the field whose value sets its bounds.
    int field = TestFieldOf(failure);
    const bool shown = [&] {
        QWidget* widget = Field(field);
        for (int i = 0; widget && i < tabs_->count(); ++i) {
            if (tabs_->widget(i)->isAncestorOf(widget)) return true;
        }
        return false;
    }();
    if (!shown && field == F(SetupField::SetupPosition)) field = F(SetupField::NominalTravel);
    if (!shown && field == F(SetupField::Preload)) field = F(SetupField::NominalForce);
    FocusField(field);
}

void TBtnRightDlg::ShowFileNotWritten(const std::filesystem::path& path) {
    ui_.Messages.ShowOperatorMessage(QString::fromStdString(path.string()), MessageKind::Error,
                                     MessageButtons::Ok);
}

bool TBtnRightDlg::FormCloseQuery() {
    const SetupForm form = ReadForm();
    const SetupChecks scope =
        Mode == kTestParameterMode ? SetupChecks::TestTabOnly : SetupChecks::Machine;
    if (const CheckResult failure = CheckSetupForm(form, parameters_.TestType, scope)) {
        ShowFailure(*failure);
        return false;
    }
    StoreSetupForm(form, parameters_, machine_);
    if (Mode == kTestParameterMode) StoreTestFields(form, parameters_);
    if (systemDataRequested_) {
        for (const auto& path : SaveSystemData(parameters_, machine_, WorkingDirectory)) {
            ShowFileNotWritten(path);
        }
    }
    return true;
}

void TBtnRightDlg::OKBtnClick() {
    accept();
}

void TBtnRightDlg::CancelBtnClick() {
    reject();
}

void TBtnRightDlg::Button1Click() {
    // The request stays until the dialog is shown again: after a failed check a plain OK in
    // the same showing saves too.
    systemDataRequested_ = true;
    accept();
}

void TBtnRightDlg::accept() {
    if (FormCloseQuery()) QuorvexDialog::accept();
}

void TBtnRightDlg::SaveButtonClick() {
    const SetupForm form = ReadForm();
    if (const CheckResult failure = CheckSensorFields(form, SensorKind::LoadCell)) {
        ShowFailure(*failure);
        return;
    }
    if (!SaveSensorFields(form, SensorKind::LoadCell, machine_.LoadCells, WorkingDirectory)) {
        ShowFileNotWritten(ResolveInDirectory(WorkingDirectory, kLoadCellFile));
    }
}

void TBtnRightDlg::SaveButton2Click() {
    const SetupForm form = ReadForm();
    if (const CheckResult failure = CheckSensorFields(form, SensorKind::Extensometer)) {
        ShowFailure(*failure);
        return;
    }
    if (!SaveSensorFields(form, SensorKind::Extensometer, machine_.Extensometers,
                          WorkingDirectory)) {
        ShowFileNotWritten(ResolveInDirectory(WorkingDirectory, kExtensometerFile));
    }
}

}  // namespace quorvex
