// The machine setup record: drive type, controller gains, channel assignments, end switches
// and peripherals of the machine, one file per load cell.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>

#include "evaluation/byte_image.h"
#include "evaluation/files.h"

namespace quorvex {

enum class MachineType : std::uint8_t { Spindle = 0, HydraulicBleedOff = 1, HydraulicInflow = 2 };

struct MachineSetupRecord {
    static constexpr std::size_t kImageSize = 3782;

    std::array<std::int32_t, 4> ForceGainP{};   // at force points F1..F4
    std::array<std::int32_t, 4> TravelGainP{};  // at travel points S1..S4
    std::array<std::int32_t, 4> ForceGainI{};
    std::array<std::int32_t, 4> ForcePoint{};   // 1/10000 % of the nominal force; F1 always 0
    std::array<std::int32_t, 4> TravelPoint{};  // 1/10000 % of the nominal travel; S1 always 0
    std::int32_t ForceGainD = 0, TravelGainI = 0, TravelGainD = 0;
    std::int32_t StrainGainP = 0, StrainGainI = 0, StrainGainD = 0;
    std::uint8_t MachineType = 0;
    double TravelOffset = 0;                  // mm
    double QuickReleasePoint = 0;             // mm, 1..10
    double TdmLeAt10V = 0;                    // TDM gauge length at a set value of 10 V, mm
    std::int32_t AmpVersion = 0;              // 3: TDM through the controller link
    std::int32_t EndSwitchType = 0;           // 0 normally closed, 1 normally open
    std::int32_t ExtensometerIncrements = 0;  // per mm
    std::int32_t ExtensometerChannel = 0;     // 1..5
    std::int32_t ValveOffset = 0;             // 0.1 V
    std::int32_t TransverseChannel = 0;       // 3..10; above 4 incremental
    std::int32_t TransverseIncrements = 0;    // per mm
    std::uint8_t JogInvert = 0, FreeRunInvert = 0, MeasureOnly = 0, RemoteControl = 0;
    std::uint8_t TdmActive = 0, InvertSetValue = 0;
    double UserPosition = 0;  // mm
    std::int32_t TdmCardId = 0, GripCardId = 0;
    std::int32_t TravelIncrements = 0;  // per mm
    std::uint8_t HydraulicGrips = 0, FmaxMonitoring = 0, FiveLimitOff = 0, UseSupportValues = 0;
    std::uint8_t IncrementalTravel = 0, AnalogOutActualValues = 0;

    ByteImage Carried = ByteImage(kImageSize, 0);  // reserved ranges as read
};

template <class Io>
void MapFields(Io& io, MachineSetupRecord& m) {
    Int32Array(io, 0, "ForceGainP", m.ForceGainP);
    Int32Array(io, 16, "TravelGainP", m.TravelGainP);
    Int32Array(io, 32, "ForceGainI", m.ForceGainI);
    Int32Array(io, 48, "ForcePoint", m.ForcePoint);
    Int32Array(io, 64, "TravelPoint", m.TravelPoint);
    io.Int32(96, "ForceGainD", m.ForceGainD);
    io.Int32(100, "TravelGainI", m.TravelGainI);
    io.Int32(104, "TravelGainD", m.TravelGainD);
    io.Int32(108, "StrainGainP", m.StrainGainP);
    io.Int32(112, "StrainGainI", m.StrainGainI);
    io.Int32(116, "StrainGainD", m.StrainGainD);
    io.Byte(120, "MachineType", m.MachineType);
    io.Double(121, "TravelOffset", m.TravelOffset);
    io.Double(129, "QuickReleasePoint", m.QuickReleasePoint);
    io.Double(137, "TdmLeAt10V", m.TdmLeAt10V);
    io.Int32(169, "AmpVersion", m.AmpVersion);
    io.Int32(181, "EndSwitchType", m.EndSwitchType);
    io.Int32(185, "ExtensometerIncrements", m.ExtensometerIncrements);
    io.Int32(193, "ExtensometerChannel", m.ExtensometerChannel);
    io.Int32(197, "ValveOffset", m.ValveOffset);
    io.Int32(201, "TransverseChannel", m.TransverseChannel);
    io.Int32(205, "TransverseIncrements", m.TransverseIncrements);
    io.Byte(209, "JogInvert", m.JogInvert);
    io.Byte(210, "FreeRunInvert", m.FreeRunInvert);
    io.Byte(211, "MeasureOnly", m.MeasureOnly);
    io.Byte(212, "RemoteControl", m.RemoteControl);
    io.Byte(213, "TdmActive", m.TdmActive);
    io.Byte(214, "InvertSetValue", m.InvertSetValue);
    io.Double(216, "UserPosition", m.UserPosition);
    io.Int32(376, "TdmCardId", m.TdmCardId);
    io.Int32(380, "GripCardId", m.GripCardId);
    io.Int32(384, "TravelIncrements", m.TravelIncrements);
    io.Byte(456, "HydraulicGrips", m.HydraulicGrips);
    io.Byte(457, "FmaxMonitoring", m.FmaxMonitoring);
    io.Byte(458, "FiveLimitOff", m.FiveLimitOff);
    io.Byte(459, "UseSupportValues", m.UseSupportValues);
    io.Byte(460, "IncrementalTravel", m.IncrementalTravel);
    io.Byte(474, "AnalogOutActualValues", m.AnalogOutActualValues);
}

// "Dravon.pid", "Dravon2.pid", "Dravon3.pid" for load cells 1..3; empty for any other.
std::string MachineSetupFileName(int loadCell);

// Reads the file of the load cell; an extensometer channel outside 1..6 becomes 1. A missing
// file (or a load cell outside 1..3) leaves the record as it is.
LoadResult LoadMachineSetup(MachineSetupRecord& m, const std::filesystem::path& directory,
                            int loadCell);

// Writes the file of the load cell; nothing for a load cell outside 1..3.
bool SaveMachineSetup(const MachineSetupRecord& m, const std::filesystem::path& directory,
                      int loadCell);

}  // namespace quorvex
