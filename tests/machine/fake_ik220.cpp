// A stand-in for the IK220 library, loaded by the tests at run time like the real one. Built
// twice: with and without the entry point "IK220Find".
#include <cstdint>
#include <string>

namespace {
std::string callLog;

void Log(const std::string& text) {
    if (!callLog.empty()) callLog += ' ';
    callLog += text;
}
}  // namespace

extern "C" {

#ifndef FAKE_IK220_WITHOUT_FIND
int IK220Find(std::uint32_t* buffer) {
    Log("IK220Find");
    if (buffer) *buffer = 0;
    return 1;
}
#endif
int IK220Init(std::uint16_t axis) {
    Log("IK220Init(" + std::to_string(axis) + ")");
    return 1;
}
int IK220Reset(std::uint16_t axis) {
    Log("IK220Reset(" + std::to_string(axis) + ")");
    return 1;
}
int IK220WritePar(std::uint16_t axis, std::uint16_t parameter, std::uint32_t value) {
    Log("IK220WritePar(" + std::to_string(axis) + "," + std::to_string(parameter) + "," +
        std::to_string(value) + ")");
    return 1;
}
int IK220Version(std::uint16_t, char*, char*, char*) {
    return 1;
}

void FakeIk220_Reset() {
    callLog.clear();
}
const char* FakeIk220_TakeLog() {
    static std::string taken;
    taken.swap(callLog);
    callLog.clear();
    return taken.c_str();
}

}  // extern "C"
