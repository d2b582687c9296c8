// Time, measurement and the devices of the simulated testing machine.
#include "machine/sim/virtual_machine.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "machine/platform_config.h"

namespace quorvex {
namespace {

constexpr double kFullScaleCounts = 30000;
constexpr double kForceLoopSeconds = 0.05;  // time constant of the force loop
constexpr double kHydraulicForceLoopSeconds = 0.15;
constexpr double kSlipInterval = 0.05;      // mm of gauge elongation between two slips
constexpr double kSlipLoss = 0.02;          // mm the knife edges lose at each slip
constexpr std::size_t kNoiseTable = 4096;

class SimDaqCard : public DaqCard {
  public:
    explicit SimDaqCard(VirtualMachine& machine) : machine_(machine) {}
    bool Register() override { return machine_.RegisterDaq(); }
    std::uint16_t ReadChannel(int channel) override { return machine_.ReadInput(channel); }
    void WriteDigitalOutput(std::uint8_t value) override { machine_.WriteDigitalOutput(value); }
    void WriteAnalogOutput(int channel, double volts) override {
        machine_.WriteAnalogOutput(channel, volts);
    }

  private:
    VirtualMachine& machine_;
};

class SimRelayCard : public RelayCard {
  public:
    explicit SimRelayCard(VirtualMachine& machine) : machine_(machine) {}
    bool Register() override { return true; }
    void WritePort(std::uint8_t value) override { machine_.WriteRelays(value); }
    void Release() override {}

  private:
    VirtualMachine& machine_;
};

class SimCounterCard : public CounterCard {
  public:
    explicit SimCounterCard(VirtualMachine& machine) : machine_(machine) {}
    void Init(int) override {}
    void Reset(int) override { machine_.ResetCounter(); }
    void WriteParameter(int, int, long) override {}

  private:
    VirtualMachine& machine_;
};

// The controller's end of the line: it takes every byte and never answers.
class SimControllerPort : public SerialPort {
  public:
    explicit SimControllerPort(VirtualMachine& machine) : machine_(machine) {}
    bool Open(const SerialSettings&) override { return open_ = true; }
    void Close() override { open_ = false; }
    bool IsOpen() const override { return open_; }
    void Purge(bool, bool) override {}
    int BytesWaiting() override { return 0; }
    int Read(std::uint8_t*, int) override { return 0; }
    int Write(const std::uint8_t* buffer, int n) override {
        if (!open_) return 0;
        for (int i = 0; i < n; ++i) machine_.ReceiveControllerByte(buffer[i]);
        return n;
    }

  private:
    VirtualMachine& machine_;
    bool open_ = false;
};

// A caliper or micrometer: it sends its readings, and takes nothing.
class SimInstrumentPort : public SerialPort {
  public:
    explicit SimInstrumentPort(std::shared_ptr<std::deque<std::uint8_t>> queue)
        : queue_(std::move(queue)) {}
    bool Open(const SerialSettings&) override {
        queue_->clear();
        return open_ = true;
    }
    void Close() override { open_ = false; }
    bool IsOpen() const override { return open_; }
    void Purge(bool input, bool) override {
        if (input) queue_->clear();
    }
    int BytesWaiting() override { return open_ ? static_cast<int>(queue_->size()) : 0; }
    int Read(std::uint8_t* buffer, int n) override {
        int count = 0;
        while (open_ && count < n && !queue_->empty()) {
            buffer[count++] = queue_->front();
            queue_->pop_front();
        }
        return count;
    }
    int Write(const std::uint8_t*, int n) override { return open_ ? n : 0; }

  private:
    std::shared_ptr<std::deque<std::uint8_t>> queue_;
    bool open_ = false;
};

// "12,34": the instruments print a decimal comma.
std::string WithComma(double value, int decimals) {
    const double scale = std::pow(10.0, decimals);
    const long long scaled = std::llround(std::fabs(value) * scale);
    std::string fraction = std::to_string(scaled % static_cast<long long>(scale));
    fraction.insert(0, static_cast<std::size_t>(decimals) - fraction.size(), '0');
    return (value < 0 ? "-" : "") + std::to_string(scaled / static_cast<long long>(scale)) + "," +
           fraction;
}

}  // namespace

VirtualMachine::VirtualMachine(const SimulationConfig& config, Clock& clock)
    : config_(config),
      clock_(clock),
      timeMs_(clock.NowMs()),
      controller_(config),
      frame_(config, config.Specimen()),
      hydraulic_(config.MachineType),
      random_(config.Seed * 2654435761u + 1) {
    if (random_ == 0) random_ = 1;
    for (auto& value : noiseTable_) value = static_cast<float>(Gaussian());
    for (auto& queue : instrumentQueues_) queue = std::make_shared<std::deque<std::uint8_t>>();
    controller_.SetShutdownLine(true, Actuals());  // no card: nothing cuts the drive
    UpdateLevels();
}

VirtualMachine::~VirtualMachine() = default;

std::unique_ptr<DaqCard> VirtualMachine::CreateDaqCard() {
    // The card's shutdown output holds the drive off until the program releases it.
    controller_.SetShutdownLine(false, Actuals());
    return std::make_unique<SimDaqCard>(*this);
}

std::unique_ptr<RelayCard> VirtualMachine::CreateRelayCard() {
    return std::make_unique<SimRelayCard>(*this);
}

std::unique_ptr<CounterCard> VirtualMachine::CreateCounterCard() {
    return std::make_unique<SimCounterCard>(*this);
}

std::unique_ptr<SerialPort> VirtualMachine::CreateControllerPort() {
    return std::make_unique<SimControllerPort>(*this);
}

std::unique_ptr<SerialPort> VirtualMachine::CreateInstrumentPort(SimulatedInstrument instrument) {
    return std::make_unique<SimInstrumentPort>(
        instrumentQueues_[instrument == SimulatedInstrument::Caliper ? 0 : 1]);
}

// --- time

ControllerActuals VirtualMachine::Actuals() const {
    return {frame_.LoadCellForce(), frame_.Position()};
}

void VirtualMachine::Sync() {
    const std::int64_t now = clock_.NowMs();
    if (now <= timeMs_) return;
    while (timeMs_ < now) {
        const std::int64_t step = std::min<std::int64_t>(kStepMs, now - timeMs_);
        Step(static_cast<double>(step) / 1000);
        timeMs_ += step;
        if (brokeAtMs_ < 0 && frame_.Broken()) brokeAtMs_ = timeMs_;
    }
    UpdateLevels();
}

void VirtualMachine::Step(double dt) {
    const double stiffness = std::max(frame_.ElasticStiffness(), 0.01);
    double velocity;
    if (config_.MachineType == 0) {
        velocity = controller_.Velocity(dt, Actuals(), 1 / (kForceLoopSeconds * stiffness));
    } else {
        // The valve's lag would make the spindle's stiff force loop ring: a hydraulic force
        // loop is tuned three times softer, scaled by the force frame's P gain.
        const double forceGain = HydraulicDrive::GainFactor(controller_.Gains(0)) /
                                 (kHydraulicForceLoopSeconds * stiffness);
        const double commanded = controller_.Velocity(dt, Actuals(), forceGain);
        velocity = hydraulic_.Follow(commanded, dt,
                                     config_.NominalForce > 0
                                         ? frame_.LoadCellForce() / config_.NominalForce
                                         : 0);
    }
    frame_.SetStuck(config_.Faults.StuckCrosshead);
    if (!frame_.Move(velocity, dt)) controller_.LimitSwitch(Actuals());
    if (config_.Faults.SlippingExtensometer && extensometerAttached_) {
        const double followed = frame_.GaugeElongation() - extensometerZero_;
        while (followed >= nextSlip_) {
            slipLoss_ += kSlipLoss;
            nextSlip_ += kSlipInterval;
        }
    }
}

// --- measurement

void VirtualMachine::AttachExtensometer() {
    Sync();
    extensometerAttached_ = true;
    extensometerZero_ = frame_.GaugeElongation();
    transverseZero_ = frame_.WidthChange();
    slipLoss_ = 0;
    nextSlip_ = kSlipInterval;
    UpdateLevels();
}

void VirtualMachine::RemoveExtensometer() {
    Sync();
    extensometerAttached_ = false;
    UpdateLevels();
}

void VirtualMachine::ClampSpecimen(const SpecimenParameters& specimen) {
    Sync();
    frame_.Clamp(specimen);
    brokeAtMs_ = -1;
    AttachExtensometer();
}

void VirtualMachine::ClampNextSpecimen() {
    Sync();
    if (frame_.Broken()) ClampSpecimen(config_.Specimen());
}

bool VirtualMachine::FitClampedSpecimen(const SpecimenParameters& specimen) {
    Sync();
    constexpr double kUnloadedKn = 0.01;
    if (frame_.Broken() || frame_.Plastic() > 0 || std::abs(frame_.SpecimenForce()) > kUnloadedKn) {
        return false;
    }
    ClampSpecimen(specimen);
    return true;
}

void VirtualMachine::UsePreset(SpecimenPreset preset) {
    if (preset == config_.Preset) return;
    config_.Preset = preset;
    ClampSpecimen(config_.Specimen());
}

double VirtualMachine::Extension() const {
    if (!extensometerAttached_ || config_.Faults.DeadExtensometer) return 0;
    const double range = 1.02 * config_.NominalStrain;  // its mechanical stops
    return std::clamp(frame_.GaugeElongation() - extensometerZero_ - slipLoss_, -range, range);
}

double VirtualMachine::InputLevel(int input) const {
    return input >= 0 && input < 8 ? levels_[static_cast<std::size_t>(input)] : 0;
}

void VirtualMachine::UpdateLevels() {
    levels_.fill(0);
    noise_.fill(config_.StrainNoise);
    auto set = [&](int input, double counts, double noise) {
        if (input < 0 || input > 7) return;
        const auto i = static_cast<std::size_t>(input);
        levels_[i] = config_.InvertedInput[i] ? -counts : counts;
        noise_[i] = noise;
    };
    const double range = (digitalOutput_ & 1) ? 10 : 1;
    set(config_.TravelInput,
        config_.TravelIncrements > 0
            ? static_cast<double>(controller_.EncoderCounts(frame_.Position()))
            : frame_.Position() / config_.NominalTravel * kFullScaleCounts,
        config_.TravelNoise);
    const double extension = Extension();
    const double strainCounts = config_.ExtensometerIncrements > 0
                                    ? extension * config_.ExtensometerIncrements
                                    : extension / config_.NominalStrain * kFullScaleCounts;
    const double strainNoise = config_.Faults.DeadExtensometer ? 0 : config_.StrainNoise;
    set(config_.StrainInputA, strainCounts, strainNoise);
    set(config_.StrainInputB, strainCounts, strainNoise);
    // The transverse gauge reads the contraction of the width as a positive change.
    const double width = extensometerAttached_ ? transverseZero_ - frame_.WidthChange() : 0;
    set(config_.TransverseInput, width / config_.NominalTransverse * kFullScaleCounts,
        config_.StrainNoise);
    if (config_.HasProbes()) {
        // The probes follow the platen, each with a slight tilt of its own; a stuck one stays.
        constexpr double kTilt[] = {1.004, 0.997, 0.999};
        const double stops = 1.02 * config_.NominalStrain;
        const double platen =
            std::clamp(frame_.GaugeElongation() - extensometerZero_, -stops, stops);
        for (std::size_t k = 0; k < 3; ++k) {
            const bool stuck = k == 2 && config_.Faults.StuckProbe;
            const double probe = stuck ? 0 : platen * kTilt[k];
            set(config_.ProbeInputs[k], probe / config_.NominalStrain * kFullScaleCounts,
                config_.StrainNoise);
        }
    }
    set(config_.ForceInput,
        frame_.LoadCellForce() / config_.NominalForce * kFullScaleCounts * range,
        config_.ForceNoise * (config_.Faults.NoisyForce ? 40 : 1));
}

ExtraInputs VirtualMachine::ExtraInputWiring() const {
    ExtraInputs wired;
    if (config_.HasTransverseGauge()) wired.Transverse = config_.TransverseInput;
    if (config_.HasProbes()) wired.Probes = config_.ProbeInputs;
    return wired;
}

std::uint32_t VirtualMachine::NextRandom() {
    random_ ^= random_ << 13;  // xorshift32
    random_ ^= random_ >> 17;
    random_ ^= random_ << 5;
    return random_;
}

double VirtualMachine::Gaussian() {
    // The Box-Muller transform.
    const double u1 = std::max((NextRandom() >> 8) * (1.0 / 16777216.0), 1e-12);
    const double u2 = (NextRandom() >> 8) * (1.0 / 16777216.0);
    return std::sqrt(-2 * std::log(u1)) * std::cos(2 * std::numbers::pi * u2);
}

std::uint16_t VirtualMachine::ReadInput(int input) {
    Sync();
    if (input < 0 || input > 7) return 0;
    const auto i = static_cast<std::size_t>(input);
    double value = levels_[i];
    // A table of normal values keeps the hundreds of conversions of every tick cheap.
    if (noise_[i] > 0) value += noise_[i] * noiseTable_[NextRandom() & (kNoiseTable - 1)];
    const int resolution = std::max(config_.Resolution, 1);
    const double counts = std::nearbyint(value / resolution) * resolution;
    const auto sample = static_cast<std::int16_t>(std::clamp(counts, -32768.0, 32767.0));
    return static_cast<std::uint16_t>(sample);
}

void VirtualMachine::WriteDigitalOutput(std::uint8_t value) {
    Sync();
    digitalOutput_ = value;
    const bool wasRunning = controller_.Drive() == DriveMode::Run;
    controller_.SetShutdownLine((value & 2) != 0, Actuals());
    if (wasRunning && controller_.Drive() != DriveMode::Run) driveStoppedAtMs_ = timeMs_;
    UpdateLevels();
}

void VirtualMachine::WriteAnalogOutput(int channel, double volts) {
    if (channel >= 0 && channel < 4) analogOutputs_[static_cast<std::size_t>(channel)] = volts;
}

double VirtualMachine::AnalogOutput(int channel) const {
    return channel >= 0 && channel < 4 ? analogOutputs_[static_cast<std::size_t>(channel)] : 0;
}

void VirtualMachine::ReceiveControllerByte(std::uint8_t byte) {
    if (config_.Faults.LostLink) {
        ++lostBytes_;
        return;
    }
    Sync();
    ControllerCommand command;
    if (decoder_.Feed(byte, timeMs_, command)) {
        const bool wasRunning = controller_.Drive() == DriveMode::Run;
        controller_.Execute(command, Actuals());
        if (wasRunning && controller_.Drive() != DriveMode::Run) driveStoppedAtMs_ = timeMs_;
        UpdateLevels();
    }
}

void VirtualMachine::SendReading(SimulatedInstrument instrument) {
    const SpecimenParameters& p = frame_.ClampedSpecimen().Parameters();
    const bool caliper = instrument == SimulatedInstrument::Caliper;
    const double size = p.d > 0 ? p.d : caliper ? p.b : p.a;
    const double measured = size * (1 + 0.001 * Gaussian());
    const std::string text = "A " + WithComma(measured, caliper ? 2 : 3) + "\r";
    auto& queue = *instrumentQueues_[caliper ? 0 : 1];
    queue.insert(queue.end(), text.begin(), text.end());
}

void ChooseSimulatedMachine(PlatformConfig& platform) {
    platform.Daq = platform.Relay = platform.Controller = Driver::Simulated;
    if (platform.Encoder != Driver::Absent) platform.Encoder = Driver::Simulated;
}

std::unique_ptr<VirtualMachine> BuildSimulatedMachine(const PlatformConfig& platform,
                                                      Clock& clock) {
    bool simulated = platform.Daq == Driver::Simulated || platform.Relay == Driver::Simulated ||
                     platform.Encoder == Driver::Simulated ||
                     platform.Controller == Driver::Simulated;
    for (const auto& device : platform.ComDevice) {
        simulated =
            simulated || device == kSimulatedCaliperDevice || device == kSimulatedMicrometerDevice;
    }
    if (!simulated) return nullptr;
    return std::make_unique<VirtualMachine>(platform.Simulation, clock);
}

}  // namespace quorvex
