// The main window as the test run sees it: its operator messages, dialogs, buttons, menus,
// speed field and result panels.
#pragma once

#include "run/run_host.h"

namespace quorvex {

class TSDIAppForm;

class MainWindowRunHost : public RunHost {
  public:
    explicit MainWindowRunHost(TSDIAppForm& window) : window_(window) {}
    void Message(RunMessageKind kind, int text, int secondText) override;
    void MessageText(RunMessageKind kind, std::string_view text) override;
    void RangeMessage(RunMessageKind kind, int field, int text, std::string_view range) override;
    bool Question(int text) override;
    bool SpecimenDialog(long long counter) override;
    void OpenSeriesEditor() override;
    void StoreLastTestInSeries() override;
    void ShowRunning(bool running) override;
    void ShowSpeed(std::string_view value, SpeedUnit unit) override;
    void ShowRemovalPrompt(int seconds) override;
    void LayoutResultPanels() override;
    void RedrawDiagram() override;
    void FillResultPanels() override;
    void AskFinalDimensions() override;
    void StartAutoSequence() override;

  private:
    TSDIAppForm& window_;
    bool timer1WasActive_ = false;
};

}  // namespace quorvex
