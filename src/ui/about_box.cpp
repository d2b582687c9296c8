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
    // The program's own version; it runs on this operating system, whatever the old one was.
    auto* version =
        new QLabel(QStringLiteral("Version    :  ") + QStringLiteral(QUORVEX_VERSION), this);
    version->setObjectName(QStringLiteral("VersionLine"));
    hardware_ = new QLabel(this);
    hardware_->setObjectName(QStringLiteral("HardwareLine"));
    SetHardware({});
    userLine_ = new QLabel(this);
    userLine_->setObjectName(QStringLiteral("UserLine"));
    userLine_->hide();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &TAboutBox::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(product);
    layout->addWidget(version);
    layout->addWidget(hardware_);
    layout->addWidget(userLine_);
    layout->addWidget(buttons);
}

void TAboutBox::SetHardware(const QStringList& cards) {
    const QString indent(QStringLiteral("Hardware   :   ").size(), QLatin1Char(' '));
    hardware_->setText(QStringLiteral("Hardware   :   ") +
                       (cards.isEmpty() ? QStringLiteral("-")
                                        : cards.join(QLatin1Char('\n') + indent)));
}

void TAboutBox::showEvent(QShowEvent* event) {
    PlaceBesideMainWindow(150);
    QuorvexDialog::showEvent(event);
}

}  // namespace quorvex
