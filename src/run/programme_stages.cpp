// The stage decisions of the programme tests.
#include "run/programme_stages.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "evaluation/parameter_set.h"
#include "machine/controller_link.h"

namespace quorvex {
namespace {

constexpr int kNoStageLeft = kSpeedStages + 1;

const SpeedStage& StageAt(const ParameterSet& p, int stage) {
    return p.Stages[static_cast<std::size_t>(stage - 1)];
}

std::int32_t Rounded(double value) {
    if (!std::isfinite(value)) return 0;
    const double limit = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::lround(std::clamp(value, -limit, limit)));
}

}  // namespace

bool HoldApproach(const ParameterSet& p, int stage) {
    if (stage < 1 || stage >= kSpeedStages) return false;
    const SpeedStage& k = StageAt(p, stage);
    const SpeedStage& next = StageAt(p, stage + 1);
    if (!k.StageActive || next.StageSpeedUnit != kControlHold) return false;
    return (k.StageSpeedUnit == kControlTravel && next.StageFromUnit == kChangeAtTravel) ||
           (k.StageSpeedUnit == kControlForce && next.StageFromUnit == kChangeAtForce);
}

StageStart ProgrammeStages::Begin(const ParameterSet& p, bool tension, double travelMm,
                                  double forceKn, std::int64_t nowMs) {
    tension_ = tension;
    d_ = s0_ = travelMm;
    startForce_ = forceKn;
    holdStartMs_ = nowMs;  // before any hold the time stages count from the start
    shownSeconds_ = -1;
    const int mode = StageAt(p, 1).StageSpeedUnit;
    control_ = mode == kControlForce ? kControlForce : kControlTravel;
    StageStart start = Enter(p, 1);
    start.ControlChanged = false;
    next_ = 2;
    return start;
}

StageStart ProgrammeStages::Enter(const ParameterSet& p, int stage) {
    const SpeedStage& s = StageAt(p, stage);
    StageStart start;
    start.Stage = stage;
    start.Hold = hold_ = HoldApproach(p, stage);
    start.Direction = direction_ = s.StageSpeed < 0 ? -1 : 1;
    start.Speed = s.StageSpeed;
    const double next = stage < kSpeedStages ? StageAt(p, stage + 1).StageFrom : 0.0;
    start.TargetTravel = tension_ ? d_ + next : d_ - next;
    start.TargetForce = next - startForce_;
    if (s.StageSpeedUnit == kControlHold) {
        start.Holding = true;  // the machine stays where the last ramp took it
    } else {
        const int control = s.StageSpeedUnit == kControlForce ? kControlForce : kControlTravel;
        start.ControlChanged = control != control_;
        control_ = control;
    }
    start.Control = control_;
    return start;
}

bool ProgrammeStages::Check(const ParameterSet& p, double forceKn, double travelMm,
                            std::int64_t nowMs, StageStart& start) {
    shownSeconds_ = -1;
    if (next_ > kSpeedStages) return false;
    const SpeedStage& s = StageAt(p, next_);
    if (!s.StageActive) return false;
    const double v = s.StageFrom;
    const double deviation = (p.ControlDeviation > 0 ? p.ControlDeviation : 1) * std::fabs(v) / 100;
    bool reached = false;
    switch (s.StageFromUnit) {
        case kChangeAtForce:
            if (hold_) {
                reached = std::fabs(forceKn - std::fabs(v)) < deviation;
            } else {
                reached = direction_ > 0 ? forceKn >= v : forceKn <= v;
            }
            break;
        case kChangeAtTravel:
            if (hold_) {
                reached = std::fabs(std::fabs(travelMm - d_) - std::fabs(v)) < deviation;
            } else {
                // Counted in the direction of loading, so that a tension test reaches its
                // travel change points as a compression test does.
                const double progress = Progress(travelMm);
                reached = direction_ > 0 ? progress >= v : progress <= v;
            }
            break;
        case kChangeAtTime: {
            const std::int64_t elapsed = std::max<std::int64_t>(nowMs - holdStartMs_, 0);
            shownSeconds_ = static_cast<int>(std::min<std::int64_t>(elapsed / 1000, 1 << 30));
            reached = shownSeconds_ >= v;
            break;
        }
        default:
            break;
    }
    if (!reached) return false;
    // The held target is reached: the time stages count from here.
    if (hold_ && s.StageFromUnit != kChangeAtTime) holdStartMs_ = nowMs;
    start = Enter(p, next_);
    next_ = std::min(next_ + 1, kNoStageLeft);
    return true;
}

std::int32_t TravelSetValue(const ControllerConfig& config, double travelMm) {
    if (config.IncrementalTravel) return Rounded(travelMm * config.TravelIncrements);
    if (!(config.NominalTravel > 0)) return 0;
    return Rounded(travelMm / config.NominalTravel * kNominalSetValue);
}

std::int32_t ForceSetValue(const ControllerConfig& config, double forceKn) {
    if (!(config.NominalForce > 0)) return 0;
    return Rounded(forceKn / config.NominalForce * kNominalSetValue);
}

}  // namespace quorvex
