// The specimen of the shear, chain, universal, flexural and compression tests as the operator
// enters it: a few dimensions per test type, checked on Enter against a typing range and on
// OK against an acceptance range, and stored into the fields of the specimen description
// that carry the tensile names (and, for two types, into the current results).
#pragma once

#include <span>
#include <string>
#include <vector>

#include "evaluation/field_checks.h"
#include "evaluation/parameter_set.h"
#include "evaluation/results_record.h"

namespace quorvex {

enum class TypeSpecimenKind {
    ShearOrFlexuralStrength,  // test types 3 and 8
    Chain,                    // 4
    Universal,                // 5
    FlexuralModulus,          // 7
    Compression,              // 9
};

// The dialog of a test type; false for the tensile and screw types 0, 1, 2 and 6.
bool HasTypeSpecimenDialog(int testType);
TypeSpecimenKind TypeSpecimenKindOf(int testType);

// One dimension input, in the order Enter walks through them.
struct TypeSpecimenInput {
    int TextNumber;  // its label
    const char* Symbol;
    double TypingLow, TypingHigh;
    const char* TypingRange;  // follows text 181
    double AcceptLow, AcceptHigh;
    const char* AcceptRange;
    int AcceptOrder;     // 1: checked first on OK
    int Decimals;        // shown with; -1: the decimals of results-definition slot DecimalsSlot
    int DecimalsSlot;    // 1-based
};

// The dimension inputs of a test type's dialog (none for the universal test, whose
// cross-section is taken unchecked).
std::vector<TypeSpecimenInput> TypeSpecimenInputs(int testType);

struct TypeSpecimenTexts {
    std::string SpecimenNo, SpecimenId;
    std::vector<std::string> Dimensions;  // in input order; the universal cross-section alone
};

// The decimals input i is shown with.
int TypeSpecimenDecimals(const TypeSpecimenInput& input, const ParameterSet& p);

// The stored values, formatted as the dialog shows them when it opens.
TypeSpecimenTexts LoadTypeSpecimenForm(int testType, const ParameterSet& p);

// Enter in dimension input i: its typing range, with text 181 (Field = i).
CheckResult CheckTypedDimension(int testType, std::size_t i, const std::string& text);

// OK: every dimension against its acceptance range, in acceptance order; the first failure.
CheckResult CheckTypeSpecimenForm(int testType, const TypeSpecimenTexts& texts);

// Takes checked texts into the specimen description and the current results: the dimensions
// into their fields, So 1.0 and the flat shape (the compression test: So = π d² / 4 and the
// round shape), the specimen number and identification cut to 30 characters.
void TakeTypeSpecimenForm(int testType, const TypeSpecimenTexts& texts, ParameterSet& p,
                          ResultsRecord& current);

}  // namespace quorvex
