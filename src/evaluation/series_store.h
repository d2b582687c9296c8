// Entering the finished test into the series: the record into its slot (in psi when that
// unit is chosen) and the slot's curve and header files beside it.
#pragma once

#include <filesystem>

#include "test_state.h"

namespace quorvex {

// Which series files could be written; the slot is filled either way.
struct StoredFiles {
    bool Curve = false;
    bool Header = false;
    bool RawData = false;
};

// The record part of StoreTestInSeries, without the files: returns the filled slot, or nullptr
// (nothing changed) for a slot outside 1..50.
ResultsRecord* EnterRecordInSeries(TestState& state, int slot, double now);

// Enters the current test into series slot 1..50 (the caller has put the remark into the
// current record and chosen the next free slot): in psi the strengths and E of the current
// record become psi; the compression test marks its slot with Rm 10.0; the slot gets the
// specimen number and id, the date `now` (days since 1899-12-30), So (in² in psi), Le, Lo,
// Lc, FmaxIndex and SampleCount; the curve file "<k>.Dia", the header file "<k>.Hea" and the
// raw-data file "<k>.Txt" are written into the working directory; then the curve number (k when curves are saved,
// else 0) and the record number k. A slot outside 1..50 changes nothing.
StoredFiles StoreTestInSeries(TestState& state, int slot,
                              const std::filesystem::path& workingDirectory, double now);

}  // namespace quorvex
