// The options of "quorvex-cli run" and the test they describe.
#include "run_command.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "evaluate_command.h"
#include "evaluation/results_record.h"
#include "evaluation/series_store.h"
#include "evaluation/test_files.h"
#include "evaluation/test_types.h"
#include "headless_run.h"
#include "machine/sim/sim_config.h"
#include "project_storing.h"

namespace quorvex::cli {
namespace {

int Usage(std::ostream& err, const std::string& problem) {
    err << "quorvex-cli: " << problem << "\nusage:\n";
    PrintRunHelp(err);
    return 2;
}

// What the run can know about a test that never loaded its specimen, in the order an
// operator would look: the programme, the crosshead, the preload, then the force.
std::string WhyNotEvaluated(HeadlessTest& test) {
    const ParameterSet& p = test.Test().Parameters;
    const bool anyStage = std::any_of(p.Stages.begin(), p.Stages.end(),
                                      [](const SpeedStage& s) { return s.StageActive != 0; });
    if (!anyStage) return "the speed programme has no active stage";
    // Noise of the travel reading stays far below half a millimetre.
    if (test.TravelSpan() < 0.5) return "the crosshead did not move";
    const RunState& run = test.Run().State();
    char text[160];
    if (!run.PreloadReached) {
        std::snprintf(text, sizeof text, "the force never reached the preload (%.3f kN)",
                      run.PreloadForce);
    } else {
        std::snprintf(text, sizeof text,
                      "the force maximum (%.3f kN) stayed below the minimum force (%.3f kN)",
                      run.Fmax, run.MinForce);
    }
    return text;
}

}  // namespace

void PrintRunHelp(std::ostream& out) {
    out << "  run [OPTIONS]            run a whole test on the simulated machine through the\n"
           "                           program's test run; writes the series files 1.Dia,\n"
           "                           1.Hea and 1.Txt and prints the results as evaluate does\n"
           "      --type N             test type 0 ... 9 (default 0): the tensile family 0, 1,\n"
           "                           2, 6, 9, shear 3, chain 4, universal 5 (its programme),\n"
           "                           flexural modulus 7 and flexural strength 8\n"
           "      --params FILE        parameter set file (default: the defaults with a\n"
           "                           programme of the type: 2 mm/min to 1 % strain, then\n"
           "                           10 mm/min for the tensile family)\n"
           "      --preset NAME        specimen: steel-yield-point, steel, aluminium, stainless,\n"
           "                           plastic, compression, shear, chain, beam-3point,\n"
           "                           beam-4point (default: the one that fits the type:\n"
           "                           steel, shear, chain, aluminium for 5, plastic,\n"
           "                           beam-3point for 7, beam-4point for 8, compression)\n"
           "      --fault NAME         noisy-force, dead-extensometer, slipping-extensometer,\n"
           "                           stuck-crosshead, lost-link, missing-card, stuck-probe\n"
           "                           (repeatable)\n"
           "      --machine KIND       spindle, hydraulic-bleed-off or hydraulic-inflow\n"
           "      --set FIELD=VALUE    change a field of the parameter set before the start,\n"
           "                           named as in params set (repeatable)\n"
           "      --dir DIR            where the series files go (default: the current "
           "directory)\n"
           "      --project NAME       then store the test in the results project NAME of DIR\n"
           "                           as F6 does (made when missing, with NAME.Par from the\n"
           "                           run's parameter set): the record, its files, the ASCII\n"
           "                           line, the export and alias rows of the parameter set;\n"
           "                           a project of another test type is refused\n";
}

int RunRunCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    HeadlessOptions options;
    bool presetGiven = false;
    std::filesystem::path dir = std::filesystem::current_path();
    std::string faults;
    std::string project;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        static const char* const kOptions[] = {"--type",  "--params", "--preset",  "--machine",
                                               "--fault", "--set",    "--dir",     "--project"};
        if (std::find(std::begin(kOptions), std::end(kOptions), option) == std::end(kOptions)) {
            return Usage(err, option.rfind('-', 0) == 0
                                  ? "unknown option \"" + option + "\""
                                  : "unexpected argument \"" + option + "\" (run takes options only)");
        }
        if (i + 1 >= args.size()) return Usage(err, "\"" + option + "\" needs a value");
        const std::string& value = args[++i];
        std::string problem;
        if (option == "--type") {
            try {
                std::size_t used = 0;
                options.TestType = std::stoi(value, &used);
                if (used != value.size()) options.TestType = -1;
            } catch (const std::exception&) {
                options.TestType = -1;
            }
            if (options.TestType < 0 || options.TestType >= kTestTypeCount) {
                problem = "\"" + value + "\": the test type is 0 ... 9";
            }
        } else if (option == "--params") {
            options.ParamsFile = value;
        } else if (option == "--preset") {
            problem = ParseSimulationKey("sim.specimen", value, options.Simulation);
            presetGiven = true;
        } else if (option == "--machine") {
            problem = ParseSimulationKey("sim.machine", value, options.Simulation);
        } else if (option == "--fault") {
            faults += (faults.empty() ? "" : ",") + value;
            problem = ParseSimulationKey("sim.faults", faults, options.Simulation);
        } else if (option == "--set") {
            options.Assignments.push_back(value);
        } else if (option == "--dir") {
            dir = value;
        } else if (option == "--project") {
            project = CleanedProjectName(value);
            if (project.empty()) problem = "\"" + value + "\" is no project name";
        }
        if (!problem.empty()) return Usage(err, problem);
    }
    // The specimen that fits the test type, unless one was named.
    if (!presetGiven) options.Simulation.Preset = DefaultPresetOfTestType(options.TestType);
    std::error_code ec;
    if (!std::filesystem::is_directory(dir, ec)) {
        err << "quorvex-cli: \"" << dir.string() << "\" is no directory\n";
        return 1;
    }

    HeadlessTest test;
    std::string error;
    if (!test.Prepare(options, dir, error)) {
        if (test.AssignmentRefused()) return Usage(err, error);
        err << "quorvex-cli: " << error << "\n";
        return 1;
    }
    if (!project.empty() && !PrepareProject(dir, project, test.Test().Parameters, error)) {
        err << "quorvex-cli: " << error << "\n";
        return 1;
    }
    if (!test.Start()) {
        err << "quorvex-cli: the test did not start\n";
        return 1;
    }
    test.RunToEnd();
    for (const HeadlessEvent& event : test.Host().Events) {
        if (event.What.rfind("message", 0) == 0 || event.What.rfind("removal", 0) == 0) {
            err << "quorvex-cli: " << event.What << " at sample " << event.Sample << "\n";
        }
    }
    TestState& state = test.Test();
    if (!state.Marks.EvaluationDone) {
        err << "quorvex-cli: the test ended without evaluation: " << WhyNotEvaluated(test) << "\n";
        return 1;
    }
    if (EndedWithoutBreak(state.Current())) {
        err << "quorvex-cli: the specimen did not break: the test was stopped at sample "
            << state.Marks.StoredSamples << "\n";
    }
    const auto lock = LockWorkingDirectory(dir, err);
    if (!lock) return 1;
    const StoredFiles files = StoreTestInSeries(state, 1, dir, DateTimeNow());
    if (!files.Curve || !files.Header) {
        err << "quorvex-cli: the series files could not be written into \"" << dir.string()
            << "\"\n";
        return 1;
    }
    if (!files.RawData) {
        err << "quorvex-cli: the raw-data file \""
            << SeriesFilePath(dir, 1, ".Txt").string() << "\" could not be written\n";
    }
    const SlotStored stored =
        project.empty() ? SlotStored{0, true} : StoreSlot1InProject(state, dir, project, err);
    if (!project.empty() && stored.Record == 0) return 1;
    out << ResultsJson(state, true);
    return stored.Complete && files.RawData ? 0 : 1;
}

}  // namespace quorvex::cli
