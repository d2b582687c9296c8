// The operation that moves the current test into the series.
#include "series_store.h"

#include "ascii_export.h"
#include "curve_file.h"
#include "test_files.h"
#include "test_types.h"
#include "win1252.h"

namespace quorvex {

ResultsRecord* EnterRecordInSeries(TestState& state, int slot, double now) {
    if (slot < 1 || slot > Series::kSlots) return nullptr;
    const ParameterSet& p = state.Parameters;
    const bool psi = p.UnitSystem == static_cast<std::int32_t>(UnitSystem::Psi);
    const double stressFactor = psi ? kPsiPerNPerMm2 : 1.0;
    const double areaFactor = psi ? kSquareInchPerMm2 : 1.0;

    ResultsRecord& current = state.Current();
    for (float* stress : {&current.ReH, &current.ReL, &current.Rp, &current.Rp2, &current.Rr,
                          &current.Rm, &current.E}) {
        *stress = static_cast<float>(*stress * stressFactor);
    }
    if (p.TestType == static_cast<std::int32_t>(TestType::Compression)) current.Rm = 10.0f;

    ResultsRecord& stored = state.TestSeries.Slots[static_cast<std::size_t>(slot)];
    stored = current;
    stored.SpecimenNo = Utf8Left(p.SpecimenNo, 14);
    stored.SpecimenId = Utf8Left(p.SpecimenId, 20);
    stored.Date = now;
    stored.So = static_cast<float>(p.EffectiveSo * areaFactor);
    stored.Le = p.GaugeLengthLe;
    stored.Lo = p.EffectiveLo;
    stored.GaugeAtAc = p.EffectiveLc;  // a stored record keeps Lc here
    stored.FmaxIndex = state.Marks.FmaxIndex;
    stored.SampleCount = state.Marks.SampleCount;
    stored.CurveNumber = p.SaveCurves != 0 ? slot : 0;
    stored.RecordNumber = slot;
    return &stored;
}

StoredFiles StoreTestInSeries(TestState& state, int slot,
                              const std::filesystem::path& workingDirectory, double now) {
    if (EnterRecordInSeries(state, slot, now) == nullptr) return {};
    const ParameterSet& p = state.Parameters;
    StoredFiles files;
    files.Curve = WriteCurveFile(SeriesFilePath(workingDirectory, slot, ".Dia"), p, state.Buffer,
                                 state.Marks);
    files.Header = WriteHeaderFile(SeriesFilePath(workingDirectory, slot, ".Hea"), p.HeaderValue);
    files.RawData = WriteRawDataFile(SeriesFilePath(workingDirectory, slot, ".Txt"), state.Buffer,
                                     state.Marks.SampleCount, p);
    return files;
}

}  // namespace quorvex
