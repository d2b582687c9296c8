// A stand-in for the PCI-DASK library, loaded by the tests at run time like the real one: it
// hands out card handles in registration order and logs every call.
#include <cstdint>
#include <cstdio>
#include <string>

namespace {
std::string callLog;
std::int16_t nextHandle = 0;
std::uint16_t sample = 0;

void Log(const char* format, unsigned a, unsigned b = 0, unsigned c = 0, unsigned d = 0) {
    char text[96];
    std::snprintf(text, sizeof text, format, a, b, c, d);
    if (!callLog.empty()) callLog += ' ';
    callLog += text;
}
}  // namespace

extern "C" {

std::int16_t Register_Card(std::uint16_t type, std::uint16_t number) {
    Log("Register_Card(%u,%u)", type, number);
    return nextHandle++;
}
std::int16_t Release_Card(std::uint16_t card) {
    Log("Release_Card(%u)", card);
    return 0;
}
std::int16_t AI_9111_Config(std::uint16_t card, std::uint16_t source, std::uint16_t mode,
                            std::uint16_t count) {
    Log("AI_9111_Config(%u,%u,%u,%u)", card, source, mode, count);
    return 0;
}
std::int16_t AO_9111_Config(std::uint16_t card, std::uint16_t reference) {
    Log("AO_9111_Config(%u,%u)", card, reference);
    return 0;
}
std::int16_t EDO_9111_Config(std::uint16_t card, std::uint16_t function) {
    Log("EDO_9111_Config(%u,%u)", card, function);
    return 0;
}
std::int16_t AI_ReadChannel(std::uint16_t card, std::uint16_t channel, std::uint16_t range,
                            std::uint16_t* value) {
    Log("AI_ReadChannel(%u,%u,%u)", card, channel, range);
    *value = sample;
    return 0;
}
std::int16_t DO_WritePort(std::uint16_t card, std::uint16_t port, std::uint32_t value) {
    Log("DO_WritePort(%u,%u,%u)", card, port, value);
    return 0;
}
std::int16_t AO_VWriteChannel(std::uint16_t card, std::uint16_t channel, double volts) {
    Log("AO_VWriteChannel(%u,%u,%u)", card, channel, static_cast<unsigned>(volts * 1000));
    return 0;
}

// For the tests only.
const char* FakeDask_TakeLog() {
    static std::string taken;
    taken.swap(callLog);
    callLog.clear();
    return taken.c_str();
}
void FakeDask_SetSample(std::uint16_t value) {
    sample = value;
}
void FakeDask_Reset() {
    callLog.clear();
    nextHandle = 0;
    sample = 0;
}

}  // extern "C"
