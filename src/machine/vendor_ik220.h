// The HEIDENHAIN IK220 driver library of the encoder counter card, loaded only when the
// platform configuration says the card is fitted. All of its entry points are bound by name
// into one table; the program calls four of them.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "counter_card.h"
#include "vendor_library.h"

namespace quorvex {

class Ik220Library : public CounterCard {
public:
    static constexpr std::size_t kEntryPoints = 71;
    static const std::array<const char*, kEntryPoints> kEntryPointNames;

    explicit Ik220Library(std::string fileName) : library_(std::move(fileName)) {}

    // Loads the library and binds every entry point; the operator messages of what failed.
    // False when the library could not be loaded (no card call is made then).
    bool Load(std::vector<std::string>& messages);
    // At program end; the message when the library could not be removed.
    bool Unload(std::string& message);
    bool IsLoaded() const { return library_.IsLoaded(); }
    // The bound entry point of that name, or null.
    void* EntryPoint(const char* name) const;

    void Init(int axis) override;
    void Reset(int axis) override;
    void WriteParameter(int axis, int parameter, long value) override;

private:
    using AxisCall = int(QUORVEX_VENDOR_CALL*)(std::uint16_t axis);
    using WriteParCall = int(QUORVEX_VENDOR_CALL*)(std::uint16_t axis, std::uint16_t parameter,
                                                   std::uint32_t value);

    VendorLibrary library_;
    std::array<void*, kEntryPoints> table_{};
};

}  // namespace quorvex
