// The whole state of a test: one owner (the main window, or a test) passes it by reference.
#pragma once

#include "measurement_buffer.h"
#include "operator_results.h"
#include "parameter_set.h"
#include "result_elements.h"
#include "results_record.h"

namespace quorvex {

struct TestState {
    ParameterSet Parameters;
    MeasurementBuffer Buffer;
    TestMarks Marks;
    Series TestSeries;
    SeriesCurves Curves;
    FinalDimensions EnteredFinalDimensions;  // for Z, forgotten at each evaluation
    ResultDecimalsTable ResultDecimals = InitialResultDecimals();  // panels of types 3-9

    ResultsRecord& Current() { return TestSeries.Current(); }
};

}  // namespace quorvex
