// The test-programme dialog of the flexural-strength test: the programme dialog without
// holding stages, sampling rate, spring-constant stage, control deviation and J-integral,
// with the choice of the test space instead.
#pragma once

#include "setup/programme_dialog.h"

namespace quorvex {

class TVersuchsDlgBiegung : public TVersuchsDlg {
    Q_OBJECT
  public:
    TVersuchsDlgBiegung(UiContext& ui, ParameterSet& parameters, QWidget* parent = nullptr);
};

}  // namespace quorvex
