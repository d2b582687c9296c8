// What a test run needs of the world around it besides the machine and the diagram: the
// operator's messages and dialogs, the state of the window's buttons and menus, the speed
// read-out, the result panels and the series. The main window implements it; tests and the
// headless run of quorvex-cli implement it without widgets.
#pragma once

#include <string_view>

namespace quorvex {

enum class RunMessageKind { Warning, Error, Information };

// The unit label beside the speed field.
enum class SpeedUnit {
    MmPerMin,       // "mm/min"
    PercentPerMin,  // "%/min"
    StressRate,     // the stress-rate unit of the parameter set's unit system
    NewtonPerSecond,  // "N/sec": a force-controlled stage of the programme tests
    Seconds,          // "sec": a holding stage, or the seconds a time stage has run
};

class RunHost {
  public:
    virtual ~RunHost() = default;

    // A message of the language table (kind, OK); a second text follows after two line feeds.
    virtual void Message(RunMessageKind kind, int text, int secondText = 0) = 0;
    // A message the program composed (the transducer monitoring of the compression test).
    virtual void MessageText(RunMessageKind kind, std::string_view text) = 0;
    // A value out of its range: the field's caption, ": ", the text and the range text, as
    // "Abfall auf: Gültigkeitsbereich 10.0 ... 90.0 !" (field and text from the language
    // table).
    virtual void RangeMessage(RunMessageKind kind, int field, int text, std::string_view range) = 0;
    // A warning with Yes/No; true for Yes.
    virtual bool Question(int text) = 0;

    // The specimen-data dialog of the current test type, modal; true for OK. It may itself
    // approach the preload and close the sensor arms. counter: the automatic specimen number
    // read before it (0 without automatic numbering).
    virtual bool SpecimenDialog(long long counter) = 0;
    // The series editor over the current series (before a full series is cleared).
    virtual void OpenSeriesEditor() = 0;
    // Enters the last test into the current series with the remark of the result panel.
    virtual void StoreLastTestInSeries() = 0;

    // Running: start button hidden, stop button shown, menus, tool buttons, jog, tare button
    // and Timer1 off, the start-position supervision ended. Idle: all back on (the
    // start-position field stays disabled), the speed field "0 ".
    virtual void ShowRunning(bool running) = 0;
    // The speed field (empty in measurement-only mode) and its unit label. The text lives only
    // for the call.
    virtual void ShowSpeed(std::string_view value, SpeedUnit unit) = 0;
    // "Feindehnungsmesser bitte abnehmen !": closes itself after the seconds (2 to 10).
    virtual void ShowRemovalPrompt(int seconds) = 0;

    // The result group of the test type with every field white.
    virtual void LayoutResultPanels() = 0;
    // The diagram drawn anew (axes and every recorded point): after a stop with the stop button
    // that left nothing to evaluate.
    virtual void RedrawDiagram() = 0;
    // The results of the evaluated test in the panels, coloured by their limits.
    virtual void FillResultPanels() = 0;
    // The final diameter (or width and thickness) when the result set holds Z or Phi-dB.
    virtual void AskFinalDimensions() = 0;
    // The automatic sequence after the break.
    virtual void StartAutoSequence() = 0;
};

}  // namespace quorvex
