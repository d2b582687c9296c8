// The start checks, the start of recording, the stop procedure and the end of the test that
// every run routine goes through.
#include "run/run_routine.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "evaluation/break_value.h"
#include "evaluation/evaluate_test.h"
#include "evaluation/specimen_number.h"
#include "evaluation/tensile_evaluation.h"
#include "evaluation/test_files.h"
#include "evaluation/test_state.h"
#include "evaluation/test_types.h"
#include "evaluation/text_functions.h"
#include "machine/controller_link.h"
#include "run/app_state.h"
#include "run/live_diagram_model.h"
#include "setup/machine_config.h"

namespace quorvex {

bool ShowsForceOverTravel(int testType) {
    return testType == 3 || testType == 4 || testType == 5 || testType == 7 || testType == 8;
}

double PreloadForceKn(const ParameterSet& p) {
    const int unit = p.PreloadUnit >= 0 && p.PreloadUnit <= 2 ? p.PreloadUnit : 0;
    const double preload = p.PreloadValue[static_cast<std::size_t>(unit)];
    if (unit == 1) return preload / 1000.0;
    if (unit == 2) return preload * p.EffectiveSo / 1000.0;
    return preload;
}

int EvaluateAndShowTest(TestState& test, RunDiagram& diagram) {
    ParameterSet& p = test.Parameters;
    int view;
    if (ShowsForceOverTravel(p.TestType)) {
        // Their results are forces and travels: the curve stays in the view it was run in.
        const bool timeView =
            p.TestType == static_cast<int>(TestType::Universal) && p.StartDiagram == 3;
        view = timeView ? kViewProgramme : kViewForceTravel;
    } else {
        const bool usable =
            test.Marks.SampleCount > 0 && ExtensionUsable(CurveView(test.Buffer, p, test.Marks));
        view = UsesExtensometerResults(p) && usable ? kViewStressFineStrain : kViewStressStrain;
    }
    p.DiagramType = static_cast<std::uint8_t>(view);
    EvaluateTest(test, false);
    diagram.ShowEvaluatedCurve(view);
    return view;
}

RunRoutine::RunRoutine(TestState& test, const MachineConfig& machine, AppState& app,
                       RunMachine devices, Clock& clock, RunDiagram& diagram, RunHost& host)
    : test_(test),
      machine_(machine),
      app_(app),
      devices_(devices),
      clock_(clock),
      diagram_(diagram),
      host_(host) {}

bool RunRoutine::MeasureOnly() const {
    return machine_.Setup.MeasureOnly != 0;
}

ControllerLink* RunRoutine::Link() const {
    return MeasureOnly() ? nullptr : devices_.Link;
}

double RunRoutine::ForceKn() const {
    return machine_.Calibration.NominalForce * devices_.Daq->RawValues()[kRawForce] /
           kFullScaleCounts;
}

double RunRoutine::CrossheadTravelMm() const {
    return machine_.Factors.TravelFactor * devices_.Daq->RawValues()[kRawTravel];
}

// --- start

bool RunRoutine::StartChecks() {
    ParameterSet& p = test_.Parameters;
    if (CountOccupiedSlots(test_.TestSeries) >= Series::kMaxTests) {
        host_.Message(RunMessageKind::Warning, run_text::kSeriesFull, run_text::kSaveTestsFirst);
        host_.OpenSeriesEditor();
        ClearSeries(test_.TestSeries, DateTimeNow());
    }
    if (!app_.ProjectOpen) {
        host_.Message(RunMessageKind::Error, run_text::kNoProject);
        return false;
    }
    if (app_.LastTestNew) {
        if (host_.Question(run_text::kStoreLastTest)) host_.StoreLastTestInSeries();
        app_.LastTestNew = false;
    }
    // A break value that cannot describe a break (a set stored by an older program or on
    // another machine) would end the test on noise or never: no test starts on it.
    const BreakValueRange breakRange = BreakValueRangeOf(p);
    if (!InBreakRange(breakRange, p.BreakDropPercent)) {
        host_.RangeMessage(RunMessageKind::Error, BreakValueCaption(breakRange.Kind),
                           run_text::kValidRange, breakRange.RangeText);
        return false;
    }
    specimenNumber_ = -1;
    const auto numberFile = app_.WorkingDirectory / kSpecimenNumberFile;
    if (p.AutoSpecimenNo) {
        const SpecimenNumberRead read = ReadSpecimenNumber(numberFile);
        if (read.Status.status == LoadStatus::Refused) {
            // A garbled counter is neither used nor overwritten.
            host_.MessageText(RunMessageKind::Error, read.Status.message);
        } else {
            specimenNumber_ = read.Status.status == LoadStatus::Loaded ? read.Number : 0;
        }
    }
    if (!host_.SpecimenDialog(specimenNumber_ > 0 ? specimenNumber_ : 0)) return false;
    // A counter already refused above is not read again.
    if (specimenNumber_ >= 0) {
        const SpecimenNumbering numbering =
            ApplyAutomaticSpecimenNumber(app_.WorkingDirectory, true, p.SpecimenNo);
        if (numbering.Status.status == LoadStatus::Refused) {
            host_.MessageText(RunMessageKind::Error, numbering.Status.message);
        }
    }
    return true;
}

bool RunRoutine::Start() {
    if (!PrepareStart()) return false;
    BeginTest();
    return true;
}

bool RunRoutine::PrepareStart() {
    if (State().SamplingActive || devices_.Daq == nullptr) return false;
    return StartChecks();
}

void RunRoutine::BeginTest() {
    if (State().SamplingActive || devices_.Daq == nullptr) return;
    pending_ = {};
    ParameterSet& p = test_.Parameters;

    // In measurement-only mode the machine is driven by its own means: nothing is sent.
    if (ControllerLink* link = Link()) {
        link->SendTestForceLimits(p.FmaxLimitPercent);
        link->SendMotionOutput();
        if (machine_.Setup.MachineType == kHydraulicInflow && devices_.Relays) {
            devices_.Relays->Relay8Off();
        }
    }

    StartRecording(test_.Buffer, test_.Marks);
    test_.Marks.HysteresisStart = test_.Marks.HysteresisEnd = 0;
    test_.Marks.EvaluationDone = false;
    host_.LayoutResultPanels();
    ResetState();
    RunState& s = Shared();
    s.MinForce = MinimumForce();
    s.SamplingActive = true;
    if (!deferEnd_) app_.TestRunning = true;

    host_.ShowRunning(true);
    diagram_.PrepareForTest();
    s.PreloadForce = PreloadForceKn(p);
    BeginMotion();
}

void RunRoutine::HoldPresentPosition() {
    ControllerLink* link = Link();
    if (!link || machine_.Setup.MachineType != kSpindleMachine) return;
    link->ControlMode(1);
    link->SetValue(link->PresentTravelSetValue());
}

void RunRoutine::ShowSpeedValue(double value, int decimals, SpeedUnit unit) {
    if (!std::isfinite(value)) value = 0;
    const int n = std::snprintf(speedText_.data(), speedText_.size(), "%.*f ", decimals, value);
    const std::size_t length =
        n < 0 ? 0 : std::min(static_cast<std::size_t>(n), speedText_.size() - 1);
    host_.ShowSpeed(std::string_view(speedText_.data(), length), unit);
}

// --- end

void RunRoutine::Stop(bool byOperator) {
    if (!State().SamplingActive) return;
    StopProcedure(byOperator);
    if (deferEnd_) {
        const bool evaluate = EvaluatesStoppedTest();
        if (evaluate) FinishRecording(test_.Marks);
        pending_ = {true, evaluate, false, evaluate, byOperator};
        return;
    }
    if (EvaluatesStoppedTest()) {
        FinishRecording(test_.Marks);
        EndOfTest();
        AfterEvaluatedEnd();
    }
    if (byOperator) {
        app_.LastTestSaved = false;
        if (!State().Evaluated) {
            host_.LayoutResultPanels();
            host_.RedrawDiagram();
        }
    }
}

void RunRoutine::StopByMachineStop() {
    if (!State().SamplingActive) return;
    // The window leaves the test first, then says why.
    Stop(true);
    host_.Message(RunMessageKind::Information, run_text::kStoppedWithF8);
}

void RunRoutine::StopProcedure(bool byOperator) {
    if (!deferEnd_) app_.TestRunning = false;
    RunState& s = Shared();
    s.SamplingActive = false;
    s.Stopped = true;
    ControllerLink* link = Link();
    if (link) link->StopMachine();
    host_.ShowRunning(false);
    if (link && (test_.Parameters.MachineOffAtEnd || byOperator)) link->MachineOff();
}

void RunRoutine::EndWithEvaluation(bool memoryFull, bool afterEnd) {
    Shared().EndedByBreak = !memoryFull;
    StopProcedure(false);
    FinishRecording(test_.Marks);
    if (deferEnd_) {
        pending_ = {true, true, memoryFull, afterEnd, false};
        return;
    }
    if (memoryFull) host_.Message(RunMessageKind::Warning, run_text::kMemoryFull);
    EndOfTest();
    if (afterEnd) AfterEvaluatedEnd();
}

void RunRoutine::FinishEnd() {
    if (!pending_.Active) return;
    const PendingEnd end = pending_;
    pending_ = {};
    app_.TestRunning = false;
    if (end.Evaluate) {
        if (end.MemoryFull) host_.Message(RunMessageKind::Warning, run_text::kMemoryFull);
        EndOfTest();
        if (end.AfterEnd) AfterEvaluatedEnd();
    }
    if (end.ByOperator) {
        app_.LastTestSaved = false;
        if (!State().Evaluated) {
            host_.LayoutResultPanels();
            host_.RedrawDiagram();
        }
    }
}

void RunRoutine::EndOfTest() {
    app_.LastTestNew = true;
    app_.LastTestSaved = false;
    test_.Current().EndOfTest = Shared().EndedByBreak ? 0 : kEndedWithoutBreak;
    EvaluateAndShowTest(test_, diagram_);
    Shared().Evaluated = true;
    host_.FillResultPanels();
    host_.AskFinalDimensions();
    CheckAfterEvaluation();
}

}  // namespace quorvex
