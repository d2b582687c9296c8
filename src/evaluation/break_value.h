// The break value of the parameter set and the range in which it describes an end of test,
// one function for the dialogs, the command line and the start of a run.
//
// The meaning of `BreakDropPercent` follows the test type and the break channel: the tensile,
// shear, chain, plastics and compression tests end when the force drops to that percentage of
// Fmax; the programme tests (universal, flexural modulus, flexural strength) read it by their
// break channel as that percentage, as the sudden force drop of a fracture in N, or as a travel
// change since the preload in mm.
#pragma once

#include <string>

#include "field_checks.h"
#include "parameter_set.h"

namespace quorvex {

enum class BreakValueKind {
    DropPercent,           // drop to % of Fmax (setup dialog, tab "Versuch")
    ProgrammeDropPercent,  // break channel 0 of the programme dialog
    ForceChangeN,          // break channel 1 "Delta-F", N
    TravelChangeMm,        // break channel 2 "Delta-S", mm
};

struct BreakValueRange {
    BreakValueKind Kind = BreakValueKind::DropPercent;
    double Low = 0, High = 0;
    std::string RangeText;  // follows text 181 in the dialog's message
    std::string Unit;       // "%", "N" or "mm"
};

// Whether the test type edits its break criterion in the programme dialog (break channels).
bool HasBreakChannels(int testType);

// The range of the break value; the force and travel changes lie between a ten-thousandth of
// the nominal value and the nominal value.
BreakValueRange BreakValueRangeOf(int testType, int breakChannel, double nominalForceKn,
                                  double nominalTravelMm);
// The same for the parameter set's test type, break channel and nominal values.
BreakValueRange BreakValueRangeOf(const ParameterSet& p);

// The text number of the break value's caption: "Abfall auf", "Delta-F" or "Delta-S".
int BreakValueCaption(BreakValueKind kind);

// Whether a value lies in the range; the bounds take the value as a float field stores it.
bool InBreakRange(const BreakValueRange& range, double value);

// The dialog's check of the entered text: text 181 with the range text when it is not a
// number in the range.
CheckResult CheckBreakValueText(int field, const std::string& text, const BreakValueRange& range);

// The range as the command line names it: "10.0 ... 90.0 % (drop to % of Fmax)".
std::string DescribeBreakRange(const BreakValueRange& range);

// "" when the parameter set's break value lies in its range; otherwise a message that names
// the value, its meaning and its range (for a set stored by an older program or another
// machine).
std::string BreakValueRefusal(const ParameterSet& p);

}  // namespace quorvex
