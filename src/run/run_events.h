// What the acquisition thread tells the window about a running test, and what the window asks
// of the machine: fixed-size records that travel through lock-free rings, so that neither
// side waits for the other and nothing is allocated on the way.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "machine/spsc_queue.h"
#include "run/run_diagram.h"
#include "run/run_host.h"

namespace quorvex {

// One measuring tick as the window shows it.
struct LiveSample {
    std::int64_t TimeNs = 0;           // monotonic time of the reading
    std::array<double, 3> Raw{};       // force, travel, strain counts, zero-corrected
    bool Overloaded = false;           // the tick fired or held the overload stop
    bool Recording = false;            // a test run took this sample
};

enum class RunEventKind : std::uint8_t {
    ShowRunning,    // Flag
    ShowSpeed,      // Text, Unit
    RemovalPrompt,  // Number: seconds
    LayoutPanels,
    Message,        // Kind, Number, Second
    MessageText,    // Kind, Text
    PrepareDiagram,
    LivePoint,      // Point, RemovalMm
    TestEnded,      // the stop has happened: FinishEnd on the window's thread
};

struct RunEvent {
    static constexpr std::size_t kTextCapacity = 400;

    RunEventKind Kind = RunEventKind::LayoutPanels;
    bool Flag = false;
    RunMessageKind MessageKind = RunMessageKind::Information;
    SpeedUnit Unit = SpeedUnit::MmPerMin;
    int Number = 0;
    int Second = 0;
    LivePoint Point;
    double RemovalMm = 0;
    std::uint16_t TextLength = 0;
    std::array<char, kTextCapacity> Text{};

    void SetText(std::string_view text);
    std::string_view TextView() const { return {Text.data(), TextLength}; }
};

// The window's requests to the machine's owner.
enum class MachineCommandKind : std::uint8_t {
    BeginTest,          // the checks and the specimen dialog have passed
    StopTest,           // ByOperator: the stop button or F2, else the program's own stop
    StopPulse,          // F8 in the main window: the shutdown line low for 300 ms
    StopMachine,        // F8 in a dialog or box: the controller's stop; a test ends as by
                        // the stop button, so that no later stage sets the machine going
    ZeroAnalogOutputs,  // F7
};

struct MachineCommand {
    MachineCommandKind Kind = MachineCommandKind::StopPulse;
    bool ByOperator = false;
};

// 50 s of ticks for the window to fall behind before a live value is dropped; a test records
// every sample whatever the window does.
using LiveSampleQueue = SpscQueue<LiveSample, 1024>;
using RunEventQueue = SpscQueue<RunEvent, 1024>;
using MachineCommandQueue = SpscQueue<MachineCommand, 64>;

}  // namespace quorvex
