// The live calibration readings: force, travel and strain every tick in kN and mm with the
// analogue scaling, the overload stop at 1.05 x the nominal force, tares, the force range,
// and on leaving the sample counts restored and the zero offsets dropped. The dialog only
// forwards its timer ticks and buttons.
#pragma once

#include <string>

#include "machine/acquisition.h"
#include "setup/calibration.h"

namespace quorvex {

enum class ForceRangeChoice { Full, Tenth, Auto };  // "1/1", "1/10", "Auto"

struct CalibrationReading {
    double ForceKn = 0, TravelMm = 0, StrainMm = 0;
    std::string Force, Travel, Strain;  // with their decimals, each followed by a blank
};

class CalibrationSession {
  public:
    static constexpr int kTickMs = 20;
    static constexpr double kOverloadFactor = 1.05;

    // Both must outlive the session; travelLimitFactor is the fraction of the nominal travel
    // beyond which the machine is stopped.
    CalibrationSession(Acquisition& daq, const CalibrationRecord& calibration,
                       double travelLimitFactor);

    // On showing: the sample counts kept for the end, range 1, the decimals.
    void Begin();
    // One tick: all three channels read, converted and formatted; an overload fires the stop
    // pulse and sets the overload flag.
    CalibrationReading Tick();
    void TareForce() { daq_.ZeroForce(); }
    void TareTravel() { daq_.ZeroTravel(); }
    void TareStrain() { daq_.ZeroStrain(); }
    void SelectForceRange(ForceRangeChoice choice);
    // F8: the stop pulse on the shutdown line.
    void StopMachine() { daq_.StopPulse(); }
    // On leaving: the full force range, the sample counts of the start back, every zero
    // offset cleared.
    void End();

    int ForceDecimals() const { return forceDecimals_; }
    int StrainDecimals() const { return strainDecimals_; }
    bool Overload() const { return overload_; }
    // "Kanal": "1", "2" or "(1+2)/2"; kept for the operator, the reading takes input A.
    int StrainChannelChoice = 1;

  private:
    Acquisition& daq_;
    const CalibrationRecord& calibration_;
    double travelLimitFactor_;
    int savedForceSamples_ = 0, savedStrainSamples_ = 0, savedTravelSamples_ = 0;
    int forceDecimals_ = 2;
    int strainDecimals_ = 4;
    bool overload_ = false;
};

}  // namespace quorvex
