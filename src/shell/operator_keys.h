// The key table of the main window: which key does what, under which condition. The main
// window sees every key first, so the keys work whatever control has the focus; this table
// decides, the window carries the action out.
#pragma once

namespace quorvex {

enum class KeyAction {
    None,               // not a key of the table: the focused control gets it
    Ignore,             // a key of the table whose condition does not hold
    Beep,               // F3 during a test
    LeavePickModes,     // Esc
    JogUpSlow,          // Page Up
    JogDownSlow,        // Page Down
    JogUpFast,          // Insert
    JogDownFast,        // Delete
    StartOrStopTest,    // F2 with the live values running
    DemoTest,           // F2 without the card: series check, then a demo test
    SpecimenFileTest,   // F3 without a test
    ZeroForce,          // F5
    StoreLastTest,      // F6
    ZeroAnalogOutputs,  // F7
    StopPulse,          // F8
    CurrentSeries,      // F9
    ProjectEditor,      // F10
    StartPosition,      // Ctrl+S
};

// The state the conditions of the table read.
struct KeyConditions {
    bool TestRunning = false;
    bool LiveTimerOn = false;  // the card is present and the live values run
    bool JogUpActive = false;
    bool JogDownActive = false;
};

// key is a Qt key code; ctrl whether Ctrl is held (only Ctrl+S uses it).
KeyAction DecideKeyAction(int key, bool ctrl, const KeyConditions& conditions);

// Why F2 with the live values running (and the start button, which is disabled then) would
// not start a test now; the first reason that holds.
enum class StartRefusal {
    None,              // the test starts
    TestRunning,       // F2 stops it instead; the stop button stands in the start button's place
    Starting,          // a start is under way (its questions and specimen dialog)
    NoLiveValues,      // no card or the live-value timer off: F2 loads a demo test instead
    NoTestRun,         // no machine to run a test on
    ReferenceMissing,  // an incremental travel encoder before its reference run
    NoProject,         // F2 says "Kein Resultate-Projekt geöffnet!"
};

struct StartConditions {
    bool TestRunning = false;
    bool Starting = false;
    bool LiveTimerOn = false;
    bool TestRunReady = false;
    bool ReferenceDone = false;  // the motion services allow the start
    bool ProjectOpen = false;
};

StartRefusal DecideStartRefusal(const StartConditions& conditions);

// The counter behind the extensometer read-out that "Tara Counter" zeroes: the sensor arms'
// counters of the controller on amplifier version 3 (kind 1), both axes of the encoder card on
// version 2 with a sensor-arm extensometer of type 4 to 6 (kind 3); 0 when there is none.
int ExtensometerCounterKind(int ampVersion, int sensorArmType);

}  // namespace quorvex
