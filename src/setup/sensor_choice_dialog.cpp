// Choosing the fitted load cell or extensometer.
#include "setup/sensor_choice_dialog.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QVBoxLayout>

#include "ui/captions.h"
#include "ui/stored_texts.h"
#include "ui/text_table.h"

namespace quorvex {
namespace {

constexpr int kLoadCellTitle = 526;
constexpr int kExtensometerTitle = 143;

}  // namespace

TSensorChoiceDlg::TSensorChoiceDlg(UiContext& ui, SensorKind kind, QWidget* parent)
    : QuorvexDialog(ui, parent), kind_(kind) {
    const int title = kind == SensorKind::LoadCell ? kLoadCellTitle : kExtensometerTitle;
    SetTextNumber(this, title);
    setWindowTitle(LoadText(title, ui.Texts.Base()));
    group_ = new QGroupBox(LoadText(text::kSelection, ui.Texts.Base()), this);
    SetTextNumber(group_, text::kSelection);
    new QVBoxLayout(group_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group_);
    layout->addWidget(buttons);
}

std::optional<int> TSensorChoiceDlg::Choose(const std::vector<SensorEntry>& usable,
                                            int preselected) {
    for (QRadioButton* choice : choices_) delete choice;
    choices_.clear();
    const QString unit =
        kind_ == SensorKind::LoadCell ? QStringLiteral(" kN") : QStringLiteral(" mm");
    for (const SensorEntry& entry : usable) {
        auto* choice = new QRadioButton(QString::number(entry.Nominal, 'f', 2) + unit, group_);
        choice->setChecked(entry.Number == preselected);
        group_->layout()->addWidget(choice);
        choices_.push_back(choice);
    }
    if (!choices_.empty() && preselected < 1) choices_.front()->setChecked(true);
    if (exec() != QDialog::Accepted) return std::nullopt;
    for (std::size_t i = 0; i < choices_.size(); ++i) {
        if (choices_[i]->isChecked()) return usable[i].Number;
    }
    return std::nullopt;
}

}  // namespace quorvex
