// Readings, zeroing and outputs of the data-acquisition card.
#include "acquisition.h"

#include <algorithm>
#include <cstdint>

namespace quorvex {
namespace {

// A count of conversions that still finishes within a measuring tick's reach; at least one.
int SampleCount(int n) {
    return std::clamp(n, 1, 100000);
}

}  // namespace

void Acquisition::SetSampleCounts(int force, int strain, int travel) {
    forceSamples_ = SampleCount(force);
    strainSamples_ = SampleCount(strain);
    travelSamples_ = SampleCount(travel);
}

void Acquisition::InitDaq() {
    present_ = card_ != nullptr && card_->Register();
    if (present_) WriteOutput(0);  // the registration leaves the port at 0
    WriteOutput(0);
    SetForceRange(1);
    ShutdownLineLow();
    rawValues_[kRawTravel] = rawValues_[kRawStrain] = 0;
    zeroOffsets_[kRawTravel] = zeroOffsets_[kRawStrain] = 0;
}

double Acquisition::ReadChannelAverage(int channel, int n) {
    if (!present_) return kAbsentReading;
    n = SampleCount(n);
    std::int64_t sum = 0;
    for (int i = 0; i < n; ++i) {
        sum += static_cast<std::int16_t>(card_->ReadChannel(channel));
    }
    const int sign =
        channel >= 0 && channel < 8 ? map_.ChannelSign[static_cast<std::size_t>(channel)] : 1;
    return static_cast<double>(sum) / n * sign;
}

void Acquisition::ReadAllWithStrainSource(int source) {
    rawValues_[kRawForce] = ReadChannelAverage(map_.ForceChannel, forceSamples_) / forceRange_ -
                            zeroOffsets_[kRawForce];
    double strain;
    if (source == 2) {
        strain = ReadChannelAverage(map_.StrainChannelB, strainSamples_);
    } else if (source == 3) {
        strain = (ReadChannelAverage(map_.StrainChannelA, strainSamples_) +
                  ReadChannelAverage(map_.StrainChannelB, strainSamples_)) /
                 2;
    } else {
        strain = ReadChannelAverage(map_.StrainChannelA, strainSamples_);
    }
    rawValues_[kRawStrain] = strain - zeroOffsets_[kRawStrain];
    rawValues_[kRawTravel] =
        ReadChannelAverage(map_.TravelChannel, travelSamples_) - zeroOffsets_[kRawTravel];
    auto extra = [&](int input) {
        return input >= 0 && input < 8 ? ReadChannelAverage(input, strainSamples_) : 0.0;
    };
    extraValues_[kExtraTransverse] = extra(extraInputs_.Transverse);
    for (std::size_t k = 0; k < 3; ++k) extraValues_[kExtraProbe1 + k] = extra(extraInputs_.Probes[k]);
}

void Acquisition::ZeroForce() {
    zeroOffsets_[kRawForce] = 0;
    ReadAll();
    zeroOffsets_[kRawForce] = rawValues_[kRawForce];
    rawValues_[kRawForce] = 0;
}

void Acquisition::ZeroEntry(int entry) {
    zeroOffsets_[static_cast<std::size_t>(entry)] = 0;
    ReadAllWithStrainSource(1);
    zeroOffsets_[static_cast<std::size_t>(entry)] = rawValues_[static_cast<std::size_t>(entry)];
    rawValues_[static_cast<std::size_t>(entry)] = 0;
}

void Acquisition::SetForceRange(int range) {
    range = range == 10 ? 10 : 1;
    map_.ShutdownWiring = 1;
    forceRange_ = range;
    if (!present_) return;
    WriteOutput(range == 10 ? 3 : 2);
    clock_->WaitMs(kSettleMs);
}

void Acquisition::ShutdownLineHigh() {
    WriteOutput(forceRange_ != 1 ? 3 : 2);
}

void Acquisition::ShutdownLineLow() {
    WriteOutput(forceRange_ != 1 ? 1 : 0);
}

void Acquisition::StopPulse() {
    ShutdownLineLow();
    if (present_) clock_->WaitMs(kSettleMs);
    ShutdownLineHigh();
}

void Acquisition::WriteAnalogOutput(int channel, double volts) {
    if (present_) card_->WriteAnalogOutput(channel, volts);
}

void Acquisition::ZeroAnalogOutputs() {
    for (int channel = 0; channel < 4; ++channel) WriteAnalogOutput(channel, 0.0);
}

void Acquisition::WriteOutput(std::uint8_t value) {
    if (present_) card_->WriteDigitalOutput(value);
}

bool OverloadExceeded(const std::array<double, 3>& rawValues, double forceFactor,
                      double nominalForce, double travelFactor, double nominalTravel,
                      double travelLimitFactor) {
    return rawValues[kRawForce] * forceFactor > 1.02 * nominalForce ||
           rawValues[kRawTravel] * travelFactor > travelLimitFactor * nominalTravel;
}

}  // namespace quorvex
