// How long the editor waits for a results project of 100 000 records: a filtered scan timed
// against reading the same file with cat. Exit code 1 when the scan takes more than three
// times as long as cat.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "evaluation/project_store.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRecords = 100000;
constexpr int kRounds = 7;

double Milliseconds(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// The best of several rounds: the file is in the page cache for both readers.
template <class Run>
double Best(Run run) {
    double best = 1e300;
    for (int i = 0; i < kRounds; ++i) {
        const auto start = Clock::now();
        run();
        best = std::min(best, Milliseconds(Clock::now() - start));
    }
    return best;
}

void WriteProject(const std::filesystem::path& file) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    quorvex::ResultsRecord r;
    for (int n = 1; n <= kRecords; ++n) {
        r.SpecimenNo = "P" + std::to_string(n);
        r.SpecimenId = n % 2 ? "Charge A" : "Charge B";
        r.Date = 45000 + n % 1000 + 0.5;
        r.Lo = 50;
        r.Rm = 400.0f + static_cast<float>(n % 200);
        r.RecordNumber = n;
        r.Results[49] = n % 50 == 0 ? quorvex::kDeletionMark : 0.0f;
        const quorvex::ByteImage image = quorvex::ResultsRecordImage(r);
        out.write(reinterpret_cast<const char*>(image.data()),
                  static_cast<std::streamsize>(image.size()));
    }
}

}  // namespace

int main() {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / "quorvex_project_scan_benchmark";
    std::filesystem::create_directories(dir);
    const std::filesystem::path file = dir / "Bench.Res";
    WriteProject(file);

    quorvex::RecordFilter filter;
    filter.ShowAll = false;
    filter.BySpecimenNo = true;
    filter.SpecimenNoPattern = "12*";
    filter.ByDate = true;
    filter.FromDay = 45100;
    filter.ToDay = 45599;
    int listed = 0;
    const auto scan = [&](const quorvex::RecordFilter& f) {
        listed = 0;
        quorvex::ScanProject(file, f, [&](int, const quorvex::ResultsRecord&) {
            ++listed;
            return true;
        });
    };

    const std::string command = "cat '" + file.string() + "' > /dev/null";
    const double catMs = Best([&] {
        if (std::system(command.c_str()) != 0) std::fprintf(stderr, "cat failed\n");
    });
    const double scanMs = Best([&] { scan(filter); });
    const int filtered = listed;
    const double allMs = Best([&] { scan(quorvex::RecordFilter{}); });
    std::filesystem::remove_all(dir);

    std::printf("%d records, %.1f MB\n", kRecords, kRecords * 544 / 1e6);
    std::printf("cat FILE > /dev/null:               %8.2f ms\n", catMs);
    std::printf("scan, \"12*\" and 500 days (%5d):   %8.2f ms  (%.2f x cat)\n", filtered, scanMs,
                scanMs / catMs);
    std::printf("scan, all records (%5d):           %8.2f ms  (%.2f x cat)\n", listed, allMs,
                allMs / catMs);
    const bool fastEnough = scanMs <= 3 * catMs;
    std::printf("%s\n", fastEnough ? "the filtered scan takes at most 3 x cat"
                                   : "the filtered scan takes more than 3 x cat");
    return fastEnough ? 0 : 1;
}
