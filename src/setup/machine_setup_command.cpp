// Before and after the machine setup dialog.
#include "machine_setup_command.h"

#include "controller_gains.h"

namespace quorvex {

void CopyNominalsIntoParameters(const CalibrationRecord& c, ParameterSet& p) {
    p.NominalForceKn = static_cast<float>(c.NominalForce);
    p.NominalTravelMm = static_cast<float>(c.NominalTravel);
    p.ExtensometerRangeMm = static_cast<float>(c.NominalStrain);
    p.TransverseRangeMm = c.NominalTransverse;
}

void ApplyConfirmedMachineSetup(MachineConfig& m, const ParameterSet& p, double travelLimitFactor,
                                ControllerLink& link) {
    m.Calibration.NominalForce = p.NominalForceKn;
    m.Calibration.NominalTravel = p.NominalTravelMm;
    m.Calibration.NominalStrain = p.ExtensometerRangeMm;
    m.Calibration.NominalTransverse = p.TransverseRangeMm;
    m.Factors = ComputeConversionFactors(m.Calibration, m.Setup, p.ExtensometerIncremental != 0,
                                         travelLimitFactor);
    link.SetConfig(MakeControllerConfig(m));
    link.DownloadGains(GainsOf(m.Setup));
}

}  // namespace quorvex
