// Stand-ins for what surrounds a test run: a diagram that counts points and applies the
// removal rule of the force/extensometer view, and a host that logs what the operator would
// see and answers the dialogs as the test says.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "run/run_diagram.h"
#include "run/run_host.h"

namespace quorvex::testing {

class FakeDiagram : public RunDiagram {
  public:
    void PrepareForTest() override {
        ++prepared;
        view = startView;
        points = 0;
    }
    bool AddLivePoint(const LivePoint& point, double removalDeformationMm) override {
        ++points;
        if (point.Plot) ++plotted;
        last = point;
        if (view == kViewForceExtensometer &&
            (point.ExtensometerDeformationMm > removalDeformationMm ||
             point.ExtensometerOverRange)) {
            view = kViewForceTravel;
            return true;
        }
        return false;
    }
    int View() const override { return view; }
    void ShowEvaluatedCurve(int v) override {
        view = v;
        evaluatedView = v;
    }

    int startView = kViewForceExtensometer;
    int view = kViewForceTravel;
    int prepared = 0;
    int points = 0;
    int plotted = 0;
    int evaluatedView = -1;
    LivePoint last;
};

class FakeHost : public RunHost {
  public:
    void Message(RunMessageKind, int text, int secondText) override {
        Log("message" + std::to_string(text) +
            (secondText ? "+" + std::to_string(secondText) : ""));
    }
    void MessageText(RunMessageKind, std::string_view text) override {
        Log("text:" + std::string(text));
    }
    void RangeMessage(RunMessageKind, int field, int text, std::string_view range) override {
        Log("range" + std::to_string(field) + ":" + std::to_string(text) + std::string(range));
    }
    bool Question(int text) override {
        Log("question" + std::to_string(text));
        return answerYes;
    }
    bool SpecimenDialog(long long counter) override {
        dialogCounter = counter;
        Log("specimen");
        return dialogOk;
    }
    void OpenSeriesEditor() override { Log("editor"); }
    void StoreLastTestInSeries() override { Log("store"); }
    void ShowRunning(bool running) override { Log(running ? "running" : "idle"); }
    void ShowSpeed(std::string_view value, SpeedUnit unit) override {
        speed = std::string(value);
        speedUnit = unit;
        ++speedShown;
    }
    void ShowRemovalPrompt(int seconds) override { Log("removal" + std::to_string(seconds)); }
    void LayoutResultPanels() override { Log("layout"); }
    void RedrawDiagram() override { Log("redraw"); }
    void FillResultPanels() override { Log("fill"); }
    void AskFinalDimensions() override { Log("final"); }
    void StartAutoSequence() override { Log("sequence"); }
    long long dialogCounter = -1;

    // What was logged since the last call, space-separated.
    std::string Take() {
        std::string out;
        out.swap(log_);
        return out;
    }

    bool answerYes = true;
    bool dialogOk = true;
    std::string speed;
    SpeedUnit speedUnit = SpeedUnit::MmPerMin;
    int speedShown = 0;

  private:
    void Log(const std::string& entry) {
        if (!log_.empty()) log_ += ' ';
        log_ += entry;
    }
    std::string log_;
};

}  // namespace quorvex::testing
