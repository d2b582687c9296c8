// Nominal ranges ("Quorvex.kal"), the load-cell and extensometer tables, the support values,
// and the conversion of counts into kN and mm that follows from them.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

#include "evaluation/byte_image.h"
#include "evaluation/files.h"
#include "machine_setup.h"

namespace quorvex {

constexpr const char* kCalibrationFile = "Quorvex.kal";
constexpr const char* kLoadCellFile = "Messdosen.kal";
constexpr const char* kExtensometerFile = "Dehnungsaufnehmer.kal";
constexpr const char* kSupportValueFile = "Stuetzwerte.kal";

// 30000 counts are the nominal value of a channel.
constexpr double kFullScaleCounts = 30000.0;

struct CalibrationRecord {
    static constexpr std::size_t kImageSize = 41;

    double NominalForce = 300.0;                // kN, of the active load cell
    double NominalTravel = 300.0;               // mm
    double NominalStrain = 2.0;                 // mm, range of the active extensometer
    double NominalTransverse = 3.0;             // mm
    std::int32_t ReservedA = 0, ReservedB = 0;  // always written as 0
    std::uint8_t CalibrationSpare = 0;          // carried

    ByteImage Carried = ByteImage(kImageSize, 0);
};

template <class Io>
void MapFields(Io& io, CalibrationRecord& c) {
    io.Double(0, "NominalForce", c.NominalForce);
    io.Double(8, "NominalTravel", c.NominalTravel);
    io.Double(16, "NominalStrain", c.NominalStrain);
    io.Double(24, "NominalTransverse", c.NominalTransverse);
    io.Int32(32, "ReservedA", c.ReservedA);
    io.Int32(36, "ReservedB", c.ReservedB);
    io.Byte(40, "CalibrationSpare", c.CalibrationSpare);
}

LoadResult LoadCalibration(CalibrationRecord& c, const std::filesystem::path& path);
// The reserved integers are written as 0.
bool SaveCalibration(const CalibrationRecord& c, const std::filesystem::path& path);

// Up to three load cells ("Messdosen.kal") or two extensometers ("Dehnungsaufnehmer.kal").
struct SensorTable {
    static constexpr std::size_t kImageSize = 104;

    std::array<std::int32_t, 3> SensorChannel{};
    std::int32_t Reserved12 = 0;
    std::array<double, 3> SensorNominal{};    // kN or mm
    std::array<double, 3> SensorCalFactor{};  // shown and stored; no reading applies it
    std::int32_t SensorCount = 0;             // usable entries
    std::int32_t SensorSelected = 0;          // 1-based

    ByteImage Carried = ByteImage(kImageSize, 0);
};

template <class Io>
void MapFields(Io& io, SensorTable& t) {
    Int32Array(io, 0, "SensorChannel", t.SensorChannel);
    io.Int32(12, "Reserved12", t.Reserved12);
    DoubleArray(io, 16, "SensorNominal", t.SensorNominal);
    DoubleArray(io, 64, "SensorCalFactor", t.SensorCalFactor);
    io.Int32(96, "SensorCount", t.SensorCount);
    io.Int32(100, "SensorSelected", t.SensorSelected);
}

LoadResult LoadSensorTable(SensorTable& t, const std::filesystem::path& path);
bool SaveSensorTable(const SensorTable& t, const std::filesystem::path& path);

// Three blocks of nine support points for force: point %, point × 1000, correction factor.
struct SupportValues {
    static constexpr std::size_t kImageSize = 648;
    struct Entry {
        double PointPercent = 0, PointTimes1000 = 0, Correction = 1.0;
    };
    std::array<std::array<Entry, 9>, 3> Blocks = DefaultBlocks();
    ByteImage Carried = ByteImage(kImageSize, 0);

    static std::array<std::array<Entry, 9>, 3> DefaultBlocks();
};

template <class Io>
void MapFields(Io& io, SupportValues& s) {
    io.BeginArray("Blocks");
    for (std::size_t b = 0; b < 3; ++b) {
        io.BeginArray("Block");
        for (std::size_t e = 0; e < 9; ++e) {
            const std::size_t offset = (b * 9 + e) * 24;
            io.BeginObject();
            io.Double(offset, "PointPercent", s.Blocks[b][e].PointPercent);
            io.Double(offset + 8, "PointTimes1000", s.Blocks[b][e].PointTimes1000);
            io.Double(offset + 16, "Correction", s.Blocks[b][e].Correction);
            io.EndObject();
        }
        io.EndArray();
    }
    io.EndArray();
}

LoadResult LoadSupportValues(SupportValues& s, const std::filesystem::path& directory);

enum class SensorKind { LoadCell, Extensometer };

// One usable entry of a sensor table: its number (1..3) and nominal value.
struct SensorEntry {
    int Number = 0;
    double Nominal = 0.0;
};

// Asks the operator which sensor to use among the usable entries, the stored selection
// preselected; returns the chosen entry number, or nothing when the dialog was left otherwise.
using SensorChooser =
    std::function<std::optional<int>(const std::vector<SensorEntry>& usable, int preselected)>;

// Entries with a nominal value and a channel above 0, in their order.
std::vector<SensorEntry> UsableSensors(const SensorTable& table);

struct SelectedSensor {
    int Channel = 0;
    double CalFactor = 0.0;
    LoadResult File;  // how the table file was read
};

// The start-up choice of the load cell (or extensometer): the table is read (defaults when the
// file is missing), the single usable entry is taken (entry 1 when none is usable), or the
// operator chooses among several and the table is written back. Sets NominalForce
// (NominalStrain) of the calibration record.
SelectedSensor SelectSensor(SensorKind kind, SensorTable& table, CalibrationRecord& calibration,
                            const std::filesystem::path& directory, const SensorChooser& choose);

// "Kennwerte speichern": nominal values, factors and channels from the setup dialog; the
// count of usable entries (nominal and channel above 0) is recomputed; the selection is kept.
bool SaveSensors(SensorKind kind, SensorTable& table, const std::array<double, 3>& nominals,
                 const std::array<double, 3>& factors, const std::array<std::int32_t, 3>& channels,
                 const std::filesystem::path& directory);

struct ConversionFactors {
    double ForceFactor = 0;       // kN per count
    double TravelFactor = 0;      // mm per count
    double StrainFactor = 0;      // mm per count
    double TransverseFactor = 0;  // mm per count
    double ForceLimit = 0;        // kN: overload above it
    double TravelLimit = 0;       // mm
    int ForceDecimals = 2;
    int StrainDecimals = 4;
};

// extensometerIncremental: the parameter set's extensometer type; travelLimitFactor: the
// fraction of the nominal travel beyond which the overload shutdown fires.
ConversionFactors ComputeConversionFactors(const CalibrationRecord& c, const MachineSetupRecord& m,
                                           bool extensometerIncremental, double travelLimitFactor);

// Decimals of the force display by nominal force in kN (rounded to whole kN).
int ForceDecimalsForNominal(double nominalForceKn);
// Decimals of the calibration dialog by force range in kN (taken × 10 and rounded).
int CalibrationForceDecimals(double forceRangeKn);

}  // namespace quorvex
