// Parameter set files from the command line.
#include "params_command.h"

#include "evaluation/files.h"
#include "evaluation/parameter_file.h"
#include "json_dump.h"

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
    if (!LoadedOrReported(ReadRecordFile(ResolvePath(file), ParameterSet::kImageSize, image),
                          file, err)) {
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

}  // namespace

void PrintParamsHelp(std::ostream& out) {
    out << "  params defaults FILE     write the default parameter set (6451 bytes) to FILE\n"
           "  params show FILE         print the parameter set in FILE as one JSON object\n"
           "  params resave IN OUT     load IN as the program does at start-up (every load\n"
           "                           repair, the file's ports and language) and save it to OUT\n";
}

int RunParamsCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() == 2 && args[0] == "defaults") return Defaults(args[1], out, err);
    if (args.size() == 2 && args[0] == "show") return Show(args[1], out, err);
    if (args.size() == 3 && args[0] == "resave") return Resave(args[1], args[2], out, err);
    err << "quorvex-cli: usage:\n";
    PrintParamsHelp(err);
    return 2;
}

}  // namespace quorvex::cli
