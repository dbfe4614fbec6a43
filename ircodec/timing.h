// Tolerance rules shared by the decoders.
//
// What a receiver does to a frame: its timing wanders a little either way
// (remote oscillators, sampling), and an integrated IR receiver module also
// lengthens every mark and shortens every space by a roughly constant amount,
// its excess, typically 50 to 200 microseconds (an NEC bit of 560 / 560 comes
// out as 700 / 420, an RC6 half-bit of 444 / 444 as 600 / 300). The excess
// is an absolute time, so it matters for short durations only.
//
// The rule: a measured duration d matches a nominal n
//   - within max(100 us, 25 % of n) either way, for marks and spaces alike,
//   - and, on the side the excess pushes it, within 200 us even when that
//     is more: a mark may be up to max(200 us, 25 % of n) longer than n, a
//     space up to as much shorter.
// Marks and spaces are matched one by one, each on its own window. The
// windows of a protocol's different durations stay apart, so every duration
// still names its nominal unambiguously (bi-phase runs excepted, where the
// frame's structure decides). The excess widens the windows rather than
// shifting them by a fixed amount, as receivers differ in their excess and
// some recordings (converted from other formats) have none or a little the
// other way; and it is not added on top of the relative margin, so that the
// short marks of one protocol do not fit another's (JVC's 527 us marks are
// not MITSUBISHI's 300 us ones). The rule is applied per duration because
// the frames that matter most are decided by single durations: the number of
// durations, a header, a check field.
#ifndef IRCODEC_TIMING_H
#define IRCODEC_TIMING_H

#include <cstdint>

namespace ircodec {

constexpr int32_t kMinToleranceUs = 100;
constexpr int32_t kTolerancePercent = 25;
// The largest receiver excess allowed for: marks longer, spaces shorter.
constexpr int32_t kReceiverExcessUs = 250;

// Whether a duration is a mark (carrier on) or a space.
enum class Level { Mark, Space };

inline int64_t tolerance(int64_t nominal)
{
    const int64_t relative = nominal * kTolerancePercent / 100;
    return relative > kMinToleranceUs ? relative : kMinToleranceUs;
}

// The margin on the side that the receiver's excess pushes a duration to.
inline int64_t excessTolerance(int64_t nominal)
{
    const int64_t half = nominal / 2;
    const int64_t excess = half < kReceiverExcessUs ? half : kReceiverExcessUs;
    const int64_t usual = tolerance(nominal);
    return usual > excess ? usual : excess;
}

inline bool matches(int64_t measured, int64_t nominal, Level level)
{
    const int64_t longer = level == Level::Mark ? excessTolerance(nominal) : tolerance(nominal);
    const int64_t shorter = level == Level::Space ? excessTolerance(nominal) : tolerance(nominal);
    return measured >= nominal - shorter && measured <= nominal + longer;
}

inline bool matchesMark(int64_t measured, int64_t nominal)
{
    return matches(measured, nominal, Level::Mark);
}

inline bool matchesSpace(int64_t measured, int64_t nominal)
{
    return matches(measured, nominal, Level::Space);
}

// The relative rule alone, for protocols whose durations are shorter than the
// absolute floor (ITT's 100 microsecond intervals between 10 microsecond
// flashes, which no carrier receiver module passes).
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
