// The backup of the system files: the configuration and calibration files of the working
// directory copied into a directory the operator chooses.
#pragma once

#include <array>
#include <filesystem>

namespace quorvex {

constexpr std::array<const char*, 11> kSystemFiles = {
    "Quorvex.con",   "Quorvex.kal",     "Sprache.con",      "Dravon.pid",
    "Dravon2.pid",   "Dravon3.pid",     "Dravon.set",       "Messdosen.kal",
    "Stuetzwerte.kal", "TdmParameter.set", "Dehnungsaufnehmer.kal"};

// Copies each system file found in the working directory (names matched without regard to
// case) byte for byte into the target directory under its own name, replacing a file of the
// same name there. Files that are missing or cannot be read or written are skipped.
// Returns the number of files copied.
int BackupSystemFiles(const std::filesystem::path& workingDirectory,
                      const std::filesystem::path& targetDirectory);

}  // namespace quorvex
