// The backup of the system files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "evaluation/files.h"
#include "shell/system_files.h"

namespace quorvex {
namespace {

namespace fs = std::filesystem;

void Write(const fs::path& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

std::string Read(const fs::path& path) {
    const auto bytes = ReadWholeFile(path);
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string("<missing>");
}

TEST(SystemFiles, CopiesEveryFileThatExistsWhateverItsCase) {
    const fs::path root = fs::temp_directory_path() / "quorvex_backup_test";
    fs::remove_all(root);
    const fs::path work = root / "work";
    const fs::path target = root / "backup";
    fs::create_directories(work);
    fs::create_directories(target);
    // Ten of the eleven files, some spelt differently; "Dravon3.pid" is missing.
    const char* present[] = {"QUORVEX.CON",     "Quorvex.Kal",      "Sprache.con",
                             "Dravon.Pid",      "Dravon2.pid",      "Dravon.Set",
                             "Messdosen.Kal",   "Stuetzwerte.kal",  "TdmParameter.set",
                             "Dehnungsaufnehmer.Kal"};
    for (const char* name : present) Write(work / name, std::string(name) + std::string("\0\x01", 2));
    Write(work / "Other.txt", "not a system file");
    Write(target / "Quorvex.Kal", "old");

    EXPECT_EQ(BackupSystemFiles(work, target), 10);
    for (const char* name : present) {
        EXPECT_EQ(Read(target / name), std::string(name) + std::string("\0\x01", 2)) << name;
    }
    EXPECT_FALSE(fs::exists(target / "Dravon3.pid"));
    EXPECT_FALSE(fs::exists(target / "Other.txt"));
    // The backup into the working directory itself copies nothing.
    EXPECT_EQ(BackupSystemFiles(work, work), 0);
    fs::remove_all(root);
}

}  // namespace
}  // namespace quorvex
