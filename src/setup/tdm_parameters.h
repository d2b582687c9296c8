// Parameters of the automatic sensor-arm extensometer (TDM), file "TdmParameter.set".
#pragma once

#include <cstdint>
#include <filesystem>

#include "evaluation/byte_image.h"
#include "evaluation/files.h"

namespace quorvex {

constexpr const char* kTdmParameterFile = "TdmParameter.set";

struct TdmParameterRecord {
    static constexpr std::size_t kImageSize = 2240;

    std::int32_t TdmIncrements = 100000;  // per mm
    std::int32_t TdmGainP = 1100;
    std::int32_t TdmGainI = 0;  // shown, not saved by the dialog
    std::int32_t TdmGainD = 0;
    double TdmBaseDistance = 20.0;  // mm

    ByteImage Carried = DefaultImage();

    // Zeros with the reserved value 60 at offset 28.
    static ByteImage DefaultImage();
};

template <class Io>
void MapFields(Io& io, TdmParameterRecord& t) {
    io.Int32(0, "TdmIncrements", t.TdmIncrements);
    io.Int32(4, "TdmGainP", t.TdmGainP);
    io.Int32(8, "TdmGainI", t.TdmGainI);
    io.Int32(12, "TdmGainD", t.TdmGainD);
    io.Double(32, "TdmBaseDistance", t.TdmBaseDistance);
}

LoadResult LoadTdmParameters(TdmParameterRecord& t, const std::filesystem::path& directory);
bool SaveTdmParameters(const TdmParameterRecord& t, const std::filesystem::path& directory);

}  // namespace quorvex
