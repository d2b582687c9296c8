// The readings of the caliper and the micrometer: each instrument sends one value as text
// ended by a carriage return. The specimen dialogs poll both ports every 50 ms.
#pragma once

#include <optional>
#include <string>

#include "machine/port_table.h"

namespace quorvex {

enum class Instrument { Caliper, Micrometer };

// Collects the characters of one port up to a carriage return and converts them.
class InstrumentReader {
  public:
    // Longer texts are no reading of a caliper; their start is dropped.
    static constexpr std::size_t kMaxReadingLength = 64;

    InstrumentReader() { pending_.reserve(kMaxReadingLength); }

    // Reads what waits on port com (nothing when it is not open). A carriage return ends a
    // reading: its number (through ExtractNumberText) is returned when it converts, and the
    // text is discarded either way. Characters after the carriage return stay for the next
    // poll.
    std::optional<double> Poll(PortTable& ports, int com);
    void Discard() { pending_.clear(); }
    const std::string& Pending() const { return pending_; }

  private:
    std::string pending_;
};

struct InstrumentReading {
    Instrument Source = Instrument::Caliper;
    double Value = 0;
};

// Both instruments of a dialog. Port numbers outside 1..15 are no port; two instruments on
// one number share its port and its reader.
class InstrumentReadings {
  public:
    InstrumentReadings() = default;
    InstrumentReadings(PortTable* ports, int caliperCom, int micrometerCom)
        : ports_(ports), caliperCom_(caliperCom), micrometerCom_(micrometerCom) {}

    // One poll of both ports: the first complete reading that converts, caliper first.
    std::optional<InstrumentReading> Poll();
    // Empties the receive queue of the instrument's port and its collected text.
    void Purge(Instrument instrument);
    bool Connected() const { return ports_ != nullptr; }

  private:
    static bool Usable(int com) { return com >= 1 && com <= 15; }
    bool Shared() const { return caliperCom_ == micrometerCom_; }

    PortTable* ports_ = nullptr;
    int caliperCom_ = 0;
    int micrometerCom_ = 0;
    InstrumentReader caliper_;
    InstrumentReader micrometer_;
};

}  // namespace quorvex
