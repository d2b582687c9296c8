// The built-in thread and class tables and the user screw table file.
#include "screw_tables.h"

#include <numbers>

#include "files.h"
#include "text_functions.h"
#include "win1252.h"

namespace quorvex {
namespace {

struct Thread {
    const char* size;
    const char* coarsePitch;
    double coarseArea;
    const char* finePitch;
    double fineArea;
};

// M3 to M7 have no fine thread of their own: their fine entries repeat the coarse ones.
constexpr std::array<Thread, 20> kThreads = {{
    {"M3", "x0.5", 5.03, "x0.5", 5.03},   {"M3.5", "x0.6", 6.78, "x0.6", 6.78},
    {"M4", "x0.7", 8.78, "x0.7", 8.78},   {"M5", "x0.8", 14.2, "x0.8", 14.2},
    {"M6", "x1", 20.1, "x1", 20.1},       {"M7", "x1", 28.9, "x1", 28.9},
    {"M8", "x1.25", 36.6, "x1", 39.2},    {"M10", "x1.5", 58, "x1", 64.5},
    {"M12", "x1.75", 84.3, "x1.5", 88.1}, {"M14", "x2", 115, "x1.5", 125},
    {"M16", "x2", 157, "x1.5", 167},      {"M18", "x2.5", 192, "x1.5", 216},
    {"M20", "x2.5", 245, "x1.5", 272},    {"M22", "x2.5", 303, "x1.5", 333},
    {"M24", "x3", 353, "x2", 384},        {"M27", "x3", 459, "x2", 496},
    {"M30", "x3.5", 561, "x2", 621},      {"M33", "x3.5", 694, "x2", 761},
    {"M36", "x4", 817, "x3", 865},        {"M39", "x4", 976, "x3", 1030},
}};

constexpr std::array<const char*, kIso898ClassCount> kIso898 = {
    "ohne Bez.", "3.6", "4.6", "4.8", "5.6", "5.8", "6.8", "8.8", "9.8", "10.9", "12.9"};

constexpr std::array<const char*, kIso3506ClassCount> kIso3506 = {
    "ohne Bez.", "A1-50", "A1-70",  "A1-80", "A2-50", "A2-70", "A2-80", "A3-50",
    "A3-70",     "A3-80", "A4-50",  "A4-70", "A4-80", "A5-50", "A5-70", "A5-80",
    "C1-50",     "C1-70", "C1-110", "C3-80", "C4-50", "C4-70", "F1-45", "F1-60"};

const Thread* ThreadOf(int sizeNumber) {
    return sizeNumber >= 1 && sizeNumber <= 20 ? &kThreads[static_cast<std::size_t>(sizeNumber - 1)]
                                               : nullptr;
}

template <std::size_t N>
std::string ListItem(const std::array<const char*, N>& list, int index) {
    return index >= 0 && index < static_cast<int>(N) ? list[static_cast<std::size_t>(index)] : "";
}

}  // namespace

double CoarseStressArea(int n) {
    return ThreadOf(n) ? ThreadOf(n)->coarseArea : 1.0;
}
double FineStressArea(int n) {
    return ThreadOf(n) ? ThreadOf(n)->fineArea : 1.0;
}
std::string SizeName(int n) {
    return ThreadOf(n) ? ThreadOf(n)->size : "";
}
std::string CoarsePitch(int n) {
    return ThreadOf(n) ? ThreadOf(n)->coarsePitch : "";
}
std::string FinePitch(int n) {
    return ThreadOf(n) ? ThreadOf(n)->finePitch : "";
}

std::string Iso898ListItem(int index) {
    return ListItem(kIso898, index);
}
std::string Iso3506ListItem(int index) {
    return ListItem(kIso3506, index);
}
std::string ClassName(int index) {
    return index > 0 ? Iso898ListItem(index) : "";
}
std::string StainlessClassName(int index) {
    return index > 0 ? Iso3506ListItem(index) : "";
}

UserScrewEntry ParseScrewTableLine(const std::string& line) {
    const auto separator = line.find(';');
    UserScrewEntry entry;
    if (separator != std::string::npos) {
        entry.Designation = Utf8Left(Win1252ToUtf8(line.substr(0, separator)), 40);
    }
    const std::string rest = separator == std::string::npos ? line : line.substr(separator + 1);
    // An area that does not convert stays 0: the evaluation refuses a cross-section of 0.
    entry.StressArea = ParseNumber(ExtractNumberText(rest));
    return entry;
}

LoadResult LoadScrewTable(UserScrewTable& table, const std::filesystem::path& directory) {
    table.Entries.fill(UserScrewEntry{});
    for (int k = 1; k <= 10; ++k) {
        std::string name = std::to_string(k);
        name.append(12 - name.size(), 'A');
        table.Entries[static_cast<std::size_t>(k - 1)] = {name, static_cast<double>(k)};
    }
    table.Count = 10;

    const FileBytes read = ReadFileBytes(ResolveInDirectory(directory, kUserScrewTableFile),
                                         kLargestScrewTable, Beyond::Refused);
    if (!read.Status.Loaded()) return read.Status;
    std::string_view text(reinterpret_cast<const char*>(read.Bytes.data()), read.Bytes.size());
    int count = 0;
    while (count < UserScrewTable::kCapacity && !text.empty()) {
        const std::size_t end = text.find('\n');
        std::string line(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        table.Entries[static_cast<std::size_t>(count++)] = ParseScrewTableLine(line);
    }
    table.Count = count;
    return read.Status;
}

double StressArea(const ScrewSelection& s, const UserScrewTable& table) {
    if (!s.WholeScrew) return std::numbers::pi * s.TurnedDiameter * s.TurnedDiameter / 4.0;
    switch (static_cast<ThreadKind>(s.Kind)) {
        case ThreadKind::Coarse:
            return CoarseStressArea(s.ThreadSizeIndex + 1);
        case ThreadKind::Fine:
            return FineStressArea(s.ThreadSizeIndex + 1);
        case ThreadKind::UserTable:
            if (s.UserTableRow >= 1 && s.UserTableRow <= table.Count) {
                return table.Entries[static_cast<std::size_t>(s.UserTableRow - 1)].StressArea;
            }
            return 1.0;
    }
    return 1.0;
}

std::string ScrewDesignation(const ScrewSelection& s, const UserScrewTable& table) {
    if (s.Kind == static_cast<int>(ThreadKind::UserTable)) {
        if (s.UserTableRow >= 1 && s.UserTableRow <= table.Count) {
            return table.Entries[static_cast<std::size_t>(s.UserTableRow - 1)].Designation;
        }
        return "";
    }
    const int n = s.ThreadSizeIndex + 1;
    std::string designation = SizeName(n) + (s.Kind == 1 ? FinePitch(n) : CoarsePitch(n));
    if (s.TestType == 1 && s.StrengthClassIndex > 0) {
        designation += "/" + ClassName(s.StrengthClassIndex);
    }
    if (s.TestType == 2 && s.StainlessClassIndex > 0) {
        designation = StainlessClassName(s.StainlessClassIndex) + " " + designation;
    }
    return designation;
}

}  // namespace quorvex
