#include "evaluation/measurement_buffer.h"

#include <gtest/gtest.h>

#include <memory>

namespace quorvex {
namespace {

Sample ForceAndExtension(float force, float extension) {
    Sample s{};
    s[0] = force;
    s[2] = extension;
    return s;
}

TEST(MeasurementBuffer, FlatMaximumEndsOnTheLastSampleOfThePlateau) {
    auto buffer = std::make_unique<MeasurementBuffer>();
    TestMarks marks;
    StartRecording(*buffer, marks);
    for (float f : {1.0f, 5.0f, 9.0f, 9.0f, 9.0f, 4.0f}) RecordSample(*buffer, marks, ForceAndExtension(f, 0));
    EXPECT_EQ(marks.StoredSamples, 6);
    EXPECT_EQ(marks.FmaxIndex, 5);
    FinishRecording(marks);
    EXPECT_EQ(marks.SampleCount, 4);
}

TEST(MeasurementBuffer, FullBufferStopsAt25000) {
    auto buffer = std::make_unique<MeasurementBuffer>();
    TestMarks marks;
    StartRecording(*buffer, marks);
    int accepted = 0;
    for (int i = 1; i <= kBufferCapacity + 3; ++i) {
        accepted += RecordSample(*buffer, marks, ForceAndExtension(static_cast<float>(i % 7), 0)) ? 1 : 0;
    }
    EXPECT_EQ(accepted, kBufferCapacity);
    EXPECT_TRUE(BufferFull(marks));
    EXPECT_FLOAT_EQ(buffer->Force(kBufferCapacity), static_cast<float>(kBufferCapacity % 7));
    FinishRecording(marks);
    EXPECT_EQ(marks.SampleCount, 24998);

    StartRecording(*buffer, marks);
    EXPECT_EQ(marks.StoredSamples, 0);
    EXPECT_EQ(marks.FmaxIndex, 0);
    EXPECT_FLOAT_EQ(buffer->Force(kBufferCapacity), 0.0f);
}

TEST(MeasurementBuffer, Searches) {
    auto buffer = std::make_unique<MeasurementBuffer>();
    TestMarks marks;
    // force:     5  1  2  3  3  2;  extension: 0 .1 .3 .3 .2 .3
    const float forces[] = {5, 1, 2, 3, 3, 2};
    const float extensions[] = {0, 0.1f, 0.3f, 0.3f, 0.2f, 0.3f};
    for (int i = 0; i < 6; ++i) RecordSample(*buffer, marks, ForceAndExtension(forces[i], extensions[i]));
    // Sample 1 is never the answer, even above the force.
    EXPECT_EQ(FindFirstSampleAbove(*buffer, 6, 1.5), 3);
    EXPECT_EQ(FindFirstSampleAbove(*buffer, 6, 2.5), 4);
    EXPECT_EQ(FindFirstSampleAbove(*buffer, 6, 10.0), 6);
    EXPECT_EQ(FindFirstSampleAbove(*buffer, 3, 2.5), 3);

    const MaximumExtension max = FindMaximumExtension(*buffer, 6);
    EXPECT_EQ(max.index, 3);  // equal values later do not replace it
    EXPECT_FLOAT_EQ(max.extension, 0.3f);
    EXPECT_FLOAT_EQ(max.force, 5.0f);  // largest force at the points of a new maximum
    EXPECT_EQ(FindMaximumExtension(*buffer, 0).index, 0);
}

TEST(MeasurementBuffer, SampleIntervals) {
    const double intervals[] = {0.0629, 0.1258, 0.2516, 0.629, 1.2516};
    const int ticks[] = {1, 2, 5, 12, 25};
    for (int i = 0; i < 5; ++i) {
        EXPECT_DOUBLE_EQ(SampleInterval(i), intervals[i]);
        EXPECT_EQ(TicksPerStoredSample(i), ticks[i]);
    }
    EXPECT_DOUBLE_EQ(SampleInterval(7), 0.0629);
    EXPECT_DOUBLE_EQ(SampleInterval(-1), 0.0629);
}

}  // namespace
}  // namespace quorvex
