// The language dialog.
#include "ui/language_dialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/text_table.h"

namespace quorvex {

TSpracheDlg::TSpracheDlg(UiContext& ui, QWidget* parent) : QuorvexDialog(ui, parent) {
    setObjectName(QStringLiteral("SpracheDlg"));
    setWindowTitle(QStringLiteral("Language"));
    group_ = new QGroupBox(QStringLiteral("Selection"), this);
    choices_ = new QButtonGroup(this);
    auto* groupLayout = new QVBoxLayout(group_);
    for (int i = 0; i < static_cast<int>(kLanguageNames.size()); ++i) {
        auto* choice = new QRadioButton(QString::fromLatin1(kLanguageNames[static_cast<std::size_t>(i)]), group_);
        choices_->addButton(choice, i);
        groupLayout->addWidget(choice);
    }
    // 30 pixels per entry and 30 for the frame; the window is 50 higher than the group.
    const int groupHeight = 30 * static_cast<int>(kLanguageNames.size()) + 30;
    group_->setFixedHeight(groupHeight);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &TSpracheDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TSpracheDlg::reject);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(group_);
    layout->addWidget(buttons);
    setFixedSize(260, groupHeight + 50);
}

void TSpracheDlg::showEvent(QShowEvent* event) {
    QAbstractButton* current = choices_->button(ItemIndex);
    if (current == nullptr) current = choices_->button(0);
    current->setChecked(true);
    current->setFocus();
    move(x(), 10);
    QuorvexDialog::showEvent(event);
}

void TSpracheDlg::accept() {
    if (choices_->checkedId() >= 0) ItemIndex = choices_->checkedId();
    QuorvexDialog::accept();
}

}  // namespace quorvex
