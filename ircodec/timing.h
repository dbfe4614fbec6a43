// Tolerance rules shared by the decoders.
//
// What happens to a frame on its way in: its timing wanders a little either
// way (the remote's oscillator, sampling), and an integrated IR receiver
// module lengthens every mark and shortens every space by a roughly constant
// amount, its excess. Recordings show 50 to 200 microseconds (NEC's 560 / 560
// us bits arrive as 700 / 420, RC6's 444 / 444 us half-bits as 600 / 300), a
// little the other way in some, none in codes converted from other formats.
// The excess is an absolute time, so it matters for short durations only.
//
// The rule: a measured duration d matches a nominal n when
//     n - t <= d <= n + x   for a mark,
//     n - x <= d <= n + t   for a space,
// with the usual margin t = max(100 us, 25 % of n) and, on the side the
// excess pushes to, x = max(t, min(250 us, n / 2)). The excess moves an
// edge, it does not lengthen a frame: time that a duration gains beyond t on
// that side comes from a neighbour. So a mark longer than n + t needs a
// space next to it that is shorter than its nominal by about as much (give
// or take the space's t), and a space shorter than n - t a mark next to it
// that is longer by about as much. A receiver's excess moves the edge at
// the end of every mark; noise may move any single edge either way.
//
// Why so. Every duration is judged on its own window, since frames are told
// apart by single durations (a header, a check field, the count). Comparing
// mark + space periods would cancel the excess but give up the mark's own
// evidence; correcting by an assumed excess fails the receivers and
// recordings that have another one; widening the one side takes them all.
// The allowance is not added on top of t and is at most half of n (past
// which a bi-phase duration is nearer to the next whole number of units),
// so that the short marks of one protocol do not pass for another's:
// MITSUBISHI's 300 us marks end at 450, short of JVC's 527. Asking a
// neighbour for the time keeps out frames that are merely fast or slow: a
// SANYO frame 15 % fast has marks as long as a SAMSUNG frame's after a
// receiver, but spaces longer than SAMSUNG's, which no receiver makes.
#ifndef IRCODEC_TIMING_H
#define IRCODEC_TIMING_H

#include <cstddef>
#include <cstdint>

namespace ircodec {

constexpr int32_t kMinToleranceUs = 100;
constexpr int32_t kTolerancePercent = 25;
// The largest receiver excess allowed for (x above).
constexpr int32_t kReceiverExcessUs = 250;

// Whether a duration is a mark (carrier on) or a space.
enum class Level { Mark, Space };

inline int64_t tolerance(int64_t nominal)
{
    const int64_t relative = nominal * kTolerancePercent / 100;
    return relative > kMinToleranceUs ? relative : kMinToleranceUs;
}

// The margin on the side that the receiver's excess pushes a duration to:
// x above.
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

// What a duration gains on the side the excess pushes to: a mark's
// lengthening, a space's shortening.
inline int64_t gain(int64_t measured, int64_t nominal, Level level)
{
    return level == Level::Mark ? measured - nominal : nominal - measured;
}

// `count` durations from `d`, alternating from a mark; `nominal(i)` is the
// nominal taken for d[i]. Whether d[i], if it gains more than its usual
// margin, has a neighbour that gave up about as much (its own gain at most
// the usual margin less): the edge between them moved.
template <typename Nominal>
bool edgeAgrees(const int32_t *d, size_t count, size_t i, const Nominal &nominal)
{
    const auto levelAt = [](size_t j) { return j % 2 == 0 ? Level::Mark : Level::Space; };
    const auto gainAt = [&](size_t j) { return gain(d[j], nominal(j), levelAt(j)); };
    const int64_t gained = gainAt(i);
    if (gained <= tolerance(nominal(i)))
        return true;
    const auto gaveUp = [&](size_t j) { return gained - gainAt(j) <= tolerance(nominal(j)); };
    return (i > 0 && gaveUp(i - 1)) || (i + 1 < count && gaveUp(i + 1));
}

// The same for every one of the durations.
template <typename Nominal> bool edgesAgree(const int32_t *d, size_t count, const Nominal &nominal)
{
    for (size_t i = 0; i < count; ++i)
        if (!edgeAgrees(d, count, i, nominal))
            return false;
    return true;
}

// `count` durations from `d`, alternating from a mark, against `nominals`
// one by one: each within its window, and the edges agreeing.
inline bool matchesAll(const int32_t *d, size_t count, const int32_t *nominals)
{
    for (size_t i = 0; i < count; ++i)
        if (!matches(d[i], nominals[i], i % 2 == 0 ? Level::Mark : Level::Space))
            return false;
    return edgesAgree(d, count, [&](size_t i) { return nominals[i]; });
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
