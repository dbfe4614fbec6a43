#ifndef LEVELS_H
#define LEVELS_H

#include <QString>

#include <vector>

namespace levels {

// Idle samples drawn before and after every frame.
constexpr int IdleRunSamples = 1000;
// The most samples a waveform holds; longer frames are cut off here. Far
// above any real frame (256 timings of a few thousand units each).
constexpr int MaxSamples = 10000000;

// The two-level waveform of a raw timing list such as "180,90,11": the idle
// run at 1, then one sample per unit, 0 for the first timing and alternating
// after it, then the idle run again. A part that is not a decimal number, or
// is negative, counts as 0.
std::vector<double> build(const QString &rawList);

} // namespace levels

#endif // LEVELS_H
