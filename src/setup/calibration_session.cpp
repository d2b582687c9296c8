// Live calibration readings.
#include "setup/calibration_session.h"

#include "evaluation/text_functions.h"

namespace quorvex {

CalibrationSession::CalibrationSession(Acquisition& daq, const CalibrationRecord& calibration,
                                       double travelLimitFactor)
    : daq_(daq), calibration_(calibration), travelLimitFactor_(travelLimitFactor) {}

void CalibrationSession::Begin() {
    savedForceSamples_ = daq_.ForceSamples();
    savedStrainSamples_ = daq_.StrainSamples();
    savedTravelSamples_ = daq_.TravelSamples();
    overload_ = false;
    StrainChannelChoice = 1;
    SelectForceRange(ForceRangeChoice::Full);
    strainDecimals_ = calibration_.NominalStrain >= 10.0 ? 3 : 4;
}

CalibrationReading CalibrationSession::Tick() {
    daq_.ReadAll();
    const auto& raw = daq_.RawValues();
    CalibrationReading r;
    r.ForceKn = calibration_.NominalForce * raw[kRawForce] / kFullScaleCounts;
    r.TravelMm = calibration_.NominalTravel * raw[kRawTravel] / kFullScaleCounts;
    r.StrainMm = calibration_.NominalStrain * raw[kRawStrain] / kFullScaleCounts;
    r.Force = FormatFixed(r.ForceKn, 0, forceDecimals_) + " ";
    r.Travel = FormatFixed(r.TravelMm, 0, 1) + " ";
    r.Strain = FormatFixed(r.StrainMm, 0, strainDecimals_) + " ";
    if (r.ForceKn > kOverloadFactor * calibration_.NominalForce ||
        r.TravelMm > calibration_.NominalTravel * travelLimitFactor_) {
        daq_.StopPulse();
        overload_ = true;
    }
    return r;
}

void CalibrationSession::SelectForceRange(ForceRangeChoice choice) {
    const int range = choice == ForceRangeChoice::Tenth ? 10 : 1;
    daq_.SetForceRange(range);
    forceDecimals_ = CalibrationForceDecimals(calibration_.NominalForce / range);
}

void CalibrationSession::End() {
    // The measuring tick reads on the full range: left at 1/10 the amplifier would clip at a
    // tenth of the nominal force, and the overload stop would never see more.
    if (daq_.ForceRange() != 1) daq_.SetForceRange(1);
    daq_.SetSampleCounts(savedForceSamples_, savedStrainSamples_, savedTravelSamples_);
    daq_.ZeroAll();
}

}  // namespace quorvex
