// Reading and writing the shell's working files.
#include "shell/working_files.h"

#include "evaluation/files.h"
#include "evaluation/parameter_file.h"
#include "evaluation/test_types.h"
#include "store/export_database.h"

namespace quorvex {
QString ReadDatabaseDirectory(const std::filesystem::path& workingDirectory,
                              const QString& programDirectory) {
    return DatabaseDirectoryFromNetConfig(workingDirectory, programDirectory);
}

bool LanguageMarkerExists(const std::filesystem::path& workingDirectory) {
    std::error_code error;
    return std::filesystem::exists(ResolveInDirectory(workingDirectory, kLanguageMarkerFile),
                                   error);
}

bool WriteLanguageMarker(const std::filesystem::path& workingDirectory) {
    std::vector<std::uint8_t> record(kNominalRangesSize, 0);
    ReadRecordFile(ResolveInDirectory(workingDirectory, kNominalRangesFile), kNominalRangesSize,
                   record);
    record.resize(kNominalRangesSize);
    return WriteFileAtomic(ResolveInDirectory(workingDirectory, kLanguageMarkerFile), record);
}

void AssignMeasuringPorts(const ParameterSet& p, AppState& state) {
    state.CaliperPort = MeasuringPort{p.CaliperPort + 1, false};
    // A stored 0 reads as 16, that is no port.
    const int micrometer = p.MicrometerPort == 0 ? 16 : p.MicrometerPort;
    state.MicrometerPort = MeasuringPort{micrometer, false};
}

bool WriteProjectParameterFiles(const ParameterSet& p,
                                const std::filesystem::path& workingDirectory,
                                const QString& projectName) {
    const std::filesystem::path projectDirectory =
        ResolveInDirectory(workingDirectory, projectName.toStdString());
    const std::string ownFile = projectName.toStdString() + ".Par";
    bool ok = SaveParameterSet(p, ResolveInDirectory(projectDirectory, ownFile));

    const std::string typeFile = projectName.toStdString() + ParameterFileExtension(p.TestType);
    const std::filesystem::path typePath = ResolveInDirectory(workingDirectory, typeFile);
    std::error_code error;
    if (!std::filesystem::exists(typePath, error)) ok = SaveParameterSet(p, typePath) && ok;
    return ok;
}

bool WriteWorkingParameterSet(const ParameterSet& p,
                              const std::filesystem::path& workingDirectory) {
    return SaveParameterSet(p, ResolveInDirectory(workingDirectory, kWorkingParameterFile));
}

}  // namespace quorvex
