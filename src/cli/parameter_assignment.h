// "Field=Value" assignments to a parameter set by the names that "params show" prints, found
// through the record's own field list, so that every field is reachable without a second list.
#pragma once

#include <string>
#include <vector>

#include "evaluation/byte_image.h"
#include "evaluation/parameter_set.h"

namespace quorvex::cli {

// Applies the assignments in order. Names: a field as "EffectiveSo", an element of an array
// as "HeaderValue[0]" or "RoundSpecimen[3]", a field of an object in an array as
// "ResultDefinition[3].Decimals" or "Stages[7].StageSpeed". A value must fit its field: a
// byte 0 ... 255, an integer in the 32-bit range, a finite number (within the float range for
// float fields), a text of at most the field's characters in the Windows-1252 code page.
// When an assignment changes the break value or what decides its meaning (the test type, the
// break channel, the nominal force or travel), the break value must then lie in its range, as
// the dialogs hold it (the drop 10 ... 90 %, a Delta-F in N, a Delta-S in mm).
// With `image` (the bytes p was read from) only the bytes of the assigned fields change in it.
// Returns "" on success; otherwise the message of the first refusal, naming the field, and
// neither p nor image has changed.
std::string AssignParameterFields(ParameterSet& p, ByteImage* image,
                                  const std::vector<std::string>& assignments);

}  // namespace quorvex::cli
