// quorvex: one copy per machine; the main window runs the start-up, and the working parameter
// set is written back when the program ends.
#include <QApplication>
#include <QDir>
#include <csignal>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>

#include "evaluation/test_state.h"
#include "setup/machine_config.h"
#include "run/app_state.h"
#include "shell/main_window.h"
#include "shell/single_instance.h"
#include "shell/termination_signals.h"
#include "shell/working_files.h"
#include "ui/dialog_base.h"
#include "ui/file_dialogs.h"
#include "ui/operator_message.h"
#include "ui/stored_texts.h"

namespace {

void PrintHelp(std::ostream& out) {
    out << "Usage: quorvex [OPTIONS]\n"
           "\n"
           "The operating program of a universal materials-testing machine, with its main\n"
           "window. It works in the current directory: the working files (parameter set,\n"
           "machine setup, calibration, results projects) are read from there and written\n"
           "there. The first start asks for the language, then for the results project.\n"
           "\n"
           "Options:\n"
           "  --simulate         run on the simulated machine, whatever Quorvex.platform says\n"
           "  --user-directory   work in ~/Quorvex (made at the first start) instead of the\n"
           "                     current directory, as the desktop menu starts it\n"
           "  --help             show this text\n"
           "  --version          show the version\n"
           "\n"
           "Qt's own options (-platform, -style ...) are passed on to Qt.\n"
           "SIGTERM, SIGHUP and SIGINT end the program as \"Beenden\" does, without a question:\n"
           "a test in progress is stopped, the machine switched off, the parameter set written,\n"
           "and the tests not yet stored (the last test and the current series) are kept in\n"
           "the working directory; the next start offers to store them in their project.\n"
           "quorvex-cli is the command-line tool of the same program (quorvex-cli --help).\n";
}

}  // namespace

int main(int argc, char** argv) {
    using namespace quorvex;
    // A file-size limit makes a write fail, which is reported, instead of ending the program
    // half-way through a store.
    std::signal(SIGXFSZ, SIG_IGN);
    // What the program says about itself needs no window and no display.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            PrintHelp(std::cout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::cout << "quorvex " << QUORVEX_VERSION << "\n";
            return 0;
        }
    }
    QApplication application(argc, argv);
    // Of the remaining arguments (Qt has taken its own) only ours are known.
    for (const QString& argument : QCoreApplication::arguments().mid(1)) {
        if (argument != QStringLiteral("--simulate") &&
            argument != QStringLiteral("--user-directory")) {
            std::cerr << "quorvex: unknown option \"" << argument.toStdString()
                      << "\" (see quorvex --help)\n";
            return 2;
        }
    }

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
        TerminationSignals terminationSignals([&window](int) { window.CloseOnSignal(); });
        window.show();
        exitCode = application.exec();
        messages.SetOwner(nullptr);
        messages.SetMachineStop(nullptr);
        ui.MainWindow = nullptr;
    }
    WriteWorkingParameterSet(test->Parameters, app.WorkingDirectory);
    return exitCode;
}
