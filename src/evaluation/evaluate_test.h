// The evaluation of a finished test: one entry point for every test type, which prepares
// the results record and branches by the test type.
#pragma once

#include "test_state.h"

namespace quorvex {

// Evaluates the current buffer into the current results record and the marks. keepModulus
// is set only when the operator has chosen the modulus on the diagram and the results are
// evaluated again with it. The caller leaves the pick modes of the result panels first.
// A parameter set whose test type is none of 0-9 only prepares the record.
void EvaluateTest(TestState& state, bool keepModulus);

// Prepares the current record for an evaluation: results, gauge lengths, E, r, n, QAW and
// the results array to 0, the specimen's dimensions and kinds copied in, the first proof
// index to 1, the elastic line and the entered final dimensions forgotten.
void InitialiseResults(TestState& state);

// A curve the evaluation can work on: a force maximum and samples within the buffer.
bool HasEvaluableCurve(const TestMarks& marks);

// The branch of the metal tensile test types 0-2 (after the preparation).
void EvaluateTensile(TestState& state, bool keepModulus);

}  // namespace quorvex
