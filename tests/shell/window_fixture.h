// The main window as the shell tests open it: in a working directory of its own, with a
// platform configuration that keeps this computer's cards and serial devices out, the
// language chosen, the records it works on and the messages it shows recorded.
#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <memory>

#include "evaluation/test_state.h"
#include "gui_test_support.h"
#include "machine/clock.h"
#include "machine/simulation.h"
#include "setup/machine_config.h"
#include "run/app_state.h"
#include "shell/lu_dialog.h"
#include "shell/main_window.h"
#include "shell/project_dialog.h"
#include "specimen/specimen_dialog.h"
#include "ui/dialog_base.h"
#include "ui/stored_texts.h"

namespace quorvex::testing {

// The devices of the platform configuration: the simulated machine, or no card at all.
inline constexpr const char* kSimulatedDevices =
    "daq = simulated\nrelay = simulated\nencoder = none\ncontroller = simulated\n";
inline constexpr const char* kAbsentDevices = "daq = absent\nrelay = absent\nencoder = none\n";

class WindowFixture : public ::testing::Test {
  protected:
    // The working directory with "Sprache.con" (German chosen) and "Quorvex.platform" with
    // these devices and no serial device on COM1 to COM16.
    void PrepareWorkingDirectory(const char* devices) {
        previous = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(directory.path()));
        work = std::filesystem::path(directory.path().toStdString());
        std::ofstream(work / "Sprache.con") << "0";
        std::ofstream platform(work / "Quorvex.platform");
        platform << devices;
        for (int com = 1; com <= 16; ++com) platform << "com" << com << " = none\n";
    }
    void TearDown() override {
        window.reset();
        if (!previous.isEmpty()) QDir::setCurrent(previous);
    }

    // Shows the window (on this machine and clock when given) and waits for the deferred
    // start-up, whose project question is cancelled.
    void ShowWindow(SimulatedMachine* machine = nullptr, Clock* clock = nullptr) {
        WhenModal<TNeue_Serie>([](TNeue_Serie* d) { d->reject(); });
        window = std::make_unique<TSDIAppForm>(app, *test, *machineConfig, ui, *fileDialogs);
        ui.MainWindow = window.get();
        if (machine != nullptr && clock != nullptr) window->UseMachine(machine, *clock);
        window->show();
        ASSERT_TRUE(QTest::qWaitFor([this] { return app.StartupShown; }, 5000));
    }

    // F2 with the specimen dialog confirmed, the machine's clock ticked until the break; the
    // final diameter is skipped.
    void RunTensileTestToBreak(ManualClock& clock) {
        WhenModal<TBtnRightDlg3>([](TBtnRightDlg3* d) { d->OkButton()->click(); });
        ASSERT_TRUE(window->FormKeyDown(Qt::Key_F2, Qt::NoModifier));
        ASSERT_TRUE(app.TestRunning);
        WhenModal<TLuDialog>([](TLuDialog* d) { d->reject(); });
        for (int i = 0; i < 20000 && app.TestRunning; ++i) {
            clock.Advance(50);
            window->MessenTimerTimer();
        }
        ASSERT_FALSE(app.TestRunning);
    }

    QString previous;
    QTemporaryDir directory;
    std::filesystem::path work;
    AppState app;
    std::unique_ptr<TestState> test = std::make_unique<TestState>();
    std::unique_ptr<MachineConfig> machineConfig = std::make_unique<MachineConfig>();
    StoredTexts texts;
    RecordedMessages messages;
    NoFiles files;
    FileDialogs* fileDialogs = &files;  // a test may answer the file dialogs itself
    UiContext ui{messages, texts, {}, nullptr};
    std::unique_ptr<TSDIAppForm> window;
};

}  // namespace quorvex::testing
