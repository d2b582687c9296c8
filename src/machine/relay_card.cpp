// The relay bank over the relay card.
#include "relay_card.h"

namespace quorvex {

bool RelayBank::InitRelayCard() {
    present_ = card_ != nullptr && card_->Register();
    if (present_) {
        state_.fill(false);
        WriteRelays();
    }
    return present_;
}

std::uint8_t RelayBank::OutputByte() const {
    std::uint8_t value = 0;
    for (std::size_t i = 0; i < state_.size(); ++i) {
        if (state_[i]) value = static_cast<std::uint8_t>(value | (1u << i));
    }
    return value;
}

void RelayBank::WriteRelays() {
    if (present_) card_->WritePort(OutputByte());
}

void RelayBank::SetRelay8(bool on) {
    if (!present_) return;
    state_[7] = on;
    WriteRelays();
}

void RelayBank::ReleaseRelayCard() {
    if (!present_) return;
    card_->Release();
    present_ = false;
}

}  // namespace quorvex
