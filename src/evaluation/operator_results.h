// Results that the operator completes after a tensile test: measured final lengths, the
// final dimensions for the reduction of area Z, and Ae marked on the diagram. The dialogs
// ask; these functions say what to offer and compute what follows from the answer.
#pragma once

#include <cstdint>

#include "parameter_set.h"
#include "results_record.h"

namespace quorvex {

// Final dimensions entered for Z since the last evaluation; below 0.1 counts as none.
struct FinalDimensions {
    float du = 0;  // round: final diameter
    float bu = 0;  // flat: final width
    float au = 0;  // flat: final thickness
};

// What an entry dialog offers: the proposed value and its bounds.
struct EntryRequest {
    double proposed = 0, low = 0, high = 0;
};

// The elongation fields whose length the operator may measure after the test.
enum class MeasuredLength { Ag, Agt, Ac, At };

// The field's current length with the bounds Lo ... 2 Lo; Ac of test type 2 (elongation in
// mm) offers Lo + Ac with the bounds 0 ... 2 Lo.
EntryRequest MeasuredLengthRequest(const ResultsRecord& r, MeasuredLength which, double Lo,
                                   std::int32_t testType);

// Stores the measured length and its elongation (length - Lo) / Lo × 100 %; for Ac of
// test type 2 the elongation length - Lo in mm. Without a gauge length the % is 0.
void ApplyMeasuredLength(ResultsRecord& r, MeasuredLength which, double length, double Lo,
                         std::int32_t testType);

// Only round and flat specimens have a Z.
bool ShapeHasReductionOfArea(std::uint8_t shape);

// Round specimen: du, offered as entered before or as d0 = sqrt(4 So / pi), within 0.5 ... d0.
EntryRequest FinalDiameterRequest(double So, const FinalDimensions& entered);
// Flat specimen: bu and au, each offered as entered before or as b and a, within 0.2 ... b or a.
EntryRequest FinalWidthRequest(const ParameterSet& p, const FinalDimensions& entered);
EntryRequest FinalThicknessRequest(const ParameterSet& p, const FinalDimensions& entered);

// Z = (So - pi du² / 4) / So × 100; remembers du. 0 without a cross-section.
double ApplyFinalDiameter(ResultsRecord& r, FinalDimensions& entered, double So, double du);
// Z = (So - au × bu) / So × 100; remembers bu and au.
double ApplyFinalWidthAndThickness(ResultsRecord& r, FinalDimensions& entered, double So,
                                   double bu, double au);

// Ae is the distance between two strain positions marked on the diagram, taken only when
// the second lies beyond the first. Returns whether Ae was taken.
bool ApplyAe(ResultsRecord& r, double firstStrain, double secondStrain);

}  // namespace quorvex
