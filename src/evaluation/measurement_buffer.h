// The measurement buffer that a test run fills one sample at a time, and the counters and
// marks (sample indices, 1-based) that the run and the evaluation set on it.
#pragma once

#include <array>
#include <cassert>
#include <cstdint>
#include <vector>

namespace quorvex {

enum class Channel : int {
    Force = 1,        // kN (compression test: as measured)
    Travel = 2,       // crosshead travel, mm
    Extension = 3,    // extensometer elongation, mm; 0 once the extensometer is taken off
    WidthChange = 4,  // transverse gauge, mm
    Spare = 5,        // allocated and cleared, never filled
    Probe1 = 6,       // displacement probes of the compression test, mm
    Probe2 = 7,
    Probe3 = 8,
};

constexpr int kChannelCount = 8;
constexpr int kBufferCapacity = 25000;

// One value per channel, in channel order.
using Sample = std::array<float, kChannelCount>;

// Eight channels of 25000 single floats, allocated once and reused for every test.
class MeasurementBuffer {
public:
    MeasurementBuffer() : values_(static_cast<std::size_t>(kChannelCount) * kBufferCapacity) {}

    // i runs from 1 to kBufferCapacity.
    float& At(Channel channel, int i) { return values_[Slot(channel, i)]; }
    float At(Channel channel, int i) const { return values_[Slot(channel, i)]; }

    float Force(int i) const { return At(Channel::Force, i); }
    float Travel(int i) const { return At(Channel::Travel, i); }
    float Extension(int i) const { return At(Channel::Extension, i); }
    float WidthChange(int i) const { return At(Channel::WidthChange, i); }

    // Contiguous samples 1..kBufferCapacity of one channel.
    const float* Data(Channel channel) const { return &values_[Slot(channel, 1)]; }
    float* Data(Channel channel) { return &values_[Slot(channel, 1)]; }

    void Clear();

private:
    static std::size_t Slot(Channel channel, int i) {
        assert(i >= 1 && i <= kBufferCapacity);
        return static_cast<std::size_t>(static_cast<int>(channel) - 1) * kBufferCapacity +
               static_cast<std::size_t>(i - 1);
    }
    std::vector<float> values_;
};

// Counters and marks of the buffer; 0 means "not set" unless stated otherwise.
struct TestMarks {
    int StoredSamples = 0;      // samples stored by the run so far
    int SampleCount = 0;        // samples the evaluation uses
    int FmaxIndex = 0;          // maximum force; among equal maxima the latest
    int BreakIndex = 0;         // first sample after Fmax below 0.995 × Fmax
    int ExtensionEndIndex = 0;  // largest extensometer value (1 when not usable)
    int ProofIndex1 = 1;        // sample before the crossing of each proof-strength search
    int ProofIndex2 = 1;
    int ProofIndex3 = 1;
    int ModulusRangeStart = 0;  // samples of the modulus regression
    int ModulusRangeEnd = 0;
    int HysteresisStart = 0;  // unload-reload loop of the run, 0 when there was none
    int HysteresisEnd = 0;
    double ModulusLineIntercept = 0.0;  // N/mm² at zero strain of the elastic line
    double ModulusLineSlope = 0.0;      // for drawing the line
    double DrawnLineIntercept = 0.0;    // copy of the intercept for drawing
    bool EvaluationDone = false;
};

// Test start: buffer cleared, StoredSamples, SampleCount and FmaxIndex to 0.
void StartRecording(MeasurementBuffer& buffer, TestMarks& marks);

// Appends one sample behind the stored ones and follows the force maximum (a sample equal
// to the largest force so far becomes the new maximum). Returns false, storing nothing, when
// the buffer is already full. Allocates nothing.
bool RecordSample(MeasurementBuffer& buffer, TestMarks& marks, const Sample& sample);

inline bool BufferFull(const TestMarks& marks) { return marks.StoredSamples >= kBufferCapacity; }

// Test end: the last two stored samples are never evaluated.
void FinishRecording(TestMarks& marks);

// The first index i >= 2 with Force(i) > forceKn up to sampleCount; sampleCount when none.
int FindFirstSampleAbove(const MeasurementBuffer& buffer, int sampleCount, double forceKn);

struct MaximumExtension {
    int index = 0;          // last index at which a new maximum occurred
    float extension = 0.0f; // the largest extension
    float force = 0.0f;     // the largest force seen at those points
};

// Largest Extension over samples 1..sampleCount.
MaximumExtension FindMaximumExtension(const MeasurementBuffer& buffer, int sampleCount);

// Seconds between stored samples for a sampling-rate choice (0..4, anything else as 0):
// the measured periods of the measuring loop.
double SampleInterval(std::int32_t samplingIndex);

// Measuring ticks of 50 ms per stored sample for a sampling-rate choice: 1, 2, 5, 12, 25.
int TicksPerStoredSample(std::int32_t samplingIndex);

}  // namespace quorvex
