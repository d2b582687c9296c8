// Setting up the export tables and the alias table from the command line, and reading the
// stored tests of every machine back from the export database.
#include "db_command.h"

#include <QDate>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <map>
#include <optional>
#include <set>

#include "evaluation/results_record.h"
#include "store/alias_import.h"
#include "store/results_table.h"
#ifdef QUORVEX_CLI_REPORT
#include "report_command.h"
#endif

namespace quorvex::cli {
namespace {

int Usage(std::ostream& err) {
    err << "quorvex-cli: usage:\n";
    PrintDbHelp(err);
    return 2;
}

void PrintWarnings(const DatabaseSetup& setup, std::ostream& err) {
    for (const std::string& warning : setup.Warnings) err << "quorvex-cli: " << warning << "\n";
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

// The export database that Quorvex.platform (or NET.CFG) of the directory names.
int InitExportOf(const std::filesystem::path& directory, const std::string& role,
                 std::ostream& out, std::ostream& err) {
    std::error_code error;
    if (!std::filesystem::is_directory(directory, error)) {
        err << "quorvex-cli: \"" << directory.string() << "\" is no directory\n";
        return 1;
    }
    const DatabaseSetup setup = DatabaseSetupOf(directory, ProgramDirectoryText());
    PrintWarnings(setup, err);
    const std::string problem = InitExportDatabase(setup);
    if (!problem.empty()) {
        err << "quorvex-cli: " << problem << "\n";
        return 1;
    }
    out << "the export tables and " << kResultsTable << " are in the export database "
        << DescribeExportDatabase(setup) << "\n";
    if (setup.Export.Configured && setup.Export.Driver == QLatin1String("postgresql")) {
        out << InsertOnlyGrants(role, setup.Export.Database.toStdString());
    } else {
        ExportDatabases databases(setup);
        if (const std::string warning = databases.NetworkFileSystemWarning(); !warning.empty()) {
            err << "quorvex-cli: " << warning << "\n";
        }
    }
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

struct ListOptions {
    std::filesystem::path Directory;
    StoredTestFilter Filter;
    std::string PdfFile;
};

bool IsDay(const std::string& text) {
    return text.size() == 10 &&
           QDate::fromString(QString::fromStdString(text), Qt::ISODate).isValid();
}

// "--dir DIR --machine M --project P --type T --from D --to D [--pdf OUT]"
bool ParseListOptions(const std::vector<std::string>& args, bool pdf, ListOptions& o,
                      std::ostream& err) {
    std::error_code error;
    o.Directory = std::filesystem::current_path(error);
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (i + 1 >= args.size()) {
            err << "quorvex-cli: " << option << " without a value\n";
            return false;
        }
        const std::string& value = args[++i];
        if (option == "--dir") {
            o.Directory = value;
        } else if (option == "--machine") {
            o.Filter.Machine = value;
        } else if (option == "--project") {
            o.Filter.Project = value;
        } else if (option == "--type") {
            if (value.empty() || value.size() > 1 || value[0] < '0' || value[0] > '9') {
                err << "quorvex-cli: --type \"" << value << "\" is no test type (0 ... 9)\n";
                return false;
            }
            o.Filter.TestType = value[0] - '0';
        } else if (option == "--from" || option == "--to") {
            if (!IsDay(value)) {
                err << "quorvex-cli: " << option << " \"" << value
                    << "\" is no day (YYYY-MM-DD)\n";
                return false;
            }
            (option == "--from" ? o.Filter.FromDay : o.Filter.ToDay) = value;
        } else if (option == "--pdf" && pdf) {
            o.PdfFile = value;
        } else {
            err << "quorvex-cli: unknown option \"" << option << "\"\n";
            return false;
        }
    }
    if (pdf && o.PdfFile.empty()) {
        err << "quorvex-cli: db report needs --pdf OUT\n";
        return false;
    }
    if (!std::filesystem::is_directory(o.Directory, error)) {
        err << "quorvex-cli: \"" << o.Directory.string() << "\" is no directory\n";
        return false;
    }
    return true;
}

std::optional<std::vector<StoredTest>> ReadTests(const ListOptions& o, std::ostream& err) {
    const DatabaseSetup setup = DatabaseSetupOf(o.Directory, ProgramDirectoryText());
    PrintWarnings(setup, err);
    std::string error;
    std::vector<StoredTest> tests = ListExportDatabase(setup, o.Filter, error);
    if (!error.empty()) {
        err << "quorvex-cli: " << error << "\n";
        return std::nullopt;
    }
    return tests;
}

QString Q(const std::string& text) { return QString::fromStdString(text); }

int List(const ListOptions& o, std::ostream& out, std::ostream& err) {
    const std::optional<std::vector<StoredTest>> tests = ReadTests(o, err);
    if (!tests) return 1;
    for (const StoredTest& t : *tests) {
        QJsonObject line;
        line.insert(QLatin1String("TestId"), Q(t.TestId));
        line.insert(QLatin1String("Machine"), Q(t.Machine));
        line.insert(QLatin1String("Project"), Q(t.Project));
        line.insert(QLatin1String("Record"), t.RecordNumber);
        line.insert(QLatin1String("TestType"), t.TestType);
        line.insert(QLatin1String("TestTime"), Q(t.TestTime));
        line.insert(QLatin1String("StoredOn"), Q(t.StoredOn));
        line.insert(QLatin1String("SpecimenNo"), Q(t.SpecimenNo));
        line.insert(QLatin1String("SpecimenId"), Q(t.SpecimenId));
        line.insert(QLatin1String("Remark"), Q(t.Remark));
        line.insert(QLatin1String("Results"),
                    QJsonDocument::fromJson(QByteArray::fromStdString(t.ResultsJson)).object());
        QJsonArray header;
        for (const std::string& h : t.Header) header.append(Q(h));
        line.insert(QLatin1String("Header"), header);
        out << QJsonDocument(line).toJson(QJsonDocument::Compact).toStdString() << "\n";
    }
    return 0;
}

int Report(const ListOptions& o, std::ostream& out, std::ostream& err) {
#ifdef QUORVEX_CLI_REPORT
    const std::optional<std::vector<StoredTest>> tests = ReadTests(o, err);
    if (!tests) return 1;
    std::set<int> types;
    std::vector<ResultsRecord> records;
    for (const StoredTest& t : *tests) {
        if (t.RecordImage.size() != ResultsRecord::kImageSize) {
            err << "quorvex-cli: test \"" << t.TestId << "\" has no whole record: left out\n";
            continue;
        }
        types.insert(t.TestType);
        records.push_back(ResultsRecordFromImage(t.RecordImage));
    }
    if (records.empty()) {
        err << "quorvex-cli: no stored test to print\n";
        return 1;
    }
    if (types.size() > 1) {
        err << "quorvex-cli: the tests are of several test types (";
        for (auto it = types.begin(); it != types.end(); ++it) {
            err << (it == types.begin() ? "" : ", ") << *it;
        }
        err << "): choose one with --type\n";
        return 1;
    }
    ParameterSet p = DefaultParameterSet();
    p.TestType = *types.begin();
    // The printout carries the header lines of the last listed test, as the editor's does.
    p.HeaderValue = tests->back().Header;
    return WriteRecordsReport(p, records, o.PdfFile, out, err);
#else
    (void)o;
    (void)out;
    err << "quorvex-cli: this build has no printed report\n";
    return 1;
#endif
}

}  // namespace

std::filesystem::path ProgramDirectory() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::current_path(error) : self.parent_path();
}

QString ProgramDirectoryText() {
    return QString::fromStdU16String(ProgramDirectory().u16string());
}

WorkingDatabases DatabasesOf(const std::filesystem::path& workingDirectory) {
    WorkingDatabases databases;
    databases.DatabaseDirectory = UsableDatabaseDirectory(
        DatabaseDirectoryFromNetConfig(workingDirectory, ProgramDirectoryText()),
        workingDirectory);
    AliasSettingsResult alias = LoadAliasSettings(workingDirectory);
    databases.Alias = std::move(alias.Settings);
    databases.Warnings = std::move(alias.Warnings);
    return databases;
}

void PrintDbHelp(std::ostream& out) {
    out << "  db init [DIR]            create the export tables (Data_EN10002 ... Data_DIN50106)\n"
           "                           and quorvex_results in the SQLite file of DIR (default:\n"
           "                           the database directory of the current directory);\n"
           "                           tables already there stay as they are\n"
           "  db init --export [--dir DIR] [--role ROLE]\n"
           "                           the same in the export database that Quorvex.platform\n"
           "                           (export.*) or NET.CFG in DIR names; for a PostgreSQL\n"
           "                           server it prints the GRANT statements of a role that\n"
           "                           may only insert (ROLE, default quorvex_writer)\n"
           "  db init --alias [--dir DIR]\n"
           "                           create WerteZug and the import tables\n"
           "                           ImportProbendaten and ImportGrenzwerte in the alias\n"
           "                           database that\n"
           "                           Quorvex.platform in DIR (default: the current directory)\n"
           "                           configures\n"
           "  db list [--dir DIR] [--machine M] [--project P] [--type T] [--from D] [--to D]\n"
           "                           one JSON line per stored test of the export database\n"
           "                           (every machine's), by test date (D: YYYY-MM-DD)\n"
           "  db report [--dir DIR] [the options of db list] --pdf OUT\n"
           "                           the printed results list of those tests (one test type)\n";
}

int RunDbCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) return Usage(err);
    if (args[0] == "list" || args[0] == "report") {
        ListOptions options;
        const bool report = args[0] == "report";
        if (!ParseListOptions(args, report, options, err)) return Usage(err);
        return report ? Report(options, out, err) : List(options, out, err);
    }
    if (args[0] != "init") return Usage(err);
    std::error_code error;
    const std::filesystem::path here = std::filesystem::current_path(error);
    if (args.size() >= 2 && args[1] == "--alias") {
        if (args.size() == 2) return InitAlias(here, out, err);
        if (args.size() == 4 && args[2] == "--dir") return InitAlias(args[3], out, err);
        return Usage(err);
    }
    if (args.size() >= 2 && args[1] == "--export") {
        std::filesystem::path directory = here;
        std::string role = "quorvex_writer";
        for (std::size_t i = 2; i < args.size(); i += 2) {
            if (i + 1 >= args.size()) return Usage(err);
            if (args[i] == "--dir") {
                directory = args[i + 1];
            } else if (args[i] == "--role" && !args[i + 1].empty()) {
                role = args[i + 1];
            } else {
                return Usage(err);
            }
        }
        return InitExportOf(directory, role, out, err);
    }
    if (args.size() == 1) return InitExport(DatabasesOf(here).DatabaseDirectory, out, err);
    if (args.size() == 2 && args[1].rfind("--", 0) != 0) return InitExport(args[1], out, err);
    return Usage(err);
}

}  // namespace quorvex::cli
