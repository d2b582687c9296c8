// Re-opening a stored test: the specimen of the current test taken back from its results
// record once its curve file has set the effective lengths and cross-section.
#pragma once

#include "evaluation/parameter_set.h"
#include "evaluation/results_record.h"

namespace quorvex {

// Specimen number, identification and remark; for the tensile types the gauge kind, the shape
// and its dimensions (lengths and So from the effective values); for the other types the
// specimen fields that their results array carries.
void RestoreSpecimenFromRecord(ParameterSet& p, ResultsRecord& current,
                               const ResultsRecord& stored);

}  // namespace quorvex
