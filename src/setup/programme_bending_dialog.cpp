// The flexural-strength variant of the test-programme dialog.
#include "setup/programme_bending_dialog.h"

namespace quorvex {

TVersuchsDlgBiegung::TVersuchsDlgBiegung(UiContext& ui, ParameterSet& parameters, QWidget* parent)
    : TVersuchsDlg(ui, parameters, true, parent) {
    setObjectName(QStringLiteral("VersuchsDlgBiegung"));
}

}  // namespace quorvex
