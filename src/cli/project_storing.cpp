// The F6 store of the command line.
#include "project_storing.h"

#include "db_command.h"
#include "evaluation/files.h"
#include "evaluation/parameter_file.h"
#include "evaluation/project_store.h"
#include "evaluation/results_record.h"
#include "store/export_database.h"

namespace quorvex::cli {

std::string CleanedProjectName(const std::string& typed) {
    std::string name;
    for (const char c : typed) {
        if (c != ' ' && c != '\r') name += c;
    }
    if (name.empty() || name == "." || name == ".." ||
        name.find_first_of("/\\") != std::string::npos) {
        return {};
    }
    return name;
}

bool PrepareProject(const std::filesystem::path& workingDirectory, const std::string& name,
                    const ParameterSet& p, std::string& error) {
    const std::filesystem::path directory = ProjectDirectory(workingDirectory, name);
    std::error_code failure;
    std::filesystem::create_directories(directory, failure);
    if (!std::filesystem::is_directory(directory, failure)) {
        error = "the project directory \"" + directory.string() + "\" cannot be made";
        return false;
    }
    const std::filesystem::path parameters = ResolveInDirectory(directory, name + ".Par");
    if (!std::filesystem::exists(parameters, failure) && !SaveParameterSet(p, parameters)) {
        error = "cannot write \"" + parameters.string() + "\"";
        return false;
    }
    error = ProjectTestTypeRefusal(parameters, name, p.TestType);
    return error.empty();
}

std::unique_ptr<StoreLock> LockWorkingDirectory(const std::filesystem::path& workingDirectory,
                                                std::ostream& err) {
    auto lock = std::make_unique<StoreLock>(workingDirectory, kStoreLockWait);
    if (!lock->Held()) {
        err << "quorvex-cli: " << lock->Message() << "\n";
        return nullptr;
    }
    for (const std::string& removed : RemoveAbandonedTemporaryFiles(workingDirectory)) {
        err << "quorvex-cli: " << removed << "\n";
    }
    return lock;
}

SlotStored StoreSlot1InProject(TestState& state, const std::filesystem::path& workingDirectory,
                               const std::string& name, std::ostream& err) {
    const WorkingDatabases databases = DatabasesOf(workingDirectory);
    for (const std::string& warning : databases.Warnings) err << "quorvex-cli: " << warning << "\n";
    ExportDatabases sink(databases.DatabaseDirectory, workingDirectory, databases.Alias);
    // As at the program's start: rows that waited are sent, and the alias row is written only
    // when the alias database answers now.
    sink.SendPendingAliasRows();
    const bool aliasAvailable = sink.ProbeAlias();
    ParameterSet& p = state.Parameters;
    const std::uint8_t writeAlias = p.WriteAliasTable;
    if (writeAlias && !aliasAvailable) {
        err << "quorvex-cli: the alias database is not available: no WerteZug row\n";
        p.WriteAliasTable = 0;
    }
    ProjectStoreContext context;
    context.WorkingDirectory = workingDirectory;
    context.ProjectName = name;
    context.Today = DateTimeNow();
    const ProjectStoreResult result = StoreSeriesInProject(state, {1}, context, sink);
    p.WriteAliasTable = writeAlias;

    for (const std::string& message : result.Messages) err << "quorvex-cli: " << message << "\n";
    for (const std::string& message : sink.TakeMessages())
        err << "quorvex-cli: " << message << "\n";
    if (const int waiting = sink.PendingAliasRows()) {
        err << "quorvex-cli: " << waiting << " alias row(s) wait in \""
            << (workingDirectory / kAliasOutboxFile).string() << "\"\n";
    }
    if (result.Stored.empty()) {
        err << "quorvex-cli: the test could not be stored in \""
            << ProjectResultsFile(workingDirectory, name).string() << "\"\n";
        return {};
    }
    const int record = result.Stored.front().RecordNumber;
    err << "quorvex-cli: stored as record " << record << " of \""
        << ProjectResultsFile(workingDirectory, name).string() << "\""
        << (result.Complete ? "" : ", incomplete: see above") << "\n";
    return {record, result.Complete};
}

}  // namespace quorvex::cli
