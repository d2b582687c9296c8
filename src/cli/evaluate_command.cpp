// The evaluation of a stored curve without the GUI: the parameter set file gives the test
// type, the results definition and the options, the curve file the specimen values.
#include "evaluate_command.h"

#include <memory>

#include "evaluation/curve_file.h"
#include "evaluation/evaluate_test.h"
#include "evaluation/parameter_file.h"
#include "evaluation/result_elements.h"
#include "evaluation/test_types.h"
#include "json_dump.h"

namespace quorvex::cli {
namespace {

bool Report(const LoadResult& result, const std::string& file, std::ostream& err) {
    if (result.status == LoadStatus::Missing) {
        err << "quorvex-cli: cannot open \"" << file << "\"\n";
        return false;
    }
    if (result.status == LoadStatus::Refused) {
        err << "quorvex-cli: " << result.message << "\n";
        return false;
    }
    return true;
}

}  // namespace

std::string ResultsJson(TestState& state) {
    ResultsRecord& r = state.Current();
    TestMarks& m = state.Marks;
    // So and Lo as the record gets them when the test enters the series (in N/mm² units).
    float So = state.Parameters.EffectiveSo;
    float Lo = state.Parameters.EffectiveLo;
    JsonDump json;
    json.Int32(0, "TestType", state.Parameters.TestType);
    const std::pair<const char*, float*> fields[] = {
        {"ReH", &r.ReH},   {"ReL", &r.ReL},         {"Rp", &r.Rp},
        {"Rp2", &r.Rp2},   {"Rm", &r.Rm},           {"RatioR1R2", &r.RatioR1R2},
        {"Ag", &r.Ag},     {"Agt", &r.Agt},         {"Ac", &r.Ac},
        {"At", &r.At},     {"Ae", &r.Ae},           {"Z", &r.Z},
        {"E", &r.E},       {"r", &r.r},             {"n", &r.n},
        {"So", &So},       {"Lo", &Lo},             {"GaugeAtAg", &r.GaugeAtAg},
        {"GaugeAtAgt", &r.GaugeAtAgt}, {"GaugeAtAc", &r.GaugeAtAc}, {"GaugeAtAt", &r.GaugeAtAt},
    };
    for (const auto& [name, value] : fields) json.Float(0, name, *value);
    FloatArray(json, 0, "Results", r.Results);
    // The exported elements of the types 3-9 under their column names.
    const auto names = ResultElementNames(state.Parameters.TestType);
    if (!names.empty()) {
        json.BeginObject("ResultElements");
        for (std::size_t i = 0; i < names.size(); ++i) json.Float(0, names[i], r.Results[i]);
        json.EndObject();
    }
    const std::pair<const char*, int*> marks[] = {
        {"FmaxIndex", &m.FmaxIndex},
        {"BreakIndex", &m.BreakIndex},
        {"ExtensionEndIndex", &m.ExtensionEndIndex},
        {"ProofIndex1", &m.ProofIndex1},
        {"ProofIndex2", &m.ProofIndex2},
        {"ProofIndex3", &m.ProofIndex3},
        {"ModulusRangeStart", &m.ModulusRangeStart},
        {"ModulusRangeEnd", &m.ModulusRangeEnd},
    };
    for (const auto& [name, value] : marks) json.Int32(0, name, *value);
    json.Double(0, "ModulusLineIntercept", m.ModulusLineIntercept);
    json.Int32(0, "SampleCount", m.SampleCount);
    json.Bool("EvaluationDone", m.EvaluationDone);
    return json.Text();
}

bool LoadTestFiles(const std::string& curvePath, const std::string& paramsPath, TestState& state,
                   std::ostream& err) {
    if (!Report(LoadParameterSet(state.Parameters, paramsPath, false), paramsPath, err)) return false;
    // The specimen dialogs of the shear and flexural-strength tests keep So at 1.0, so the
    // thickness that a curve file derives from So and b is none: theirs stays as the
    // parameter set holds it.
    const float thickness = state.Parameters.Flat.a;
    if (!Report(ReadCurveFile(curvePath, state.Parameters, state.Buffer, state.Marks), curvePath, err)) {
        return false;
    }
    const std::int32_t type = state.Parameters.TestType;
    if (type == static_cast<std::int32_t>(TestType::ShearEn2563) ||
        type == static_cast<std::int32_t>(TestType::FlexuralStrength)) {
        state.Parameters.Flat.a = thickness;
    }
    return true;
}

void PrintEvaluateHelp(std::ostream& out) {
    out << "  evaluate CURVE PARAMS    evaluate the curve file CURVE (.Dia) with the test type,\n"
           "                           results definition and options of the parameter set file\n"
           "                           PARAMS (specimen values from the curve file; the\n"
           "                           thickness of shear and flexural-strength specimens from\n"
           "                           PARAMS); prints the results and the marks as one JSON object\n";
}

int RunEvaluateCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() != 2) {
        err << "quorvex-cli: usage:\n";
        PrintEvaluateHelp(err);
        return 2;
    }
    auto state = std::make_unique<TestState>();
    if (!LoadTestFiles(args[0], args[1], *state, err)) return 1;
    EvaluateTest(*state, false);
    out << ResultsJson(*state);
    return 0;
}

}  // namespace quorvex::cli
