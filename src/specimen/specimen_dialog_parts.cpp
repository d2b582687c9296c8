#include "specimen/specimen_dialog_parts.h"

#include <cmath>

#include "machine/controller_link.h"
#include "ui/captions.h"
#include "ui/operator_message.h"
#include "ui/stored_texts.h"
#include "ui/text_table.h"

namespace quorvex {
namespace {

constexpr int kOkText = 34;
constexpr int kHeaderDataText = 549;  // "Kopfdaten F7"

}  // namespace

void MoveLinkToStartPosition(ControllerLink* link, double startPosition, double travelOffset) {
    if (link == nullptr) return;
    const double nominalTravel = link->Config().NominalTravel;
    if (!(nominalTravel > 0)) return;
    const double share = (startPosition - travelOffset) / nominalTravel;
    link->ControlMode(1);
    link->SetValue(static_cast<std::int32_t>(std::lround(share * 1000000.0)));
    link->HoldDrive(0);
}

SpecimenButtonRow MakeSpecimenButtonRow(int cancelText, int base) {
    SpecimenButtonRow row;
    auto button = [base](int number) {
        auto* b = Captioned(new QPushButton, number, base);
        b->setAutoDefault(false);
        return b;
    };
    row.Ok = button(kOkText);
    row.Cancel = button(cancelText);
    row.HeaderData = button(kHeaderDataText);
    row.HeaderData->setFocusPolicy(Qt::NoFocus);
    row.Layout = new QHBoxLayout;
    row.Layout->addWidget(row.HeaderData);
    row.Layout->addStretch();
    row.Layout->addWidget(row.Ok);
    row.Layout->addWidget(row.Cancel);
    return row;
}

void ShowRefusedValue(UiContext& ui, const CheckFailure& failure, QLineEdit* field) {
    const int base = ui.Texts.Base();
    const std::string message = ComposeMessage(
        failure, [base](int number) { return LoadText(number, base).toStdString(); });
    ui.Messages.ShowOperatorMessage(QString::fromStdString(message), MessageKind::Error,
                                    MessageButtons::Ok);
    field->setFocus();
    field->selectAll();
}

}  // namespace quorvex
