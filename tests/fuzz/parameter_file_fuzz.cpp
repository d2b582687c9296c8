// The parameter set reader: whatever the bytes, it loads or refuses, a loaded set names a
// test type of 0 ... 9, and a test evaluated with it never crashes.
#include <cstdlib>
#include <memory>

#include "evaluation/evaluate_test.h"
#include "evaluation/parameter_file.h"
#include "evaluation/test_types.h"
#include "fuzz_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quorvex;
    const auto path = fuzz::WriteInput("t.Par", data, size);
    auto state = std::make_unique<TestState>();
    if (!LoadParameterSet(state->Parameters, path, false).Loaded()) return 0;
    if (!IsValidTestType(state->Parameters.TestType)) std::abort();
    ParameterSet project;
    LoadParameterSetIntoProject(project, path);
    return 0;
}
