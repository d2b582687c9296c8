// quorvex: one copy per machine; the main window runs the start-up, and the working parameter
// set is written back when the program ends.
#include <QApplication>
#include <QDir>
#include <memory>

#include "evaluation/test_state.h"
#include "setup/machine_config.h"
#include "run/app_state.h"
#include "shell/main_window.h"
#include "shell/single_instance.h"
#include "shell/working_files.h"
#include "ui/dialog_base.h"
#include "ui/file_dialogs.h"
#include "ui/operator_message.h"
#include "ui/stored_texts.h"

int main(int argc, char** argv) {
    using namespace quorvex;
    QApplication application(argc, argv);

    // The defaults of every record are in force before anything else happens.
    auto test = std::make_unique<TestState>();
    auto machineConfig = std::make_unique<MachineConfig>();
    AppState app;
    StoredTexts texts;
    MessageBoxMessages messages(texts);

    // A second copy ends here, before it has touched any file of the working directory.
    SingleInstanceGuard guard;
    if (!guard.Acquired()) {
        ReportSecondInstance(messages);
        return 1;
    }

    // Started from the desktop menu there is no sensible current directory: the working
    // files then live in the user's own one, made at the first start.
    if (QCoreApplication::arguments().contains(QStringLiteral("--user-directory"))) {
        const QString own = QDir::home().filePath(QStringLiteral("Quorvex"));
        if (!QDir().mkpath(own) || !QDir::setCurrent(own)) {
            messages.ShowOperatorMessage(own, MessageKind::Error, MessageButtons::Ok);
            return 1;
        }
    }
    app.WorkingDirectory = QDir::currentPath().toStdString();
    app.SimulateRequested = QCoreApplication::arguments().contains(QStringLiteral("--simulate"));
    QtFileDialogs files;
    UiContext ui{messages, texts, {}, nullptr};
    int exitCode = 0;
    {
        TSDIAppForm window(app, *test, *machineConfig, ui, files);
        window.UseAcquisitionThread(true);
        ui.MainWindow = &window;
        messages.SetOwner(&window);
        // F8 in a message box stops the machine as it does in every dialog.
        messages.SetMachineStop([&ui] {
            if (ui.StopMachine) ui.StopMachine();
        });
        files.SetOwner(&window);
        window.show();
        exitCode = application.exec();
        messages.SetOwner(nullptr);
        messages.SetMachineStop(nullptr);
        ui.MainWindow = nullptr;
    }
    WriteWorkingParameterSet(test->Parameters, app.WorkingDirectory);
    return exitCode;
}
