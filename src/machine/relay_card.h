// The 8-relay output card and the relay bank the program keeps over it. Only relay 8 is in
// use: the controller sequences of hydraulic machines switch it on when the machine stops and
// off when it starts moving. Without the card every relay operation does nothing.
#pragma once

#include <array>
#include <cstdint>

namespace quorvex {

class RelayCard {
public:
    virtual ~RelayCard() = default;
    virtual bool Register() = 0;  // false when there is no card
    virtual void WritePort(std::uint8_t value) = 0;
    virtual void Release() = 0;
};

class RelayBank {
public:
    // card may be null: no card. It must outlive this object.
    explicit RelayBank(RelayCard* card) : card_(card) {}

    // Registers the card; on success all relays are written off.
    bool InitRelayCard();
    bool RelayCardPresent() const { return present_; }

    // Bit i of the output is relay i + 1.
    std::uint8_t OutputByte() const;
    void WriteRelays();
    void Relay8On() { SetRelay8(true); }
    void Relay8Off() { SetRelay8(false); }
    bool RelayState(int relay) const { return state_[static_cast<std::size_t>(relay - 1)]; }
    void ReleaseRelayCard();

private:
    void SetRelay8(bool on);

    RelayCard* card_;
    bool present_ = false;
    std::array<bool, 8> state_{};
};

}  // namespace quorvex
