// The multifunction data-acquisition card as the program uses it: one software-triggered
// conversion of an analogue input, the digital output port that switches the force range and
// the machine's shutdown line, and the analogue outputs. The vendor driver, the simulated
// machine and test fakes implement it; without a card none is registered.
#pragma once

#include <cstdint>

namespace quorvex {

class DaqCard {
public:
    virtual ~DaqCard() = default;
    // Registers and configures the card; false when there is no card. Called once.
    virtual bool Register() = 0;
    // One conversion of an analogue input: a two's-complement 16-bit sample.
    virtual std::uint16_t ReadChannel(int channel) = 0;
    // The whole digital output port (force range bit 0, shutdown line bit 1).
    virtual void WriteDigitalOutput(std::uint8_t value) = 0;
    virtual void WriteAnalogOutput(int channel, double volts) = 0;
};

}  // namespace quorvex
