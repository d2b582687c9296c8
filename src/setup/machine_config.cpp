// What the controller link is told of the machine's configuration.
#include "machine_config.h"

namespace quorvex {

ControllerConfig MakeControllerConfig(const MachineConfig& machine) {
    const MachineSetupRecord& s = machine.Setup;
    ControllerConfig c;
    c.MachineType = s.MachineType;
    c.MeasureOnly = s.MeasureOnly != 0;
    c.IncrementalTravel = s.IncrementalTravel != 0;
    c.FiveLimitOff = s.FiveLimitOff != 0;
    c.FmaxMonitoring = s.FmaxMonitoring != 0;
    c.FreeRunInvert = s.FreeRunInvert != 0;
    c.TravelIncrements = s.TravelIncrements;
    c.UserPosition = s.UserPosition;
    c.NominalForce = machine.Calibration.NominalForce;
    c.NominalTravel = machine.Calibration.NominalTravel;
    c.TdmLeAt10V = s.TdmLeAt10V;
    return c;
}

}  // namespace quorvex
