// The automatic specimen numbers and their counter file.
#include "specimen_number.h"

#include "evaluation/test_files.h"
#include "evaluation/text_functions.h"
#include "evaluation/win1252.h"

namespace quorvex {

bool HasNumberingHash(const std::string& specimenNo) {
    const auto hash = specimenNo.find('#');
    return hash != std::string::npos && hash > 0;
}

std::string PreviewSpecimenNumber(const std::string& specimenNo, long long counter) {
    if (!HasNumberingHash(specimenNo)) return specimenNo;
    return Utf8Left(NumberAfterHash(specimenNo, counter + 1), 30);
}

SpecimenNumbering ApplyAutomaticSpecimenNumber(const std::filesystem::path& workingDirectory,
                                               bool autoSpecimenNo, std::string& specimenNo) {
    SpecimenNumbering result;
    if (!autoSpecimenNo || !HasNumberingHash(specimenNo)) return result;
    const std::filesystem::path file = workingDirectory / kSpecimenNumberFile;
    const SpecimenNumberRead read = ReadSpecimenNumber(file);
    if (read.Status.status == LoadStatus::Refused) {
        result.Status = read.Status;
        return result;
    }
    result.Counter = read.Number + 1;
    if (!WriteSpecimenNumber(file, result.Counter)) {
        result.Counter = read.Number;
        result.Status = {LoadStatus::Refused,
                         "The specimen number file \"" + file.string() + "\" cannot be written."};
        return result;
    }
    result.Status = {LoadStatus::Loaded, {}};
    result.Numbered = true;
    specimenNo = Utf8Left(NumberAfterHash(specimenNo, result.Counter), 30);
    return result;
}

}  // namespace quorvex
