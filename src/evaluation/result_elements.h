// The results array of the test types 3-9: the name of each element (the column of the
// export tables and of the ASCII result line), how many elements are exported, and the
// decimals with which the main window shows them.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "parameter_set.h"

namespace quorvex {

// Names of the exported elements of a test type's results array, element 0 first; empty
// for the tensile types 0-2, which export the record's own fields.
std::span<const char* const> ResultElementNames(std::int32_t testType);

// Elements that the result line and the export table carry: 6, 8, 14, 19, 4, 6, 11 for the
// types 3 to 9; 0 for the others.
int ExportedElementCount(std::int32_t testType);

// Decimals of the results array in the result panels: entry j for element j.
using ResultDecimalsTable = std::array<std::int32_t, 19>;

// 2, 3, 2, 2, 0, 1, then 0.
ResultDecimalsTable InitialResultDecimals();

// Copies the Decimals of results-definition slots 1..count into entries 0..count-1.
void CopyResultDecimals(const ParameterSet& p, ResultDecimalsTable& decimals, int count);

// How many slots the results editor of a type copies when it opens: 6, 8, 19, 19, 7, 6, 11
// for the types 3 to 9; 0 for the others.
int EditorDecimalsCount(std::int32_t testType);

// Heading of a compression column: "Sig-d" followed by the proof strain with at most two
// decimals and no trailing zeros ("Sig-d0.2", "Sig-d1"); a strain of 0 gives "Sig-d".
std::string CompressionColumnHeading(double proofStrain);

// The results-definition slot whose print byte says whether the remark is printed: 22, and 30
// for the flexural modulus (type 7), whose results definition has always kept it there.
int RemarkSlot(std::int32_t testType);

}  // namespace quorvex
