// Collecting and converting the instruments' readings.
#include "instrument_readings.h"

#include "evaluation/text_functions.h"

namespace quorvex {

std::optional<double> InstrumentReader::Poll(PortTable& ports, int com) {
    if (!ports.IsOpen(com)) return std::nullopt;
    // One character at a time: a carriage return ends the reading and what follows it waits
    // in the queue for the next poll.
    std::uint8_t byte = 0;
    while (ports.BytesWaiting(com) > 0 && ports.ReadBytes(com, &byte, 1) == 1) {
        if (byte == 13) {
            const ParsedNumber number =
                ParseNumberInRange(ExtractNumberText(pending_), -1e300, 1e300);
            pending_.clear();
            if (number.valid) return number.value;
            continue;
        }
        if (pending_.size() >= kMaxReadingLength) pending_.erase(0, 1);
        pending_.push_back(static_cast<char>(byte));
    }
    return std::nullopt;
}

std::optional<InstrumentReading> InstrumentReadings::Poll() {
    if (ports_ == nullptr) return std::nullopt;
    if (Usable(caliperCom_)) {
        if (auto value = caliper_.Poll(*ports_, caliperCom_)) {
            return InstrumentReading{Instrument::Caliper, *value};
        }
    }
    if (Usable(micrometerCom_) && !Shared()) {
        if (auto value = micrometer_.Poll(*ports_, micrometerCom_)) {
            return InstrumentReading{Instrument::Micrometer, *value};
        }
    }
    return std::nullopt;
}

void InstrumentReadings::Purge(Instrument instrument) {
    if (ports_ == nullptr) return;
    const bool caliper = instrument == Instrument::Caliper || Shared();
    const int com = caliper ? caliperCom_ : micrometerCom_;
    if (!Usable(com)) return;
    ports_->PurgeReceive(com);
    (caliper ? caliper_ : micrometer_).Discard();
}

}  // namespace quorvex
