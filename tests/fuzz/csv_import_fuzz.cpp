// The CSV import of "curve import": whatever the bytes, it writes a curve or refuses; what it
// writes holds at least one sample, only finite numbers, and reads back as a curve.
#include <cmath>
#include <cstdlib>
#include <memory>
#include <sstream>

#include "curve_command.h"
#include "evaluation/curve_file.h"
#include "evaluation/test_state.h"
#include "fuzz_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quorvex;
    const auto csv = fuzz::WriteInput("c.csv", data, size);
    const auto curve = csv.parent_path() / "c.Dia";
    std::filesystem::remove(curve);
    std::ostringstream out, err;
    const int code = cli::RunCurveCommand({"import", csv.string(), curve.string(), "--So", "20"}, out, err);
    if (code != 0) {
        if (std::filesystem::exists(curve)) std::abort();  // a refusal writes nothing
        return 0;
    }
    auto state = std::make_unique<TestState>();
    if (!ReadCurveFile(curve, state->Parameters, state->Buffer, state->Marks).Loaded()) std::abort();
    CurveFileContent content;
    if (!ParseCurveFile(curve, content).Loaded() || content.Samples.empty()) std::abort();
    for (const CurveFileSample& s : content.Samples) {
        if (!std::isfinite(s.Force) || !std::isfinite(s.Travel) || !std::isfinite(s.Extension))
            std::abort();
    }
    return 0;
}
