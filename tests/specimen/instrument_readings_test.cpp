// The caliper and micrometer readings: text up to a carriage return, through the number
// extraction, split across polls, garbled, and on a shared port.
#include "specimen/instrument_readings.h"

#include <gtest/gtest.h>

#include <map>

#include "test_doubles.h"

namespace quorvex {
namespace {

using testing::EventLog;
using testing::RecordingPort;

class InstrumentReadingsTest : public ::testing::Test {
  protected:
    InstrumentReadingsTest()
        : ports([this](int com) {
              auto port = std::make_unique<RecordingPort>(log);
              devices[com] = port.get();
              return port;
          }) {
        ports.OpenPort(3, 9600, 'N', 1, 8);
        ports.OpenPort(4, 9600, 'N', 1, 8);
    }
    void Send(int com, const std::string& text) {
        devices[com]->incoming.insert(devices[com]->incoming.end(), text.begin(), text.end());
    }

    EventLog log;
    std::map<int, RecordingPort*> devices;
    PortTable ports;
};

TEST_F(InstrumentReadingsTest, AReadingEndsAtTheCarriageReturnAndPassesTheNumberExtraction) {
    struct Case {
        const char* name;
        std::vector<std::string> chunks;  // one poll after each
        std::optional<double> last;       // what the last poll returns
    };
    const Case cases[] = {
        {"caliper text", {"A 12,34\r"}, 12.34},
        {"split across polls", {"10", ".5", "\r"}, 10.5},
        {"no carriage return yet", {"A 9,99"}, std::nullopt},
        {"not a number", {"A xyz\r"}, std::nullopt},
        {"garbage before a good reading is dropped", {"A ?\r", "B 3.25\r"}, 3.25},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        InstrumentReader reader;
        std::optional<double> value;
        for (const std::string& chunk : c.chunks) {
            Send(3, chunk);
            value = reader.Poll(ports, 3);
        }
        ASSERT_EQ(value.has_value(), c.last.has_value());
        if (c.last) {
            EXPECT_DOUBLE_EQ(*value, *c.last);
        }
        devices[3]->incoming.clear();
    }
}

TEST_F(InstrumentReadingsTest, TwoReadingsInTheQueueComeOneByOne) {
    InstrumentReader reader;
    Send(3, "1.5\r2.5\r");
    EXPECT_DOUBLE_EQ(*reader.Poll(ports, 3), 1.5);
    EXPECT_DOUBLE_EQ(*reader.Poll(ports, 3), 2.5);
    EXPECT_FALSE(reader.Poll(ports, 3));
    // A closed or missing port gives nothing.
    EXPECT_FALSE(reader.Poll(ports, 7));
}

TEST_F(InstrumentReadingsTest, AnEndlessTextWithoutCarriageReturnStaysBounded) {
    InstrumentReader reader;
    Send(3, std::string(1000, '7'));
    EXPECT_FALSE(reader.Poll(ports, 3));
    EXPECT_EQ(reader.Pending().size(), InstrumentReader::kMaxReadingLength);
}

TEST_F(InstrumentReadingsTest, BothInstrumentsArePolledAndPurgedByTheirPorts) {
    InstrumentReadings readings(&ports, 3, 4);
    Send(4, "A 2,005\r");
    auto reading = readings.Poll();
    ASSERT_TRUE(reading);
    EXPECT_EQ(reading->Source, Instrument::Micrometer);
    EXPECT_DOUBLE_EQ(reading->Value, 2.005);

    Send(3, "A 20,1");  // half a reading, then the input is purged
    EXPECT_FALSE(readings.Poll());
    log.Take();
    readings.Purge(Instrument::Caliper);
    EXPECT_EQ(log.Take(), "purge-rx");
    Send(3, "5\r");
    EXPECT_DOUBLE_EQ(readings.Poll()->Value, 5.0);

    // Both instruments on one port share its reader.
    InstrumentReadings shared(&ports, 3, 3);
    Send(3, "7\r");
    reading = shared.Poll();
    ASSERT_TRUE(reading);
    EXPECT_DOUBLE_EQ(reading->Value, 7.0);
    EXPECT_FALSE(InstrumentReadings().Poll());
}

}  // namespace
}  // namespace quorvex
