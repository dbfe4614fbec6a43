// Tolerance rules shared by the decoders.
#ifndef IRCODEC_TIMING_H
#define IRCODEC_TIMING_H

#include <cstdint>

namespace ircodec {

// A measured duration matches a nominal one when it is within 25 % of it, or
// within 100 microseconds for short durations, as real receivers demand.
constexpr int32_t kMinToleranceUs = 100;
constexpr int32_t kTolerancePercent = 25;

inline int64_t tolerance(int64_t nominal)
{
    const int64_t relative = nominal * kTolerancePercent / 100;
    return relative > kMinToleranceUs ? relative : kMinToleranceUs;
}

inline bool matches(int64_t measured, int64_t nominal)
{
    const int64_t diff = measured > nominal ? measured - nominal : nominal - measured;
    return diff <= tolerance(nominal);
}

// The relative rule alone, for protocols whose durations are shorter than the
// absolute floor (ITT's 100 microsecond intervals).
inline bool matchesRelative(int64_t measured, int64_t nominal)
{
    const int64_t diff = measured > nominal ? measured - nominal : nominal - measured;
    return diff * 100 <= nominal * kTolerancePercent;
}

// Nanoseconds to whole microseconds, rounded to nearest.
inline int32_t nsToUs(int64_t ns)
{
    return static_cast<int32_t>((ns + 500) / 1000);
}

} // namespace ircodec

#endif // IRCODEC_TIMING_H
