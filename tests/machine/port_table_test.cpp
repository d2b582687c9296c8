#include "machine/port_table.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "test_doubles.h"

namespace quorvex {
namespace {

using testing::EventLog;
using testing::RecordingPort;

TEST(DeviceSettings, TextOfAPort) {
    EXPECT_EQ(DeviceSettingsText(1, SerialSettings{}), "COM1:9600,N,8,1");
    EXPECT_EQ(DeviceSettingsText(12, SerialSettings{4800, 'E', 7, 2}), "COM12:4800,E,7,2");
}

class PortTableTest : public ::testing::Test {
protected:
    PortTable ports{[this](int com) -> std::unique_ptr<SerialPort> {
        if (com == 9) return nullptr;  // no such device
        auto port = std::make_unique<RecordingPort>(log, /*opens=*/com != 8);
        made[com] = port.get();
        return port;
    }};
    EventLog log;
    std::map<int, RecordingPort*> made;
};

TEST_F(PortTableTest, OpenAppliesTheSettingsAndDiscardsPendingData) {
    EXPECT_TRUE(ports.OpenPort(2, 9600, 'N', 1, 8));
    EXPECT_EQ(log.Take(), "purge-rx-tx");
    EXPECT_EQ(made[2]->settings_.baud, 9600);
    EXPECT_EQ(made[2]->settings_.parity, 'N');
    EXPECT_EQ(made[2]->settings_.dataBits, 8);
    EXPECT_EQ(made[2]->settings_.stopBits, 1);
    EXPECT_TRUE(ports.IsOpen(2));

    // A second open of the same number shares the port that is open there.
    RecordingPort* first = made[2];
    EXPECT_TRUE(ports.OpenPort(2, 9600, 'N', 1, 8));
    EXPECT_EQ(made[2], first);
    EXPECT_EQ(log.Take(), "");
}

TEST_F(PortTableTest, PortsThatCannotOpenStayInvalidAndSwallowWrites) {
    EXPECT_FALSE(ports.OpenPort(8, 9600, 'N', 1, 8));  // the device refuses
    EXPECT_FALSE(ports.OpenPort(9, 9600, 'N', 1, 8));  // no device
    EXPECT_FALSE(ports.OpenPort(0, 9600, 'N', 1, 8));
    EXPECT_FALSE(ports.OpenPort(17, 9600, 'N', 1, 8));
    const std::uint8_t bytes[] = {1, 2};
    EXPECT_EQ(ports.WriteBytes(8, bytes, 2), 0);
    EXPECT_EQ(ports.WriteBytes(17, bytes, 2), 0);
    EXPECT_EQ(ports.BytesWaiting(8), 0);
    ports.SetControllerPort(9);
    ports.SendByte(0x40);
    ports.PurgeReceive(8);
    EXPECT_EQ(log.Take(), "");
}

TEST_F(PortTableTest, ReadWriteAndPurges) {
    ports.OpenPort(4, 9600, 'N', 1, 8);
    log.Take();
    const std::uint8_t bytes[] = {0x5A, 0x00};
    EXPECT_EQ(ports.WriteBytes(4, bytes, 2), 2);
    ports.SetControllerPort(4);
    ports.SendByte(0x3F);
    EXPECT_EQ(log.Take(), "5A 00 3F");

    made[4]->incoming = {'1', '2', '.', '5', '\r'};
    EXPECT_EQ(ports.BytesWaiting(4), 5);
    std::uint8_t buffer[3];
    EXPECT_EQ(ports.ReadBytes(4, buffer, 3), 3);
    EXPECT_EQ(std::string(buffer, buffer + 3), "12.");
    ports.PurgeReceive(4);
    EXPECT_EQ(ports.BytesWaiting(4), 0);
    ports.PurgeTransmit(4);
    ports.ClosePort(4);
    EXPECT_FALSE(ports.IsOpen(4));
    EXPECT_EQ(log.Take(), "purge-rx purge-rx-tx purge-rx-tx close");
}

// The window's thread and the acquisition thread both send to the controller: a byte of the
// other thread waits until the command under way is whole on the line.
TEST_F(PortTableTest, AControllerCommandKeepsTheOtherThreadsBytesOut) {
    ports.OpenPort(4, 9600, 'N', 1, 8);
    ports.SetControllerPort(4);
    log.Take();
    std::atomic<bool> otherSends{false};
    std::thread other;
    {
        const PortTable::ControllerCommand whole(ports);
        ports.SendByte(0x64);
        other = std::thread([&] {
            otherSends.store(true);
            ports.SendByte(0x40);
        });
        while (!otherSends.load()) std::this_thread::yield();
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        ports.SendByte(0x00);
        {
            const PortTable::ControllerCommand nested(ports);  // a command within a sequence
            ports.SendByte(0x01);
        }
        ports.SendByte(0x02);
    }
    other.join();
    EXPECT_EQ(log.Take(), "64 00 01 02 40");
}

}  // namespace
}  // namespace quorvex
