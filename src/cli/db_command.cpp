// Setting up the export tables and the alias table from the command line.
#include "db_command.h"

#include "store/alias_import.h"

namespace quorvex::cli {
namespace {

int Usage(std::ostream& err) {
    err << "quorvex-cli: usage:\n";
    PrintDbHelp(err);
    return 2;
}

int InitExport(const std::filesystem::path& directory, std::ostream& out, std::ostream& err) {
    std::error_code error;
    if (!std::filesystem::is_directory(directory, error)) {
        err << "quorvex-cli: \"" << directory.string() << "\" is no directory\n";
        return 1;
    }
    const std::string problem = InitExportTables(directory);
    if (!problem.empty()) {
        err << "quorvex-cli: " << problem << "\n";
        return 1;
    }
    out << "the export tables are in \"" << (directory / kExportDatabaseFile).string() << "\"\n";
    return 0;
}

int InitAlias(const std::filesystem::path& directory, std::ostream& out, std::ostream& err) {
    const WorkingDatabases databases = DatabasesOf(directory);
    for (const std::string& warning : databases.Warnings) err << "quorvex-cli: " << warning << "\n";
    if (!databases.Alias.Configured) {
        err << "quorvex-cli: \"" << directory.string()
            << "\" configures no alias database (alias.driver and alias.database in "
               "Quorvex.platform)\n";
        return 1;
    }
    const std::string problem = InitAliasTable(databases.Alias, directory);
    if (!problem.empty()) {
        err << "quorvex-cli: " << problem << "\n";
        return 1;
    }
    out << "the alias tables " << kAliasTable << ", " << kImportSpecimenTable << " and "
        << kImportLimitTable << " are in the alias database\n";
    return 0;
}

}  // namespace

std::filesystem::path ProgramDirectory() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::current_path(error) : self.parent_path();
}

WorkingDatabases DatabasesOf(const std::filesystem::path& workingDirectory) {
    WorkingDatabases databases;
    const QString programDirectory = QString::fromStdU16String(ProgramDirectory().u16string());
    databases.DatabaseDirectory = UsableDatabaseDirectory(
        DatabaseDirectoryFromNetConfig(workingDirectory, programDirectory), workingDirectory);
    AliasSettingsResult alias = LoadAliasSettings(workingDirectory);
    databases.Alias = std::move(alias.Settings);
    databases.Warnings = std::move(alias.Warnings);
    return databases;
}

void PrintDbHelp(std::ostream& out) {
    out << "  db init [DIR]            create the export tables (Data_EN10002 ... Data_DIN50106)\n"
           "                           in the SQLite file of DIR (default: the database\n"
           "                           directory of the current directory); tables already\n"
           "                           there stay as they are\n"
           "  db init --alias [--dir DIR]\n"
           "                           create WerteZug and the import tables\n"
           "                           ImportProbendaten and ImportGrenzwerte in the alias\n"
           "                           database that\n"
           "                           Quorvex.platform in DIR (default: the current directory)\n"
           "                           configures\n";
}

int RunDbCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty() || args[0] != "init") return Usage(err);
    std::error_code error;
    const std::filesystem::path here = std::filesystem::current_path(error);
    if (args.size() >= 2 && args[1] == "--alias") {
        if (args.size() == 2) return InitAlias(here, out, err);
        if (args.size() == 4 && args[2] == "--dir") return InitAlias(args[3], out, err);
        return Usage(err);
    }
    if (args.size() == 1) return InitExport(DatabasesOf(here).DatabaseDirectory, out, err);
    if (args.size() == 2 && args[1].rfind("--", 0) != 0) return InitExport(args[1], out, err);
    return Usage(err);
}

}  // namespace quorvex::cli
