#include "evaluation/results_record.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <memory>

#include "evaluation/test_types.h"

namespace quorvex {
namespace {

float FloatAt(const ByteImage& image, std::size_t offset) {
    return std::bit_cast<float>(LoadU32(&image[offset]));
}

TEST(ResultsRecord, FieldsAtTheirOffsets) {
    ResultsRecord r;
    r.SpecimenNo = "P-1";
    r.Remark = "Bemerkung ä";
    r.Date = 46000.5;
    r.So = 78.54f;
    r.Rm = 512.5f;
    r.Ae = 1.25f;
    r.GaugeAtAt = 55.5f;
    r.FmaxIndex = 1234;
    r.SpecimenShape = 4;
    r.a = 3.5f;
    r.QAW = 0.0f;
    r.n = 0.21f;
    r.Results[0] = 1.0f;
    r.Results[49] = 50.0f;
    r.Reserved[0] = 0xAB;
    const ByteImage image = ResultsRecordImage(r);
    ASSERT_EQ(image.size(), 544u);
    EXPECT_EQ(image[0], 3);
    EXPECT_EQ(std::string(image.begin() + 1, image.begin() + 4), "P-1");
    double date = 0;
    std::memcpy(&date, &image[62], 8);
    EXPECT_DOUBLE_EQ(date, 46000.5);
    EXPECT_FLOAT_EQ(FloatAt(image, 70), 78.54f);
    EXPECT_FLOAT_EQ(FloatAt(image, 90), 512.5f);
    EXPECT_FLOAT_EQ(FloatAt(image, 118), 1.25f);
    EXPECT_FLOAT_EQ(FloatAt(image, 150), 55.5f);
    EXPECT_EQ(LoadU32(&image[154]), 1234u);
    EXPECT_EQ(LoadU32(&image[174]), 4u);
    EXPECT_EQ(image[178], 11);  // "Bemerkung ä" is 11 characters, one byte each on disk
    EXPECT_EQ(image[189], 0xE4);
    EXPECT_FLOAT_EQ(FloatAt(image, 219), 3.5f);
    EXPECT_FLOAT_EQ(FloatAt(image, 243), 0.21f);
    EXPECT_FLOAT_EQ(FloatAt(image, 251), 1.0f);
    EXPECT_FLOAT_EQ(FloatAt(image, 251 + 49 * 4), 50.0f);
    EXPECT_EQ(image[451], 0xAB);

    const ResultsRecord back = ResultsRecordFromImage(image);
    EXPECT_EQ(back.Remark, r.Remark);
    EXPECT_EQ(ResultsRecordImage(back), image);
}

TEST(Series, OccupiedSlotsCountByRm) {
    auto series = std::make_unique<Series>();
    series->Current().Rm = 400;  // the current test is not part of the series
    series->Slots[1].Rm = 500;
    series->Slots[2].So = 78.5f;  // set fields, but Rm 0: free
    series->Slots[3].Rm = 1.0f;   // types 5-7 mark their slot with 1.0
    series->Slots[50].Rm = 10.0f; // type 9 with 10.0
    series->Slots[4].Rm = -1.0f;
    EXPECT_EQ(CountOccupiedSlots(*series), 3);
    EXPECT_EQ(NextFreeSlot(*series), 4);
}

TEST(Series, ClearingKeepsWhatTheRulesKeep) {
    auto series = std::make_unique<Series>();
    for (ResultsRecord& r : series->Slots) {
        r.SpecimenNo = "no";
        r.SpecimenId = "id";
        r.ScrewType = "M12";
        r.Remark = "remark";
        r.So = r.Rm = r.At = r.Z = r.Lo = r.GaugeAtAt = 1;
        r.FmaxIndex = r.RecordNumber = 7;
        r.Ae = 2;
        r.GaugeKind = 1;
        r.SpecimenShape = 3;
        r.a = r.D = 3;
        r.Mass = 4;
        r.r = r.n = 5;
        r.QAW = 6;
        r.Results.fill(9);
    }
    ClearSeries(*series, 46001.25);
    for (int slot = 1; slot <= Series::kSlots; ++slot) {
        const ResultsRecord& r = series->Slots[slot];
        EXPECT_TRUE(r.SpecimenNo.empty() && r.SpecimenId.empty() && r.Remark.empty());
        EXPECT_DOUBLE_EQ(r.Date, 46001.25);
        EXPECT_EQ(r.So + r.Rm + r.At + r.Z + r.Lo + r.GaugeAtAt + r.a + r.D + r.r + r.n, 0.0f);
        EXPECT_EQ(r.FmaxIndex + r.RecordNumber, 0);
        EXPECT_EQ(r.Results[49], 0.0f);
        // Left as they were.
        EXPECT_EQ(r.ScrewType, "M12");
        EXPECT_EQ(r.Ae, 2.0f);
        EXPECT_EQ(r.GaugeKind, 1);
        EXPECT_EQ(r.SpecimenShape, 3);
        EXPECT_EQ(r.Mass, 4.0f);
        EXPECT_EQ(r.QAW, 6.0f);
    }
    EXPECT_EQ(CountOccupiedSlots(*series), 0);
    EXPECT_EQ(series->Current().SpecimenNo, "no");
}

TEST(Series, DateTimeNowCountsDaysSince1899) {
    const double now = DateTimeNow();
    EXPECT_GT(now, 45658.0);  // after 2025-01-01
    EXPECT_LT(now, 80000.0);
}

TEST(Series, PsiFactors) {
    EXPECT_NEAR(78.54 * kSquareInchPerMm2, 0.121737, 1e-6);
    EXPECT_NEAR(500 * kPsiPerNPerMm2, 72518.85, 1e-2);
}

TEST(SeriesCurves, ClearEmptiesCurvesAndMarks) {
    auto curves = std::make_unique<SeriesCurves>();
    curves->Force(10, 25000) = 5;
    curves->Extension(1, 1) = 2;
    curves->Marks(10).So = 78.5f;
    curves->Marks(1).BreakIndex = 99;
    curves->Clear();
    EXPECT_EQ(curves->Force(10, 25000), 0.0f);
    EXPECT_EQ(curves->Extension(1, 1), 0.0f);
    EXPECT_EQ(curves->Marks(10).So, 0.0f);
    EXPECT_EQ(curves->Marks(1).BreakIndex, 0);
}

}  // namespace
}  // namespace quorvex
