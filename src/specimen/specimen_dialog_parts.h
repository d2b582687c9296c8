// What the screw dialog and the small specimen dialogs of the other test types share: the
// row of OK, cancel and "Kopfdaten F7", and the message of a refused value.
#pragma once

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

#include "evaluation/field_checks.h"
#include "ui/dialog_base.h"

namespace quorvex {

class ControllerLink;

// Ctrl+S of the specimen dialogs: the crosshead drives to the start position in travel
// control; nothing without a link or a nominal travel.
void MoveLinkToStartPosition(ControllerLink* link, double startPosition, double travelOffset);

struct SpecimenButtonRow {
    QHBoxLayout* Layout = nullptr;
    QPushButton* Ok = nullptr;
    QPushButton* Cancel = nullptr;
    QPushButton* HeaderData = nullptr;  // takes no focus
};

// The buttons captioned in the language of base, cancel with text cancelText.
SpecimenButtonRow MakeSpecimenButtonRow(int cancelText, int base);

// Shows the failure's message (kind "Fehler") and puts the focus into the refused input.
void ShowRefusedValue(UiContext& ui, const CheckFailure& failure, QLineEdit* field);

}  // namespace quorvex
