// A small results project for the report tests: three stored tensile tests with their
// records, curves and header files, and the project's parameter set with a page head, a
// header title and the printed results chosen.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "evaluation/curve_file.h"
#include "evaluation/parameter_file.h"
#include "evaluation/project_store.h"
#include "evaluation/test_files.h"
#include "evaluation/test_state.h"

namespace quorvex::testing_support {

struct ReportTest {
    const char* SpecimenNo;
    float Rm, Ae, Lo;
    float ForceScale;  // the curve's largest force is 4 kN times this
};

inline const std::vector<ReportTest>& ReportTests() {
    static const std::vector<ReportTest> tests = {{"PR-101", 412.5f, 21.5f, 50.0f, 1.00f},
                                                  {"PR-102", 425.5f, 0.0f, 50.0f, 1.05f},
                                                  {"PR-103", 431.0f, 23.0f, 50.0f, 1.10f}};
    return tests;
}

// The project's parameter set: Rm and Ae printed and in the statistics, ReH printed.
inline ParameterSet ReportParameters() {
    ParameterSet p;
    p.TestType = 0;
    p.TitleLine[0] = "Werkstoffprüfung Nord";
    p.ReportHeading = "Zugversuch";
    p.HeaderLabel[0] = "Auftrag";
    for (auto& d : p.Results) d = ResultDefinition{};
    auto print = [&](int slot, int decimals) {
        ResultDefinition& d = p.Results[static_cast<std::size_t>(slot - 1)];
        d.Evaluate = d.PrintInReport = d.PrintInList = 1;
        d.Decimals = decimals;
    };
    print(6, 1);   // ReH
    print(10, 1);  // Rm
    print(13, 1);  // Ae
    p.StatMean = p.StatMinimum = p.StatMaximum = 1;
    p.StatRange = p.StatStdDev = 0;
    return p;
}

// A curve with an extensometer part of 40 samples and a crosshead part beyond it.
inline void WriteReportCurve(const std::filesystem::path& path, float forceScale) {
    auto state = std::make_unique<TestState>();
    ParameterSet& p = state->Parameters;
    p.EffectiveSo = 10;
    p.EffectiveLo = 50;
    p.EffectiveLc = 60;
    p.GaugeLengthLe = 50;
    StartRecording(state->Buffer, state->Marks);
    for (int i = 1; i <= 100; ++i) {
        const float force = forceScale * 4.0f * static_cast<float>(i) / 100.0f;
        const float travel = 0.1f * static_cast<float>(i);
        const float extension = i <= 40 ? 0.05f * static_cast<float>(i) : 0.0f;
        RecordSample(state->Buffer, state->Marks, {force, travel, extension, 0, 0, 0, 0, 0});
    }
    state->Marks.SampleCount = 100;
    state->Marks.ExtensionEndIndex = 40;
    ASSERT_TRUE(WriteCurveFile(path, p, state->Buffer, state->Marks));
}

// <dir>/P/P.Res with its parameter set P.Par, three records, their curves and headers.
inline std::filesystem::path WriteReportProject(const std::filesystem::path& dir) {
    const std::filesystem::path project = dir / "P";
    std::filesystem::create_directories(project);
    EXPECT_TRUE(SaveParameterSet(ReportParameters(), project / "P.Par"));
    int n = 0;
    for (const ReportTest& t : ReportTests()) {
        ++n;
        ResultsRecord r;
        r.SpecimenNo = t.SpecimenNo;
        r.Rm = t.Rm;
        r.ReH = t.Rm - 100;
        r.Ae = t.Ae;
        r.Lo = t.Lo;
        r.Date = 45300.5;
        EXPECT_TRUE(AppendRecord(project / "P.Res", r, n, n).Written);
        HeaderLines header;
        header[0] = "Auftrag-" + std::to_string(n);
        EXPECT_TRUE(WriteHeaderFile(project / (std::to_string(n) + ".Hea"), header));
        WriteReportCurve(project / (std::to_string(n) + ".Dia"), t.ForceScale);
    }
    return project / "P.Res";
}

}  // namespace quorvex::testing_support
