// Checks and derived lengths of the tensile specimen.
#include "specimen_form.h"

#include <cmath>
#include <numbers>

#include "evaluation/cross_section.h"
#include "evaluation/text_functions.h"
#include "evaluation/win1252.h"

namespace quorvex {
namespace {

constexpr int F(SpecimenField f) {
    return static_cast<int>(f);
}

struct Input {
    SpecimenField field;
    const std::string& text;
    double low, high;
    const char* rangeText;
};

CheckResult FirstFailure(std::initializer_list<Input> inputs) {
    for (const Input& in : inputs) {
        if (auto failure = CheckNumberField(F(in.field), in.text, in.low, in.high, in.rangeText)) {
            return failure;
        }
    }
    return std::nullopt;
}

float Value(const std::string& text) {
    return static_cast<float>(ParseNumber(text));
}

}  // namespace

CheckResult CheckSpecimenForm(const SpecimenFormTexts& t) {
    CheckResult failure;
    switch (static_cast<SpecimenShape>(t.Shape)) {
        case SpecimenShape::Round:
            failure =
                FirstFailure({{SpecimenField::RoundD, t.Round.d, 0.01, 200, " 0.01 ... 200.0 !"},
                              {SpecimenField::RoundLo, t.Round.Lo, 1, 999, "  1.0 ... 999.0 !"},
                              {SpecimenField::RoundLc, t.Round.Lc, 1, 999, "  1.0 ... 999.0 !"}});
            break;
        case SpecimenShape::Flat:
            failure =
                FirstFailure({{SpecimenField::FlatA, t.Flat.a, 0.5, 200, " 0.5 ... 200.0 !"},
                              {SpecimenField::FlatB, t.Flat.b, 0.01, 200, " 0.01 ... 200.0 !"},
                              {SpecimenField::FlatLo, t.Flat.Lo, 1, 999, " 1.0 ... 999.0!"},
                              {SpecimenField::FlatLc, t.Flat.Lc, 1, 999, " 1.0 ... 999.0 !"}});
            break;
        case SpecimenShape::Tube: {
            failure = FirstFailure({{SpecimenField::TubeD, t.Tube.D, 1, 200, " 1.0 ... 200.0 !"}});
            if (failure) break;
            // A wall of half the diameter is a solid bar, still a valid specimen.
            const double halfD = ParseNumber(t.Tube.D) / 2.0;
            failure =
                FirstFailure({{SpecimenField::TubeA, t.Tube.a, 0.01, halfD, " 0.01 ... D/2 !"},
                              {SpecimenField::TubeLo, t.Tube.Lo, 1, 999, " 1.0 ... 999.0!"},
                              {SpecimenField::TubeLc, t.Tube.Lc, 1, 999, " 1.0 ... 999.0 !"}});
            break;
        }
        case SpecimenShape::Mass:
            // The density accepts 1 ... 20 g/cm³, and its message says so.
            failure =
                FirstFailure({{SpecimenField::MassRho, t.Mass.rho, 1, 20, " 1.0 ... 20.0 !"},
                              {SpecimenField::MassM, t.Mass.m, 0.1, 80000, " 0.1 ... 80000 g !"},
                              {SpecimenField::MassLt, t.Mass.Lt, 1, 999, " 1.0 ... 999.0!"},
                              {SpecimenField::MassLo, t.Mass.Lo, 1, 999, " 1.0 ... 999.0 !"},
                              {SpecimenField::MassLv, t.Mass.Lv, 1, 999, " 1.0 ... 999.0 !"}});
            break;
        case SpecimenShape::TubeSegment:
            failure = FirstFailure(
                {{SpecimenField::SegmentA, t.Segment.a, 0.1, 200, " 0.1 ... 200.0 !"},
                 {SpecimenField::SegmentB, t.Segment.b, 0.1, 200, " 0.1 ... 200 mm !"},
                 {SpecimenField::SegmentD, t.Segment.D, 1, 200, " 1.0 ... 200.0!"},
                 {SpecimenField::SegmentLo, t.Segment.Lo, 10, 500, " 10.0 ... 500.0 !"},
                 {SpecimenField::SegmentLv, t.Segment.Lv, 10, 500, " 10.0 ... 500.0 !"}});
            break;
    }
    if (failure) return failure;
    return FirstFailure({{SpecimenField::Le, t.Le, 5, 500, "  5.0 ... 500.0 !"}});
}

bool TakeSpecimenForm(const SpecimenFormTexts& t, ParameterSet& p) {
    bool valid = true;
    switch (static_cast<SpecimenShape>(t.Shape)) {
        case SpecimenShape::Round:
            p.Round = {Value(t.Round.d), Value(t.Round.Lo), Value(t.Round.Lc), 0};
            p.Round.So = static_cast<float>(RoundSo(p.Round.d));
            p.EffectiveSo = p.Round.So;
            p.EffectiveLo = p.Round.Lo;
            p.EffectiveLc = p.Round.Lc;
            break;
        case SpecimenShape::Flat:
            p.Flat = {Value(t.Flat.b), Value(t.Flat.a), Value(t.Flat.Lo), Value(t.Flat.Lc), 0};
            p.Flat.So = static_cast<float>(FlatSo(p.Flat.a, p.Flat.b));
            p.EffectiveSo = p.Flat.So;
            p.EffectiveLo = p.Flat.Lo;
            p.EffectiveLc = p.Flat.Lc;
            break;
        case SpecimenShape::Tube:
            p.Tube = {Value(t.Tube.D), Value(t.Tube.a), Value(t.Tube.Lo), Value(t.Tube.Lc), 0};
            p.Tube.So = static_cast<float>(TubeSo(p.Tube.D, p.Tube.a));
            p.EffectiveSo = p.Tube.So;
            p.EffectiveLo = p.Tube.Lo;
            p.EffectiveLc = p.Tube.Lc;
            break;
        case SpecimenShape::Mass: {
            MassSpecimen& m = p.Mass;
            m.rho = Value(t.Mass.rho);
            m.m = Value(t.Mass.m);
            m.Lt = Value(t.Mass.Lt);
            m.Lo = Value(t.Mass.Lo);
            m.Lv = Value(t.Mass.Lv);
            const CrossSection so = MassSo(m.rho, m.m, m.Lt);
            m.So = static_cast<float>(so.So);
            valid = so.valid;
            p.EffectiveSo = m.So;
            p.EffectiveLo = m.Lo;
            p.EffectiveLc = m.Lv;
            break;
        }
        case SpecimenShape::TubeSegment: {
            TubeSegmentSpecimen& s = p.TubeSegment;
            s = {Value(t.Segment.a),  Value(t.Segment.b),  Value(t.Segment.D),
                 Value(t.Segment.Lo), Value(t.Segment.Lv), 0};
            const CrossSection so = TubeSegmentSo(s.a, s.b, s.D);
            s.So = static_cast<float>(so.So);
            valid = so.valid;
            p.EffectiveSo = s.So;
            p.EffectiveLo = s.Lo;
            p.EffectiveLc = s.Lv;
            break;
        }
    }
    p.SpecimenShape = static_cast<std::uint8_t>(t.Shape);
    p.GaugeKind = static_cast<std::uint8_t>(t.Gauge);
    p.GaugeLengthLe = Value(t.Le);
    p.SpecimenNo = Utf8Left(t.SpecimenNo, 30);
    p.SpecimenId = Utf8Left(t.SpecimenId, 30);
    return valid;
}

std::optional<ProportionalLengths> ProportionalSpecimenLengths(double so, int shape,
                                                               int gaugeKind) {
    if (!(so > 0.0) || gaugeKind == static_cast<int>(GaugeKind::UserDefined)) return std::nullopt;
    const double factor = gaugeKind == static_cast<int>(GaugeKind::ShortProportional) ? 5.65 : 11.3;
    ProportionalLengths lengths;
    lengths.Lo = std::max(20.0, std::nearbyint(factor * std::sqrt(so)));
    const auto s = static_cast<SpecimenShape>(shape);
    if (s == SpecimenShape::Round || s == SpecimenShape::Tube) {
        lengths.TestLength = std::nearbyint(lengths.Lo + std::sqrt(4.0 * so / std::numbers::pi));
    } else {
        lengths.TestLength = std::nearbyint(lengths.Lo + 1.5 * std::sqrt(so));
    }
    lengths.SetTestLength = s != SpecimenShape::Tube;
    return lengths;
}

double MeanOfReadings(const std::vector<std::string>& readings) {
    double sum = 0.0;
    int count = 0;
    for (const std::string& reading : readings) {
        const ParsedNumber value = ParseNumberInRange(reading, 0.0, 1e300);
        if (value.valid && value.value > 0.0) {
            sum += value.value;
            ++count;
        }
    }
    return count > 0 ? sum / count : 0.0;
}

CheckResult CheckDimensionReading(const std::string& reading) {
    return CheckNumberField(0, reading, 0.001, 400, "  0.001 ... 400.0 !");
}

CheckResult CheckPostTestInput(int field, const std::string& text, double min, double max) {
    return CheckNumberField(field, text, min, max,
                            " " + FormatFixed(min, 6, 2) + "..." + FormatFixed(max, 6, 2) + "  !");
}

}  // namespace quorvex
