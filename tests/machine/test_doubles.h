// Recording stand-ins for the devices: everything they are asked to do lands in one event
// log, in order, so a test states the exact bytes and actions of a sequence as one string:
// bytes in hex, waits and card actions as words ("wait300", "do02", "relay80", "purge-rx").
#pragma once

#include <cstdint>
#include <cstdio>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "machine/acquisition.h"
#include "machine/clock.h"
#include "machine/controller_link.h"
#include "machine/counter_card.h"
#include "machine/daq_card.h"
#include "machine/port_table.h"
#include "machine/relay_card.h"
#include "machine/serial_port.h"

namespace quorvex::testing {

class EventLog {
public:
    void Add(const std::string& entry) {
        if (!text_.empty()) text_ += ' ';
        text_ += entry;
    }
    void Byte(std::uint8_t b) {
        char hex[3];
        std::snprintf(hex, sizeof hex, "%02X", b);
        Add(hex);
    }
    // What was logged since the last call.
    std::string Take() {
        std::string out;
        out.swap(text_);
        return out;
    }

private:
    std::string text_;
};

inline std::string Hex(std::uint8_t b) {
    char hex[3];
    std::snprintf(hex, sizeof hex, "%02X", b);
    return hex;
}

class LoggingClock : public ManualClock {
public:
    explicit LoggingClock(EventLog& log) {
        onWait = [&log](int ms) { log.Add("wait" + std::to_string(ms)); };
    }
};

// A serial port that records what is written and hands out what a test puts in.
class RecordingPort : public SerialPort {
public:
    explicit RecordingPort(EventLog& log, bool opens = true) : log_(log), opens_(opens) {}

    bool Open(const SerialSettings& settings) override {
        settings_ = settings;
        open_ = opens_;
        return open_;
    }
    void Close() override {
        open_ = false;
        log_.Add("close");
    }
    bool IsOpen() const override { return open_; }
    void Purge(bool input, bool output) override {
        if (input) incoming.clear();
        log_.Add(input && output ? "purge-rx-tx" : input ? "purge-rx" : "purge-tx");
    }
    int BytesWaiting() override { return static_cast<int>(incoming.size()); }
    int Read(std::uint8_t* buffer, int n) override {
        int count = 0;
        while (count < n && !incoming.empty()) {
            buffer[count++] = incoming.front();
            incoming.pop_front();
        }
        return count;
    }
    int Write(const std::uint8_t* buffer, int n) override {
        for (int i = 0; i < n; ++i) log_.Byte(buffer[i]);
        return n;
    }

    SerialSettings settings_;
    std::deque<std::uint8_t> incoming;

private:
    EventLog& log_;
    bool opens_;
    bool open_ = false;
};

// A card whose inputs answer fixed samples; reads are logged as "ai<channel>x<count>".
class FakeDaqCard : public DaqCard {
public:
    explicit FakeDaqCard(EventLog& log, bool present = true) : log_(log), present_(present) {}

    bool Register() override { return present_; }
    std::uint16_t ReadChannel(int channel) override {
        if (channel == lastChannel_) {
            ++run_;
        } else {
            FlushReads();
            lastChannel_ = channel;
            run_ = 1;
        }
        auto& queue = sequences[channel];
        if (!queue.empty()) {
            const std::uint16_t value = queue.front();
            queue.pop_front();
            return value;
        }
        return static_cast<std::uint16_t>(static_cast<std::int16_t>(samples[channel]));
    }
    void WriteDigitalOutput(std::uint8_t value) override {
        FlushReads();
        log_.Add("do" + Hex(value));
    }
    void WriteAnalogOutput(int channel, double volts) override {
        FlushReads();
        char text[40];
        std::snprintf(text, sizeof text, "ao%d=%g", channel, volts);
        log_.Add(text);
    }
    void FlushReads() {
        if (run_ > 0) log_.Add("ai" + std::to_string(lastChannel_) + "x" + std::to_string(run_));
        run_ = 0;
        lastChannel_ = -1;
    }

    std::map<int, int> samples;                          // constant sample per input
    std::map<int, std::deque<std::uint16_t>> sequences;  // raw samples taken first

private:
    EventLog& log_;
    bool present_;
    int lastChannel_ = -1;
    int run_ = 0;
};

class FakeRelayCard : public RelayCard {
public:
    explicit FakeRelayCard(EventLog& log, bool present = true) : log_(log), present_(present) {}
    bool Register() override { return present_; }
    void WritePort(std::uint8_t value) override { log_.Add("relay" + Hex(value)); }
    void Release() override { log_.Add("release"); }

private:
    EventLog& log_;
    bool present_;
};

class FakeCounterCard : public CounterCard {
public:
    explicit FakeCounterCard(EventLog& log) : log_(log) {}
    void Init(int axis) override { log_.Add("ik-init" + std::to_string(axis)); }
    void Reset(int axis) override { log_.Add("ik-reset" + std::to_string(axis)); }
    void WriteParameter(int axis, int parameter, long value) override {
        log_.Add("ik-par" + std::to_string(axis) + "," + std::to_string(parameter) + "=" +
                 std::to_string(value));
    }

private:
    EventLog& log_;
};

// The machine interface over recording devices: every byte on the controller port, every
// wait and every card action lands in one log, in order.
struct RecordingRig {
    std::string Sent() {
        daq.FlushReads();
        return log.Take();
    }

    EventLog log;
    LoggingClock clock{log};
    FakeDaqCard daq{log};
    FakeRelayCard relayCard{log};
    FakeCounterCard counter{log};
    Acquisition acquisition{&daq, clock};
    RelayBank relays{&relayCard};
    EncoderCard encoder{&counter};
    PortTable ports{[this](int) { return std::make_unique<RecordingPort>(log); }};
    ControllerLink link{ports, relays, encoder, acquisition, clock};
};

}  // namespace quorvex::testing
