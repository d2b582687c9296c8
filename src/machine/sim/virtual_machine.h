// The simulated testing machine behind the hardware seams: the virtual controller fed by the
// controller port, the load frame with its specimen, and the data-acquisition card that
// answers with 16-bit samples of force, travel, extensometer and transverse gauge, with
// noise, the converter's resolution and the wiring's polarity. Time comes from the clock the
// program runs on: the machine catches up with it whenever the program reads or sends, in
// steps of at most 10 ms, so with a manual clock a 20-minute test runs as fast as the
// computer can compute it.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>

#include "machine/clock.h"
#include "machine/platform_config.h"
#include "machine/sim/controller_decoder.h"
#include "machine/sim/hydraulic_drive.h"
#include "machine/sim/load_frame.h"
#include "machine/sim/sim_config.h"
#include "machine/sim/virtual_controller.h"
#include "machine/simulation.h"

namespace quorvex {

class VirtualMachine : public SimulatedMachine {
  public:
    static constexpr int kStepMs = 10;

    VirtualMachine(const SimulationConfig& config, Clock& clock);
    ~VirtualMachine() override;

    // --- the seams (the machine must outlive what it creates)
    std::unique_ptr<DaqCard> CreateDaqCard() override;
    std::unique_ptr<RelayCard> CreateRelayCard() override;
    std::unique_ptr<CounterCard> CreateCounterCard() override;
    std::unique_ptr<SerialPort> CreateControllerPort() override;
    std::unique_ptr<SerialPort> CreateInstrumentPort(SimulatedInstrument instrument) override;

    // Lets the machine's time run up to the clock.
    void Sync();

    // --- what the operator does at the machine
    void AttachExtensometer();  // set on the specimen: it reads 0 there
    void RemoveExtensometer();  // taken off: it reads 0 from now on
    bool ExtensometerAttached() const { return extensometerAttached_; }
    // A new specimen clamped at the present crosshead position, without load.
    void ClampSpecimen(const SpecimenParameters& specimen);
    void ClampNextSpecimen() override;
    // Another kind of specimen from now on: a fresh one of the preset is clamped at once when
    // the preset changes. Its extra inputs (ExtraInputWiring) follow the preset.
    void UsePreset(SpecimenPreset preset);
    // The specimen in the grips exchanged for one of these dimensions while it is still as it
    // was clamped (no load, not yielded, not broken); false when it is kept.
    bool FitClampedSpecimen(const SpecimenParameters& specimen);
    ExtraInputs ExtraInputWiring() const override;
    // The instrument's button: one reading of the specimen's width (caliper) or thickness
    // (micrometer), or its diameter, as "A 12,34" and a carriage return.
    void PressCaliperButton() { SendReading(SimulatedInstrument::Caliper); }
    void PressMicrometerButton() { SendReading(SimulatedInstrument::Micrometer); }
    // Faults may be switched while the machine runs.
    SimulationFaults& Faults() { return config_.Faults; }

    // --- the machine's state, for displays and tests
    const SimulationConfig& Config() const { return config_; }
    const VirtualController& Controller() const { return controller_; }
    const LoadFrame& Frame() const { return frame_; }
    const ControllerDecoder& Decoder() const { return decoder_; }
    std::int64_t TimeMs() const { return timeMs_; }
    // The machine time at which the clamped specimen broke, and at which the drive last left
    // its run (a stop, hold or off reached the controller, or the shutdown line fell); -1
    // until then. How quickly a program stops after a break.
    std::int64_t BrokeAtMs() const { return brokeAtMs_; }
    std::int64_t DriveStoppedAtMs() const { return driveStoppedAtMs_; }
    double Extension() const;  // mm the extensometer reads
    std::uint8_t DigitalOutput() const { return digitalOutput_; }
    std::uint8_t RelayOutput() const { return relayOutput_; }
    double AnalogOutput(int channel) const;
    int CounterResets() const { return counterResets_; }
    int LostBytes() const { return lostBytes_; }
    // The level of an input in counts, before noise and conversion.
    double InputLevel(int input) const;

    // --- called by the devices
    bool RegisterDaq() const { return !config_.Faults.MissingCard; }
    std::uint16_t ReadInput(int input);
    void WriteDigitalOutput(std::uint8_t value);
    void WriteAnalogOutput(int channel, double volts);
    void WriteRelays(std::uint8_t value) { relayOutput_ = value; }
    void ResetCounter() { ++counterResets_; }
    void ReceiveControllerByte(std::uint8_t byte);

  private:
    ControllerActuals Actuals() const;
    void Step(double dt);
    void UpdateLevels();
    void SendReading(SimulatedInstrument instrument);
    double Gaussian();
    std::uint32_t NextRandom();

    SimulationConfig config_;
    Clock& clock_;
    std::int64_t timeMs_;
    std::int64_t brokeAtMs_ = -1;
    std::int64_t driveStoppedAtMs_ = -1;
    VirtualController controller_;
    LoadFrame frame_;
    HydraulicDrive hydraulic_;  // used on the hydraulic machine types
    ControllerDecoder decoder_;
    std::array<double, 8> levels_{};
    std::array<double, 8> noise_{};
    bool extensometerAttached_ = true;
    double extensometerZero_ = 0;
    double transverseZero_ = 0;
    double slipLoss_ = 0;
    double nextSlip_ = 0;
    std::uint8_t digitalOutput_ = 0;
    std::uint8_t relayOutput_ = 0;
    std::array<double, 4> analogOutputs_{};
    int counterResets_ = 0;
    int lostBytes_ = 0;
    std::uint32_t random_;
    std::array<float, 4096> noiseTable_{};  // standard normal values, drawn at random
    std::array<std::shared_ptr<std::deque<std::uint8_t>>, 2> instrumentQueues_;
};

// The virtual machine the platform configuration asks for: none when no device is marked
// "simulated". The caller keeps it for as long as the machine interface it is opened with.
// "quorvex --simulate": every device of this run on the simulated machine, whatever the
// platform configuration says of the drivers (its "sim.*" keys still describe the machine).
void ChooseSimulatedMachine(PlatformConfig& platform);

std::unique_ptr<VirtualMachine> BuildSimulatedMachine(const PlatformConfig& platform, Clock& clock);

}  // namespace quorvex
