// The machine interface as the program opens it at start-up and closes it at the end: the
// drivers chosen by the platform configuration, the data-acquisition card, the relay bank,
// the encoder card, the serial ports of the caliper, the micrometer and the controller, and
// the controller link over them.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "acquisition.h"
#include "channel_map.h"
#include "clock.h"
#include "controller_link.h"
#include "counter_card.h"
#include "platform_config.h"
#include "port_table.h"
#include "relay_card.h"
#include "simulation.h"

namespace quorvex {

class DaskLibrary;
class Ik220Library;
struct MachineOpening;

// What the operator is told: a numbered text of the language table, or (number 0) a fixed
// text of the program.
struct MachineMessage {
    int TextNumber = 0;
    std::string Text;  // the German text of the number, or the fixed text
};

constexpr int kTextControllerPortNotOpened = 576;

// Everything the start-up hands the machine interface; the caller reads the files.
struct MachineStartup {
    PlatformConfig Platform;
    Ik220Settings Ik220;          // "Kali_IK220.ini" (defaults without the file)
    ChannelMap Channels;          // defaults overlaid by "Dravon.Set"
    ControllerConfig Controller;  // machine setup and calibration
    int CaliperPort = 0;          // COM numbers; a number outside 1..15 is no port
    int MicrometerPort = 0;
    int ControllerPort = 0;
};

// The drivers in use after start-up: a vendor driver whose library is missing is absent.
struct MachineDrivers {
    Driver Daq = Driver::Absent;
    Driver Relay = Driver::Absent;
    Driver Encoder = Driver::Absent;
    Driver Controller = Driver::Vendor;
};

class Machine {
public:
    Machine(const MachineStartup& startup, Clock& clock, SimulatedMachine* simulation);
    ~Machine();
    Machine(const Machine&) = delete;
    Machine& operator=(const Machine&) = delete;

    Acquisition& Daq() { return acquisition_; }
    RelayBank& Relays() { return relays_; }
    EncoderCard& Encoder() { return encoder_; }
    PortTable& Ports() { return ports_; }
    ControllerLink& Link() { return link_; }
    const MachineDrivers& Drivers() const { return drivers_; }
    const Ik220Settings& Ik220() const { return ik220_; }

    bool CaliperPortOpen() const { return caliperOpen_; }
    bool MicrometerPortOpen() const { return micrometerOpen_; }
    int CaliperPort() const { return caliperPort_; }
    int MicrometerPort() const { return micrometerPort_; }

    // One line per device, for the operator: which driver runs it and whether it answered.
    // On the simulated machine the first line is the caller's banner (in the operator's
    // language), when one is given.
    std::vector<std::string> DriverSummary(const std::string& simulatedBanner = {}) const;
    // True while any device runs on the simulated machine: the main window then says so.
    bool Simulated() const;

    // Program end: the ports closed, the shutdown line low (the machine stops), the encoder
    // library unloaded, the relay card released. The messages of what failed. Runs once; the
    // destructor runs it when the caller has not.
    std::vector<MachineMessage> Close();

private:
    friend MachineOpening OpenMachine(const MachineStartup&, Clock&, SimulatedMachine*);
    void Open(const MachineStartup& startup, std::vector<MachineMessage>& messages);
    std::unique_ptr<SerialPort> MakePort(int com);

    Clock& clock_;
    SimulatedMachine* simulation_;
    PlatformConfig platform_;
    Ik220Settings ik220_;
    MachineDrivers drivers_;
    std::shared_ptr<DaskLibrary> dask_;
    std::unique_ptr<DaqCard> daqCard_;
    std::unique_ptr<RelayCard> relayCard_;
    std::unique_ptr<Ik220Library> ik220Library_;
    std::unique_ptr<CounterCard> simulatedCounter_;
    Acquisition acquisition_;
    RelayBank relays_;
    EncoderCard encoder_;
    PortTable ports_;
    ControllerLink link_;
    int caliperPort_ = 0;
    int micrometerPort_ = 0;
    int controllerPort_ = 0;
    bool caliperOpen_ = false;
    bool micrometerOpen_ = false;
    bool controllerOpenedHere_ = false;
    bool closed_ = false;
};

struct MachineOpening {
    std::unique_ptr<Machine> machine;
    std::vector<MachineMessage> messages;  // to show the operator, in this order
};

// Every device on the simulated machine, no vendor library looked for, the controller on
// COM2, `samples` conversions averaged per reading: how headless runs and tests open it.
MachineStartup SimulatedMachineStartup(int samples);

// The start-up of the machine interface, in the program's order: the encoder card (only when
// fitted), the relay card, the channel map and sample counts, the caliper, micrometer and
// controller ports (9600 baud, no parity, 8 data bits, 1 stop bit; a port number shared with
// another device shares its port), the data-acquisition card, and finally the force range 1,
// which releases the shutdown line. simulation supplies the devices configured "simulated";
// without it they are absent.
MachineOpening OpenMachine(const MachineStartup& startup, Clock& clock,
                           SimulatedMachine* simulation = nullptr);

// The start-up files of the machine read from the working directory over the defaults:
// the platform configuration, "Kali_IK220.ini" and "Dravon.Set". Messages name a file that
// was refused or a line that was not understood.
struct MachineFiles {
    PlatformConfig Platform;
    Ik220Settings Ik220;
    ChannelMap Channels;
    std::vector<MachineMessage> messages;
};
MachineFiles ReadMachineFiles(const std::filesystem::path& workingDirectory);

}  // namespace quorvex
