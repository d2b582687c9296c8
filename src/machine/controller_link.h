// The program's side of the controller link: every command of the Dravon controller and the
// fixed sequences the rest of the program drives the machine with (stop, hold, drive off,
// jog, preload approach, test ramps, force limits, start-position acceptance, tare counters,
// the sensor-arm extensometer). In measurement-only mode the control commands and every
// sequence built from them are not sent; the stop then sends only its stop request and
// release, and the commands that are always sent (auxiliary outputs, tare counters, TDM) go
// out regardless.
#pragma once

#include <cstdint>

#include "acquisition.h"
#include "clock.h"
#include "controller_protocol.h"
#include "counter_card.h"
#include "port_table.h"
#include "relay_card.h"

namespace quorvex {

enum MachineTypeCode : int {
    kSpindleMachine = 0,
    kHydraulicBleedOff = 1,
    kHydraulicInflow = 2,
};

// What the link needs to know of the machine setup and the calibration.
struct ControllerConfig {
    int MachineType = kSpindleMachine;
    bool MeasureOnly = false;        // record only, send no control command
    bool IncrementalTravel = false;  // crosshead travel from an incremental encoder
    bool FiveLimitOff = false;       // lifts the 5 % force limit of jogging
    bool FmaxMonitoring = false;     // the controller limits the force ("q", "r", "s")
    bool FreeRunInvert = false;
    std::int32_t TravelIncrements = 0;  // encoder increments per mm
    double UserPosition = 0;            // mm, the accepted start position
    double NominalForce = 0;            // kN
    double NominalTravel = 0;           // mm
    double TdmLeAt10V = 0;              // mm of sensor-arm gauge length per 10 V
};

enum class RampChannel : std::uint8_t {
    Force = command::kForceRamp,
    Travel = command::kTravelRamp,
    Third = command::kThirdChannelRamp,
};

class ControllerLink {
public:
    static constexpr double kInterlockCounts = 5000;
    static constexpr double kFullScaleCounts = 30000;

    // All must outlive the link; the readings come from the acquisition's last ReadAll.
    ControllerLink(PortTable& ports, RelayBank& relays, EncoderCard& encoder,
                   const Acquisition& acquisition, Clock& clock);

    void SetConfig(const ControllerConfig& config);
    const ControllerConfig& Config() const { return config_; }

    // --- single commands
    void Ramp(RampChannel channel, std::int32_t target, std::int32_t rate1, std::int32_t rate2,
              std::int32_t switchPoint);
    void ForceGains(const GainFrame& frame) { Gains(command::kForceGains, frame); }
    void TravelGains(const GainFrame& frame) { Gains(command::kTravelGains, frame); }
    void StrainGains(const GainFrame& frame) { Gains(command::kStrainGains, frame); }
    void DriveState(std::uint8_t state);
    void RampStart(std::uint8_t value);
    // 0 force control, 1 travel control (sent as 2 with an incremental travel encoder).
    void ControlMode(int mode);
    void SetValue(std::int32_t value);
    void SpindleSpeed(std::int32_t value);
    void AuxiliaryOutputs(std::uint8_t value);
    void ForceLimit1(std::int32_t value) { ForceLimit(command::kForceLimit1, value); }
    void ForceLimit2(std::int32_t value) { ForceLimit(command::kForceLimit2, value); }
    void ForceLimit3(std::int32_t value) { ForceLimit(command::kForceLimit3, value); }
    void PositionPreset(std::int32_t increments);
    void StopRequest();
    void Release();
    // Kind 1 the sensor-arm counters, 2 the controller's counter, 3 the encoder card's axes.
    void TareCounter(int kind);
    // Opens the arms whose state is not 4; nothing when both are.
    void TdmArms(int firstArmState, int secondArmState);
    void TdmStart();
    void TdmStop();
    // False (nothing sent) when the gauge length per 10 V is not set.
    bool TdmGaugeLength(double lengthMm);

    // --- sequences
    void StopMachine();
    void HoldDrive(int state);
    void DriveOff();
    // Kind 1 slow, 2 fast, 3 fastest. False when the jog was refused: measurement-only mode,
    // the direction already moving, or (slow jog) a force beyond 5000 counts without the
    // "5 % Limit Off" option.
    bool JogUp(int kind);
    bool JogDown(int kind);
    // The automatic approach of the preload (kN) at the approach rate (controller units).
    void ApproachPreload(double preloadKn, std::int32_t approachRate);
    // A single-rate ramp to target; the test start also starts the drive, a stage change
    // only the ramp.
    void StartTestRamp(RampChannel channel, std::int32_t target, std::int32_t rate);
    void ChangeStageRamp(RampChannel channel, std::int32_t target, std::int32_t rate);
    // "q", "s", "r" at 103 % before the machine setup is shown.
    void SendSetupForceLimits();
    // "q", "r", "s" at the test's Fmax percentage (6..100, otherwise 100).
    void SendTestForceLimits(int fmaxLimitPercent);
    // The present position becomes the user position, then the machine stops.
    void AcceptStartPosition();
    // The force gains, 200 ms, the travel gains.
    void DownloadGains(const ControllerGains& gains);
    // The controller's off command, 300 ms, its release.
    void MachineOff();
    // The auxiliary output of a starting or holding motion: 48 on a spindle machine, on a
    // hydraulic machine 48 while the hold flag is set, else 16.
    void SendMotionOutput();

    // --- rate conversions and positions in controller units
    std::int32_t TravelRate(double mmPerMin) const;
    std::int32_t ForceRate(double rate) const;
    // Where the machine stands, as the set values of the controller: the crosshead in encoder
    // counts with an incremental travel encoder, else (like the force) in millionths of the
    // channel's nominal value. The controller measures before the program's zero, so the
    // zero offset is added back.
    std::int32_t PresentTravelSetValue() const;
    std::int32_t PresentForceSetValue() const;

    // --- drive state kept in memory
    bool MovingUp() const { return movingUp_; }
    bool MovingDown() const { return movingDown_; }
    void SetMoving(bool up, bool down) {
        movingUp_ = up;
        movingDown_ = down;
    }
    bool HoldFlag() const { return holdFlag_; }
    void SetHoldFlag(bool hold) { holdFlag_ = hold; }
    std::int32_t LowerTravelTarget() const { return lowerTravelTarget_; }
    void SetLowerTravelTarget(std::int32_t target) { lowerTravelTarget_ = target; }
    double JogOffset() const { return jogOffset_; }
    void SetJogOffset(double offsetMm) { jogOffset_ = offsetMm; }

private:
    bool Hydraulic() const;
    bool Blocked() const { return config_.MeasureOnly; }
    std::int32_t JogForceLimit() const;
    bool JogRefused(bool alreadyMoving, int kind) const;
    void Byte(std::uint8_t value) { ports_.SendByte(value); }
    void Value(std::int32_t value);
    void Gains(std::uint8_t code, const GainFrame& frame);
    void ForceLimit(std::uint8_t code, std::int32_t value);
    void DriveState3Times(std::uint8_t state);

    PortTable& ports_;
    RelayBank& relays_;
    EncoderCard& encoder_;
    const Acquisition& acquisition_;
    Clock& clock_;
    ControllerConfig config_;
    bool movingUp_ = false;
    bool movingDown_ = false;
    bool holdFlag_ = false;
    std::int32_t lowerTravelTarget_ = 0;
    double jogOffset_ = 0;
};

}  // namespace quorvex
