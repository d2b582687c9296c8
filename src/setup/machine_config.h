// The machine's configuration as the program holds it: one owner (the main window) passes it
// by reference to whatever needs it.
#pragma once

#include "calibration.h"
#include "machine/controller_link.h"
#include "machine_setup.h"
#include "tdm_parameters.h"

namespace quorvex {

struct MachineConfig {
    MachineSetupRecord Setup;
    TdmParameterRecord Tdm;
    CalibrationRecord Calibration;
    SensorTable LoadCells;
    SensorTable Extensometers;
    SupportValues Support;
    ConversionFactors Factors;
    int LoadCellChannel = 1;
    double LoadCellCalFactor = 0.0;
    int ExtensometerChannel = 3;
    double ExtensometerCalFactor = 0.0;
};

// What the controller link needs of the machine setup and the calibration.
ControllerConfig MakeControllerConfig(const MachineConfig& machine);

}  // namespace quorvex
