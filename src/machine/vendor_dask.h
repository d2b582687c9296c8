// The ADLINK PCI-DASK library that drives the data-acquisition card (PCI-9111HR) and the
// relay card (PCI-7250), bound by name. Both cards share one loaded library.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "daq_card.h"
#include "relay_card.h"
#include "vendor_library.h"

namespace quorvex {

struct DaskApi {
    using RegisterCard = std::int16_t(QUORVEX_VENDOR_CALL*)(std::uint16_t type,
                                                            std::uint16_t number);
    using ReleaseCard = std::int16_t(QUORVEX_VENDOR_CALL*)(std::uint16_t card);
    using Ai9111Config = std::int16_t(QUORVEX_VENDOR_CALL*)(std::uint16_t card,
                                                            std::uint16_t source,
                                                            std::uint16_t mode,
                                                            std::uint16_t count);
    using Ao9111Config = std::int16_t(QUORVEX_VENDOR_CALL*)(std::uint16_t card,
                                                            std::uint16_t reference);
    using Edo9111Config = std::int16_t(QUORVEX_VENDOR_CALL*)(std::uint16_t card,
                                                             std::uint16_t function);
    using AiReadChannel = std::int16_t(QUORVEX_VENDOR_CALL*)(std::uint16_t card,
                                                             std::uint16_t channel,
                                                             std::uint16_t range,
                                                             std::uint16_t* value);
    using DoWritePort = std::int16_t(QUORVEX_VENDOR_CALL*)(std::uint16_t card, std::uint16_t port,
                                                           std::uint32_t value);
    using AoVWriteChannel = std::int16_t(QUORVEX_VENDOR_CALL*)(std::uint16_t card,
                                                               std::uint16_t channel, double volts);

    RegisterCard Register_Card = nullptr;
    ReleaseCard Release_Card = nullptr;
    Ai9111Config AI_9111_Config = nullptr;
    Ao9111Config AO_9111_Config = nullptr;
    Edo9111Config EDO_9111_Config = nullptr;
    AiReadChannel AI_ReadChannel = nullptr;
    DoWritePort DO_WritePort = nullptr;
    AoVWriteChannel AO_VWriteChannel = nullptr;
};

// The loaded library and its entry points.
class DaskLibrary {
public:
    static constexpr std::uint16_t kPci9111 = 21;
    static constexpr std::uint16_t kPci7250 = 11;

    explicit DaskLibrary(std::string fileName) : library_(std::move(fileName)) {}

    // Loads and binds; false when the library is not there.
    bool Load();
    // The names the library lacks (their cards then count as absent).
    const std::vector<std::string>& MissingEntryPoints() const { return missing_; }
    const DaskApi& Api() const { return api_; }
    const std::string& FileName() const { return library_.FileName(); }

private:
    VendorLibrary library_;
    DaskApi api_;
    std::vector<std::string> missing_;
};

class VendorDaqCard : public DaqCard {
public:
    explicit VendorDaqCard(std::shared_ptr<DaskLibrary> library) : library_(std::move(library)) {}

    bool Register() override;
    std::uint16_t ReadChannel(int channel) override;
    void WriteDigitalOutput(std::uint8_t value) override;
    void WriteAnalogOutput(int channel, double volts) override;

private:
    std::shared_ptr<DaskLibrary> library_;
    std::uint16_t card_ = 0;
    bool registered_ = false;
};

class VendorRelayCard : public RelayCard {
public:
    explicit VendorRelayCard(std::shared_ptr<DaskLibrary> library) : library_(std::move(library)) {}

    bool Register() override;
    void WritePort(std::uint8_t value) override;
    void Release() override;

private:
    std::shared_ptr<DaskLibrary> library_;
    std::uint16_t card_ = 0;
    bool registered_ = false;
};

}  // namespace quorvex
