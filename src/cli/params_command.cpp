// Parameter set files from the command line.
#include "params_command.h"

#include <algorithm>
#include <filesystem>

#include "evaluation/files.h"
#include "evaluation/parameter_file.h"
#include "json_dump.h"
#include "parameter_assignment.h"

namespace quorvex::cli {
namespace {

// Reports a load that did not succeed; returns whether it did.
bool LoadedOrReported(const LoadResult& result, const std::string& file, std::ostream& err) {
    if (result.status == LoadStatus::Missing) {
        err << "quorvex-cli: cannot open \"" << file << "\"\n";
    } else if (result.status == LoadStatus::Refused) {
        err << "quorvex-cli: " << result.message << "\n";
    }
    return result.Loaded();
}

int Defaults(const std::string& file, std::ostream& out, std::ostream& err) {
    if (!SaveParameterSet(DefaultParameterSet(), file)) {
        err << "quorvex-cli: cannot write \"" << file << "\"\n";
        return 1;
    }
    out << "wrote the default parameter set to \"" << file << "\"\n";
    return 0;
}

int Show(const std::string& file, std::ostream& out, std::ostream& err) {
    ByteImage image;
    if (!LoadedOrReported(ReadRecordFile(ResolvePath(file), ParameterSet::kImageSize, image), file,
                          err)) {
        return 1;
    }
    ParameterSet p = ParameterSetFromImage(image);
    JsonDump dump;
    MapFields(dump, p);
    out << dump.Text();
    return 0;
}

int Resave(const std::string& in, const std::string& outFile, std::ostream& out,
           std::ostream& err) {
    ParameterSet p = DefaultParameterSet();
    if (!LoadedOrReported(LoadParameterSet(p, in, false), in, err)) return 1;
    if (!SaveParameterSet(p, outFile)) {
        err << "quorvex-cli: cannot write \"" << outFile << "\"\n";
        return 1;
    }
    out << "loaded \"" << in << "\" and saved it to \"" << outFile << "\"\n";
    return 0;
}

// Changes fields in place: the bytes of every other field, reserved ranges included, and
// anything behind the record stay as they were.
int Set(const std::string& file, const std::vector<std::string>& assignments, std::ostream& out,
        std::ostream& err) {
    const std::filesystem::path path = ResolvePath(file);
    auto bytes = ReadWholeFile(path);
    if (!bytes) {
        err << "quorvex-cli: cannot open \"" << file << "\"\n";
        return 1;
    }
    if (bytes->size() < ParameterSet::kImageSize) {
        err << "quorvex-cli: the file \"" << file << "\" is too short (" << bytes->size() << " of "
            << ParameterSet::kImageSize << " bytes); nothing was changed\n";
        return 1;
    }
    ByteImage image(bytes->begin(), bytes->begin() + ParameterSet::kImageSize);
    ParameterSet p = ParameterSetFromImage(image);
    const std::string refused = AssignParameterFields(p, &image, assignments);
    if (!refused.empty()) {
        err << "quorvex-cli: " << refused << "; \"" << file << "\" was not changed\n";
        return 1;
    }
    std::copy(image.begin(), image.end(), bytes->begin());
    if (!WriteFileAtomic(path, *bytes)) {
        err << "quorvex-cli: cannot write \"" << file << "\"; it was not changed\n";
        return 1;
    }
    out << "set " << assignments.size() << (assignments.size() == 1 ? " field" : " fields")
        << " in \"" << file << "\"\n";
    return 0;
}

}  // namespace

void PrintParamsHelp(std::ostream& out) {
    out << "  params defaults FILE     write the default parameter set (6451 bytes) to FILE\n"
           "  params show FILE         print the parameter set in FILE as one JSON object\n"
           "  params resave IN OUT     load IN as the program does at start-up (every load\n"
           "                           repair, the file's ports and language) and save it to OUT\n"
           "  params set FILE FIELD=VALUE...\n"
           "                           change fields of the parameter set file by the names of\n"
           "                           params show (arrays Name[i], their objects Name[i].Field);\n"
           "                           nothing is written when one value does not fit its field\n";
}

int RunParamsCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() == 2 && args[0] == "defaults") return Defaults(args[1], out, err);
    if (args.size() == 2 && args[0] == "show") return Show(args[1], out, err);
    if (args.size() == 3 && args[0] == "resave") return Resave(args[1], args[2], out, err);
    if (args.size() >= 3 && args[0] == "set") {
        return Set(args[1], {args.begin() + 2, args.end()}, out, err);
    }
    err << "quorvex-cli: usage:\n";
    PrintParamsHelp(err);
    return 2;
}

}  // namespace quorvex::cli
