// The three access codes built into the program. Only salted hashes are kept here; the codes
// themselves are in the service documentation.
#pragma once

#include <QString>

namespace quorvex {

// Mode 1: the operator password (four digits); mode 2: the master code (two lower-case
// letters and three digits); mode 3: the second password (four digits).
constexpr int kPasswordMode = 1;
constexpr int kMasterCodeMode = 2;
constexpr int kSequencePasswordMode = 3;

// Whether the entry is the code of the mode, compared exactly (case, blanks and length
// count). An unknown mode matches nothing.
bool AccessCodeMatches(int mode, const QString& entry);

}  // namespace quorvex
