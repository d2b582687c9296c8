// The header and specimen file readers: whatever the bytes, they load or refuse.
#include <memory>

#include "evaluation/test_files.h"
#include "fuzz_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quorvex;
    HeaderLines lines;
    ReadHeaderFile(fuzz::WriteInput("1.Hea", data, size), lines);
    auto p = std::make_unique<ParameterSet>();
    LoadSpecimenFile(fuzz::WriteInput("s.pro", data, size), *p);
    ReadSpecimenNumber(fuzz::WriteInput("ProbenNr.txt", data, size));
    return 0;
}
