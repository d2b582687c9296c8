// What the menu command "Maschine" does around the setup dialog: the nominal values of the
// calibration into the dialog's fields, and after a confirmed setup the nominal values back,
// the conversion factors, the link's settings and the controller gains.
#pragma once

#include "evaluation/parameter_set.h"
#include "machine/controller_link.h"
#include "machine_config.h"

namespace quorvex {

// Before the dialog shows: the calibration's nominal force, travel, extensometer range and
// transverse range become the fields the dialog edits.
void CopyNominalsIntoParameters(const CalibrationRecord& c, ParameterSet& p);

// After the dialog returned OK: the four nominal values into the calibration record, the
// conversion factors and display precisions recomputed, the link told the new setup, then
// the force gains, 200 ms, the travel gains (nothing in measurement-only mode).
void ApplyConfirmedMachineSetup(MachineConfig& m, const ParameterSet& p, double travelLimitFactor,
                                ControllerLink& link);

}  // namespace quorvex
