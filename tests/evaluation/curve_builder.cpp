// The material model behind the built curves.
#include "curve_builder.h"

#include <cmath>

namespace quorvex::testing {

double HardeningStress(const TensileModel& m, double plasticStrain) {
    const bool yieldPoint = m.ReH > 0;
    const double start = yieldPoint ? m.ReL : m.YieldStart;
    const double from = yieldPoint ? m.LuedersStrain : 0.0;
    if (plasticStrain <= from) return start;
    const double u = (plasticStrain - from) / (m.Ag - from);
    return start + (m.Rm - start) * (1.0 - std::pow(1.0 - u, m.Hardening));
}

void Record(TestState& state, float force, float travel, float extension, float width) {
    Sample s{};
    s[0] = force;
    s[1] = travel;
    s[2] = extension;
    s[3] = width;
    RecordSample(state.Buffer, state.Marks, s);
}

void RecordCurve(TestState& state, const std::vector<CurvePoint>& points) {
    StartRecording(state.Buffer, state.Marks);
    for (const CurvePoint& point : points) {
        Record(state, point.Force, point.Travel, point.Extension, point.Width);
    }
    FinishRecording(state.Marks);
}

BuiltCurve BuildTensileCurve(TestState& state, const TensileModel& m) {
    ParameterSet& p = state.Parameters;
    p.EffectiveSo = static_cast<float>(m.So);
    p.EffectiveLo = static_cast<float>(m.Lo);
    p.EffectiveLc = static_cast<float>(m.Lc);
    p.GaugeLengthLe = static_cast<float>(m.Le);
    p.Flat.b = static_cast<float>(m.Width);
    StartRecording(state.Buffer, state.Marks);

    BuiltCurve built;
    built.PlasticStrain.push_back(0.0);
    auto add = [&](double stress, double plasticStrain) {
        const double strain = stress / m.E + plasticStrain;
        const double extension = strain * m.Le;
        double width = 0;
        if (m.RValue > 0) {
            const double lengthStrain = std::log(1.0 + strain);
            width = m.Width * (1.0 - std::exp(-m.RValue / (1.0 + m.RValue) * lengthStrain));
        }
        Record(state, static_cast<float>(stress * m.So / 1000.0), static_cast<float>(strain * m.Lc),
               static_cast<float>(extension), static_cast<float>(width));
        built.PlasticStrain.push_back(plasticStrain);
    };

    add(0, 0);
    const bool yieldPoint = m.ReH > 0;
    const double elasticEnd = yieldPoint ? m.ReH : m.YieldStart;
    for (int i = 1; i <= m.ElasticPoints; ++i) add(elasticEnd * i / m.ElasticPoints, 0);
    double plastic = 0;
    if (yieldPoint) {
        // The drop to ReL at a slightly larger extension, then the Lüders band runs through.
        plastic = (m.ReH - m.ReL) / m.E + 1e-5;
        add(m.ReL, plastic);
        for (int i = 1; i <= m.LuedersPoints; ++i) {
            add(m.ReL, plastic + (m.LuedersStrain - plastic) * i / m.LuedersPoints);
        }
        plastic = m.LuedersStrain;
    }
    for (int i = 1; i <= m.HardeningPoints; ++i) {
        const double strain = plastic + (m.Ag - plastic) * i / m.HardeningPoints;
        add(HardeningStress(m, strain), strain);
    }
    built.FmaxSample = static_cast<int>(built.PlasticStrain.size()) - 1;
    for (int i = 1; i <= m.NeckingPoints; ++i) {
        const double fraction = static_cast<double>(i) / m.NeckingPoints;
        add(m.Rm * (1.0 - m.NeckingDrop * fraction), m.Ag + m.NeckingStrain * fraction);
    }
    // The specimen breaks: two samples that the evaluation never uses.
    const double last = m.Ag + m.NeckingStrain;
    add(0.3 * m.Rm, last);
    add(0.02 * m.Rm, last);
    FinishRecording(state.Marks);
    return built;
}

}  // namespace quorvex::testing
