// The results-definition dialog: rows of result slots on page "Auswertung", the type's options
// on page "Optionen", both built from the type's table and read back into the plain form.
#include "definitions/results_definition_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "ui/captions.h"
#include "ui/operator_message.h"
#include "ui/stored_texts.h"
#include "ui/text_table.h"

namespace quorvex {
namespace {

constexpr int kEvaluationPageText = 67;  // "Auswertung"
constexpr int kOptionsPageText = 66;     // "Optionen"
constexpr int kOkText = 34;
constexpr int kCancelText = 35;  // "Abbrechen"

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

ResultsDefinitionDialog::ResultsDefinitionDialog(UiContext& ui, ParameterSet& parameters,
                                                 DefinitionKind kind, QWidget* parent)
    : QuorvexDialog(ui, parent), parameters_(parameters), layout_(LayoutOf(kind)) {
    UseSettingsPlacement();
    setObjectName(Q(layout_.ObjectName));
    const int base = ui_.Texts.Base();
    SetTextNumber(this, layout_.CaptionText);
    setWindowTitle(LoadText(layout_.CaptionText, base));

    // Twenty-one rows and the options do not fit a small screen: the pages scroll. The single
    // page holds the rows above the options, so that it stays narrow enough for 1024 pixels.
    QWidget* rowsPage = BuildRowsPage();
    QWidget* optionsPage = BuildOptionsPage();
    auto* layout = new QVBoxLayout(this);
    if (layout_.Pages) {
        pages_ = new QTabWidget(this);
        pages_->addTab(ScrollingPage(rowsPage, this), LoadText(kEvaluationPageText, base));
        pages_->addTab(ScrollingPage(optionsPage, this), LoadText(kOptionsPageText, base));
        layout->addWidget(pages_);
    } else {
        auto* single = new QWidget(this);
        auto* stacked = new QVBoxLayout(single);
        stacked->addWidget(rowsPage);
        stacked->addWidget(optionsPage);
        layout->addWidget(ScrollingPage(single, this));
    }

    auto* buttons = new QDialogButtonBox(this);
    ok_ = buttons->addButton(LoadText(kOkText, base), QDialogButtonBox::AcceptRole);
    cancel_ = buttons->addButton(LoadText(kCancelText, base), QDialogButtonBox::RejectRole);
    SetTextNumber(ok_, kOkText);
    SetTextNumber(cancel_, kCancelText);
    // Enter belongs to the inputs (it checks and moves on), never to a button.
    for (QPushButton* b : {ok_, cancel_}) b->setAutoDefault(false);
    connect(ok_, &QPushButton::clicked, this, &ResultsDefinitionDialog::OKBtnClick);
    connect(cancel_, &QPushButton::clicked, this, &ResultsDefinitionDialog::reject);
    layout->addWidget(buttons);
}

const ResultsDefinitionDialog::RowWidgets& ResultsDefinitionDialog::RowAt(int slot) const {
    for (std::size_t i = 0; i < layout_.Rows.size(); ++i) {
        if (layout_.Rows[i].Slot == slot) return rows_[i];
    }
    static const RowWidgets none;
    return none;
}

QWidget* ResultsDefinitionDialog::Option(const std::string& key) const {
    const int index = OptionIndex(layout_, key);
    return index < 0 ? nullptr : options_[static_cast<std::size_t>(index)].Input;
}

QAbstractButton* ResultsDefinitionDialog::OptionItem(const std::string& key, int item) const {
    const int index = OptionIndex(layout_, key);
    if (index < 0 || !options_[static_cast<std::size_t>(index)].Items) return nullptr;
    return options_[static_cast<std::size_t>(index)].Items->button(item);
}

int ResultsDefinitionDialog::CurrentPage() const {
    return pages_ ? pages_->currentIndex() : kPageEvaluation;
}

void ResultsDefinitionDialog::showEvent(QShowEvent* event) {
    FormShow();
    QuorvexDialog::showEvent(event);
    // The chain-test dialog, always editable, still opens with the focus on Cancel.
    if (!ok_->isEnabled() || layout_.AlwaysEditable) cancel_->setFocus();
}

void ResultsDefinitionDialog::FormShow() {
    if (pages_) {  // tab captions follow a language switch at the next showing
        pages_->setTabText(kPageEvaluation, LoadText(kEvaluationPageText, ui_.Texts.Base()));
        pages_->setTabText(kPageOptions, LoadText(kOptionsPageText, ui_.Texts.Base()));
    }
    ApplyOpeningChanges(layout_, parameters_, &restorePoint_);
    acAsAl_ = false;
    ShowForm(OpenDefinitionForm(layout_, parameters_));
    if (pages_) pages_->setCurrentIndex(kPageEvaluation);
    ApplyAccess();
}

void ResultsDefinitionDialog::ShowForm(const DefinitionForm& form) {
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const RowForm& f = form.Rows[i];
        RowWidgets& r = rows_[i];
        // Evaluate first, so that the dependency does not clear the boxes being shown.
        r.Evaluate->setChecked(f.Evaluate);
        r.LimitActive->setChecked(f.LimitActive);
        r.Print->setChecked(f.Print);
        r.Statistics->setChecked(f.Statistics);
        r.Min->setText(Q(f.Min));
        r.Max->setText(Q(f.Max));
        if (r.Decimals) r.Decimals->setValue(f.Decimals);
    }
    for (std::size_t i = 0; i < options_.size(); ++i) {
        const OptionSpec& o = layout_.Options[i];
        const QString text = Q(form.Options.at(o.Key));
        OptionWidgets& w = options_[i];
        switch (o.Kind) {
            case OptionKind::Number:
                static_cast<QLineEdit*>(w.Input)->setText(text);
                break;
            case OptionKind::Box:
                static_cast<QCheckBox*>(w.Input)->setChecked(text == QLatin1String("1"));
                break;
            case OptionKind::Spin:
                static_cast<QSpinBox*>(w.Input)->setValue(text.toInt());
                break;
            case OptionKind::Choice: {
                // A choice without a stored value opens without a selection.
                w.Items->setExclusive(false);
                for (QAbstractButton* b : w.Items->buttons()) b->setChecked(false);
                w.Items->setExclusive(true);
                if (QAbstractButton* b = w.Items->button(text.toInt())) b->setChecked(true);
                break;
            }
        }
    }
    remark_->setChecked(form.Remark);
    footnote_->setChecked(form.Footnote);
    RefreshLabels();
}

DefinitionForm ResultsDefinitionDialog::ReadForm() const {
    DefinitionForm form;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const RowWidgets& r = rows_[i];
        RowForm f;
        f.Slot = layout_.Rows[i].Slot;
        f.Evaluate = r.Evaluate->isChecked();
        f.LimitActive = r.LimitActive->isChecked();
        f.Print = r.Print->isChecked();
        f.Statistics = r.Statistics->isChecked();
        f.Min = r.Min->text().toStdString();
        f.Max = r.Max->text().toStdString();
        f.Decimals = r.Decimals ? r.Decimals->value() : 0;
        form.Rows.push_back(f);
    }
    for (std::size_t i = 0; i < options_.size(); ++i) {
        const OptionSpec& o = layout_.Options[i];
        const OptionWidgets& w = options_[i];
        std::string value;
        switch (o.Kind) {
            case OptionKind::Number:
                value = static_cast<QLineEdit*>(w.Input)->text().toStdString();
                break;
            case OptionKind::Box:
                value = std::to_string(static_cast<QCheckBox*>(w.Input)->isChecked() ? 1 : 0);
                break;
            case OptionKind::Spin:
                value = std::to_string(static_cast<QSpinBox*>(w.Input)->value());
                break;
            case OptionKind::Choice:
                value = std::to_string(w.Items->checkedId());
                break;
        }
        form.Options[o.Key] = value;
    }
    form.Remark = remark_->isChecked();
    form.Footnote = footnote_->isChecked();
    form.AcAsAl = acAsAl_;
    return form;
}

QString ResultsDefinitionDialog::FixedCaption(const OptionSpec& option,
                                              const std::string& caption) const {
    const QString text = Q(caption);
    return option.CaptionText != 0 ? text.arg(LoadText(option.CaptionText, ui_.Texts.Base()))
                                   : text;
}

void ResultsDefinitionDialog::RefreshLabels() {
    const DefinitionForm form = ReadForm();
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const DefinitionRow& row = layout_.Rows[i];
        rows_[i].Evaluate->setText(row.TextNumber != 0 ? LoadText(row.TextNumber, ui_.Texts.Base())
                                                       : Q(RowName(layout_, row, form)));
        rows_[i].Unit->setText(Q(RowUnit(layout_, layout_.Rows[i], form)));
    }
    for (std::size_t i = 0; i < options_.size(); ++i) {
        const OptionSpec& o = layout_.Options[i];
        if (options_[i].Label && o.TextNumber == 0) {
            options_[i].Label->setText(FixedCaption(o, OptionCaption(o, form)));
        }
    }
}

void ResultsDefinitionDialog::ApplyAccess() {
    const bool editable = layout_.AlwaysEditable || !ReadOnly;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const int slot = layout_.Rows[i].Slot;
        const bool rowOn = editable && slot != layout_.DisabledRow;
        RowWidgets& r = rows_[i];
        r.Evaluate->setEnabled(rowOn && !IsLockedTicked(layout_, slot));
        for (QWidget* w :
             std::initializer_list<QWidget*>{r.LimitActive, r.Print, r.Statistics, r.Min, r.Max}) {
            w->setEnabled(rowOn);
        }
        if (r.Decimals) r.Decimals->setEnabled(rowOn);
    }
    for (std::size_t i = 0; i < options_.size(); ++i) {
        const bool on = editable && (!layout_.Options[i].NeedsHydraulicGrips || HydraulicGrips);
        options_[i].Input->setEnabled(on);
    }
    remark_->setEnabled(editable);
    footnote_->setEnabled(editable);
    ok_->setEnabled(editable);
}

QWidget* ResultsDefinitionDialog::FieldWidget(int field) const {
    const FieldRef ref = DecodeField(field);
    if (ref.What == FieldRef::Option) return options_.at(static_cast<std::size_t>(ref.Index)).Input;
    const RowWidgets& r = rows_.at(static_cast<std::size_t>(ref.Index));
    return ref.What == FieldRef::Min ? r.Min : r.Max;
}

QString ResultsDefinitionDialog::FieldCaption(int field) const {
    const FieldRef ref = DecodeField(field);
    const int base = ui_.Texts.Base();
    if (ref.What == FieldRef::Option) {
        const OptionWidgets& w = options_.at(static_cast<std::size_t>(ref.Index));
        QString caption = w.Label ? w.Label->text() : QString();
        if (auto* group = qobject_cast<QGroupBox*>(w.Input->parentWidget())) {
            caption = group->title() + QLatin1Char(' ') + caption;
        }
        return WithoutAccelerator(caption).simplified();
    }
    const RowWidgets& r = rows_.at(static_cast<std::size_t>(ref.Index));
    const QString which = LoadText(ref.What == FieldRef::Min ? text::kLimitMin : text::kLimitMax,
                                   base);
    return (WithoutAccelerator(r.Evaluate->text()) + QLatin1Char(' ') + which).simplified();
}

void ResultsDefinitionDialog::ShowFailure(const CheckFailure& failure) {
    const int base = ui_.Texts.Base();
    const std::string message = ComposeMessage(
        failure, [base](int number) { return LoadText(number, base).toStdString(); });
    // The message names the field, since a page holds dozens of alike inputs.
    ui_.Messages.ShowOperatorMessage(FieldCaption(failure.Field) + QLatin1Char('\n') + Q(message),
                                     MessageKind::Error, MessageButtons::Ok);
    if (pages_) pages_->setCurrentIndex(PageOfField(layout_, failure.Field));
    QWidget* input = FieldWidget(failure.Field);
    for (QWidget* up = input->parentWidget(); up != nullptr; up = up->parentWidget()) {
        if (auto* area = qobject_cast<QScrollArea*>(up)) {
            area->ensureWidgetVisible(input);
            break;
        }
    }
    input->setFocus();
}

void ResultsDefinitionDialog::OKBtnClick() {
    if (!ok_->isEnabled()) return;
    const DefinitionForm form = ReadForm();
    if (const CheckResult failure = CheckDefinitionForm(layout_, form)) {
        ShowFailure(*failure);
        return;
    }
    StoreDefinitionForm(layout_, form, parameters_);
    accept();
}

void ResultsDefinitionDialog::reject() {
    if (layout_.RestoreOnCancel) parameters_ = restorePoint_;
    QuorvexDialog::reject();
}

bool ResultsDefinitionDialog::EnterInRangedOption(int option) {
    const OptionSpec& o = layout_.Options[static_cast<std::size_t>(option)];
    const std::string text =
        static_cast<QLineEdit*>(options_[static_cast<std::size_t>(option)].Input)
            ->text()
            .toStdString();
    if (const CheckResult failure =
            CheckNumberField(OptionField(option), text, o.CheckLow, o.CheckHigh, o.RangeText)) {
        ShowFailure(*failure);
        return true;
    }
    for (std::size_t next = static_cast<std::size_t>(option) + 1; next < options_.size(); ++next) {
        if (layout_.Options[next].Check & kBeforeLimits) {
            options_[next].Input->setFocus();
            break;
        }
    }
    return true;
}

void ResultsDefinitionDialog::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers() & Qt::AltModifier && ok_->isEnabled()) {
        for (const DefinitionLayout::AltKey& alt : layout_.AltKeys) {
            if (event->key() != Qt::Key_A + (alt.Letter - 'A')) continue;
            QWidget* target = alt.Key ? Option(alt.Key) : EvaluateBox(alt.Slot);
            if (pages_) pages_->setCurrentIndex(alt.Key ? kPageOptions : kPageEvaluation);
            if (target) target->setFocus();
            event->accept();
            return;
        }
    }
    QuorvexDialog::keyPressEvent(event);
}

bool ResultsDefinitionDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            for (std::size_t i = 0; i < options_.size(); ++i) {
                if (options_[i].Input == watched && (layout_.Options[i].Check & kBeforeLimits)) {
                    return EnterInRangedOption(static_cast<int>(i));
                }
            }
        }
    }
    return QuorvexDialog::eventFilter(watched, event);
}

int ExecResultsDefinition(UiContext& ui, ParameterSet& parameters, int testType, bool readOnly,
                          bool hydraulicGrips, QWidget* parent) {
    ResultsDefinitionDialog dialog(ui, parameters, DefinitionKindOfTestType(testType), parent);
    dialog.ReadOnly = readOnly;
    dialog.HydraulicGrips = hydraulicGrips;
    return dialog.exec();
}

}  // namespace quorvex
