// Machine setup files per load cell.
#include "machine_setup.h"

#include "evaluation/record_file.h"

namespace quorvex {

std::string MachineSetupFileName(int loadCell) {
    switch (loadCell) {
        case 1:
            return "Dravon.pid";
        case 2:
            return "Dravon2.pid";
        case 3:
            return "Dravon3.pid";
        default:
            return "";
    }
}

LoadResult LoadMachineSetup(MachineSetupRecord& m, const std::filesystem::path& directory,
                            int loadCell) {
    const std::string name = MachineSetupFileName(loadCell);
    if (name.empty()) return {LoadStatus::Missing, {}};
    LoadResult result = LoadRecordFile(ResolveInDirectory(directory, name), m);
    if (result.Loaded() && (m.ExtensometerChannel < 1 || m.ExtensometerChannel > 6)) {
        m.ExtensometerChannel = 1;
    }
    return result;
}

bool SaveMachineSetup(const MachineSetupRecord& m, const std::filesystem::path& directory,
                      int loadCell) {
    const std::string name = MachineSetupFileName(loadCell);
    return !name.empty() && SaveRecordFile(ResolveInDirectory(directory, name), m);
}

}  // namespace quorvex
