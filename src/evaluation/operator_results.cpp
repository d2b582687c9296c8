// Lengths, final dimensions and Ae entered by the operator after a tensile test.
#include "operator_results.h"

#include <cmath>
#include <numbers>

#include "cross_section.h"

namespace quorvex {
namespace {

// The length field and the elongation field of each measured length.
float ResultsRecord::*LengthField(MeasuredLength which) {
    switch (which) {
        case MeasuredLength::Ag: return &ResultsRecord::GaugeAtAg;
        case MeasuredLength::Agt: return &ResultsRecord::GaugeAtAgt;
        case MeasuredLength::Ac: return &ResultsRecord::GaugeAtAc;
        case MeasuredLength::At: break;
    }
    return &ResultsRecord::GaugeAtAt;
}

float ResultsRecord::*ElongationField(MeasuredLength which) {
    switch (which) {
        case MeasuredLength::Ag: return &ResultsRecord::Ag;
        case MeasuredLength::Agt: return &ResultsRecord::Agt;
        case MeasuredLength::Ac: return &ResultsRecord::Ac;
        case MeasuredLength::At: break;
    }
    return &ResultsRecord::At;
}

bool AcInMillimetres(MeasuredLength which, std::int32_t testType) {
    return which == MeasuredLength::Ac && testType == 2;
}

double ReductionOfArea(double So, double finalArea) {
    return So > 0 ? (So - finalArea) / So * 100.0 : 0.0;
}

double EnteredOr(float entered, double initial) { return entered >= 0.1f ? entered : initial; }

}  // namespace

EntryRequest MeasuredLengthRequest(const ResultsRecord& r, MeasuredLength which, double Lo,
                                   std::int32_t testType) {
    if (AcInMillimetres(which, testType)) return {Lo + r.Ac, 0.0, 2.0 * Lo};
    return {r.*LengthField(which), Lo, 2.0 * Lo};
}

void ApplyMeasuredLength(ResultsRecord& r, MeasuredLength which, double length, double Lo,
                         std::int32_t testType) {
    r.*LengthField(which) = static_cast<float>(length);
    double elongation = 0.0;
    if (AcInMillimetres(which, testType)) {
        elongation = length - Lo;
    } else if (Lo > 0) {
        elongation = (length - Lo) / Lo * 100.0;
    }
    r.*ElongationField(which) = static_cast<float>(elongation);
}

bool ShapeHasReductionOfArea(std::uint8_t shape) {
    return shape == static_cast<std::uint8_t>(SpecimenShape::Round) ||
           shape == static_cast<std::uint8_t>(SpecimenShape::Flat);
}

EntryRequest FinalDiameterRequest(double So, const FinalDimensions& entered) {
    const double d0 = So > 0 ? std::sqrt(4.0 * So / std::numbers::pi) : 0.0;
    return {EnteredOr(entered.du, d0), 0.5, d0};
}

EntryRequest FinalWidthRequest(const ParameterSet& p, const FinalDimensions& entered) {
    return {EnteredOr(entered.bu, p.Flat.b), 0.2, p.Flat.b};
}

EntryRequest FinalThicknessRequest(const ParameterSet& p, const FinalDimensions& entered) {
    return {EnteredOr(entered.au, p.Flat.a), 0.2, p.Flat.a};
}

double ApplyFinalDiameter(ResultsRecord& r, FinalDimensions& entered, double So, double du) {
    entered.du = static_cast<float>(du);
    r.Z = static_cast<float>(ReductionOfArea(So, std::numbers::pi * du * du / 4.0));
    return r.Z;
}

double ApplyFinalWidthAndThickness(ResultsRecord& r, FinalDimensions& entered, double So,
                                   double bu, double au) {
    entered.bu = static_cast<float>(bu);
    entered.au = static_cast<float>(au);
    r.Z = static_cast<float>(ReductionOfArea(So, au * bu));
    return r.Z;
}

bool ApplyAe(ResultsRecord& r, double firstStrain, double secondStrain) {
    const double ae = secondStrain - firstStrain;
    if (!(ae > 0)) return false;
    r.Ae = static_cast<float>(ae);
    return true;
}

}  // namespace quorvex
