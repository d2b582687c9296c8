// Flow laws, presets and readings of the virtual specimens.
#include "machine/sim/material_model.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <numbers>

namespace quorvex {
namespace {

constexpr double kPi = std::numbers::pi;

// Rises from 0 to 1 over s = 0..1 with a vertical start (a knee that sharpens as the exponent
// falls) and a horizontal end, where the hardening is used up.
double Hardening(double s, double exponent) {
    s = std::clamp(s, 0.0, 1.0);
    const double base = 1 - (1 - s) * (1 - s);
    return base <= 0 ? 0 : std::pow(base, exponent);
}

double SmoothStep(double s) {
    s = std::clamp(s, 0.0, 1.0);
    return s * s * (3 - 2 * s);
}

struct PresetEntry {
    SpecimenPreset preset;
    const char* name;
};

constexpr PresetEntry kPresets[] = {
    {SpecimenPreset::None, "none"},
    {SpecimenPreset::YieldPointSteel, "steel-yield-point"},
    {SpecimenPreset::Steel, "steel"},
    {SpecimenPreset::Aluminium, "aluminium"},
    {SpecimenPreset::StainlessSteel, "stainless"},
    {SpecimenPreset::Plastic, "plastic"},
    {SpecimenPreset::CompressionCylinder, "compression"},
    {SpecimenPreset::ThreePointBeam, "beam-3point"},
    {SpecimenPreset::FourPointBeam, "beam-4point"},
    {SpecimenPreset::ShearSpecimen, "shear"},
    {SpecimenPreset::Chain, "chain"},
};

}  // namespace

double SpecimenParameters::So() const {
    switch (Kind) {
        case SpecimenKind::None:
            return 0;
        case SpecimenKind::Chain:
            return 2 * kPi * d * d / 4;  // two legs of every link
        case SpecimenKind::Bending3:
        case SpecimenKind::Bending4:
        case SpecimenKind::Shear:
            return b * a;
        default:
            return d > 0 ? kPi * d * d / 4 : b * a;
    }
}

SpecimenParameters PresetParameters(SpecimenPreset preset) {
    SpecimenParameters p;
    switch (preset) {
        case SpecimenPreset::None:
            p.Kind = SpecimenKind::None;
            break;
        case SpecimenPreset::YieldPointSteel:  // S235-like, round 10 mm, Lo = 5 d
            p.E = 210000, p.ReH = 300, p.ReL = 280, p.LuedersStrain = 1.5, p.Rm = 430;
            p.Ag = 18, p.A = 30, p.Hardening = 0.7, p.FractureRatio = 0.72;
            p.d = 10, p.Lo = 50, p.Lc = 60, p.Le = 50;
            break;
        case SpecimenPreset::Steel:  // 42CrMo4-like, quenched and tempered
            p.E = 210000, p.Rp = 750, p.Rm = 950, p.Ag = 7, p.A = 15, p.Hardening = 0.3;
            p.FractureRatio = 0.7, p.d = 10, p.Lo = 50, p.Lc = 60, p.Le = 50;
            break;
        case SpecimenPreset::Aluminium:  // EN AW-6082 T6, flat 20 x 3
            p.E = 70000, p.Rp = 280, p.Rm = 320, p.Ag = 7, p.A = 11, p.Hardening = 0.3;
            p.FractureRatio = 0.8, p.Poisson = 0.33, p.Anisotropy = 0.7;
            p.b = 20, p.a = 3, p.Lo = 50, p.Lc = 75, p.Le = 50;
            break;
        case SpecimenPreset::StainlessSteel:  // 1.4301, round 10 mm
            p.E = 200000, p.Rp = 290, p.Rm = 640, p.Ag = 50, p.A = 56, p.Hardening = 0.5;
            p.FractureRatio = 0.8, p.d = 10, p.Lo = 50, p.Lc = 60, p.Le = 50;
            break;
        case SpecimenPreset::Plastic:  // polypropylene, multipurpose bar 10 x 4
            p.Kind = SpecimenKind::Plastic;
            p.E = 1500, p.Rm = 33, p.YieldStrain = 9, p.DrawStress = 24, p.DrawEnd = 90;
            p.A = 120, p.BreakStress = 27, p.Hardening = 0.5, p.Poisson = 0.4;
            p.b = 10, p.a = 4, p.Lo = 75, p.Lc = 80, p.Le = 75;
            break;
        case SpecimenPreset::CompressionCylinder:  // grey cast iron, d 10 x h 15
            p.Kind = SpecimenKind::Compression;
            p.E = 110000, p.Rp = 420, p.Rm = 980, p.Ag = 32, p.A = 24, p.Hardening = 0.45;
            p.Poisson = 0.26, p.d = 10, p.Lo = 15, p.Lc = 15, p.Le = 15;
            break;
        case SpecimenPreset::ThreePointBeam:  // granite bar 50 x 25, span 125
            p.Kind = SpecimenKind::Bending3;
            p.E = 50000, p.Rm = 15, p.b = 50, p.a = 25, p.Span = 125, p.Lo = 125;
            p.Lc = 150, p.Le = 125;
            break;
        case SpecimenPreset::FourPointBeam:  // concrete beam 100 x 100, span 300
            p.Kind = SpecimenKind::Bending4;
            p.E = 30000, p.Rm = 5, p.b = 100, p.a = 100, p.Span = 300, p.Lo = 300;
            p.Lc = 400, p.Le = 300;
            break;
        case SpecimenPreset::ShearSpecimen:  // carbon-fibre laminate 10 x 2, span 10
            p.Kind = SpecimenKind::Shear;
            p.E = 100000, p.Rm = 60, p.ResidualRatio = 0.55, p.ResidualSpan = 0.4;
            p.b = 10, p.a = 2, p.Span = 10, p.Lo = 10, p.Lc = 20, p.Le = 10;
            break;
        case SpecimenPreset::Chain:  // grade-8 round-steel chain, 8 mm, 500 mm clamped
            p.Kind = SpecimenKind::Chain;
            p.E = 60000, p.Rp = 640, p.Rm = 800, p.Ag = 15, p.A = 20, p.Hardening = 0.5;
            p.FractureRatio = 0.85, p.d = 8, p.Lo = 500, p.Lc = 500, p.Le = 500;
            break;
    }
    return p;
}

std::optional<SpecimenPreset> PresetByName(std::string_view name) {
    for (const auto& entry : kPresets) {
        if (name == entry.name) return entry.preset;
    }
    return std::nullopt;
}

std::string PresetNameList() {
    std::string names;
    for (const auto& entry : kPresets) names += (names.empty() ? "" : ", ") + std::string(entry.name);
    return names;
}

std::string PresetName(SpecimenPreset preset) {
    for (const auto& entry : kPresets) {
        if (entry.preset == preset) return entry.name;
    }
    return "none";
}

bool SetSpecimenParameter(SpecimenParameters& p, std::string_view key, double value) {
    if (!std::isfinite(value) || value < 0) return false;
    struct Field {
        const char* key;
        double SpecimenParameters::*field;
        double low, high;
    };
    static constexpr Field kFields[] = {
        {"e", &SpecimenParameters::E, 1, 1e6},
        {"reh", &SpecimenParameters::ReH, 0, 1e4},
        {"rel", &SpecimenParameters::ReL, 0, 1e4},
        {"lueders", &SpecimenParameters::LuedersStrain, 0, 20},
        {"rp", &SpecimenParameters::Rp, 0, 1e4},
        {"rm", &SpecimenParameters::Rm, 0.01, 1e4},
        {"ag", &SpecimenParameters::Ag, 0, 1000},
        {"a", &SpecimenParameters::A, 0, 1000},
        {"hardening", &SpecimenParameters::Hardening, 0.05, 3},
        {"fractureratio", &SpecimenParameters::FractureRatio, 0.05, 1},
        {"poisson", &SpecimenParameters::Poisson, 0, 0.5},
        {"r", &SpecimenParameters::Anisotropy, 0.05, 10},
        {"yieldstrain", &SpecimenParameters::YieldStrain, 0, 1000},
        {"drawstress", &SpecimenParameters::DrawStress, 0, 1e4},
        {"drawend", &SpecimenParameters::DrawEnd, 0, 1000},
        {"breakstress", &SpecimenParameters::BreakStress, 0, 1e4},
        {"residual", &SpecimenParameters::ResidualRatio, 0, 1},
        {"residualspan", &SpecimenParameters::ResidualSpan, 0, 1000},
        {"d", &SpecimenParameters::d, 0, 1000},
        {"width", &SpecimenParameters::b, 0, 1000},
        {"thickness", &SpecimenParameters::a, 0, 1000},
        {"lo", &SpecimenParameters::Lo, 0.1, 10000},
        {"lc", &SpecimenParameters::Lc, 0.1, 10000},
        {"le", &SpecimenParameters::Le, 0.1, 10000},
        {"span", &SpecimenParameters::Span, 0.1, 10000},
    };
    auto same = [](std::string_view a, std::string_view b) {
        return a.size() == b.size() &&
               std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
                   return std::tolower(static_cast<unsigned char>(x)) == y;
               });
    };
    for (const auto& f : kFields) {
        if (!same(key, f.key)) continue;
        if (value < f.low || value > f.high) return false;
        p.*f.field = value;
        return true;
    }
    return false;
}

// --- the specimen in the machine

Specimen::Specimen(const SpecimenParameters& parameters) : p_(parameters) {
    so_ = p_.So();
    if (p_.Kind != SpecimenKind::None && !(so_ > 0 && p_.E > 0 && p_.Rm > 0)) {
        p_.Kind = SpecimenKind::None;  // nothing that can carry a load
    }
    const double dropSpan = 0.004;
    switch (p_.Kind) {
        case SpecimenKind::None:
            return;
        case SpecimenKind::Metal:
        case SpecimenKind::Chain:
        case SpecimenKind::Compression:
        case SpecimenKind::Plastic: {
            if (p_.Kind == SpecimenKind::Chain || p_.Kind == SpecimenKind::Compression) {
                p_.Lc = p_.Lo;
            }
            activeLength_ = std::max(p_.Lc, 0.1);
            stiffness_ = p_.E * so_ / activeLength_ / 1000;
            if (p_.Kind == SpecimenKind::Plastic) {
                p_.Ag = p_.A;  // the neck draws over the whole parallel length
                p_.DrawEnd = std::clamp(p_.DrawEnd, p_.YieldStrain + 5, std::max(p_.A, 1.0));
            }
            const double ag = std::max(p_.Ag, 0.1) / 100;
            p_.Ag = ag * 100;
            uniformEnd_ = ag * activeLength_;
            fracture_ = p_.A <= p_.Ag ? std::max(p_.A, 0.05) / 100 * activeLength_
                                      : uniformEnd_ + (p_.A - p_.Ag) / 100 * p_.Lo;
            if (p_.ReH > 0) {
                p_.ReL = std::clamp(p_.ReL > 0 ? p_.ReL : p_.ReH, 0.5 * p_.ReH, p_.ReH);
                p_.Rm = std::max(p_.Rm, p_.ReL);
                p_.LuedersStrain = std::min(p_.LuedersStrain, 0.8 * p_.Ag);
                initialYield_ = p_.ReH;
            } else if (p_.Kind != SpecimenKind::Plastic) {
                const double rp = p_.Rp > 0 ? std::min(p_.Rp, p_.Rm) : 0.8 * p_.Rm;
                const double g0 = Hardening(0.002 / ag, p_.Hardening);
                initialYield_ = g0 < 1 ? (rp - p_.Rm * g0) / (1 - g0) : rp;
                initialYield_ = std::clamp(initialYield_, 0.3 * rp, rp);
            }
            crackForce_ = (fracture_ > uniformEnd_ ? p_.FractureRatio * p_.Rm
                                                   : FlowStress(fracture_ / activeLength_)) *
                          so_ / 1000;
            break;
        }
        case SpecimenKind::Bending3:
        case SpecimenKind::Bending4:
        case SpecimenKind::Shear: {
            const double span = std::max(p_.Span, 0.1);
            const double inertia = p_.b * p_.a * p_.a * p_.a / 12;
            if (p_.Kind == SpecimenKind::Bending4) {
                // Loads at the thirds: deflection at mid-span 23 F L³ / (1296 E I).
                stiffness_ = 1296 * p_.E * inertia / (23 * span * span * span) / 1000;
                crackForce_ = p_.Rm * p_.b * p_.a * p_.a / span / 1000;
            } else if (p_.Kind == SpecimenKind::Bending3) {
                stiffness_ = 48 * p_.E * inertia / (span * span * span) / 1000;
                crackForce_ = 2 * p_.Rm * p_.b * p_.a * p_.a / (3 * span) / 1000;
            } else {
                // A short beam bends and shears about equally.
                stiffness_ = 0.5 * 48 * p_.E * inertia / (span * span * span) / 1000;
                crackForce_ = 4 * p_.Rm * p_.b * p_.a / 3 / 1000;
            }
            activeLength_ = span;
            // Micro-cracking bends the line over a little before the crack.
            fracture_ = (p_.Kind == SpecimenKind::Shear ? 0.15 : 0.03) * crackForce_ / stiffness_;
            uniformEnd_ = fracture_;
            break;
        }
    }
    separation_ = fracture_ + dropSpan + (p_.ResidualRatio > 0 ? p_.ResidualSpan : 0);
}

bool Specimen::ContactOnly() const {
    return p_.Kind == SpecimenKind::Compression || p_.Kind == SpecimenKind::Bending3 ||
           p_.Kind == SpecimenKind::Bending4 || p_.Kind == SpecimenKind::Shear;
}

double Specimen::FlowStress(double e) const {
    if (p_.Kind == SpecimenKind::Plastic) {
        const double rm = p_.Rm;
        const double yieldPlastic = std::max(p_.YieldStrain / 100 - rm / p_.E, 0.002);
        const double dropWidth = 0.04;
        const double drawEnd = p_.DrawEnd / 100;
        if (e <= yieldPlastic) {
            const double start = 0.35 * rm;
            return start + (rm - start) * Hardening(e / yieldPlastic, p_.Hardening);
        }
        if (e <= yieldPlastic + dropWidth) {
            return rm - (rm - p_.DrawStress) * SmoothStep((e - yieldPlastic) / dropWidth);
        }
        // The neck draws at a slowly rising stress, then the oriented material hardens.
        const double drawn = p_.DrawStress * (1 + 0.02 * (e - yieldPlastic - dropWidth));
        if (e <= drawEnd) return drawn;
        const double atDrawEnd = p_.DrawStress * (1 + 0.02 * (drawEnd - yieldPlastic - dropWidth));
        const double s = (e - drawEnd) / std::max(p_.A / 100 - drawEnd, 1e-6);
        return atDrawEnd + (std::max(p_.BreakStress, atDrawEnd) - atDrawEnd) * s * s;
    }
    const double ag = p_.Ag / 100;
    if (p_.ReH > 0) {
        const double lueders = p_.LuedersStrain / 100;
        if (e <= lueders) {
            // The upper yield point collapses at once; Lüders bands run at ReL with the small
            // serrations of their fronts.
            const double serration = 0.004 * p_.ReL * std::sin(2 * std::numbers::pi * e / 0.0025) *
                                     std::min(1.0, e / 0.001);
            return p_.ReL + (p_.ReH - p_.ReL) * std::exp(-e / 0.0002) + serration;
        }
        return p_.ReL + (p_.Rm - p_.ReL) * Hardening((e - lueders) / (ag - lueders), p_.Hardening);
    }
    return initialYield_ + (p_.Rm - initialYield_) * Hardening(e / ag, p_.Hardening);
}

double Specimen::FlowForce(double plastic) const {
    if (p_.Kind == SpecimenKind::None) return 0;
    plastic = std::max(plastic, 0.0);
    if (plastic < fracture_) {
        switch (p_.Kind) {
            case SpecimenKind::Bending3:
            case SpecimenKind::Bending4:
            case SpecimenKind::Shear: {
                const double knee = p_.Kind == SpecimenKind::Shear ? 0.75 : 0.85;
                return crackForce_ * (knee + (1 - knee) * Hardening(plastic / fracture_, 0.5));
            }
            default:
                break;
        }
        if (plastic <= uniformEnd_) return FlowStress(plastic / activeLength_) * so_ / 1000;
        // Necking: the engineering stress falls ever faster towards the fracture.
        const double t = (plastic - uniformEnd_) / (fracture_ - uniformEnd_);
        return p_.Rm * (1 - (1 - p_.FractureRatio) * std::pow(t, 1.6)) * so_ / 1000;
    }
    const double dropSpan = 0.004;
    const double past = plastic - fracture_;
    if (past < dropSpan) return crackForce_ * (1 - (1 - p_.ResidualRatio) * past / dropSpan);
    if (p_.ResidualRatio > 0 && past - dropSpan < p_.ResidualSpan) {
        return crackForce_ * p_.ResidualRatio * (1 - (past - dropSpan) / p_.ResidualSpan);
    }
    return 0;
}

double Specimen::GaugeElongation(double force, double plastic) const {
    switch (p_.Kind) {
        case SpecimenKind::None:
            return 0;
        case SpecimenKind::Bending3:
        case SpecimenKind::Bending4:
        case SpecimenKind::Shear:
            return force / stiffness_ + plastic;
        default:
            break;
    }
    const double elastic = force * 1000 / so_ / p_.E * p_.Le;
    const double uniform = std::min(plastic, uniformEnd_);
    // The neck and the crack lie within the gauge length.
    return elastic + uniform / activeLength_ * p_.Le + (plastic - uniform);
}

double Specimen::WidthChange(double force, double plastic) const {
    if (p_.Kind != SpecimenKind::Metal && p_.Kind != SpecimenKind::Plastic &&
        p_.Kind != SpecimenKind::Compression) {
        return 0;
    }
    const double width = p_.d > 0 ? p_.d : p_.b;
    const double elastic = force * 1000 / so_ / p_.E;
    const double uniform = std::min(plastic, uniformEnd_);
    const double plasticStrain = uniform / activeLength_ + (plastic - uniform) / p_.Lo;
    const double widthShare = p_.d > 0 ? 0.5 : p_.Anisotropy / (1 + p_.Anisotropy);
    // Plastic flow keeps the volume: the width's share of the true plastic strain is
    // r / (1 + r), so that ln(b0 / b) / ln(a0 / a) gives back the anisotropy r.
    const double trueWidthStrain =
        p_.Poisson * elastic + widthShare * std::log1p(std::max(plasticStrain, -0.99));
    const double change = -width * -std::expm1(-trueWidthStrain);
    // A compression specimen bulges.
    return p_.Kind == SpecimenKind::Compression ? -change : change;
}

}  // namespace quorvex
