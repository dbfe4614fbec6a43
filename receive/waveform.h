#ifndef WAVEFORM_H
#define WAVEFORM_H

#include <QString>

#include <vector>

namespace waveform {

// Idle samples drawn before and after every frame.
constexpr int kIdleRunSamples = 1000;
// The most samples one waveform draws. Every frame our adapters report fits
// (255 timings of at most 0xFFFF units, and the two idle runs); a longer frame
// is drawn up to here while its axis still shows its whole length.
constexpr int kMaxSamples = 1 << 24;

constexpr double kHigh = 1.0;
constexpr double kLow = 0.0;

// Consecutive samples of one level.
struct Run
{
    double level;
    int length;
};

// A two-level waveform as runs of equal samples, one sample per raw unit.
struct Waveform
{
    // In order, each longer than 0, neighbours of different levels.
    std::vector<Run> runs;
    // Samples drawn: the sum of the run lengths, at most kMaxSamples.
    int samples = 0;
    // The frame's whole length in samples, the end of the plot's axis; more
    // than samples only for a frame cut at kMaxSamples.
    long long length = 0;
};

// The waveform of a raw timing list such as "180,90,11": the idle run at 1,
// then one sample per unit, 0 for the first timing and alternating after it,
// then the idle run again. A part that is not a decimal number, or is
// negative, counts as 0 and keeps its position.
Waveform build(const QString &rawList);

// The waveform of a level buffer: count samples, each kHigh or kLow.
Waveform fromSamples(const double *samples, int count);

// The level of every sample drawn, in order.
std::vector<double> samples(const Waveform &wave);

} // namespace waveform

#endif // WAVEFORM_H
