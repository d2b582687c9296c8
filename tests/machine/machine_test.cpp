#include "machine/machine.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <fstream>

#include "test_doubles.h"

namespace quorvex {
namespace {

using testing::EventLog;
using testing::FakeCounterCard;
using testing::FakeDaqCard;
using testing::FakeRelayCard;
using testing::LoggingClock;
using testing::RecordingPort;

// Calls a test-only function of a fake vendor library the machine has loaded.
std::string TakeLog(const char* library, const char* function) {
    void* handle = dlopen(library, RTLD_LAZY | RTLD_NOLOAD);
    if (!handle) return "(not loaded)";
    auto take = reinterpret_cast<const char* (*)()>(dlsym(handle, function));
    std::string log = take ? take() : "(no log)";
    dlclose(handle);
    return log;
}

void ResetFake(const char* library, const char* function) {
    if (void* handle = dlopen(library, RTLD_LAZY)) {
        if (auto reset = reinterpret_cast<void (*)()>(dlsym(handle, function))) reset();
        dlclose(handle);
    }
}

MachineStartup WithoutVendorLibraries() {
    MachineStartup startup;
    startup.Platform.DaskLibrary = "/nonexistent/libpci_dask.so";
    startup.Platform.Ik220Library = "/nonexistent/libik220.so";
    return startup;
}

TEST(OpenMachine, StartsWithoutTheVendorLibraries) {
    ManualClock clock;
    MachineOpening opening = OpenMachine(WithoutVendorLibraries(), clock);
    ASSERT_TRUE(opening.machine);
    Machine& machine = *opening.machine;
    EXPECT_TRUE(opening.messages.empty());  // a PC without the cards starts without a message
    EXPECT_EQ(machine.Drivers().Daq, Driver::Absent);
    EXPECT_EQ(machine.Drivers().Relay, Driver::Absent);
    EXPECT_EQ(machine.Drivers().Encoder, Driver::Absent);
    EXPECT_FALSE(machine.Daq().DaqPresent());
    EXPECT_FALSE(machine.Relays().RelayCardPresent());
    machine.Daq().ReadAll();
    EXPECT_EQ(machine.Daq().RawValues(), (std::array<double, 3>{3000, 3000, 3000}));
    machine.Link().StopMachine();  // no port: lost without a message
    EXPECT_EQ(machine.DriverSummary()[0], "Data-acquisition card: absent");
    EXPECT_EQ(machine.DriverSummary()[2], "Encoder card: none");
    EXPECT_TRUE(machine.Close().empty());
}

TEST(OpenMachine, AFittedEncoderCardWithoutItsLibraryIsReported) {
    ManualClock clock;
    MachineStartup startup = WithoutVendorLibraries();
    startup.Platform.Encoder = Driver::Vendor;
    MachineOpening opening = OpenMachine(startup, clock);
    ASSERT_EQ(opening.messages.size(), 1u);
    EXPECT_EQ(opening.messages[0].TextNumber, 0);
    EXPECT_EQ(opening.messages[0].Text, "Error loading IK220 DLL");
    EXPECT_FALSE(opening.machine->Encoder().Present());
}

TEST(OpenMachine, VendorLibrariesAreBoundByNameAndDriveTheCards) {
    ResetFake(FAKE_DASK_PATH, "FakeDask_Reset");
    ResetFake(FAKE_IK220_PATH, "FakeIk220_Reset");
    ManualClock clock;
    MachineStartup startup;
    startup.Platform.DaskLibrary = FAKE_DASK_PATH;
    startup.Platform.Ik220Library = FAKE_IK220_PATH;
    startup.Platform.Encoder = Driver::Vendor;
    startup.Ik220 = ParseIk220Ini(
        "[PCI9111]\nAnzahlMessungenKraft=1\nAnzahlMessungenDehnung=1\n"
        "AnzahlMessungenWeg=1\n");
    MachineOpening opening = OpenMachine(startup, clock);
    Machine& machine = *opening.machine;
    EXPECT_TRUE(opening.messages.empty());
    EXPECT_EQ(machine.Drivers().Daq, Driver::Vendor);
    EXPECT_EQ(machine.Drivers().Relay, Driver::Vendor);
    EXPECT_EQ(machine.Drivers().Encoder, Driver::Vendor);
    EXPECT_TRUE(machine.Daq().DaqPresent());
    EXPECT_TRUE(machine.Relays().RelayCardPresent());
    EXPECT_EQ(TakeLog(FAKE_IK220_PATH, "FakeIk220_TakeLog"),
              "IK220Init(0) IK220Init(1) IK220Reset(0) IK220Reset(1) IK220WritePar(0,1,0) "
              "IK220WritePar(0,2,0) IK220WritePar(1,1,0) IK220WritePar(1,2,0)");
    // The relay card registers first and gets the first handle; the acquisition card uses
    // the handle it is given.
    EXPECT_EQ(TakeLog(FAKE_DASK_PATH, "FakeDask_TakeLog"),
              "Register_Card(11,0) DO_WritePort(0,0,0) Register_Card(21,0) "
              "AI_9111_Config(1,1,0,0) AO_9111_Config(1,0) EDO_9111_Config(1,2) "
              "DO_WritePort(1,1,0) DO_WritePort(1,1,0) DO_WritePort(1,1,2) DO_WritePort(1,1,0) "
              "DO_WritePort(1,1,2)");
    EXPECT_EQ(clock.Waits(), (std::vector<int>{300, 300}));

    using SetSample = void (*)(std::uint16_t);
    void* dask = dlopen(FAKE_DASK_PATH, RTLD_LAZY | RTLD_NOLOAD);
    ASSERT_TRUE(dask);
    reinterpret_cast<SetSample>(dlsym(dask, "FakeDask_SetSample"))(0xFFF6);
    dlclose(dask);
    machine.Daq().ReadAll();
    EXPECT_EQ(machine.Daq().RawValues(), (std::array<double, 3>{-10, -10, -10}));
    machine.Relays().Relay8On();
    machine.Daq().WriteAnalogOutput(0, 2.5);
    EXPECT_EQ(TakeLog(FAKE_DASK_PATH, "FakeDask_TakeLog"),
              "AI_ReadChannel(1,0,1) AI_ReadChannel(1,4,1) AI_ReadChannel(1,2,1) "
              "DO_WritePort(0,0,128) AO_VWriteChannel(1,0,2500)");
    machine.Link().TareCounter(3);
    EXPECT_EQ(TakeLog(FAKE_IK220_PATH, "FakeIk220_TakeLog"), "IK220Reset(0) IK220Reset(1)");

    EXPECT_TRUE(machine.Close().empty());
    EXPECT_EQ(TakeLog(FAKE_DASK_PATH, "FakeDask_TakeLog"), "DO_WritePort(1,1,0) Release_Card(0)");
}

TEST(OpenMachine, AnEncoderLibraryWithoutIK220FindIsReportedAndStillInitialised) {
    ResetFake(FAKE_IK220_NOFIND_PATH, "FakeIk220_Reset");
    ManualClock clock;
    MachineStartup startup = WithoutVendorLibraries();
    startup.Platform.Ik220Library = FAKE_IK220_NOFIND_PATH;
    startup.Platform.Encoder = Driver::Vendor;
    MachineOpening opening = OpenMachine(startup, clock);
    ASSERT_EQ(opening.messages.size(), 1u);
    EXPECT_EQ(opening.messages[0].Text, "Error loading >>IK220Find<< function");
    EXPECT_EQ(TakeLog(FAKE_IK220_NOFIND_PATH, "FakeIk220_TakeLog").substr(0, 25),
              "IK220Init(0) IK220Init(1)");
}

// A simulated machine made of recording devices.
class RecordingSimulation : public SimulatedMachine {
public:
    explicit RecordingSimulation(EventLog& log) : log_(log) {}
    std::unique_ptr<DaqCard> CreateDaqCard() override {
        auto card = std::make_unique<FakeDaqCard>(log_);
        daq = card.get();
        daq->samples[0] = 1234;
        return card;
    }
    std::unique_ptr<RelayCard> CreateRelayCard() override {
        return std::make_unique<FakeRelayCard>(log_);
    }
    std::unique_ptr<CounterCard> CreateCounterCard() override {
        return std::make_unique<FakeCounterCard>(log_);
    }
    std::unique_ptr<SerialPort> CreateControllerPort() override {
        return std::make_unique<RecordingPort>(log_);
    }
    FakeDaqCard* daq = nullptr;

private:
    EventLog& log_;
};

MachineStartup Simulated() { return SimulatedMachineStartup(1); }

TEST(OpenMachine, TheSimulatedMachineGetsTheControllerBytesAndAnswersTheReadings) {
    EventLog log;
    LoggingClock clock(log);
    RecordingSimulation simulation(log);
    MachineOpening opening = OpenMachine(Simulated(), clock, &simulation);
    Machine& machine = *opening.machine;
    EXPECT_TRUE(opening.messages.empty());
    EXPECT_EQ(log.Take(),
              "ik-init0 ik-init1 ik-reset0 ik-reset1 ik-par0,1=0 ik-par0,2=0 ik-par1,1=0 "
              "ik-par1,2=0 relay00 purge-rx-tx do00 do00 do02 wait300 do00 do02 wait300");
    EXPECT_EQ(machine.Drivers().Daq, Driver::Simulated);
    EXPECT_EQ(machine.Drivers().Controller, Driver::Simulated);

    machine.Daq().ReadAll();
    EXPECT_DOUBLE_EQ(machine.Daq().RawValues()[kRawForce], 1234);
    simulation.daq->FlushReads();
    log.Take();
    machine.Link().StopMachine();
    EXPECT_EQ(log.Take(), "5A 00 5A 00 3C 30 41 00 00 00 wait400 3C 90 41 00 00 00 purge-rx");

    EXPECT_TRUE(machine.Close().empty());
    EXPECT_EQ(log.Take(), "do00 purge-rx-tx close release");
}

TEST(OpenMachine, SimulatedDevicesWithoutASimulationAreAbsent) {
    ManualClock clock;
    MachineOpening opening = OpenMachine(Simulated(), clock);
    EXPECT_EQ(opening.machine->Drivers().Daq, Driver::Absent);
    EXPECT_FALSE(opening.machine->Daq().DaqPresent());
    ASSERT_EQ(opening.messages.size(), 1u);  // no controller port either
    EXPECT_EQ(opening.messages[0].TextNumber, kTextControllerPortNotOpened);
}

// A pseudo terminal standing in for a COM port.
struct PseudoTerminal {
    PseudoTerminal() {
        master = posix_openpt(O_RDWR | O_NOCTTY);
        if (master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0) device = ptsname(master);
    }
    ~PseudoTerminal() {
        if (master >= 0) close(master);
    }
    std::string Received(std::size_t count) {
        std::string received;
        for (int attempt = 0; attempt < 50 && received.size() < count; ++attempt) {
            pollfd fd{master, POLLIN, 0};
            if (poll(&fd, 1, 100) <= 0) continue;
            char buffer[64];
            const ssize_t n = read(master, buffer, sizeof buffer);
            if (n > 0) received.append(buffer, static_cast<std::size_t>(n));
        }
        return received;
    }
    int master = -1;
    std::string device;
};

TEST(OpenMachine, ControllerPortOpenedOrSharedAndReportedOnceWhenItCannotBeOpened) {
    PseudoTerminal caliper;
    PseudoTerminal controller;
    ASSERT_FALSE(caliper.device.empty());
    ManualClock clock;
    {
        MachineStartup startup = WithoutVendorLibraries();
        startup.Platform.ComDevice[1] = caliper.device;
        startup.Platform.ComDevice[4] = controller.device;
        startup.CaliperPort = 1;
        startup.MicrometerPort = 1;  // shares the caliper's port
        startup.ControllerPort = 4;
        MachineOpening opening = OpenMachine(startup, clock);
        EXPECT_TRUE(opening.messages.empty());
        EXPECT_TRUE(opening.machine->CaliperPortOpen());
        EXPECT_TRUE(opening.machine->MicrometerPortOpen());
        opening.machine->Link().StopRequest();
        EXPECT_EQ(controller.Received(1), "\x40");
        opening.machine->Close();
    }
    {
        MachineStartup startup = WithoutVendorLibraries();
        startup.Platform.ComDevice[1] = caliper.device;
        startup.CaliperPort = 1;
        startup.MicrometerPort = 16;  // none
        startup.ControllerPort = 1;   // the controller on the caliper's line
        MachineOpening opening = OpenMachine(startup, clock);
        EXPECT_TRUE(opening.messages.empty());
        EXPECT_FALSE(opening.machine->MicrometerPortOpen());
        opening.machine->Link().Release();
        EXPECT_EQ(caliper.Received(1), "?");
    }
    {
        MachineStartup startup = WithoutVendorLibraries();
        startup.Platform.ComDevice[5] = "/nonexistent/ttyS4";
        startup.ControllerPort = 5;
        MachineOpening opening = OpenMachine(startup, clock);
        ASSERT_EQ(opening.messages.size(), 1u);
        EXPECT_EQ(opening.messages[0].TextNumber, 576);
        EXPECT_EQ(opening.messages[0].Text, "Konnte Schnittstelle zur Quorvex nicht öffnen!");
    }
    {
        MachineStartup startup = WithoutVendorLibraries();
        startup.ControllerPort = 17;  // none configured: nothing to report
        EXPECT_TRUE(OpenMachine(startup, clock).messages.empty());
    }
}

TEST(MachineFiles, ReadFromTheWorkingDirectoryWithoutRegardToCase) {
    const auto dir = std::filesystem::path(::testing::TempDir()) / "machine_files";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const MachineFiles none = ReadMachineFiles(dir);
    EXPECT_TRUE(none.messages.empty());
    EXPECT_EQ(none.Ik220.TravelSamples, 200);
    EXPECT_EQ(none.Channels.TravelChannel, 2);

    std::ofstream(dir / "QUORVEX.platform") << "daq = absent\nnonsense\n";
    std::ofstream(dir / "kali_ik220.INI") << "[PCI9111]\nAnzahlMessungenWeg=250\n";
    std::ofstream(dir / "DRAVON.SET") << std::string(100, '\0');
    const MachineFiles files = ReadMachineFiles(dir);
    EXPECT_EQ(files.Platform.Daq, Driver::Absent);
    EXPECT_EQ(files.Ik220.TravelSamples, 250);
    ASSERT_EQ(files.messages.size(), 2u);
    EXPECT_NE(files.messages[0].Text.find("line 2"), std::string::npos);
    EXPECT_NE(files.messages[1].Text.find("Dravon.Set"), std::string::npos);
    EXPECT_EQ(files.Channels.TravelChannel, 2);
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace quorvex
