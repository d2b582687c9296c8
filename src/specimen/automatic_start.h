// The automatic start of a tensile test from the specimen dialog: approach the preload, wait
// until the force lies within its tolerance, close the extensometer arms and wait until they
// report closed, each wait ended by the time-out or the operator's abort.
#pragma once

#include <cstdint>
#include <functional>

#include "machine/controller_link.h"

namespace quorvex {

// The inputs and the arm output of the second digital input/output card. This program never
// opens that card, so the absent card reports nothing ready and nothing closed.
class SecondCardIo {
  public:
    virtual ~SecondCardIo() = default;
    virtual bool ArmsAndMachineReady() = 0;
    virtual bool ArmsClosed() = 0;
    virtual void ArmsClosingOutput(bool on) = 0;
};

class AbsentSecondCard : public SecondCardIo {
  public:
    bool ArmsAndMachineReady() override { return false; }
    bool ArmsClosed() override { return false; }
    void ArmsClosingOutput(bool) override {}
};

// Amplifier version 3 drives the extensometer through the controller link and is always
// ready; version 2 asks the card; every other machine starts by hand.
bool StartReadiness(int ampVersion, SecondCardIo& card);

// The preload in kN: kN as entered, N / 1000, N/mm² × So / 1000.
double PreloadForceKn(int preloadUnit, double preloadValue, double so);

struct AutomaticStartSettings {
    double PreloadKn = 0;
    double TolerancePercent = 5;  // of the preload
    int TimeoutSec = 20;          // per waiting step
    int AmpVersion = 0;
    bool CloseArms = true;          // "Tastarme vor Versuchsbeginn automatisch schliessen"
    std::int32_t ApproachRate = 0;  // controller units
};

class AutomaticStart {
  public:
    enum class Step {
        Idle,
        ApproachingPreload,  // text 471
        ArmsSettling,        // text 473, the 3 s after the closing command
        WaitingForArms,      // text 473
        Done,                // the test may start
        PreloadNotReached,   // text 472
        ArmsNotClosed,       // text 474
        Aborted,             // "Abbruch "
    };
    static constexpr std::int64_t kArmsSettleMs = 3000;

    // link may be null (no controller): nothing is sent and the force decides alone.
    AutomaticStart(ControllerLink* link, SecondCardIo& card) : link_(link), card_(card) {}

    void Begin(const AutomaticStartSettings& settings, std::int64_t nowMs);
    // One look at the measured force (kN) at the time nowMs; returns the step reached.
    Step Tick(std::int64_t nowMs, double forceKn);
    void Abort();

    Step Current() const { return step_; }
    bool Running() const;
    // The number of the text the status line shows for the step; 0 for none.
    static int TextNumber(Step step);

  private:
    bool TimedOut(std::int64_t nowMs) const {
        return nowMs - stepBegin_ >= static_cast<std::int64_t>(settings_.TimeoutSec) * 1000;
    }
    void Enter(Step step, std::int64_t nowMs) {
        step_ = step;
        stepBegin_ = nowMs;
    }

    ControllerLink* link_;
    SecondCardIo& card_;
    AutomaticStartSettings settings_;
    Step step_ = Step::Idle;
    std::int64_t stepBegin_ = 0;
};

}  // namespace quorvex
