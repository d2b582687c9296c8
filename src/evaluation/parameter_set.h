// The parameter set: every setting of a kind of test in one record of 6451 bytes, the
// format of the working file, the parameter files of each test type and the parameter
// file of a results project.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "byte_image.h"
#include "cross_section.h"

namespace quorvex {

// One results-definition slot (16 bytes).
struct ResultDefinition {
    std::uint8_t Evaluate = 0;       // computed and shown
    std::uint8_t LimitActive = 0;    // limit monitoring on
    std::uint8_t PrintInReport = 0;  // printed in the result report
    float LimitMin = 0;
    float LimitMax = 0;
    std::int32_t Decimals = 0;     // for display, print and rounding
    std::uint8_t PrintInList = 0;  // takes part in the statistics
};

// One stage of the speed programme (25 bytes in binary form).
struct SpeedStage {
    std::uint8_t StageActive = 0;
    double StageFrom = 0.0;           // change point "Ab"
    std::int32_t StageFromUnit = 1;   // 1-based unit code of the change point
    double StageSpeed = 0.0;
    std::int32_t StageSpeedUnit = 1;  // 1-based unit code of the speed
};

constexpr int kResultDefinitionSlots = 30;
constexpr int kSpeedStages = 30;
constexpr int kBinaryStages = 5;  // stages 1-5 in binary form, 6-30 as text

// The default results definition: slots 1-22 for the tensile types, 23-30 empty.
std::array<ResultDefinition, kResultDefinitionSlots> DefaultResultDefinitions();

// Stages 6-30 are stored as the 28 characters "/a/ffffff.fff/u/ssssss.sss/u".
std::string StageText(const SpeedStage& stage);
// A text shorter than 28 characters gives the default stage; values that do not parse stay 0.
SpeedStage ParseStageText(const std::string& text);

struct ParameterSet {
    static constexpr std::size_t kImageSize = 6451;

    std::array<std::string, 10> HeaderLabel;  // max. 50 each
    std::array<std::string, 10> HeaderValue;
    std::array<std::string, 4> TitleLine;
    std::array<ResultDefinition, kResultDefinitionSlots> Results = DefaultResultDefinitions();  // slot n at [n-1]
    std::uint8_t CaliperPort = 1;
    std::uint8_t ControllerPort = 0;
    std::uint8_t SpecimenShape = 0;
    RoundSpecimen Round;
    FlatSpecimen Flat;
    TubeSpecimen Tube;
    MassSpecimen Mass;
    TubeSegmentSpecimen TubeSegment;
    std::uint8_t GaugeKind = 1;
    float EffectiveSo = 78.54f, EffectiveLo = 50, EffectiveLc = 60, GaugeLengthLe = 50;
    std::string SpecimenNo;  // max. 30
    std::string SpecimenId;  // max. 30
    std::int32_t PreloadUnit = 0;                     // 0 kN, 1 N, 2 N/mm²
    std::array<float, 3> PreloadValue{0.2f, 20, 30};  // one per unit
    std::uint8_t DiagramAutoScale = 1, SaveCurves = 1, CurveOffset = 1, DiagramType = 0;
    float ProofStrain = 0.1f, SecondProofStrain = 0.2f, YieldDropMin = 50, FixedModulus = 210000;
    std::uint8_t UseFixedModulus = 0;
    float BreakDropPercent = 60, RminInTest = 80, NominalForceKn = 100, NominalTravelMm = 300;
    float ExtensometerRangeMm = 2, ExtensometerLimitMm = 1.9f;
    std::uint8_t StatMean = 1, StatMinimum = 1, StatMaximum = 1, StatRange = 1, StatStdDev = 1;
    std::uint8_t StatConfidence = 0, StatCount = 0, StatCp = 0, StatCpk = 0;
    std::uint8_t PrintCurveColoured = 1, MachineOffAtEnd = 0, AsciiExport = 1, UseSeparator = 1;
    std::uint8_t DecimalPoint = 0, DecimalComma = 1;
    std::int32_t StartDiagram = 2, MessageTimeSec = 3, UnitSystem = 0;
    float CalibrationTare = 0;
    std::uint8_t ExtensometerIncremental = 0, SecondProofIsRt = 0;
    std::int32_t RatioKind = 1;
    std::uint8_t WriteAliasTable = 0;
    std::array<SpeedStage, kSpeedStages> Stages{};  // the working table of the programme
    double StartPosition = 100.0;
    std::int32_t NValueUpperPercent = 20, RValuePointPercent = 10;
    double HysteresisPercent = 2.0, TransverseRangeMm = 3.0, TransverseLimitMm = 0.0;
    double FilterRange = 80.0, StainlessClassIndex = 0.0, ThirdProofStrain = 0.0;
    double ForceOffset = 0.0, UniversalDivisor = 0.0;
    std::int32_t Language = 0;
    std::int32_t MicrometerPort = 16;
    std::int32_t PreloadTolerancePercent = 5, GripPressurePercent = 30, SequenceTimeoutSec = 20;
    std::int32_t TestType = 0;
    std::int32_t UserTableRow = 0, ThreadKind = 0, ThreadSizeIndex = 0, StrengthClassIndex = 0;
    std::uint8_t StrainByTdm = 0, HysteresisActive = 0, StatLimits = 0, PrintFootnote = 0;
    std::uint8_t StressAreaFlag = 0;
    std::uint8_t AutoSequence = 0, AutoPreload = 0, AutoCloseArms = 0, AutoOpenArms = 0;
    std::uint8_t AutoOpenGrips = 0, AutoMoveTdmLe = 0, AutoReturnStart = 0;
    std::uint8_t AutoSpecimenNo = 0, AutoZeroForce = 0, TensionDirection = 0, HideGrid = 0;
    std::uint8_t StrainFromTravel = 0, ProtectiveDoor = 0, FlexuralThreePoint = 0;
    std::string LogoFile, Footnote, ReportHeading;  // max. 80 each
    double EnergyAxisEnd = 2.0;
    std::array<double, 5> SigStrainPoint{1, 2, 3, 4, 5};  // used as whole percent
    double ProbeTolerance = 1.5, CompressionLimit2 = 0.002;
    double StiffnessDeformation = 0.1, StiffnessForce = 80.0;
    std::array<double, 3> JUnloadData{0.5, 0.2, 30.0};  // start mm, interval mm, unload %
    std::int32_t FmaxLimitPercent = 100, ModulusF1Percent = 10, ModulusF2Percent = 30;
    std::int32_t ModulusMethod = 0;  // 0 automatic, 1 regression between F1 and F2, 2 robust
    std::int32_t BreakChannel = 0, TravelSensorType = 0, EndStage = 1, SpringStage = 0;
    std::int32_t SamplingIndex = 0, ControlDeviation = 1, JUnloadCycles = 50, TestSpace = 1;
    std::uint8_t RawDataExport = 0, ProbeMonitoring = 0, StiffnessCorrection = 0;
    std::uint8_t JIntegralActive = 0;

    // The image the record was read from (or the defaults image): its reserved ranges are
    // carried unchanged into the next save.
    ByteImage Carried = DefaultReservedImage();

    // Zeros with the values that the defaults put into reserved ranges.
    static ByteImage DefaultReservedImage();
};

// The defaults of every field (the default-constructed record).
inline ParameterSet DefaultParameterSet() { return ParameterSet{}; }

template <class Io>
void MapFields(Io& io, ResultDefinition& s, std::size_t offset) {
    io.BeginObject();
    io.Byte(offset + 0, "Evaluate", s.Evaluate);
    io.Byte(offset + 1, "LimitActive", s.LimitActive);
    io.Byte(offset + 2, "PrintInReport", s.PrintInReport);
    io.Float(offset + 3, "LimitMin", s.LimitMin);
    io.Float(offset + 7, "LimitMax", s.LimitMax);
    io.Int32(offset + 11, "Decimals", s.Decimals);
    io.Byte(offset + 15, "PrintInList", s.PrintInList);
    io.EndObject();
}

template <class Io>
void MapFields(Io& io, SpeedStage& s, std::size_t offset) {
    io.BeginObject();
    io.Byte(offset + 0, "StageActive", s.StageActive);
    io.Double(offset + 1, "StageFrom", s.StageFrom);
    io.Int32(offset + 9, "StageFromUnit", s.StageFromUnit);
    io.Double(offset + 13, "StageSpeed", s.StageSpeed);
    io.Int32(offset + 21, "StageSpeedUnit", s.StageSpeedUnit);
    io.EndObject();
}

// The record's fields, each once with its offset.
template <class Io>
void MapFields(Io& io, ParameterSet& p) {
    StringArray(io, 0, "HeaderLabel", p.HeaderLabel, 50);
    StringArray(io, 510, "HeaderValue", p.HeaderValue, 50);
    StringArray(io, 1020, "TitleLine", p.TitleLine, 50);
    io.BeginArray("ResultDefinition");
    for (std::size_t i = 0; i < p.Results.size(); ++i) MapFields(io, p.Results[i], 1224 + 16 * i);
    io.EndArray();
    io.Byte(1704, "CaliperPort", p.CaliperPort);
    io.Byte(1705, "ControllerPort", p.ControllerPort);
    io.Byte(1811, "SpecimenShape", p.SpecimenShape);
    io.BeginArray("RoundSpecimen");
    io.Float(1812, "d", p.Round.d);
    io.Float(1816, "Lo", p.Round.Lo);
    io.Float(1820, "Lc", p.Round.Lc);
    io.Float(1824, "So", p.Round.So);
    io.EndArray();
    io.BeginArray("FlatSpecimen");
    io.Float(1828, "b", p.Flat.b);
    io.Float(1832, "a", p.Flat.a);
    io.Float(1836, "Lo", p.Flat.Lo);
    io.Float(1840, "Lc", p.Flat.Lc);
    io.Float(1844, "So", p.Flat.So);
    io.EndArray();
    io.BeginArray("TubeSpecimen");
    io.Float(1848, "D", p.Tube.D);
    io.Float(1852, "a", p.Tube.a);
    io.Float(1856, "Lo", p.Tube.Lo);
    io.Float(1860, "Lc", p.Tube.Lc);
    io.Float(1864, "So", p.Tube.So);
    io.EndArray();
    io.BeginArray("MassSpecimen");
    io.Float(1868, "rho", p.Mass.rho);
    io.Float(1872, "m", p.Mass.m);
    io.Float(1876, "Lt", p.Mass.Lt);
    io.Float(1880, "Lo", p.Mass.Lo);
    io.Float(1884, "Lv", p.Mass.Lv);
    io.Float(1888, "So", p.Mass.So);
    io.Float(1892, "Further1", p.Mass.Further1);
    io.Float(1896, "Further2", p.Mass.Further2);
    io.EndArray();
    io.BeginArray("TubeSegmentSpecimen");
    io.Float(1900, "a", p.TubeSegment.a);
    io.Float(1904, "b", p.TubeSegment.b);
    io.Float(1908, "D", p.TubeSegment.D);
    io.Float(1912, "Lo", p.TubeSegment.Lo);
    io.Float(1916, "Lv", p.TubeSegment.Lv);
    io.Float(1920, "So", p.TubeSegment.So);
    io.EndArray();
    io.Byte(1924, "GaugeKind", p.GaugeKind);
    io.Float(1925, "EffectiveSo", p.EffectiveSo);
    io.Float(1929, "EffectiveLo", p.EffectiveLo);
    io.Float(1933, "EffectiveLc", p.EffectiveLc);
    io.Float(1937, "GaugeLengthLe", p.GaugeLengthLe);
    io.String(1945, "SpecimenNo", p.SpecimenNo, 30);
    io.String(1976, "SpecimenId", p.SpecimenId, 30);
    io.Int32(2038, "PreloadUnit", p.PreloadUnit);
    FloatArray(io, 2042, "PreloadValue", p.PreloadValue);
    io.Byte(2054, "DiagramAutoScale", p.DiagramAutoScale);
    io.Byte(2055, "SaveCurves", p.SaveCurves);
    io.Byte(2056, "CurveOffset", p.CurveOffset);
    io.Byte(2057, "DiagramType", p.DiagramType);
    io.Float(2058, "ProofStrain", p.ProofStrain);
    io.Float(2062, "SecondProofStrain", p.SecondProofStrain);
    io.Float(2066, "YieldDropMin", p.YieldDropMin);
    io.Float(2070, "FixedModulus", p.FixedModulus);
    io.Byte(2074, "UseFixedModulus", p.UseFixedModulus);
    io.Float(2076, "BreakDropPercent", p.BreakDropPercent);
    io.Float(2080, "RminInTest", p.RminInTest);
    io.Float(2084, "NominalForceKn", p.NominalForceKn);
    io.Float(2088, "NominalTravelMm", p.NominalTravelMm);
    io.Float(2092, "ExtensometerRangeMm", p.ExtensometerRangeMm);
    io.Float(2096, "ExtensometerLimitMm", p.ExtensometerLimitMm);
    io.Byte(2100, "StatMean", p.StatMean);
    io.Byte(2101, "StatMinimum", p.StatMinimum);
    io.Byte(2102, "StatMaximum", p.StatMaximum);
    io.Byte(2103, "StatRange", p.StatRange);
    io.Byte(2104, "StatStdDev", p.StatStdDev);
    io.Byte(2106, "StatConfidence", p.StatConfidence);
    io.Byte(2108, "StatCount", p.StatCount);
    io.Byte(2109, "StatCp", p.StatCp);
    io.Byte(2110, "StatCpk", p.StatCpk);
    io.Byte(2111, "PrintCurveColoured", p.PrintCurveColoured);
    io.Byte(2112, "MachineOffAtEnd", p.MachineOffAtEnd);
    io.Byte(2113, "AsciiExport", p.AsciiExport);
    io.Byte(2114, "UseSeparator", p.UseSeparator);
    io.Byte(2115, "DecimalPoint", p.DecimalPoint);
    io.Byte(2116, "DecimalComma", p.DecimalComma);
    io.Int32(2117, "StartDiagram", p.StartDiagram);
    io.Int32(2121, "MessageTimeSec", p.MessageTimeSec);
    io.Int32(2125, "UnitSystem", p.UnitSystem);
    io.Float(2129, "CalibrationTare", p.CalibrationTare);
    io.Byte(2141, "ExtensometerIncremental", p.ExtensometerIncremental);
    io.Byte(2142, "SecondProofIsRt", p.SecondProofIsRt);
    io.Int32(2143, "RatioKind", p.RatioKind);
    io.Byte(2147, "WriteAliasTable", p.WriteAliasTable);
    io.BeginArray("Stages");
    for (std::size_t i = 0; i < kSpeedStages; ++i) {
        if (i < kBinaryStages) {
            MapFields(io, p.Stages[i], 2148 + 25 * i);
        } else {
            io.StageText(3901 + 51 * (i - kBinaryStages), p.Stages[i]);
        }
    }
    io.EndArray();
    io.Double(2273, "StartPosition", p.StartPosition);
    io.Int32(2285, "NValueUpperPercent", p.NValueUpperPercent);
    io.Int32(2289, "RValuePointPercent", p.RValuePointPercent);
    io.Double(2297, "HysteresisPercent", p.HysteresisPercent);
    io.Double(2305, "TransverseRangeMm", p.TransverseRangeMm);
    io.Double(2313, "TransverseLimitMm", p.TransverseLimitMm);
    io.Double(2321, "FilterRange", p.FilterRange);
    io.Double(2329, "StainlessClassIndex", p.StainlessClassIndex);
    io.Double(2337, "ThirdProofStrain", p.ThirdProofStrain);
    io.Double(2345, "ForceOffset", p.ForceOffset);
    io.Double(2353, "UniversalDivisor", p.UniversalDivisor);
    io.Int32(2377, "Language", p.Language);
    io.Int32(2381, "MicrometerPort", p.MicrometerPort);
    io.Int32(2385, "PreloadTolerancePercent", p.PreloadTolerancePercent);
    io.Int32(2389, "GripPressurePercent", p.GripPressurePercent);
    io.Int32(2393, "SequenceTimeoutSec", p.SequenceTimeoutSec);
    io.Int32(2397, "TestType", p.TestType);
    io.Int32(2401, "UserTableRow", p.UserTableRow);
    io.Int32(2405, "ThreadKind", p.ThreadKind);
    io.Int32(2409, "ThreadSizeIndex", p.ThreadSizeIndex);
    io.Int32(2413, "StrengthClassIndex", p.StrengthClassIndex);
    io.Byte(2417, "StrainByTdm", p.StrainByTdm);
    io.Byte(2418, "HysteresisActive", p.HysteresisActive);
    io.Byte(2419, "StatLimits", p.StatLimits);
    io.Byte(2421, "PrintFootnote", p.PrintFootnote);
    io.Byte(2422, "StressAreaFlag", p.StressAreaFlag);
    io.Byte(2423, "AutoSequence", p.AutoSequence);
    io.Byte(2424, "AutoPreload", p.AutoPreload);
    io.Byte(2425, "AutoCloseArms", p.AutoCloseArms);
    io.Byte(2426, "AutoOpenArms", p.AutoOpenArms);
    io.Byte(2427, "AutoOpenGrips", p.AutoOpenGrips);
    io.Byte(2428, "AutoMoveTdmLe", p.AutoMoveTdmLe);
    io.Byte(2429, "AutoReturnStart", p.AutoReturnStart);
    io.Byte(2430, "AutoSpecimenNo", p.AutoSpecimenNo);
    io.Byte(2431, "AutoZeroForce", p.AutoZeroForce);
    io.Byte(2433, "TensionDirection", p.TensionDirection);
    io.Byte(2434, "HideGrid", p.HideGrid);
    io.Byte(2435, "StrainFromTravel", p.StrainFromTravel);
    io.Byte(2436, "ProtectiveDoor", p.ProtectiveDoor);
    io.Byte(2437, "FlexuralThreePoint", p.FlexuralThreePoint);
    io.String(2441, "LogoFile", p.LogoFile, 80);
    io.String(2522, "Footnote", p.Footnote, 80);
    io.String(2603, "ReportHeading", p.ReportHeading, 80);
    io.Double(3251, "EnergyAxisEnd", p.EnergyAxisEnd);
    DoubleArray(io, 3259, "SigStrainPoint", p.SigStrainPoint);
    io.Double(3299, "ProbeTolerance", p.ProbeTolerance);
    io.Double(3307, "CompressionLimit2", p.CompressionLimit2);
    io.Double(3315, "StiffnessDeformation", p.StiffnessDeformation);
    io.Double(3323, "StiffnessForce", p.StiffnessForce);
    DoubleArray(io, 3331, "JUnloadData", p.JUnloadData);
    io.Int32(3651, "FmaxLimitPercent", p.FmaxLimitPercent);
    io.Int32(3655, "ModulusF1Percent", p.ModulusF1Percent);
    io.Int32(3659, "ModulusF2Percent", p.ModulusF2Percent);
    io.Int32(3663, "ModulusMethod", p.ModulusMethod);
    io.Int32(3667, "BreakChannel", p.BreakChannel);
    io.Int32(3671, "TravelSensorType", p.TravelSensorType);
    io.Int32(3675, "EndStage", p.EndStage);
    io.Int32(3679, "SpringStage", p.SpringStage);
    io.Int32(3683, "SamplingIndex", p.SamplingIndex);
    io.Int32(3687, "ControlDeviation", p.ControlDeviation);
    io.Int32(3691, "JUnloadCycles", p.JUnloadCycles);
    io.Int32(3695, "TestSpace", p.TestSpace);
    io.Byte(3851, "RawDataExport", p.RawDataExport);
    io.Byte(3852, "ProbeMonitoring", p.ProbeMonitoring);
    io.Byte(3853, "StiffnessCorrection", p.StiffnessCorrection);
    io.Byte(3854, "JIntegralActive", p.JIntegralActive);
}

// Reads and writes stages 6-30 in their text form; shared by the image reader and writer.
class ParameterImageReader : public ImageReader {
public:
    using ImageReader::ImageReader;
    void StageText(std::size_t offset, SpeedStage& stage);
};

class ParameterImageWriter : public ImageWriter {
public:
    using ImageWriter::ImageWriter;
    void StageText(std::size_t offset, const SpeedStage& stage);
};

// The record as read from an image of 6451 bytes (no repairs); the image is carried.
ParameterSet ParameterSetFromImage(std::span<const std::uint8_t> image);
// The 6451-byte image of the record over its carried bytes.
ByteImage ParameterSetImage(const ParameterSet& p);

}  // namespace quorvex
