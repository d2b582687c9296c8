// The main window's state that several parts of the program read: where the working files
// are, the open project, and what is running and present.
#pragma once

#include <QString>
#include <filesystem>

#include "evaluation/screw_tables.h"

namespace quorvex {

// A serial port of a measuring instrument: its number (1..15 usable, 16 none) and whether it
// is open. Two instruments on one number share the port and its state.
struct MeasuringPort {
    int Number = 16;
    bool Open = false;
};

struct AppState {
    std::filesystem::path WorkingDirectory;  // the current directory when the window shows
    QString DatabaseDirectory;               // first line of "NET.CFG"
    bool DatabaseAvailable = false;

    bool OperatorUnlocked = false;  // access to protected settings; every run starts unlocked
    bool StartupShown = false;      // the deferred start-up (project question) has run
    bool ProjectOpen = false;
    QString ProjectName;
    // The open project's settings came from its own parameter file: the export and statistics
    // options are then read-only unless the operator is unlocked.
    bool ProjectSettingsFromFile = false;
    int AliasRowsWaiting = 0;  // alias rows kept in the outbox until the database is back

    bool TestRunning = false;
    bool LastTestNew = false;    // a test was run or loaded and not yet handled
    bool LastTestSaved = false;  // it was stored in the project

    bool SimulateRequested = false;  // "quorvex --simulate": this run on the simulated machine
    bool DaqPresent = false;
    bool RelayCardPresent = false;
    int ForceRange = 1;  // 1 or 10
    bool ReferenceDone = false;

    UserScrewTable ScrewTable;  // "Schraubentabelle.Txt", read once at start-up

    MeasuringPort CaliperPort;
    MeasuringPort MicrometerPort;
    int ControllerPort = 1;
};

}  // namespace quorvex
