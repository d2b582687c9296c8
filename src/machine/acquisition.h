// Force, crosshead travel and strain as averaged, polarity-corrected, zero-corrected counts
// (30000 counts = nominal value), the force amplifier range, the shutdown line and the
// overload stop pulse. Without a card every reading is the fixed 3000 counts and every
// output is ignored, so the program runs on stored data alone.
#pragma once

#include <array>

#include "channel_map.h"
#include "clock.h"
#include "daq_card.h"

namespace quorvex {

enum RawEntry { kRawForce = 0, kRawTravel = 1, kRawStrain = 2 };

enum ExtraEntry { kExtraTransverse = 0, kExtraProbe1 = 1 };

class Acquisition {
public:
    static constexpr double kAbsentReading = 3000;
    static constexpr int kSettleMs = 300;

    // card may be null: no card. Both must outlive this object.
    Acquisition(DaqCard* card, Clock& clock) : card_(card), clock_(&clock) {}

    // The channel numbers and polarities of the channel map, and the sample counts.
    void SetChannelMap(const ChannelMap& map) { map_ = map; }
    void SetSampleCounts(int force, int strain, int travel);
    const ChannelMap& Map() const { return map_; }

    // Registers the card and brings its outputs to the start-up state: output 0, range 1
    // (with its settling wait), shutdown line low, travel and strain tares cleared.
    void InitDaq();
    bool DaqPresent() const { return present_; }

    // Average of n conversions of one input times its polarity; 3000 without a card.
    double ReadChannelAverage(int channel, int n);
    // Force, strain (input A), travel: the reading of every measuring tick.
    void ReadAll() { ReadAllWithStrainSource(1); }
    // As ReadAll with the strain from input A (1), input B (2) or the mean of both (3).
    void ReadAllWithStrainSource(int source);

    void ZeroForce();
    void ZeroTravel() { ZeroEntry(kRawTravel); }
    void ZeroStrain() { ZeroEntry(kRawStrain); }
    void ZeroAll() { zeroOffsets_ = {0, 0, 0}; }

    // Range 1 (full range) or 10 (ten times the gain); waits for the amplifier to settle.
    void SetForceRange(int range);
    int ForceRange() const { return forceRange_; }
    void ShutdownLineHigh();
    void ShutdownLineLow();
    // Stops the machine: the shutdown line low for 300 ms, then high again.
    void StopPulse();

    void WriteAnalogOutput(int channel, double volts);
    // All four analogue outputs to 0 V.
    void ZeroAnalogOutputs();

    // The wired extra inputs are read with every ReadAll, averaged like the strain.
    void SetExtraInputs(const ExtraInputs& inputs) { extraInputs_ = inputs; }
    const ExtraInputs& Extra() const { return extraInputs_; }
    // Transverse gauge, probe 1, 2, 3 in counts (polarity applied); 0 where not wired.
    const std::array<double, 4>& ExtraValues() const { return extraValues_; }

    const std::array<double, 3>& RawValues() const { return rawValues_; }
    const std::array<double, 3>& ZeroOffsets() const { return zeroOffsets_; }
    int ForceSamples() const { return forceSamples_; }
    int StrainSamples() const { return strainSamples_; }
    int TravelSamples() const { return travelSamples_; }

private:
    void ZeroEntry(int entry);
    void WriteOutput(std::uint8_t value);

    DaqCard* card_;
    Clock* clock_;
    bool present_ = false;
    ChannelMap map_;
    int forceSamples_ = 600;
    int strainSamples_ = 600;
    int travelSamples_ = 600;
    int forceRange_ = 1;
    std::array<double, 3> rawValues_{0, 0, 0};
    std::array<double, 3> zeroOffsets_{0, 0, 0};
    ExtraInputs extraInputs_;
    std::array<double, 4> extraValues_{0, 0, 0, 0};
};

// The overload check of the measuring tick: force beyond 1.02 x the nominal force, or travel
// beyond the channel map's fraction of the nominal travel. Factors convert counts to kN and mm.
bool OverloadExceeded(const std::array<double, 3>& rawValues, double forceFactor,
                      double nominalForce, double travelFactor, double nominalTravel,
                      double travelLimitFactor);

}  // namespace quorvex
