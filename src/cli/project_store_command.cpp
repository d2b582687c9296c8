// The series slot 1 of a working directory into a results project. The record of slot 1 lives
// only in the program's memory, so it is rebuilt here from the slot's files: the curve
// "1.Dia" evaluated with the project's parameter set (as "evaluate" does), the header lines of
// "1.Hea", dated when the curve was written.
#include "project_store_command.h"

#include <QDateTime>
#include <QFileInfo>
#include <filesystem>
#include <memory>

#include "evaluate_command.h"
#include "evaluation/evaluate_test.h"
#include "evaluation/files.h"
#include "evaluation/project_store.h"
#include "evaluation/series_store.h"
#include "evaluation/test_files.h"
#include "project_storing.h"

namespace quorvex::cli {
namespace {

int Usage(std::ostream& err, const std::string& problem) {
    err << "quorvex-cli: " << problem << "\nusage:\n";
    PrintProjectStoreHelp(err);
    return 2;
}

// When the file was written, in days since 1899-12-30 (local time).
double FileDate(const std::filesystem::path& file) {
    const QDateTime written = QFileInfo(QString::fromStdU16String(file.u16string())).lastModified();
    if (!written.isValid()) return DateTimeNow();
    return static_cast<double>(QDate(1899, 12, 30).daysTo(written.date())) +
           written.time().msecsSinceStartOfDay() / 86400000.0;
}

}  // namespace

void PrintProjectStoreHelp(std::ostream& out) {
    out << "  project store NAME [--dir DIR]\n"
           "                           store the test of series slot 1 in DIR (default: the\n"
           "                           current directory) into the results project NAME of DIR\n"
           "                           as F6 does; its record is rebuilt by evaluating 1.Dia\n"
           "                           with NAME/NAME.Par, with the header lines of 1.Hea\n";
}

int RunProjectStoreCommand(const std::vector<std::string>& args, std::ostream& out,
                           std::ostream& err) {
    std::filesystem::path dir = std::filesystem::current_path();
    std::string typed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--dir") {
            if (i + 1 >= args.size()) return Usage(err, "\"--dir\" needs a value");
            dir = args[++i];
        } else if (args[i].rfind("--", 0) == 0 || !typed.empty()) {
            return Usage(err, "\"" + args[i] + "\" is not understood");
        } else {
            typed = args[i];
        }
    }
    const std::string name = CleanedProjectName(typed);
    if (name.empty()) return Usage(err, "\"" + typed + "\" is no project name");

    const std::filesystem::path parameters =
        ResolveInDirectory(ProjectDirectory(dir, name), name + ".Par");
    std::error_code error;
    if (!std::filesystem::is_regular_file(parameters, error)) {
        err << "quorvex-cli: there is no results project \"" << name << "\" in \"" << dir.string()
            << "\" (no \"" << parameters.string() << "\")\n";
        return 1;
    }
    const auto lock = LockWorkingDirectory(dir, err);
    if (!lock) return 1;
    const std::filesystem::path curve = ResolvePath(SeriesFilePath(dir, 1, ".Dia"));
    auto state = std::make_unique<TestState>();
    if (!LoadTestFiles(curve.string(), parameters.string(), *state, err)) return 1;
    const std::filesystem::path header = ResolvePath(SeriesFilePath(dir, 1, ".Hea"));
    const LoadResult headerRead = ReadHeaderFile(header, state->Parameters.HeaderValue);
    if (headerRead.status == LoadStatus::Refused) {
        err << "quorvex-cli: " << headerRead.message << "\n";
        return 1;
    }
    EvaluateTest(*state, false);
    if (!state->Marks.EvaluationDone) {
        err << "quorvex-cli: \"" << curve.string()
            << "\" cannot be evaluated: the force maximum stayed below the minimum force\n";
        return 1;
    }
    EnterRecordInSeries(*state, 1, FileDate(curve));
    const SlotStored stored = StoreSlot1InProject(*state, dir, name, err);
    if (stored.Record == 0) return 1;
    out << "{\"Record\": " << stored.Record << "}\n";
    return stored.Complete ? 0 : 1;
}

}  // namespace quorvex::cli
