// The measuring tick of the main window: read the card, convert the counts, format the live
// read-outs, stop the machine on an overload, and tell the test run a new sample is there.
// Runs every 50 ms, so it works in fixed buffers and never allocates.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "machine/acquisition.h"
#include "setup/calibration.h"

namespace quorvex {

// Fixed-point text right-aligned in `width` characters followed by one blank, written into a
// fixed buffer (as FormatFixed, without allocating); a value that rounds to zero has no sign.
class ReadoutText {
  public:
    static constexpr std::size_t kCapacity = 32;
    void Format(double value, int width, int decimals);
    std::string_view View() const { return {text_.data(), length_}; }
    const char* CStr() const { return text_.data(); }

  private:
    std::array<char, kCapacity> text_{};
    std::size_t length_ = 0;
};

class LiveValues {
  public:
    // Both must outlive this object; the factors are read at every tick, so a new load cell
    // or calibration shows at once.
    LiveValues(Acquisition& daq, const ConversionFactors& factors) : daq_(daq), factors_(factors) {}

    // One tick of the measuring timer: the card read, shown, and the overload stopped.
    void Tick();
    // A sample read elsewhere (the acquisition thread, which also stops an overload): the
    // converted values and their texts.
    void Show(const std::array<double, 3>& raw, bool overloaded);

    // Raised by every tick; the test run takes the sample and lowers it.
    bool SampleReady = false;

    double ForceKn() const { return forceKn_; }
    double TravelMm() const { return travelMm_; }
    double StrainMm() const { return strainMm_; }
    // The fourth channel is not measured by this machine: it reads 0 as it is recorded.
    double FourthMm() const { return 0.0; }
    bool Overloaded() const { return overloaded_; }
    long OverloadPulses() const { return overloadPulses_; }

    const ReadoutText& ForceText() const { return force_; }
    const ReadoutText& TravelText() const { return travel_; }
    const ReadoutText& StrainText() const { return strain_; }
    const ReadoutText& FourthText() const { return fourth_; }

  private:
    Acquisition& daq_;
    const ConversionFactors& factors_;
    double forceKn_ = 0, travelMm_ = 0, strainMm_ = 0;
    bool overloaded_ = false;
    long overloadPulses_ = 0;
    ReadoutText force_, travel_, strain_, fourth_;
};

// Travel in mm of the last reading (zero-corrected counts × factor).
double LiveTravelMm(const Acquisition& daq, const ConversionFactors& factors);

}  // namespace quorvex
