// Nominal ranges, sensor tables, support values and the conversion factors.
#include "calibration.h"

#include <algorithm>
#include <cmath>

#include "evaluation/record_file.h"

namespace quorvex {

LoadResult LoadCalibration(CalibrationRecord& c, const std::filesystem::path& path) {
    return LoadRecordFile(path, c);
}

bool SaveCalibration(const CalibrationRecord& c, const std::filesystem::path& path) {
    CalibrationRecord written = c;
    written.ReservedA = written.ReservedB = 0;
    return SaveRecordFile(path, written);
}

LoadResult LoadSensorTable(SensorTable& t, const std::filesystem::path& path) {
    return LoadRecordFile(path, t);
}

bool SaveSensorTable(const SensorTable& t, const std::filesystem::path& path) {
    return SaveRecordFile(path, t);
}

std::array<std::array<SupportValues::Entry, 9>, 3> SupportValues::DefaultBlocks() {
    static constexpr double kPoints[9] = {1, 2, 5, 10, 20, 40, 60, 80, 100};
    std::array<std::array<Entry, 9>, 3> blocks{};
    for (auto& block : blocks) {
        for (std::size_t e = 0; e < 9; ++e) block[e] = {kPoints[e], kPoints[e] * 1000.0, 1.0};
    }
    return blocks;
}

LoadResult LoadSupportValues(SupportValues& s, const std::filesystem::path& directory) {
    return LoadRecordFile(ResolveInDirectory(directory, kSupportValueFile), s);
}

SelectedSensor SelectSensor(SensorKind kind, SensorTable& table, CalibrationRecord& calibration,
                            const std::filesystem::path& directory, const SensorChooser& choose) {
    const bool loadCell = kind == SensorKind::LoadCell;
    double& nominal = loadCell ? calibration.NominalForce : calibration.NominalStrain;
    const std::filesystem::path path =
        ResolveInDirectory(directory, loadCell ? kLoadCellFile : kExtensometerFile);

    SelectedSensor selected;
    selected.File = LoadSensorTable(table, path);
    if (selected.File.status == LoadStatus::Missing) {
        // Without a table the one sensor of the calibration record is the only one.
        table = SensorTable{};
        table.SensorChannel = {loadCell ? 1 : 3, 0, 0};
        table.SensorNominal = {nominal, 0, 0};
        StoreU32(&table.Carried[48], 1);
        table.SensorCount = 1;
        table.SensorSelected = 1;
        selected.Channel = table.SensorChannel[0];
        return selected;
    }
    if (selected.File.status == LoadStatus::Refused) return selected;

    auto take = [&](int entry) {
        const auto i = static_cast<std::size_t>(entry - 1);
        nominal = table.SensorNominal[i];
        selected.Channel = table.SensorChannel[i];
        selected.CalFactor = table.SensorCalFactor[i];
    };
    // Only usable entries are offered: an entry without a nominal value would make the
    // machine read no force at all.
    const std::vector<SensorEntry> usable = UsableSensors(table);
    if (usable.size() <= 1) {
        take(usable.empty() ? 1 : usable.front().Number);
        return selected;
    }
    const std::optional<int> choice = choose ? choose(usable, table.SensorSelected) : std::nullopt;
    const bool offered =
        choice && std::any_of(usable.begin(), usable.end(),
                              [&](const SensorEntry& e) { return e.Number == *choice; });
    if (offered) {
        table.SensorSelected = *choice;
        take(*choice);
        SaveSensorTable(table, path);
    }
    return selected;
}

std::vector<SensorEntry> UsableSensors(const SensorTable& table) {
    std::vector<SensorEntry> usable;
    for (std::size_t i = 0; i < 3; ++i) {
        if (table.SensorNominal[i] > 0 && table.SensorChannel[i] > 0) {
            usable.push_back({static_cast<int>(i + 1), table.SensorNominal[i]});
        }
    }
    return usable;
}

bool SaveSensors(SensorKind kind, SensorTable& table, const std::array<double, 3>& nominals,
                 const std::array<double, 3>& factors, const std::array<std::int32_t, 3>& channels,
                 const std::filesystem::path& directory) {
    const bool loadCell = kind == SensorKind::LoadCell;
    table.SensorNominal = nominals;
    table.SensorCalFactor = factors;
    // Load cell 1 is always on channel 1; the extensometer table has two entries.
    table.SensorChannel = {loadCell ? 1 : channels[0], channels[1], loadCell ? channels[2] : 0};
    if (!loadCell) {
        table.SensorNominal[2] = 0;
        table.SensorCalFactor[2] = 0;
    }
    table.Reserved12 = 0;
    table.SensorCount = 0;
    for (std::size_t i = 0; i < 3; ++i) {
        if (table.SensorNominal[i] > 0 && table.SensorChannel[i] > 0) ++table.SensorCount;
    }
    return SaveSensorTable(
        table, ResolveInDirectory(directory, loadCell ? kLoadCellFile : kExtensometerFile));
}

namespace {

struct DecimalsClass {
    std::initializer_list<long> values;
    int decimals;
};

// The decimals of the class that holds the value; 2 for every other value.
int DecimalsByClass(long value, std::initializer_list<DecimalsClass> classes) {
    for (const DecimalsClass& c : classes) {
        if (std::find(c.values.begin(), c.values.end(), value) != c.values.end()) return c.decimals;
    }
    return 2;
}

}  // namespace

int ForceDecimalsForNominal(double nominalForceKn) {
    return DecimalsByClass(std::lround(std::nearbyint(nominalForceKn)),
                           {{{1}, 5}, {{10}, 4}, {{20, 25, 50, 100, 120}, 3}, {{2000, 2500}, 1}});
}

int CalibrationForceDecimals(double forceRangeKn) {
    return DecimalsByClass(std::lround(std::nearbyint(forceRangeKn * 10.0)),
                           {{{1}, 5},
                            {{10}, 4},
                            {{20, 25, 50, 100, 120, 200, 250}, 3},
                            {{3000, 3500, 4000, 6000, 20000, 25000}, 1}});
}

ConversionFactors ComputeConversionFactors(const CalibrationRecord& c, const MachineSetupRecord& m,
                                           bool extensometerIncremental, double travelLimitFactor) {
    // An increment count of 0 would divide by zero: the analogue scaling stands in.
    auto perCount = [](bool incremental, std::int32_t increments, double nominal) {
        return incremental && increments > 0 ? 1.0 / increments : nominal / kFullScaleCounts;
    };
    ConversionFactors f;
    f.ForceFactor = c.NominalForce / kFullScaleCounts;
    f.TravelFactor = perCount(m.IncrementalTravel != 0, m.TravelIncrements, c.NominalTravel);
    f.StrainFactor = perCount(extensometerIncremental, m.ExtensometerIncrements, c.NominalStrain);
    f.TransverseFactor =
        perCount(m.TransverseChannel > 4, m.TransverseIncrements, c.NominalTransverse);
    f.ForceLimit = 1.02 * c.NominalForce;
    f.TravelLimit = c.NominalTravel * travelLimitFactor;
    f.ForceDecimals = ForceDecimalsForNominal(c.NominalForce);
    f.StrainDecimals = c.NominalStrain >= 10.0 ? 3 : 4;
    return f;
}

}  // namespace quorvex
