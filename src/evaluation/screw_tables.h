// Threads, property classes and the user screw table: how a screw selection becomes the
// stress area As and the designation of a screw tensile test.
#pragma once

#include <array>
#include <filesystem>
#include <string>

#include "files.h"

namespace quorvex {

constexpr const char* kUserScrewTableFile = "Schraubentabelle.Txt";

// Built-in metric ISO threads, size numbers 1..20 (M3 ... M39). Outside 1..20 the texts are
// empty and the areas 1.0.
double CoarseStressArea(int sizeNumber);
double FineStressArea(int sizeNumber);
std::string SizeName(int sizeNumber);
std::string CoarsePitch(int sizeNumber);
std::string FinePitch(int sizeNumber);

// Property classes as the lists show them; index 0 is "ohne Bez." (no class).
constexpr int kIso898ClassCount = 11;
constexpr int kIso3506ClassCount = 24;
std::string Iso898ListItem(int index);
std::string Iso3506ListItem(int index);
// The ISO 898 class of a list index; index 0 (and any index outside the list) gives "".
std::string ClassName(int index);
// The ISO 3506 class of a list index; "" the same way.
std::string StainlessClassName(int index);

struct UserScrewEntry {
    std::string Designation;  // max. 40 characters
    double StressArea = 0.0;  // mm²
};

struct UserScrewTable {
    static constexpr int kCapacity = 500;
    std::array<UserScrewEntry, kCapacity> Entries{};
    int Count = 0;
};

// Ten placeholder entries, then the lines of "Schraubentabelle.Txt" in the directory when it
// exists ("designation;area", one entry per line, at most 500). A missing file keeps the
// placeholders without a message; a file that is no regular file or larger than
// kLargestScrewTable keeps them too, and is refused with a message naming it.
constexpr std::size_t kLargestScrewTable = 1u << 20;
LoadResult LoadScrewTable(UserScrewTable& table, const std::filesystem::path& directory);

// One line of the table file (Windows-1252 bytes, line end removed).
UserScrewEntry ParseScrewTableLine(const std::string& line);

enum class ThreadKind : int { Coarse = 0, Fine = 1, UserTable = 2 };

// What the screw specimen dialog has chosen.
struct ScrewSelection {
    int TestType = 1;             // 1 ISO 898, 2 ISO 3506
    bool WholeScrew = false;      // StressAreaFlag: As of the thread instead of the turned part
    int Kind = 0;                 // ThreadKind
    int ThreadSizeIndex = 0;      // 0..19
    int StrengthClassIndex = 0;   // ISO 898, 0..10
    int StainlessClassIndex = 0;  // ISO 3506, 0..23
    int UserTableRow = 0;         // from 1
    double TurnedDiameter = 0.0;  // do of a turned-down screw, mm
};

// mm²: π do²/4 for a turned-down screw, else the area of the thread or the user entry.
double StressArea(const ScrewSelection& selection, const UserScrewTable& table);

// "M10x1.5", "M10x1.5/8.8" (ISO 898), "A2-70 M10x1.5" (ISO 3506), or a user entry's name.
std::string ScrewDesignation(const ScrewSelection& selection, const UserScrewTable& table);

}  // namespace quorvex
