// Crosshead kinematics and the force equilibrium of frame and specimen.
#include "machine/sim/load_frame.h"

#include <algorithm>
#include <cmath>

namespace quorvex {

LoadFrame::LoadFrame(const SimulationConfig& config, const SpecimenParameters& specimen)
    : frameCompliance_(config.FrameStiffness > 0 ? 1 / config.FrameStiffness : 0),
      lower_(config.LowerLimit),
      upper_(config.UpperTravelLimit()),
      sign_(config.LoadingSign < 0 ? -1 : 1),
      specimen_(specimen),
      position_(std::clamp(config.StartPosition, config.LowerLimit, config.UpperTravelLimit())),
      clampedAt_(position_) {}

void LoadFrame::Clamp(const SpecimenParameters& specimen) {
    specimen_ = Specimen(specimen);
    clampedAt_ = position_;
    plastic_ = force_ = 0;
}

double LoadFrame::ElasticStiffness() const {
    if (!specimen_.Present()) return 0;
    return 1 / (1 / specimen_.Stiffness() + frameCompliance_);
}

bool LoadFrame::Move(double velocity, double dt) {
    if (stuck_) return true;
    const double next = position_ + velocity * dt;
    position_ = std::clamp(next, lower_, upper_);
    Solve();
    return position_ == next || velocity == 0;
}

// The crosshead's travel d from the clamping position is shared by the specimen
// (plastic + F / K) and the frame (F x compliance). Elastic first; when that force exceeds
// the flow law the plastic elongation grows until the law and the springs agree again. A
// falling flow law (yield drop, necking, the crack) may have several such points: the first
// one beyond the present plastic elongation is where the specimen goes, as it does when the
// springs of a real frame let go.
void LoadFrame::Solve() {
    if (!specimen_.Present() || Broken()) {
        force_ = 0;
        return;
    }
    const double d = sign_ * (position_ - clampedAt_);
    const double compliance = 1 / specimen_.Stiffness() + frameCompliance_;
    double trial = (d - plastic_) / compliance;
    if (trial < 0) {
        // Pushed back: a contact specimen lifts off, a clamped bar takes it elastically up
        // to its yield strength.
        force_ = specimen_.ContactOnly() ? 0 : std::max(trial, -specimen_.FlowForce(0));
        return;
    }
    const double flow = specimen_.FlowForce(plastic_);
    if (trial <= flow) {
        force_ = trial;
        return;
    }
    auto residual = [&](double p) { return p + specimen_.FlowForce(p) * compliance - d; };
    const double separation = specimen_.SeparationElongation();
    double lo = plastic_;
    double step = std::max((trial - flow) * compliance, 1e-9);
    double hi = lo + step;
    double fLo = residual(lo);
    double fHi = residual(hi);
    while (fHi < 0 && hi < separation) {
        lo = hi;
        fLo = fHi;
        step *= 2;
        hi = std::min(lo + step, separation);
        fHi = residual(hi);
    }
    if (fHi < 0) {  // torn apart
        plastic_ = std::max(separation, d);
        force_ = 0;
        return;
    }
    // Regula falsi with the Illinois correction: a few evaluations to a nanometre.
    int side = 0;
    for (int i = 0; i < 60 && hi - lo > 1e-9; ++i) {
        const double p = (lo * fHi - hi * fLo) / (fHi - fLo);
        const double f = residual(p);
        if (f < 0) {
            lo = p;
            fLo = f;
            if (side == -1) fHi /= 2;
            side = -1;
        } else {
            hi = p;
            fHi = f;
            if (side == 1) fLo /= 2;
            side = 1;
        }
    }
    plastic_ = hi;
    force_ = Broken() ? 0 : std::max(0.0, (d - plastic_) / compliance);
}

}  // namespace quorvex
