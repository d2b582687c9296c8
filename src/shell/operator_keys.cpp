// The key table of the main window.
#include "shell/operator_keys.h"

#include <Qt>

namespace quorvex {

KeyAction DecideKeyAction(int key, bool ctrl, const KeyConditions& c) {
    const bool idle = !c.TestRunning;
    auto when = [](bool condition, KeyAction action) {
        return condition ? action : KeyAction::Ignore;
    };
    if (ctrl) {
        return key == Qt::Key_S ? when(idle, KeyAction::StartPosition) : KeyAction::None;
    }
    switch (key) {
        case Qt::Key_Escape:
            return KeyAction::LeavePickModes;
        case Qt::Key_PageUp:
            return when(idle && !c.JogUpActive, KeyAction::JogUpSlow);
        case Qt::Key_PageDown:
            return when(idle && !c.JogDownActive, KeyAction::JogDownSlow);
        case Qt::Key_Insert:
            return when(idle && !c.JogUpActive, KeyAction::JogUpFast);
        case Qt::Key_Delete:
            return when(idle && !c.JogDownActive, KeyAction::JogDownFast);
        case Qt::Key_F2:
            return c.LiveTimerOn ? KeyAction::StartOrStopTest : KeyAction::DemoTest;
        case Qt::Key_F3:
            return c.TestRunning ? KeyAction::Beep : KeyAction::SpecimenFileTest;
        case Qt::Key_F5:
            return when(idle, KeyAction::ZeroForce);
        case Qt::Key_F6:
            return KeyAction::StoreLastTest;
        case Qt::Key_F7:
            return KeyAction::ZeroAnalogOutputs;
        case Qt::Key_F8:
            return KeyAction::StopPulse;
        case Qt::Key_F9:
            return KeyAction::CurrentSeries;
        case Qt::Key_F10:
            return when(idle, KeyAction::ProjectEditor);
        default:
            return KeyAction::None;
    }
}

StartRefusal DecideStartRefusal(const StartConditions& c) {
    if (c.TestRunning) return StartRefusal::TestRunning;
    if (c.Starting) return StartRefusal::Starting;
    if (!c.LiveTimerOn) return StartRefusal::NoLiveValues;
    if (!c.TestRunReady) return StartRefusal::NoTestRun;
    if (!c.ReferenceDone) return StartRefusal::ReferenceMissing;
    if (!c.ProjectOpen) return StartRefusal::NoProject;
    return StartRefusal::None;
}

int ExtensometerCounterKind(int ampVersion, int sensorArmType) {
    if (ampVersion == 3) return 1;
    if (ampVersion == 2 && sensorArmType >= 4 && sensorArmType <= 6) return 3;
    return 0;
}

}  // namespace quorvex
