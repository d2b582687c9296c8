// The virtual Dravon controller: it acts on the decoded commands as the machine's closed-loop
// controller would. It keeps the control mode (force, travel, incremental travel), the set
// value, the loaded ramp with its two rates, switch point and target, the drive state (off,
// hold, jog, run), the force limits and the auxiliary output byte, and tells the drive each
// step how fast to move the crosshead. Set values and ramp targets of 1000000 are the nominal
// value of their channel; with incremental travel they are encoder increments.
#pragma once

#include <array>
#include <cstdint>

#include "machine/sim/controller_decoder.h"
#include "machine/sim/sim_config.h"

namespace quorvex {

enum class ControlMode { Force, Travel };

enum class DriveMode { Off, Hold, JogUp, JogDown, Run };

// What the controller measures: the force of the load cell (kN, tension positive) and the
// crosshead position (mm).
struct ControllerActuals {
    double Force = 0;
    double Position = 0;
};

struct RampDefinition {
    ControlMode Channel = ControlMode::Travel;
    double Target = 0;  // kN or mm
    double Rate1 = 0;   // kN/s or mm/s, magnitudes
    double Rate2 = 0;
    double SwitchPoint = 0;
};

class VirtualController {
  public:
    static constexpr std::int32_t kDefaultForceLimit = 1030000;

    explicit VirtualController(const SimulationConfig& config);

    // One decoded command, acting on the present actual values.
    void Execute(const ControllerCommand& command, const ControllerActuals& actual);
    // The crosshead speed (mm/s) for the next dt seconds; forceGain is the speed per kN of
    // force error in force control.
    double Velocity(double dt, const ControllerActuals& actual, double forceGain);
    // The machine's shutdown line: low switches the drive off and keeps it off.
    void SetShutdownLine(bool high, const ControllerActuals& actual);
    // A limit switch was reached: the drive holds where it stands.
    void LimitSwitch(const ControllerActuals& actual);

    std::int64_t EncoderCounts(double positionMm) const;

    // --- state, for the displays and tests
    ControlMode Mode() const { return mode_; }
    bool IncrementalTravel() const { return incremental_; }
    DriveMode Drive() const { return drive_; }
    bool RampRunning() const { return rampRunning_; }
    const RampDefinition& Ramp() const { return ramp_; }
    double SetPoint() const { return setPoint_; }
    double ForceLimitKn() const;
    int ForceLimitTrips() const { return limitTrips_; }
    std::uint8_t AuxiliaryOutputs() const { return auxiliary_; }
    double SpindleSpeed() const { return spindleSpeed_; }  // mm/s, open loop
    bool DriveInhibited() const { return inhibited_; }
    const std::array<std::int32_t, 18>& Gains(int channel) const {
        return gains_[static_cast<std::size_t>(channel)];
    }
    int InvalidCommands() const { return invalidCommands_; }
    int ExecutedCommands() const { return executed_; }
    std::uint8_t TdmArmsOpened() const { return tdmArms_; }
    bool TdmRunning() const { return tdmRunning_; }
    std::int32_t TdmGaugeIncrements() const { return tdmGauge_; }
    int CounterTares() const { return counterTares_; }

  private:
    double TravelValue(std::int32_t value) const;  // mm
    double TravelRate(std::int32_t rate) const;    // mm/s
    double ForceValue(std::int32_t value) const;   // kN
    double ForceRate(std::int32_t rate) const;     // kN/s
    double Actual(const ControllerActuals& actual) const;
    void SelectMode(ControlMode mode, const ControllerActuals& actual);
    void HoldHere(const ControllerActuals& actual);
    void StartRamp(const ControllerActuals& actual);
    void SetDrive(std::uint8_t state, const ControllerActuals& actual);
    void AdvanceSetPoint(double dt);

    SimulationConfig config_;
    ControlMode mode_ = ControlMode::Travel;
    bool incremental_ = false;
    DriveMode drive_ = DriveMode::Off;
    bool inhibited_ = true;  // the shutdown line is low until the program raises it
    double setPoint_ = 0;    // kN or mm, where the loop holds now
    double holdTarget_ = 0;  // where a hold or jog goes
    RampDefinition ramp_;
    bool rampLoaded_ = false;
    bool rampPending_ = false;  // loaded and not yet started
    bool rampRunning_ = false;
    bool pastSwitchPoint_ = false;
    double spindleSpeed_ = 0;
    std::array<std::int32_t, 3> forceLimits_{kDefaultForceLimit, kDefaultForceLimit,
                                             kDefaultForceLimit};
    int limitTrips_ = 0;
    std::uint8_t auxiliary_ = 0;
    double encoderZero_ = 0;  // mm at which the encoder counts 0
    std::array<std::array<std::int32_t, 18>, 3> gains_{};
    std::uint8_t tdmArms_ = 0;
    bool tdmRunning_ = false;
    std::int32_t tdmGauge_ = 0;
    int counterTares_ = 0;
    int invalidCommands_ = 0;
    int executed_ = 0;
};

}  // namespace quorvex
