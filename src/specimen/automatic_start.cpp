// The steps of the automatic start and their time-outs.
#include "automatic_start.h"

#include <cmath>

namespace quorvex {

bool StartReadiness(int ampVersion, SecondCardIo& card) {
    if (ampVersion == 3) return true;
    if (ampVersion == 2) return card.ArmsAndMachineReady();
    return false;
}

double PreloadForceKn(int preloadUnit, double preloadValue, double so) {
    switch (preloadUnit) {
        case 1:
            return preloadValue / 1000.0;
        case 2:
            return preloadValue * so / 1000.0;
        default:
            return preloadValue;
    }
}

void AutomaticStart::Begin(const AutomaticStartSettings& settings, std::int64_t nowMs) {
    settings_ = settings;
    Enter(Step::ApproachingPreload, nowMs);
    if (link_ != nullptr) link_->ApproachPreload(settings.PreloadKn, settings.ApproachRate);
}

bool AutomaticStart::Running() const {
    return step_ == Step::ApproachingPreload || step_ == Step::ArmsSettling ||
           step_ == Step::WaitingForArms;
}

AutomaticStart::Step AutomaticStart::Tick(std::int64_t nowMs, double forceKn) {
    switch (step_) {
        case Step::ApproachingPreload: {
            const double tolerance =
                std::fabs(settings_.PreloadKn) * settings_.TolerancePercent / 100.0;
            if (std::fabs(forceKn - settings_.PreloadKn) <= tolerance) {
                if (!settings_.CloseArms) {
                    Enter(Step::Done, nowMs);
                    break;
                }
                Enter(Step::ArmsSettling, nowMs);
                // Version 3 closes the arms through the controller link, version 2 through
                // the card's output.
                if (settings_.AmpVersion == 3 && link_ != nullptr) {
                    link_->TdmArms(0, 0);
                } else {
                    card_.ArmsClosingOutput(true);
                }
            } else if (TimedOut(nowMs)) {
                Enter(Step::PreloadNotReached, nowMs);
            }
            break;
        }
        case Step::ArmsSettling:
            if (nowMs - stepBegin_ >= kArmsSettleMs) Enter(Step::WaitingForArms, nowMs);
            break;
        case Step::WaitingForArms:
            if (card_.ArmsClosed()) {
                Enter(Step::Done, nowMs);
            } else if (TimedOut(nowMs)) {
                Enter(Step::ArmsNotClosed, nowMs);
            }
            break;
        default:
            break;
    }
    return step_;
}

void AutomaticStart::Abort() {
    if (Running()) step_ = Step::Aborted;
}

int AutomaticStart::TextNumber(Step step) {
    switch (step) {
        case Step::ApproachingPreload:
            return 471;
        case Step::PreloadNotReached:
            return 472;
        case Step::ArmsSettling:
        case Step::WaitingForArms:
            return 473;
        case Step::ArmsNotClosed:
            return 474;
        default:
            return 0;
    }
}

}  // namespace quorvex
