// Recording into the measurement buffer and the searches the evaluation shares.
#include "measurement_buffer.h"

#include <algorithm>
#include <cmath>

namespace quorvex {

void MeasurementBuffer::Clear() { std::fill(values_.begin(), values_.end(), 0.0f); }

void StartRecording(MeasurementBuffer& buffer, TestMarks& marks) {
    buffer.Clear();
    marks.StoredSamples = 0;
    marks.SampleCount = 0;
    marks.FmaxIndex = 0;
}

bool RecordSample(MeasurementBuffer& buffer, TestMarks& marks, const Sample& sample) {
    if (BufferFull(marks)) return false;
    const int i = ++marks.StoredSamples;
    for (int channel = 1; channel <= kChannelCount; ++channel) {
        buffer.At(static_cast<Channel>(channel), i) = sample[static_cast<std::size_t>(channel - 1)];
    }
    if (marks.FmaxIndex == 0 || buffer.Force(i) >= buffer.Force(marks.FmaxIndex)) {
        marks.FmaxIndex = i;
    }
    return true;
}

void FinishRecording(TestMarks& marks) { marks.SampleCount = std::max(0, marks.StoredSamples - 2); }

int FindFirstSampleAbove(const MeasurementBuffer& buffer, int sampleCount, double forceKn) {
    const int last = std::min(sampleCount, kBufferCapacity);
    for (int i = 2; i <= last; ++i) {
        if (buffer.Force(i) > forceKn) return i;
    }
    return sampleCount;
}

MaximumExtension FindMaximumExtension(const MeasurementBuffer& buffer, int sampleCount) {
    MaximumExtension result;
    const int last = std::min(sampleCount, kBufferCapacity);
    for (int i = 1; i <= last; ++i) {
        if (result.index == 0 || buffer.Extension(i) > result.extension) {
            result.index = i;
            result.extension = buffer.Extension(i);
            result.force = std::max(result.force, buffer.Force(i));
        }
    }
    return result;
}

double SampleInterval(std::int32_t samplingIndex) {
    switch (samplingIndex) {
        case 1: return 0.1258;
        case 2: return 0.2516;
        case 3: return 0.629;
        case 4: return 1.2516;
        default: return 0.0629;
    }
}

int TicksPerStoredSample(std::int32_t samplingIndex) {
    return static_cast<int>(std::lround(SampleInterval(samplingIndex) * 1000.0)) / 50;
}

}  // namespace quorvex
