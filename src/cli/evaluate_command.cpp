// The evaluation of a stored curve without the GUI: the parameter set file gives the test
// type, the results definition and the options, the curve file the specimen values.
#include "evaluate_command.h"

#include <filesystem>
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

std::string ResultsJson(TestState& state, bool withEnd) {
    ResultsRecord& r = state.Current();
    TestMarks& m = state.Marks;
    // So and Lo as the record gets them when the test enters the series (in N/mm² units).
    float So = state.Parameters.EffectiveSo;
    float Lo = state.Parameters.EffectiveLo;
    JsonDump json;
    json.Int32(0, "TestType", state.Parameters.TestType);
    // The types 3-9 keep their results in the array: the record's tensile fields hold other
    // things there (the shear test's Fmax in ReH and Rm), so only the type's own names appear.
    const auto names = ResultElementNames(state.Parameters.TestType);
    const std::pair<const char*, float*> fields[] = {
        {"ReH", &r.ReH},   {"ReL", &r.ReL},         {"Rp", &r.Rp},
        {"Rp2", &r.Rp2},   {"Rm", &r.Rm},           {"RatioR1R2", &r.RatioR1R2},
        {"Ag", &r.Ag},     {"Agt", &r.Agt},         {"Ac", &r.Ac},
        {"At", &r.At},     {"Ae", &r.Ae},           {"Z", &r.Z},
        {"E", &r.E},       {"r", &r.r},             {"n", &r.n},
        {"So", &So},       {"Lo", &Lo},             {"GaugeAtAg", &r.GaugeAtAg},
        {"GaugeAtAgt", &r.GaugeAtAgt}, {"GaugeAtAc", &r.GaugeAtAc}, {"GaugeAtAt", &r.GaugeAtAt},
    };
    if (names.empty()) {
        for (const auto& [name, value] : fields) json.Float(0, name, *value);
    }
    FloatArray(json, 0, "Results", r.Results);
    // The exported elements of the types 3-9 under their column names.
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
    if (withEnd) json.Bool("Broken", !EndedWithoutBreak(r));
    return json.Text();
}

// What ReadCurveFile would take from a file that is no curve: a header, parameter or text
// file gives zeros or garbage. A curve file is three header records and one 20-byte record
// per sample, with at least three samples and its force maximum among them.
std::string NoCurveRefusal(const std::string& file) {
    CurveFileContent curve;
    if (!ParseCurveFile(file, curve).Loaded()) return {};  // the load names its own failure
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(ResolvePath(file), error);
    const std::string named = "\"" + file + "\" is no curve file: ";
    if (!error && size <= kLargestCurveFile && (size - kCurveHeaderSize) % kCurveRecordSize != 0) {
        return named + "its " + std::to_string(size) + " bytes are no whole number of " +
               std::to_string(kCurveRecordSize) + "-byte records";
    }
    if (curve.AnnouncedSamples < 3) {
        return named + "it holds " + std::to_string(curve.AnnouncedSamples) +
               " samples, a curve at least 3";
    }
    const double fmax = curve.Header.FmaxIndex;
    if (!(fmax >= 1 && fmax <= curve.AnnouncedSamples)) {
        return named + "its force maximum is no sample of its " +
               std::to_string(curve.AnnouncedSamples) + " samples";
    }
    return {};
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
           "                           PARAMS); prints the results and the marks as one JSON object\n"
           "                           (the types 3-9 by their own result names); a file that is\n"
           "                           no curve is refused\n";
}

int RunEvaluateCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() != 2) {
        err << "quorvex-cli: usage:\n";
        PrintEvaluateHelp(err);
        return 2;
    }
    auto state = std::make_unique<TestState>();
    if (!LoadTestFiles(args[0], args[1], *state, err)) return 1;
    if (const std::string refusal = NoCurveRefusal(args[0]); !refusal.empty()) {
        err << "quorvex-cli: " << refusal << "\n";
        return 1;
    }
    EvaluateTest(*state, false);
    out << ResultsJson(*state);
    return 0;
}

}  // namespace quorvex::cli
