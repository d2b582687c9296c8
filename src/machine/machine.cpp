// Start-up and shutdown of the machine interface.
#include "machine.h"

#include <span>
#include <utility>

#include "posix_serial_port.h"
#include "vendor_dask.h"
#include "vendor_ik220.h"
#include "working_file.h"

namespace quorvex {
namespace {

constexpr int kLastOpenablePort = 15;  // a number above it is "no port"

bool Openable(int com) {
    return com >= 1 && com <= kLastOpenablePort;
}

std::string PortLine(const char* device, int com, bool open) {
    if (!Openable(com)) return std::string(device) + ": none";
    return std::string(device) + ": COM" + std::to_string(com) + (open ? " open" : " not opened");
}

}  // namespace

Machine::Machine(const MachineStartup& startup, Clock& clock, SimulatedMachine* simulation)
    : clock_(clock),
      simulation_(simulation),
      platform_(startup.Platform),
      ik220_(startup.Ik220),
      acquisition_(nullptr, clock),
      relays_(nullptr),
      encoder_(nullptr),
      ports_([this](int com) { return MakePort(com); }),
      link_(ports_, relays_, encoder_, acquisition_, clock) {}

// A machine interface that goes away without Close still leaves the machine stopped.
Machine::~Machine() { Close(); }

std::unique_ptr<SerialPort> Machine::MakePort(int com) {
    if (com == controllerPort_ && platform_.Controller == Driver::Simulated) {
        return simulation_ ? simulation_->CreateControllerPort() : nullptr;
    }
    const std::string& device = platform_.ComDevice[static_cast<std::size_t>(com)];
    if (device.empty()) return nullptr;
    if (device == kSimulatedCaliperDevice || device == kSimulatedMicrometerDevice) {
        if (!simulation_) return nullptr;
        return simulation_->CreateInstrumentPort(device == kSimulatedCaliperDevice
                                                     ? SimulatedInstrument::Caliper
                                                     : SimulatedInstrument::Micrometer);
    }
    return std::make_unique<PosixSerialPort>(device);
}

void Machine::Open(const MachineStartup& startup, std::vector<MachineMessage>& messages) {
    auto simulated = [this](Driver driver) {
        return driver == Driver::Simulated && simulation_ != nullptr;
    };
    if (platform_.Daq == Driver::Vendor || platform_.Relay == Driver::Vendor) {
        auto dask = std::make_shared<DaskLibrary>(platform_.DaskLibrary);
        if (dask->Load()) {
            dask_ = dask;
            if (!dask_->MissingEntryPoints().empty()) {
                std::string names;
                for (const auto& name : dask_->MissingEntryPoints()) names += " " + name;
                messages.push_back({0, dask_->FileName() + " lacks" + names});
            }
        }
    }

    // The encoder card: its library is loaded only when the card is fitted.
    if (platform_.Encoder == Driver::Vendor) {
        auto library = std::make_unique<Ik220Library>(platform_.Ik220Library);
        std::vector<std::string> texts;
        if (library->Load(texts)) {
            ik220Library_ = std::move(library);
            encoder_ = EncoderCard(ik220Library_.get());
            drivers_.Encoder = Driver::Vendor;
        }
        for (auto& text : texts) messages.push_back({0, std::move(text)});
    } else if (simulated(platform_.Encoder)) {
        simulatedCounter_ = simulation_->CreateCounterCard();
        encoder_ = EncoderCard(simulatedCounter_.get());
        drivers_.Encoder = simulatedCounter_ ? Driver::Simulated : Driver::Absent;
    }
    encoder_.Initialise();

    if (platform_.Relay == Driver::Vendor && dask_) {
        relayCard_ = std::make_unique<VendorRelayCard>(dask_);
        drivers_.Relay = Driver::Vendor;
    } else if (simulated(platform_.Relay)) {
        relayCard_ = simulation_->CreateRelayCard();
        drivers_.Relay = relayCard_ ? Driver::Simulated : Driver::Absent;
    }
    relays_ = RelayBank(relayCard_.get());
    relays_.InitRelayCard();

    // Caliper, micrometer and controller ports; equal numbers share one port.
    caliperPort_ = startup.CaliperPort;
    micrometerPort_ = startup.MicrometerPort;
    controllerPort_ = startup.ControllerPort;
    drivers_.Controller = platform_.Controller == Driver::Simulated && simulation_
                              ? Driver::Simulated
                              : Driver::Vendor;
    if (Openable(caliperPort_)) caliperOpen_ = ports_.OpenPort(caliperPort_, 9600, 'N', 1, 8);
    if (micrometerPort_ == caliperPort_) {
        micrometerOpen_ = caliperOpen_;
    } else if (Openable(micrometerPort_)) {
        micrometerOpen_ = ports_.OpenPort(micrometerPort_, 9600, 'N', 1, 8);
    }
    ports_.SetControllerPort(controllerPort_);
    if (Openable(controllerPort_)) {
        const bool shared = controllerPort_ == caliperPort_ || controllerPort_ == micrometerPort_;
        if (!shared) {
            controllerOpenedHere_ = ports_.OpenPort(controllerPort_, 9600, 'N', 1, 8);
        }
        if (!ports_.IsOpen(controllerPort_)) {
            messages.push_back(
                {kTextControllerPortNotOpened, "Konnte Schnittstelle zur Quorvex nicht öffnen!"});
        }
    }

    if (platform_.Daq == Driver::Vendor && dask_) {
        daqCard_ = std::make_unique<VendorDaqCard>(dask_);
        drivers_.Daq = Driver::Vendor;
    } else if (simulated(platform_.Daq)) {
        daqCard_ = simulation_->CreateDaqCard();
        drivers_.Daq = daqCard_ ? Driver::Simulated : Driver::Absent;
    }
    acquisition_ = Acquisition(daqCard_.get(), clock_);
    acquisition_.SetChannelMap(startup.Channels);
    acquisition_.SetSampleCounts(startup.Ik220.ForceSamples, startup.Ik220.StrainSamples,
                                 startup.Ik220.TravelSamples);
    acquisition_.SetExtraInputs(drivers_.Daq == Driver::Simulated ? simulation_->ExtraInputWiring()
                                                                  : startup.Platform.Extra);
    acquisition_.InitDaq();
    acquisition_.SetForceRange(1);  // releases the shutdown line

    link_.SetConfig(startup.Controller);
    link_.SetLowerTravelTarget(startup.Controller.IncrementalTravel ? -1000000 : 0);
}

bool Machine::Simulated() const {
    auto instrument = [this](int com) {
        if (!Openable(com)) return false;
        const std::string& device = platform_.ComDevice[static_cast<std::size_t>(com)];
        return device == kSimulatedCaliperDevice || device == kSimulatedMicrometerDevice;
    };
    return drivers_.Daq == Driver::Simulated || drivers_.Relay == Driver::Simulated ||
           drivers_.Encoder == Driver::Simulated || drivers_.Controller == Driver::Simulated ||
           (simulation_ && (instrument(caliperPort_) || instrument(micrometerPort_)));
}

std::vector<std::string> Machine::DriverSummary(const std::string& simulatedBanner) const {
    std::vector<std::string> lines;
    if (Simulated() && !simulatedBanner.empty()) lines.push_back(simulatedBanner);
    auto describe = [](Driver driver, const std::string& library, bool answered) {
        std::string text = DriverName(driver);
        if (driver == Driver::Vendor && !library.empty()) text += " (" + library + ")";
        if (driver != Driver::Absent) text += answered ? ", card present" : ", no card";
        return text;
    };
    lines.push_back("Data-acquisition card: " + describe(drivers_.Daq,
                                                         dask_ ? dask_->FileName() : "",
                                                         acquisition_.DaqPresent()));
    lines.push_back("Relay card: " + describe(drivers_.Relay, dask_ ? dask_->FileName() : "",
                                              relays_.RelayCardPresent()));
    lines.push_back("Encoder card: " +
                    (drivers_.Encoder == Driver::Absent
                         ? std::string("none")
                         : DriverName(drivers_.Encoder) + (drivers_.Encoder == Driver::Vendor
                                                               ? " (" + platform_.Ik220Library + ")"
                                                               : std::string())));
    lines.push_back(std::string("Controller: ") +
                    (drivers_.Controller == Driver::Simulated ? "simulated, " : "") +
                    PortLine("port", controllerPort_, ports_.IsOpen(controllerPort_)));
    lines.push_back(PortLine("Caliper", caliperPort_, caliperOpen_));
    lines.push_back(PortLine("Micrometer", micrometerPort_, micrometerOpen_));
    return lines;
}

std::vector<MachineMessage> Machine::Close() {
    std::vector<MachineMessage> messages;
    if (closed_) return messages;
    closed_ = true;
    if (caliperOpen_) ports_.ClosePort(caliperPort_);
    if (micrometerOpen_ && micrometerPort_ != caliperPort_) ports_.ClosePort(micrometerPort_);
    caliperOpen_ = micrometerOpen_ = false;
    acquisition_.ShutdownLineLow();
    if (controllerOpenedHere_) ports_.ClosePort(controllerPort_);
    if (ik220Library_) {
        std::string text;
        if (!ik220Library_->Unload(text)) messages.push_back({0, text});
        encoder_ = EncoderCard(nullptr);
    }
    relays_.ReleaseRelayCard();
    return messages;
}

MachineStartup SimulatedMachineStartup(int samples) {
    MachineStartup startup;
    startup.Platform.DaskLibrary = "/nonexistent/libpci_dask.so";
    startup.Platform.Ik220Library = "/nonexistent/libik220.so";
    startup.Platform.Daq = startup.Platform.Relay = startup.Platform.Encoder =
        startup.Platform.Controller = Driver::Simulated;
    startup.ControllerPort = 2;
    startup.Ik220.ForceSamples = startup.Ik220.StrainSamples = startup.Ik220.TravelSamples =
        samples;
    return startup;
}

MachineOpening OpenMachine(const MachineStartup& startup, Clock& clock,
                           SimulatedMachine* simulation) {
    MachineOpening opening;
    opening.machine = std::make_unique<Machine>(startup, clock, simulation);
    opening.machine->Open(startup, opening.messages);
    return opening;
}

MachineFiles ReadMachineFiles(const std::filesystem::path& workingDirectory) {
    MachineFiles files;
    PlatformConfigResult platform = LoadPlatformConfig(workingDirectory);
    files.Platform = std::move(platform.config);
    for (auto& warning : platform.warnings) files.messages.push_back({0, std::move(warning)});
    std::string refusal;
    files.Ik220 =
        ParseIk220Ini(ReadWorkingFile(workingDirectory, "Kali_IK220.ini", &refusal).value_or(""));
    if (!refusal.empty()) files.messages.push_back({0, std::exchange(refusal, {})});
    const auto channelMap = ReadWorkingFile(workingDirectory, "Dravon.Set", &refusal);
    if (!refusal.empty()) files.messages.push_back({0, refusal});
    if (const auto& image = channelMap) {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(image->data());
        const ChannelMapResult result =
            ParseChannelMap(std::span<const std::uint8_t>(bytes, image->size()), files.Channels);
        if (!result.loaded) files.messages.push_back({0, result.message});
    }
    return files;
}

}  // namespace quorvex
