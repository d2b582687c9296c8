// The records of a results project for scripts: one JSON object per record and line.
#include "project_command.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "evaluation/ascii_export.h"
#include "evaluation/files.h"
#include "evaluation/parameter_set.h"
#include "evaluation/project_store.h"
#include "evaluation/result_elements.h"
#include "json_dump.h"
#ifdef QUORVEX_CLI_DB
#include "project_store_command.h"
#endif

namespace quorvex::cli {
namespace {

int Usage(std::ostream& err) {
    err << "quorvex-cli: usage:\n";
    PrintProjectHelp(err);
    return 2;
}

// "YYYY-MM-DDTHH:MM:SS" of a local date and time in days since 1899-12-30; "" for a value
// that is no date of the years 1899 to 9999.
std::string IsoDateTime(double days) {
    constexpr double kYear10000 = 2958466.0;
    if (!std::isfinite(days) || days < 0 || days >= kYear10000) return "";
    long long seconds = std::llround(days * 86400.0);
    const long long day = seconds / 86400;
    seconds %= 86400;
    char time[16];
    std::snprintf(time, sizeof time, "T%02lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60,
                  seconds % 60);
    return FormatShortDate(static_cast<double>(day), "yyyy-MM-dd") + time;
}

// The JSON writer puts every top-level field on a line of its own; a listing wants one line
// per record. Line breaks inside texts are escaped, so every raw one is layout.
std::string OneLine(const std::string& json) {
    std::string line;
    for (std::size_t i = 0; i < json.size(); ++i) {
        if (json[i] != '\n') {
            line += json[i];
            continue;
        }
        while (i + 1 < json.size() && json[i + 1] == ' ') ++i;
        if (i + 1 < json.size()) line += ' ';
    }
    return line;
}

// The test type of the project's parameter set beside the results file, or -1.
int ProjectTestType(const std::filesystem::path& resultsFile, std::ostream& err) {
    const std::filesystem::path parameters =
        ResolvePath(resultsFile.parent_path() / (resultsFile.stem().string() + ".Par"));
    ByteImage image;
    const LoadResult loaded = ReadRecordFile(parameters, ParameterSet::kImageSize, image);
    if (loaded.status == LoadStatus::Refused) {
        err << "quorvex-cli: " << loaded.message << " The results are listed without names.\n";
    }
    return loaded.Loaded() ? ParameterSetFromImage(image).TestType : -1;
}

std::string RecordJson(int number, const ResultsRecord& record, int testType) {
    ResultsRecord r = record;
    JsonDump json;
    json.Int32(0, "Number", number);
    json.Bool("Deleted", IsDeletedRecord(r));
    json.String(0, "SpecimenNo", r.SpecimenNo, 0);
    json.String(0, "SpecimenId", r.SpecimenId, 0);
    json.String(0, "Date", IsoDateTime(r.Date), 0);
    json.String(0, "Remark", r.Remark, 0);
    json.Int32(0, "CurveNumber", r.CurveNumber);
    // The tensile results under the names of "evaluate"; the file does not say the test type.
    const std::pair<const char*, float*> fields[] = {
        {"ReH", &r.ReH},
        {"ReL", &r.ReL},
        {"Rp", &r.Rp},
        {"Rp2", &r.Rp2},
        {"Rm", &r.Rm},
        {"RatioR1R2", &r.RatioR1R2},
        {"Ag", &r.Ag},
        {"Agt", &r.Agt},
        {"Ac", &r.Ac},
        {"At", &r.At},
        {"Ae", &r.Ae},
        {"Z", &r.Z},
        {"E", &r.E},
        {"r", &r.r},
        {"n", &r.n},
        {"So", &r.So},
        {"Lo", &r.Lo},
        {"GaugeAtAg", &r.GaugeAtAg},
        {"GaugeAtAgt", &r.GaugeAtAgt},
        {"GaugeAtAc", &r.GaugeAtAc},
        {"GaugeAtAt", &r.GaugeAtAt},
    };
    for (const auto& [name, value] : fields) json.Float(0, name, *value);
    FloatArray(json, 0, "Results", r.Results);
    const auto names = ResultElementNames(testType);
    if (!names.empty()) {
        json.BeginObject("ResultElements");
        for (std::size_t i = 0; i < names.size(); ++i) json.Float(0, names[i], r.Results[i]);
        json.EndObject();
    }
    return OneLine(json.Text());
}

int List(const std::string& file, std::ostream& out, std::ostream& err) {
    const std::filesystem::path resultsFile = ResolvePath(file);
    std::error_code status;
    if (std::filesystem::is_directory(resultsFile, status)) {
        err << "quorvex-cli: \"" << file << "\" is a directory, not a results file\n";
        return 1;
    }
    // Any file divides into 544-byte pieces; only the project's NAME.Res holds its records.
    std::string extension = resultsFile.extension().string();
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (extension != ".res") {
        err << "quorvex-cli: \"" << file
            << "\" is not a results file (a project's results are in DIR/NAME.Res)\n";
        return 1;
    }
    const int testType = ProjectTestType(resultsFile, err);
    int damaged = 0;
    const auto count = ReadProjectRecords(resultsFile, [&](int number, const ResultsRecord& r) {
        const std::vector<std::string> fields = DamagedFields(r);
        if (fields.empty()) {
            out << RecordJson(number, r, testType) << "\n";
            return true;
        }
        // A damaged record is named, never printed as numbers that no test gave.
        ++damaged;
        std::string names, quoted;
        for (const std::string& field : fields) {
            names += (names.empty() ? "" : ", ") + field;
            quoted += (quoted.empty() ? "\"" : ", \"") + field + "\"";
        }
        out << "{\"Number\": " << number << ", \"Damaged\": [" << quoted << "]}\n";
        err << "quorvex-cli: record " << number << " of \"" << file
            << "\" is damaged: " << names << " hold no sound number\n";
        return true;
    });
    if (!count) {
        err << "quorvex-cli: cannot open the results file \"" << file << "\"\n";
        return 1;
    }
    // The whole records are listed; the torn bytes of an interrupted write are no test.
    if (!count->Message.empty()) err << "quorvex-cli: " << count->Message << "\n";
    return damaged == 0 ? 0 : 1;
}

}  // namespace

void PrintProjectHelp(std::ostream& out) {
    out << "  project list DIR/NAME.Res\n"
           "                           print every record of a results project file as one\n"
           "                           JSON object per line, deleted records marked\n";
#ifdef QUORVEX_CLI_DB
    PrintProjectStoreHelp(out);
#endif
}

int RunProjectCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() == 2 && args[0] == "list") return List(args[1], out, err);
#ifdef QUORVEX_CLI_DB
    if (!args.empty() && args[0] == "store") {
        return RunProjectStoreCommand({args.begin() + 1, args.end()}, out, err);
    }
#endif
    return Usage(err);
}

}  // namespace quorvex::cli
