// Loading, binding and the calls of the IK220 library.
#include "vendor_ik220.h"

#include <cstring>

namespace quorvex {

const std::array<const char*, Ik220Library::kEntryPoints> Ik220Library::kEntryPointNames = {
    "IK220Find",       "IK220Init",         "IK220Version",    "IK220Reset",
    "IK220Start",      "IK220Stop",         "IK220ClearErr",   "IK220Latch",
    "IK220LatchInt",   "IK220LatchExt",     "IK220ResetRef",   "IK220StartRef",
    "IK220StopRef",    "IK220LatchRef",     "IK220Latched",    "IK220WaitLatch",
    "IK220Read32",     "IK220Read48",       "IK220Get32",      "IK220Get48",
    "IK220CntStatus",  "IK220DoRef",        "IK220RefActive",  "IK220WaitRef",
    "IK220CancelRef",  "IK220PositionRef",  "IK220Status",     "IK220DllStatus",
    "IK220RefStatus",  "IK220SignalStatus", "IK220GetCorrA",   "IK220GetCorrB",
    "IK220LoadCorrA",  "IK220OctStatus",    "IK220ChkSumPar",  "IK220ChkSumPrg",
    "IK220WritePar",   "IK220ReadPar",      "IK220ResetEn",    "IK220ConfigEn",
    "IK220ReadEn",     "IK220ReadEnInc",    "IK220ModeEnCont", "IK220ReadEnIncCont",
    "IK220AlarmEn",    "IK220WarnEn",       "IK220ReadMemEn",  "IK220WriteMemEn",
    "IK220ReadSSI",    "IK220ReadSsiInc",   "IK220SetTimer",   "IK220ModeTimer",
    "IK220ModeRam",    "IK220ResetRam",     "IK220GetRam",     "IK220BurstRam",
    "IK220Led",        "IK220SysLed",       "IK220GetPort",    "IK220InputW",
    "IK220InputL",     "IK220Output",       "IK220RamRead",    "IK220RamWrite",
    "IK220DownLoad",   "IK220SetEnClock",   "IK220SetEnData",  "IK220ReadEnData",
    "IK220SetTimeOut", "IK220GetSig",       "IK220BurstSig",
};

bool Ik220Library::Load(std::vector<std::string>& messages) {
    if (!library_.Load()) {
        messages.emplace_back("Error loading IK220 DLL");
        return false;
    }
    for (std::size_t i = 0; i < kEntryPoints; ++i) {
        table_[i] = library_.Resolve(kEntryPointNames[i]);
    }
    if (!table_[0]) messages.emplace_back("Error loading >>IK220Find<< function");
    return true;
}

bool Ik220Library::Unload(std::string& message) {
    table_.fill(nullptr);
    if (library_.Unload()) return true;
    message = "cannot remove " + library_.FileName();
    return false;
}

void* Ik220Library::EntryPoint(const char* name) const {
    for (std::size_t i = 0; i < kEntryPoints; ++i) {
        if (std::strcmp(kEntryPointNames[i], name) == 0) return table_[i];
    }
    return nullptr;
}

void Ik220Library::Init(int axis) {
    if (auto call = reinterpret_cast<AxisCall>(EntryPoint("IK220Init"))) {
        call(static_cast<std::uint16_t>(axis));
    }
}

void Ik220Library::Reset(int axis) {
    if (auto call = reinterpret_cast<AxisCall>(EntryPoint("IK220Reset"))) {
        call(static_cast<std::uint16_t>(axis));
    }
}

void Ik220Library::WriteParameter(int axis, int parameter, long value) {
    if (auto call = reinterpret_cast<WriteParCall>(EntryPoint("IK220WritePar"))) {
        call(static_cast<std::uint16_t>(axis), static_cast<std::uint16_t>(parameter),
             static_cast<std::uint32_t>(value));
    }
}

}  // namespace quorvex
