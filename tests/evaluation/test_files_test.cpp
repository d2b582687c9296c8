#include "evaluation/test_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <fstream>
#include <memory>

#include "curve_builder.h"
#include "evaluation/curve_file.h"
#include "evaluation/evaluate_test.h"
#include "evaluation/series_store.h"
#include "evaluation/test_types.h"

namespace quorvex {
namespace {

using testing::Record;

class TestFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = std::filesystem::path(::testing::TempDir()) /
              (std::string("files_") +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        state = std::make_unique<TestState>();
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    std::filesystem::path File(const char* name) { return dir / name; }
    void WriteBytes(const std::filesystem::path& path, const ByteImage& bytes) {
        std::ofstream(path, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }
    static float FloatAt(const ByteImage& image, std::size_t offset) {
        return std::bit_cast<float>(LoadU32(&image[offset]));
    }

    // A test of `count` evaluated samples with its maximum at sample 600 (short tests: at
    // their middle).
    void RecordTest(int count) {
        const int peak = count >= 1000 ? 600 : count / 2;
        for (int i = 1; i <= count + 2; ++i) {
            const float f = i <= peak ? 0.01f * i : 0.01f * peak - 0.001f * (i - peak);
            Record(*state, f, 0.1f * i, 0.002f * i, -0.0001f * i);
        }
        FinishRecording(state->Marks);
    }

    std::filesystem::path dir;
    std::unique_ptr<TestState> state;
};

TEST_F(TestFiles, CurveFileLayoutAndReadingBack) {
    RecordTest(1000);
    TestMarks& marks = state->Marks;
    marks.BreakIndex = 601;
    marks.ExtensionEndIndex = 1000;
    marks.HysteresisStart = 120;
    marks.HysteresisEnd = 185;
    ParameterSet& p = state->Parameters;
    p.Flat.b = 0.5f;  // outside 1 ... 1000: read back as 10
    ASSERT_TRUE(WriteCurveFile(File("t.Dia"), p, state->Buffer, marks));

    const ByteImage image = *ReadWholeFile(File("t.Dia"));
    ASSERT_EQ(image.size(), 20060u);
    EXPECT_FLOAT_EQ(FloatAt(image, 0), 78.54f);
    EXPECT_EQ(FloatAt(image, 4), 600.0f);
    EXPECT_EQ(FloatAt(image, 8), 1000.0f);
    EXPECT_EQ(FloatAt(image, 20), 50.0f);   // Lo
    EXPECT_EQ(FloatAt(image, 24), 60.0f);   // Lc
    EXPECT_EQ(FloatAt(image, 28), 50.0f);   // Le
    EXPECT_EQ(FloatAt(image, 40), 601.0f);  // BreakIndex
    EXPECT_EQ(FloatAt(image, 44), 1000.0f);
    EXPECT_FLOAT_EQ(FloatAt(image, 48), 120.0185f);
    EXPECT_EQ(FloatAt(image, 60 + 20 * 9 + 4), state->Buffer.Travel(10));
    EXPECT_EQ(LoadU32(&image[60 + 20 * 9 + 16]), 0u);

    auto other = std::make_unique<TestState>();
    ASSERT_TRUE(
        ReadCurveFile(File("t.dia"), other->Parameters, other->Buffer, other->Marks).Loaded())
        << "names match without regard to case";
    EXPECT_EQ(other->Marks.SampleCount, 999);
    EXPECT_EQ(other->Marks.FmaxIndex, 600);
    EXPECT_EQ(other->Marks.HysteresisStart, 120);
    EXPECT_EQ(other->Marks.HysteresisEnd, 185);
    EXPECT_EQ(other->Parameters.Flat.b, 10.0f);
    EXPECT_FLOAT_EQ(other->Parameters.Flat.a, 7.854f);
    for (int i : {1, 600, 999, 1000}) {
        EXPECT_EQ(other->Buffer.Force(i), state->Buffer.Force(i));
        EXPECT_EQ(other->Buffer.WidthChange(i), state->Buffer.WidthChange(i));
        EXPECT_EQ(other->Buffer.At(Channel::Probe2, i), state->Buffer.Extension(i));
    }
}

TEST_F(TestFiles, ShortOrGarbledCurveFilesAreRefusedAndChangeNothing) {
    RecordTest(100);
    ASSERT_TRUE(WriteCurveFile(File("t.Dia"), state->Parameters, state->Buffer, state->Marks));
    ByteImage image = *ReadWholeFile(File("t.Dia"));

    struct Case {
        const char* name;
        std::size_t size;    // bytes kept
        std::size_t offset;  // a float to spoil, or kKeep
        float value;
    };
    constexpr std::size_t kKeep = SIZE_MAX;
    const Case cases[] = {
        {"empty.Dia", 0, kKeep, 0},
        {"header.Dia", 59, kKeep, 0},
        {"samples.Dia", 60 + 20 * 98, kKeep, 0},   // 98 of the 99 samples read
        {"count.Dia", image.size(), 8, 30000.0f},  // more than the buffer holds
        {"nan.Dia", image.size(), 4, std::nanf("")},
        {"loop.Dia", image.size(), 48, -3.0f},
        {"so.Dia", image.size(), 0, std::nanf("")},
        {"lo.Dia", image.size(), 20, 1e-42f},  // denormal
        {"sample.Dia", image.size(), 60 + 20 * 5 + 4, INFINITY},
        {"one-less.Dia", image.size() - 20, kKeep, 0},  // fewer samples than it announces
    };
    auto before = std::make_unique<TestState>();
    before->Marks.SampleCount = 7;
    before->Parameters.EffectiveSo = 12.5f;
    before->Buffer.At(Channel::Force, 1) = 42.0f;
    for (const Case& c : cases) {
        ByteImage bytes(image.begin(), image.begin() + static_cast<std::ptrdiff_t>(c.size));
        if (c.offset != kKeep) StoreU32(&bytes[c.offset], std::bit_cast<std::uint32_t>(c.value));
        WriteBytes(File(c.name), bytes);
        const LoadResult result =
            ReadCurveFile(File(c.name), before->Parameters, before->Buffer, before->Marks);
        EXPECT_EQ(result.status, LoadStatus::Refused) << c.name;
        EXPECT_NE(result.message.find(c.name), std::string::npos) << result.message;
        EXPECT_EQ(before->Marks.SampleCount, 7) << c.name;
        EXPECT_EQ(before->Parameters.EffectiveSo, 12.5f) << c.name;
        EXPECT_EQ(before->Buffer.Force(1), 42.0f) << c.name;
    }
    std::filesystem::create_directory(File("folder.Dia"));
    const LoadResult folder =
        ReadCurveFile(File("folder.Dia"), before->Parameters, before->Buffer, before->Marks);
    EXPECT_EQ(folder.status, LoadStatus::Refused);
    EXPECT_NE(folder.message.find("folder.Dia"), std::string::npos) << folder.message;
    EXPECT_EQ(CopyCurveFile(File("folder.Dia"), File("copy.Dia")).status, LoadStatus::Refused);
    EXPECT_EQ(before->Marks.SampleCount, 7);
    EXPECT_EQ(ReadCurveFile(File("missing.Dia"), before->Parameters, before->Buffer, before->Marks)
                  .status,
              LoadStatus::Missing);
}

// A sudden break (shear, compression, beams) can put the maximum on one of the last two
// samples, behind SampleCount: the stored curve keeps it and evaluates to the same Fmax.
TEST_F(TestFiles, ForceMaximumAmongTheLastTwoSamplesIsStored) {
    for (const int samplesAfterMaximum : {1, 0}) {
        auto run = std::make_unique<TestState>();
        run->Parameters.TestType = static_cast<std::int32_t>(TestType::ShearEn2563);
        const int stored = 50;
        const int maximumAt = stored - samplesAfterMaximum;
        for (int i = 1; i <= stored; ++i) {
            Record(*run, i == maximumAt ? 9.0f : 0.1f * static_cast<float>(i % 40), 0.01f * i,
                   0.0f);
        }
        FinishRecording(run->Marks);
        ASSERT_EQ(run->Marks.FmaxIndex, maximumAt);
        EvaluateTest(*run, false);
        ASSERT_EQ(run->Current().Rm, 9000.0f);

        const std::filesystem::path file = File("1.Dia");
        ASSERT_TRUE(WriteCurveFile(file, run->Parameters, run->Buffer, run->Marks));
        auto back = std::make_unique<TestState>();
        back->Parameters.TestType = run->Parameters.TestType;
        ASSERT_TRUE(ReadCurveFile(file, back->Parameters, back->Buffer, back->Marks).Loaded());
        EXPECT_EQ(back->Marks.FmaxIndex, maximumAt);
        EXPECT_EQ(back->Buffer.Force(maximumAt), 9.0f);
        EvaluateTest(*back, false);
        EXPECT_EQ(back->Current().Rm, run->Current().Rm) << samplesAfterMaximum;
    }
}

TEST_F(TestFiles, CurveIntoComparisonSlot) {
    RecordTest(1000);
    state->Marks.ExtensionEndIndex = 900;
    ASSERT_TRUE(WriteCurveFile(File("3.Dia"), state->Parameters, state->Buffer, state->Marks));
    const SlotCurveSummary summary = ReadCurveIntoSlot(state->Curves, 4, File("3.Dia"));
    ASSERT_TRUE(summary.Status.Loaded());
    const SeriesCurves::CurveMarks& m = state->Curves.Marks(4);
    EXPECT_EQ(m.SampleCount, 1000) << "not reduced";
    EXPECT_EQ(m.FmaxIndex, 600);
    EXPECT_EQ(m.ExtensionEndIndex, 900);
    EXPECT_EQ(m.Lc, 60.0f);
    EXPECT_EQ(summary.LargestForce, state->Buffer.Force(600));
    EXPECT_EQ(summary.TravelSpan, state->Buffer.Travel(999));
    EXPECT_EQ(summary.ExtensionAtEnd, state->Buffer.Extension(900));
    EXPECT_EQ(summary.ForceAtEnd, state->Buffer.Force(900));
    EXPECT_EQ(state->Curves.Extension(4, 1000), state->Buffer.Extension(1000));

    auto tiny = std::make_unique<TestState>();
    for (float f : {1.0f, 2.0f, 1.5f, 0.1f}) Record(*tiny, f, f, f);
    FinishRecording(tiny->Marks);
    ASSERT_TRUE(WriteCurveFile(File("tiny.Dia"), tiny->Parameters, tiny->Buffer, tiny->Marks));
    EXPECT_TRUE(ReadCurveIntoSlot(state->Curves, 4, File("tiny.Dia")).Status.Loaded());
    EXPECT_EQ(state->Curves.Marks(4).SampleCount, 0);
    EXPECT_EQ(state->Curves.Marks(4).FmaxIndex, 0);
}

TEST_F(TestFiles, CopyCurveFile) {
    RecordTest(10);
    ASSERT_TRUE(WriteCurveFile(File("1.Dia"), state->Parameters, state->Buffer, state->Marks));
    ASSERT_TRUE(CopyCurveFile(File("1.Dia"), File("17.Dia")).Loaded());
    EXPECT_EQ(*ReadWholeFile(File("17.Dia")), *ReadWholeFile(File("1.Dia")));

    WriteBytes(File("empty.Dia"), {});
    WriteBytes(File("torn.Dia"), ByteImage(75, 1));
    for (const char* bad : {"empty.Dia", "torn.Dia"}) {
        const LoadResult result = CopyCurveFile(File(bad), File("17.Dia"));
        EXPECT_EQ(result.status, LoadStatus::Refused);
        EXPECT_NE(result.message.find(bad), std::string::npos);
    }
    EXPECT_EQ(std::filesystem::file_size(File("17.Dia")), 60u + 200u) << "target untouched";
}

TEST_F(TestFiles, HeaderFile) {
    HeaderLines lines;
    lines[0] = "Prüfer: Müller";
    lines[9] = std::string(60, 'x');  // cut to 50
    ASSERT_TRUE(WriteHeaderFile(File("2.Hea"), lines));
    const ByteImage image = *ReadWholeFile(File("2.Hea"));
    ASSERT_EQ(image.size(), 510u);
    EXPECT_EQ(image[0], 14);
    EXPECT_EQ(image[10], 0xFC) << "ü in Windows-1252";
    EXPECT_EQ(image[459], 50);

    HeaderLines read;
    ASSERT_TRUE(ReadHeaderFile(File("2.Hea"), read).Loaded());
    EXPECT_EQ(read[0], lines[0]);
    EXPECT_EQ(read[9], std::string(50, 'x'));

    WriteBytes(File("short.Hea"), ByteImage(image.begin(), image.begin() + 509));
    HeaderLines kept = read;
    const LoadResult refused = ReadHeaderFile(File("short.Hea"), kept);
    EXPECT_EQ(refused.status, LoadStatus::Refused);
    EXPECT_NE(refused.message.find("short.Hea"), std::string::npos);
    EXPECT_EQ(kept, read);
}

TEST_F(TestFiles, SpecimenFileKeepsEveryShape) {
    ParameterSet p;
    p.HeaderValue[3] = "Charge 4711";
    p.SpecimenShape = 4;
    p.Round.d = 8;
    p.Flat.a = 2.5f;
    p.Tube.So = 61;
    p.Mass.Further2 = 3;
    p.TubeSegment.Lv = 77;
    p.GaugeKind = 2;
    p.EffectiveSo = 50.98f;
    p.GaugeLengthLe = 25;
    p.SpecimenNo = "A-17";
    p.SpecimenId = "Coil 3";
    ASSERT_TRUE(SaveSpecimenFile(File("probe.pro"), p));
    const ByteImage image = *ReadWholeFile(File("probe.pro"));
    ASSERT_EQ(image.size(), 1230u);
    EXPECT_EQ(image[510], 4);
    EXPECT_EQ(FloatAt(image, 511), 8.0f);
    EXPECT_EQ(FloatAt(image, 531), 2.5f);
    EXPECT_EQ(FloatAt(image, 595), 3.0f);
    EXPECT_EQ(FloatAt(image, 615), 77.0f);
    EXPECT_EQ(image[623], 2);
    EXPECT_EQ(FloatAt(image, 636), 25.0f);
    EXPECT_EQ(image[640], 4);
    EXPECT_EQ(image[671], 6);
    EXPECT_EQ(image[779], 0);

    ParameterSet loaded;
    ASSERT_TRUE(LoadSpecimenFile(File("PROBE.PRO"), loaded).Loaded());
    EXPECT_EQ(loaded.HeaderValue[3], "Charge 4711");
    EXPECT_EQ(loaded.SpecimenShape, 4);
    EXPECT_EQ(loaded.Round.d, 8.0f);
    EXPECT_EQ(loaded.Flat.a, 2.5f);
    EXPECT_EQ(loaded.Tube.So, 61.0f);
    EXPECT_EQ(loaded.Mass.Further2, 3.0f);
    EXPECT_EQ(loaded.TubeSegment.Lv, 77.0f);
    EXPECT_EQ(loaded.EffectiveSo, 50.98f);
    EXPECT_EQ(loaded.SpecimenId, "Coil 3");

    WriteBytes(File("short.pro"), ByteImage(image.begin(), image.begin() + 1000));
    ParameterSet untouched;
    EXPECT_EQ(LoadSpecimenFile(File("short.pro"), untouched).status, LoadStatus::Refused);
    EXPECT_EQ(untouched.SpecimenShape, 0);
    EXPECT_EQ(SpecimenSaveName("/w/steel.old.txt"), std::filesystem::path("/w/steel.pro"));
    EXPECT_TRUE(DeleteSpecimenFile(File("probe.pro")));
    EXPECT_FALSE(DeleteSpecimenFile(File("probe.pro")));
}

TEST_F(TestFiles, SpecimenNumberFile) {
    ASSERT_TRUE(WriteSpecimenNumber(File(kSpecimenNumberFile), 42));
    EXPECT_EQ(*ReadWholeFile(File(kSpecimenNumberFile)), ByteImage({'4', '2', '\r', '\n'}));
    EXPECT_EQ(ReadSpecimenNumber(File("probennr.TXT")).Number, 42);

    const std::string cases[][2] = {
        {"Nr. 0017\nx9\n", "17"}, {"\n5\n", ""}, {"abc", ""}, {"99999999999999999999", ""}};
    for (const auto& c : cases) {
        WriteBytes(File("n.txt"), ByteImage(c[0].begin(), c[0].end()));
        const SpecimenNumberRead read = ReadSpecimenNumber(File("n.txt"));
        if (c[1].empty()) {
            EXPECT_EQ(read.Status.status, LoadStatus::Refused) << c[0];
            EXPECT_NE(read.Status.message.find("n.txt"), std::string::npos);
        } else {
            EXPECT_EQ(read.Number, std::stoll(c[1])) << c[0];
        }
    }
    EXPECT_EQ(ReadSpecimenNumber(File("none.txt")).Status.status, LoadStatus::Missing);
}

TEST_F(TestFiles, StoringATestInPsi) {
    RecordTest(50);
    ParameterSet& p = state->Parameters;
    p.UnitSystem = 2;
    p.SpecimenNo = "Probe-Nummer-mit-Überlänge";
    p.HeaderValue[0] = "Auftrag 1";
    ResultsRecord& current = state->Current();
    current.Rm = 500;
    current.E = 210000;
    current.Ag = 21.5f;
    current.Remark = "ok";
    const StoredFiles files = StoreTestInSeries(*state, 12, dir, 45000.5);
    EXPECT_TRUE(files.Curve);
    EXPECT_TRUE(files.Header);

    const ResultsRecord& stored = state->TestSeries.Slots[12];
    EXPECT_NEAR(stored.Rm, 72518.85, 0.01);
    EXPECT_NEAR(stored.E, 210000 * 145.0377, 1);
    EXPECT_NEAR(stored.So, 0.121737, 1e-6);
    EXPECT_NEAR(current.Rm, 72518.85, 0.01) << "the current record is converted too";
    EXPECT_EQ(stored.Ag, 21.5f);
    EXPECT_EQ(stored.Remark, "ok");
    EXPECT_EQ(stored.SpecimenNo, "Probe-Nummer-m");
    EXPECT_EQ(stored.Date, 45000.5);
    EXPECT_EQ(stored.GaugeAtAc, 60.0f) << "a stored record keeps Lc";
    EXPECT_EQ(stored.SampleCount, 50);
    EXPECT_EQ(stored.FmaxIndex, state->Marks.FmaxIndex);
    EXPECT_EQ(stored.CurveNumber, 12);
    EXPECT_EQ(stored.RecordNumber, 12);
    EXPECT_EQ(std::filesystem::file_size(dir / "12.Dia"), 60u + 20u * 50u);
    EXPECT_FLOAT_EQ(FloatAt(*ReadWholeFile(dir / "12.Dia"), 0), 78.54f) << "the curve keeps mm²";
    EXPECT_EQ(std::filesystem::file_size(dir / "12.Hea"), 510u);
    EXPECT_TRUE(files.RawData);
    const ByteImage raw = *ReadWholeFile(dir / "12.Txt");
    EXPECT_EQ(std::string(raw.begin(), raw.begin() + 23), "[Headings]\r\nAuftrag 1\r\n");
    EXPECT_EQ(std::count(raw.begin(), raw.end(), '\n'), 12 + 50)
        << "the headings, one line a sample";

    // A compression test marks its slot with Rm 10; without saved curves the curve number is 0.
    p.UnitSystem = 0;
    p.TestType = 9;
    p.SaveCurves = 0;
    current.Rm = 1234;
    StoreTestInSeries(*state, 3, dir, 45000.5);
    EXPECT_EQ(state->TestSeries.Slots[3].Rm, 10.0f);
    EXPECT_EQ(state->TestSeries.Slots[3].CurveNumber, 0);
    EXPECT_TRUE(std::filesystem::exists(dir / "3.Dia"));
    EXPECT_EQ(CountOccupiedSlots(state->TestSeries), 2);

    // Files that cannot be written leave the slot filled.
    const StoredFiles none = StoreTestInSeries(*state, 4, dir / "missing", 1.0);
    EXPECT_FALSE(none.Curve);
    EXPECT_FALSE(none.RawData);
    EXPECT_EQ(state->TestSeries.Slots[4].RecordNumber, 4);
}

}  // namespace
}  // namespace quorvex
