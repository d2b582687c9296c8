// Around the setup dialog: the gain frames after a confirmed machine setup, byte for byte;
// the live calibration session against a card that answers fixed samples; the serial port
// choice.
#include <gtest/gtest.h>

#include "machine/port_table.h"
#include "setup/calibration_session.h"
#include "setup/controller_gains.h"
#include "setup/machine_setup_command.h"
#include "setup/serial_ports_dialog.h"
#include "test_doubles.h"

namespace quorvex {
namespace {

using testing::EventLog;
using testing::FakeCounterCard;
using testing::FakeDaqCard;
using testing::FakeRelayCard;
using testing::LoggingClock;
using testing::RecordingPort;

// The devices of a machine whose controller listens on COM 2 and whose card answers samples.
class MachineRig : public ::testing::Test, public testing::RecordingRig {
  protected:
    void SetUp() override {
        acquisition.SetSampleCounts(1, 1, 1);
        acquisition.InitDaq();
        ports.OpenPort(2, 9600, 'N', 1, 8);
        ports.SetControllerPort(2);
        Sent();
    }
};

using MachineSetupCommand = MachineRig;

TEST_F(MachineSetupCommand, ConfirmedSetupSendsBothGainFramesAndTakesTheNominalValues) {
    MachineConfig m;
    MachineSetupRecord& s = m.Setup;
    s.ForceGainP = {1000000, 2, 3, 4};
    s.ForcePoint = {0, 100000, 300000, 500000};
    s.ForceGainI = {5, 6, 7, 8};
    s.ForceGainD = 9;
    s.TravelGainP = {10, 11, 12, 13};
    s.TravelPoint = {0, 1, 2, 3};
    s.TravelGainI = 14;
    s.TravelGainD = -15;
    ParameterSet p;
    p.NominalForceKn = 100;
    p.NominalTravelMm = 500;
    p.ExtensometerRangeMm = 10;
    p.TransverseRangeMm = 4;

    // The link's frames carry what the setup's gain tables say.
    EXPECT_EQ(ForceGainFrame(GainsOf(s)), ForceGainFrameValues(s));
    EXPECT_EQ(TravelGainFrame(GainsOf(s)), TravelGainFrameValues(s));

    ApplyConfirmedMachineSetup(m, p, 1.0, link);
    EXPECT_EQ(Sent(),
              "5E 0F 42 40 00 00 02 00 00 03 00 00 04 "  // P at F1..F4
              "00 00 00 01 86 A0 04 93 E0 07 A1 20 "     // F1..F4: 0, 10, 30, 50 %
              "00 00 05 00 00 06 00 00 07 00 00 08 "     // I at F1..F4
              "00 00 00 01 86 A0 04 93 E0 07 A1 20 "     // the points again
              "00 00 09 0F B7 70 "                       // D, the 103 % limit
              "wait200 "
              "5F 00 00 0A 00 00 0B 00 00 0C 00 00 0D "  // P at S1..S4
              "00 00 00 00 00 01 00 00 02 00 00 03 "     // S1..S4
              "00 00 0E 00 00 0E 00 00 0E 00 00 0E "     // the one travel I four times
              "00 00 00 00 00 01 00 00 02 00 00 03 "
              "80 00 0F 0F B7 70");
    EXPECT_DOUBLE_EQ(m.Calibration.NominalForce, 100);
    EXPECT_DOUBLE_EQ(m.Calibration.NominalTravel, 500);
    EXPECT_DOUBLE_EQ(m.Calibration.NominalStrain, 10);
    EXPECT_DOUBLE_EQ(m.Calibration.NominalTransverse, 4);
    EXPECT_EQ(m.Factors.ForceDecimals, 3);
    EXPECT_EQ(m.Factors.StrainDecimals, 3);
    EXPECT_DOUBLE_EQ(m.Factors.TravelLimit, 500);
    EXPECT_DOUBLE_EQ(link.Config().NominalForce, 100);

    // Measurement only, just confirmed: the controller hears nothing.
    s.MeasureOnly = 1;
    ApplyConfirmedMachineSetup(m, p, 1.0, link);
    EXPECT_EQ(Sent(), "");
    EXPECT_TRUE(link.Config().MeasureOnly);
}

TEST_F(MachineSetupCommand, TheNominalValuesGoIntoTheDialogFirst) {
    CalibrationRecord c;
    c.NominalForce = 20;
    c.NominalTransverse = 1.5;
    ParameterSet p;
    CopyNominalsIntoParameters(c, p);
    EXPECT_FLOAT_EQ(p.NominalForceKn, 20);
    EXPECT_FLOAT_EQ(p.NominalTravelMm, 300);
    EXPECT_FLOAT_EQ(p.ExtensometerRangeMm, 2);
    EXPECT_DOUBLE_EQ(p.TransverseRangeMm, 1.5);
}

using CalibrationSessionTest = MachineRig;

TEST_F(CalibrationSessionTest, ReadingsDecimalsOverloadTareAndTheEnd) {
    CalibrationRecord c;  // 300 kN, 300 mm, 2 mm
    acquisition.SetSampleCounts(3, 4, 5);
    CalibrationSession session(acquisition, c, 0.9);
    session.Begin();
    EXPECT_EQ(Sent(), "do02 wait300");      // range 1
    EXPECT_EQ(session.ForceDecimals(), 1);  // 300 kN: 3000 in tenths
    EXPECT_EQ(session.StrainDecimals(), 4);

    daq.samples = {{0, 30000}, {4, 1500}, {2, 15000}};  // force, strain A, travel
    acquisition.SetSampleCounts(1, 1, 1);
    CalibrationReading r = session.Tick();
    EXPECT_EQ(r.Force, "300.0 ");
    EXPECT_EQ(r.Travel, "150.0 ");
    EXPECT_EQ(r.Strain, "0.1000 ");
    EXPECT_FALSE(session.Overload());
    Sent();

    // 1.04 x nominal passes here; 1.05 x is an overload and stops the machine.
    daq.samples[0] = 31200;
    session.Tick();
    EXPECT_EQ(Sent(), "ai0x1 ai4x1 ai2x1");
    daq.samples[0] = 31501;
    session.Tick();
    EXPECT_EQ(Sent(), "ai0x1 ai4x1 ai2x1 do00 wait300 do02");
    EXPECT_TRUE(session.Overload());
    // So does travel beyond the travel limit.
    daq.samples = {{0, 0}, {4, 0}, {2, 27001}};
    session.Tick();
    EXPECT_EQ(Sent(), "ai0x1 ai4x1 ai2x1 do00 wait300 do02");

    daq.samples = {{0, 3000}, {4, 0}, {2, 0}};
    session.TareForce();
    EXPECT_EQ(session.Tick().Force, "0.0 ");

    // The tenth range: 30 kN full scale shows 2 decimals; the reading stays in kN.
    session.SelectForceRange(ForceRangeChoice::Tenth);
    EXPECT_EQ(session.ForceDecimals(), 2);
    session.SelectForceRange(ForceRangeChoice::Auto);
    EXPECT_EQ(session.ForceDecimals(), 1);
    EXPECT_EQ(acquisition.ForceRange(), 1);

    session.SelectForceRange(ForceRangeChoice::Tenth);
    Sent();
    session.End();
    EXPECT_EQ(Sent(), "do02 wait300");  // back to the full range
    EXPECT_EQ(acquisition.ForceSamples(), 3);
    EXPECT_EQ(acquisition.StrainSamples(), 4);
    EXPECT_EQ(acquisition.TravelSamples(), 5);
    EXPECT_EQ(acquisition.ZeroOffsets(), (std::array<double, 3>{0, 0, 0}));
}

TEST(SerialPortChoice, ListPositionsAndTheirCoding) {
    ParameterSet p;
    p.ControllerPort = 0;
    p.CaliperPort = 16;
    p.MicrometerPort = 16;
    SerialPortChoice shown = SerialPortChoiceOf(p);
    EXPECT_EQ(shown.Controller, 0);   // "Com 1"
    EXPECT_EQ(shown.Caliper, 16);     // "None"
    EXPECT_EQ(shown.Micrometer, 15);  // "Com 16"
    p.ControllerPort = 40;
    p.MicrometerPort = 0;
    EXPECT_EQ(SerialPortChoiceOf(p).Controller, 16);
    EXPECT_EQ(SerialPortChoiceOf(p).Micrometer, 16);

    StoreSerialPortChoice({2, 5, 16}, p);
    EXPECT_EQ(p.ControllerPort, 2);
    EXPECT_EQ(p.CaliperPort, 5);
    EXPECT_EQ(p.MicrometerPort, 17);  // none
}

}  // namespace
}  // namespace quorvex
