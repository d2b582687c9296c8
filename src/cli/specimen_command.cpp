// Specimen files from the command line: what F3 would load, as JSON.
#include "specimen_command.h"

#include "evaluation/files.h"
#include "evaluation/test_files.h"
#include "json_dump.h"

namespace quorvex::cli {
namespace {

int Show(const std::string& file, std::ostream& out, std::ostream& err) {
    ParameterSet p = DefaultParameterSet();
    const LoadResult load = LoadSpecimenFile(file, p);
    if (load.status == LoadStatus::Missing) {
        err << "quorvex-cli: cannot open \"" << file << "\"\n";
        return 1;
    }
    if (!load.Loaded()) {
        err << "quorvex-cli: " << load.message << "\n";
        return 1;
    }
    SpecimenRecord record{&p};
    JsonDump dump;
    MapFields(dump, record);
    out << dump.Text();
    return 0;
}

}  // namespace

void PrintSpecimenHelp(std::ostream& out) {
    out << "  specimen show FILE.pro   print the specimen file (header lines, shape, the five shape\n"
           "                           blocks, gauge kind, effective So/Lo/Lc, Le, number and id)\n"
           "                           as one JSON object\n";
}

int RunSpecimenCommand(const std::vector<std::string>& args, std::ostream& out,
                       std::ostream& err) {
    if (args.size() == 2 && args[0] == "show") return Show(args[1], out, err);
    err << "quorvex-cli: usage: quorvex-cli specimen show FILE.pro\n";
    return 2;
}

}  // namespace quorvex::cli
