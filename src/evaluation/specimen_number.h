// The automatic specimen numbers: a specimen number such as "Charge 7-#" receives the next
// value of the counter in "ProbenNr.txt" when the test starts.
#pragma once

#include <filesystem>
#include <string>

#include "evaluation/files.h"

namespace quorvex {

// A specimen number takes part when it holds "#" after its first character.
bool HasNumberingHash(const std::string& specimenNo);

// What the specimen number input shows on Enter: the number the test will receive with the
// counter as read before the dialog opened (the text unchanged without a numbering "#").
std::string PreviewSpecimenNumber(const std::string& specimenNo, long long counter);

struct SpecimenNumbering {
    bool Numbered = false;  // the counter was advanced and the number built
    long long Counter = 0;  // the counter after the step
    LoadResult Status;      // Refused: the counter file was unreadable or could not be written
};

// The step of the test start after the specimen dialog closed with OK. With automatic
// numbering on and a numbering "#", reads the counter from "ProbenNr.txt" in the working
// directory (a missing file counts as 0), increases it by 1, writes it back, and makes the
// specimen number its text up to and including the first "#" followed by the counter, cut to
// 30 characters. A counter file that holds no number is left alone and the specimen number
// stays as entered, so a damaged file never restarts the numbering at 1 unnoticed.
SpecimenNumbering ApplyAutomaticSpecimenNumber(const std::filesystem::path& workingDirectory,
                                               bool autoSpecimenNo, std::string& specimenNo);

}  // namespace quorvex
