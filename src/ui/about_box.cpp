// The information box: product, version and hardware lines.
#include "ui/about_box.h"

#include <QDialogButtonBox>
#include <QFont>
#include <QLabel>
#include <QVBoxLayout>

#include "ui/captions.h"
#include "ui/stored_texts.h"
#include "ui/text_table.h"

namespace quorvex {

TAboutBox::TAboutBox(UiContext& ui, QWidget* parent) : QuorvexDialog(ui, parent) {
    setObjectName(QStringLiteral("AboutBox"));
    SetTextNumber(this, text::kInfoMenu);
    setWindowTitle(LoadText(text::kInfoMenu, ui.Texts.Base()));
    auto* product = new QLabel(QStringLiteral("Quorvex"), this);
    QFont big = product->font();
    big.setPointSize(big.pointSize() * 2);
    big.setBold(true);
    product->setFont(big);
    auto* version =
        new QLabel(QStringLiteral("Version    :  8.6.4  Windows 98-ME / NT 4.0 - Windows 7"), this);
    auto* hardware = new QLabel(QStringLiteral("Hardware   :   AdLink 9111 / 16"), this);
    userLine_ = new QLabel(this);
    userLine_->setObjectName(QStringLiteral("UserLine"));
    userLine_->hide();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &TAboutBox::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(product);
    layout->addWidget(version);
    layout->addWidget(hardware);
    layout->addWidget(userLine_);
    layout->addWidget(buttons);
}

void TAboutBox::showEvent(QShowEvent* event) {
    PlaceBesideMainWindow(150);
    QuorvexDialog::showEvent(event);
}

}  // namespace quorvex
