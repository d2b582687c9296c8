// The data-acquisition and relay cards through the PCI-DASK library.
#include "vendor_dask.h"

namespace quorvex {
namespace {

template <class Fn>
void Bind(VendorLibrary& library, const char* name, Fn& slot, std::vector<std::string>& missing) {
    slot = reinterpret_cast<Fn>(library.Resolve(name));
    if (!slot) missing.emplace_back(name);
}

}  // namespace

bool DaskLibrary::Load() {
    if (!library_.Load()) return false;
    missing_.clear();
    Bind(library_, "Register_Card", api_.Register_Card, missing_);
    Bind(library_, "Release_Card", api_.Release_Card, missing_);
    Bind(library_, "AI_9111_Config", api_.AI_9111_Config, missing_);
    Bind(library_, "AO_9111_Config", api_.AO_9111_Config, missing_);
    Bind(library_, "EDO_9111_Config", api_.EDO_9111_Config, missing_);
    Bind(library_, "AI_ReadChannel", api_.AI_ReadChannel, missing_);
    Bind(library_, "DO_WritePort", api_.DO_WritePort, missing_);
    Bind(library_, "AO_VWriteChannel", api_.AO_VWriteChannel, missing_);
    return true;
}

bool VendorDaqCard::Register() {
    const DaskApi& api = library_->Api();
    if (!api.Register_Card || !api.AI_9111_Config || !api.AO_9111_Config || !api.EDO_9111_Config ||
        !api.AI_ReadChannel || !api.DO_WritePort) {
        return false;
    }
    // The library hands out a card handle (0 for the first card registered); a negative
    // value is an error code.
    const std::int16_t handle = api.Register_Card(DaskLibrary::kPci9111, 0);
    if (handle < 0) return false;
    card_ = static_cast<std::uint16_t>(handle);
    registered_ = true;
    api.AI_9111_Config(card_, 1, 0, 0);  // single software-triggered conversions
    api.AO_9111_Config(card_, 0);
    api.EDO_9111_Config(card_, 2);
    return true;
}

std::uint16_t VendorDaqCard::ReadChannel(int channel) {
    std::uint16_t value = 0;
    if (registered_) {
        library_->Api().AI_ReadChannel(card_, static_cast<std::uint16_t>(channel), 1, &value);
    }
    return value;
}

void VendorDaqCard::WriteDigitalOutput(std::uint8_t value) {
    if (registered_) library_->Api().DO_WritePort(card_, 1, value);
}

void VendorDaqCard::WriteAnalogOutput(int channel, double volts) {
    if (registered_ && library_->Api().AO_VWriteChannel) {
        library_->Api().AO_VWriteChannel(card_, static_cast<std::uint16_t>(channel), volts);
    }
}

bool VendorRelayCard::Register() {
    const DaskApi& api = library_->Api();
    if (!api.Register_Card || !api.DO_WritePort || !api.Release_Card) return false;
    const std::int16_t handle = api.Register_Card(DaskLibrary::kPci7250, 0);
    if (handle < 0) return false;
    card_ = static_cast<std::uint16_t>(handle);
    registered_ = true;
    return true;
}

void VendorRelayCard::WritePort(std::uint8_t value) {
    if (registered_) library_->Api().DO_WritePort(card_, 0, value);
}

void VendorRelayCard::Release() {
    if (!registered_) return;
    library_->Api().Release_Card(card_);
    registered_ = false;
}

}  // namespace quorvex
