// The ranges of the break value.
#include "break_value.h"

#include <cmath>
#include <cstdio>

#include "test_types.h"
#include "text_functions.h"

namespace quorvex {
namespace {

// A bound as the range text shows it: at least one decimal, at most six, no trailing
// zeros beyond the first decimal ("10.0", "0.25", "0.01234").
std::string Bound(double value) {
    for (int decimals = 1; decimals < 6; ++decimals) {
        const std::string text = FormatFixed(value, 0, decimals);
        if (std::fabs(ParseNumber(text) - value) <= 1e-9 * std::fabs(value)) return text;
    }
    return FormatFixed(value, 0, 6);
}

// A stored float as it was entered: "150", "0.2".
std::string Stored(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.7g", static_cast<double>(value));
    return text;
}

BreakValueRange Range(BreakValueKind kind, double low, double high, std::string unit) {
    BreakValueRange r;
    r.Kind = kind;
    r.Low = low;
    r.High = high;
    r.Unit = std::move(unit);
    r.RangeText = " : " + Bound(low) + " ... " + Bound(high) + " " + r.Unit + " !";
    return r;
}

const char* Meaning(BreakValueKind kind) {
    switch (kind) {
        case BreakValueKind::ForceChangeN:
            return "the force drop from one tick to the next that ends the test, break "
                   "channel 1 \"Delta-F\"";
        case BreakValueKind::TravelChangeMm:
            return "the travel change since the preload that ends the test, break channel 2 "
                   "\"Delta-S\"";
        case BreakValueKind::ProgrammeDropPercent:
            return "the drop to a percentage of Fmax that ends the test, break channel 0";
        case BreakValueKind::DropPercent:
        default:
            return "the drop to a percentage of Fmax that ends the test";
    }
}

}  // namespace

bool HasBreakChannels(int testType) {
    return testType == static_cast<int>(TestType::Universal) ||
           testType == static_cast<int>(TestType::FlexuralModulus) ||
           testType == static_cast<int>(TestType::FlexuralStrength);
}

BreakValueRange BreakValueRangeOf(int testType, int breakChannel, double nominalForceKn,
                                  double nominalTravelMm) {
    if (!HasBreakChannels(testType)) {
        // A drop to 1 % ends on the fracture's noise at best, one above 100 % on the first
        // sample; 10 ... 90 % is the range the field's message has always named.
        BreakValueRange r;
        r.Low = 10;
        r.High = 90;
        r.Unit = "%";
        r.RangeText = " 10.0 ... 90.0 !";
        return r;
    }
    switch (breakChannel) {
        case 1:
            // The label shows N: a ten-thousandth of the nominal force up to the nominal force.
            return Range(BreakValueKind::ForceChangeN, nominalForceKn / 10.0,
                         nominalForceKn * 1000.0, "N");
        case 2:
            return Range(BreakValueKind::TravelChangeMm, nominalTravelMm / 10000.0,
                         nominalTravelMm, "mm");
        default: {
            // The programme run reads any other channel as the drop.
            BreakValueRange r;
            r.Kind = BreakValueKind::ProgrammeDropPercent;
            r.Low = 0.05;
            r.High = 99;
            r.Unit = "%";
            r.RangeText = " : 0.05 ... 99.0 !";
            return r;
        }
    }
}

BreakValueRange BreakValueRangeOf(const ParameterSet& p) {
    return BreakValueRangeOf(p.TestType, p.BreakChannel, p.NominalForceKn, p.NominalTravelMm);
}

bool InBreakRange(const BreakValueRange& range, double value) {
    // A value of 0 (a machine without nominal travel) would end the test on its first sample.
    // The tolerance lets a bound entered as its text pass after the float field stored it.
    const double slack = 1e-6;
    return value > 0 && value >= range.Low - slack * std::fabs(range.Low) &&
           value <= range.High + slack * std::fabs(range.High);
}

CheckResult CheckBreakValueText(int field, const std::string& text, const BreakValueRange& range) {
    const ParsedNumber parsed = ParseNumberInRange(text, -1e300, 1e300);
    if (parsed.valid && InBreakRange(range, parsed.value)) return std::nullopt;
    CheckFailure failure;
    failure.Field = field;
    failure.RangeText = range.RangeText;
    return failure;
}

int BreakValueCaption(BreakValueKind kind) {
    constexpr int kDropTo = 983, kDeltaForce = 751, kDeltaTravel = 752;
    switch (kind) {
        case BreakValueKind::ForceChangeN:
            return kDeltaForce;
        case BreakValueKind::TravelChangeMm:
            return kDeltaTravel;
        default:
            return kDropTo;
    }
}

std::string DescribeBreakRange(const BreakValueRange& range) {
    return Bound(range.Low) + " ... " + Bound(range.High) + " " + range.Unit + " (" +
           Meaning(range.Kind) + ")";
}

std::string BreakValueRefusal(const ParameterSet& p) {
    const BreakValueRange range = BreakValueRangeOf(p);
    if (InBreakRange(range, p.BreakDropPercent)) return {};
    return "the break value BreakDropPercent " + Stored(p.BreakDropPercent) +
           " lies outside " + DescribeBreakRange(range);
}

}  // namespace quorvex
