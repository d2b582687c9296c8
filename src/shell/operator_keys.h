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

}  // namespace quorvex
