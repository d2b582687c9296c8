// The TDM parameter file.
#include "tdm_parameters.h"

#include "evaluation/record_file.h"

namespace quorvex {

ByteImage TdmParameterRecord::DefaultImage() {
    ByteImage image(kImageSize, 0);
    StoreU32(&image[28], 60);
    return image;
}

LoadResult LoadTdmParameters(TdmParameterRecord& t, const std::filesystem::path& directory) {
    return LoadRecordFile(ResolveInDirectory(directory, kTdmParameterFile), t);
}

bool SaveTdmParameters(const TdmParameterRecord& t, const std::filesystem::path& directory) {
    return SaveRecordFile(ResolveInDirectory(directory, kTdmParameterFile), t);
}

}  // namespace quorvex
