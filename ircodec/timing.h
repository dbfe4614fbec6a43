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

constexpr int64_t tolerance(int64_t nominal)
{
    const int64_t relative = nominal * kTolerancePercent / 100;
    return relative > kMinToleranceUs ? relative : kMinToleranceUs;
}

// The margin on the side that the receiver's excess pushes a duration to:
// x above.
constexpr int64_t excessTolerance(int64_t nominal)
{
    const int64_t half = nominal / 2;
    const int64_t excess = half < kReceiverExcessUs ? half : kReceiverExcessUs;
    const int64_t usual = tolerance(nominal);
    return usual > excess ? usual : excess;
}

// What a mark or space of one nominal may measure, worked out once.
struct Window
{
    Window() = default;
    constexpr Window(int64_t nominal, Level level)
        : level(level),
          nominal(nominal),
          margin(tolerance(nominal)),
          low(nominal - (level == Level::Space ? excessTolerance(nominal) : margin)),
          high(nominal + (level == Level::Mark ? excessTolerance(nominal) : margin))
    {
    }
    constexpr bool fits(int64_t measured) const
    {
        return measured >= low && measured <= high;
    }

    Level level = Level::Mark;
    int64_t nominal = 0;
    int64_t margin = 0; // the usual margin, t
    int64_t low = 0;
    int64_t high = 0;
};

// The window of a frame's last mark, its stop mark: from a mark's usual
// lower bound up to twice its nominal length. It carries no data and
// nothing follows it inside the frame, and remotes stretch it (NEC-timed
// remotes end their frames with 850 us marks for 560).
inline Window stopMarkWindow(int64_t nominal)
{
    Window window(nominal, Level::Mark);
    window.high = window.high > 2 * nominal ? window.high : 2 * nominal;
    return window;
}

// One duration against its window, without its neighbours.
inline bool matches(int64_t measured, int64_t nominal, Level level)
{
    return Window(nominal, level).fits(measured);
}

// Checks the edges of a frame as its durations are decided, in order from a
// mark: a duration that gains more than its usual margin on the side the
// excess pushes to (a mark's lengthening, a space's shortening) needs a
// neighbour whose own gain is at most the usual margin less: the edge
// between them moved. A duration is settled once its next one is known, the
// last one at the end. Small and copied freely, so that a search can go back.
class EdgeCheck
{
public:
    // The next duration and the window it was matched in. False when the
    // one before it has no agreeing neighbour.
    bool next(int64_t measured, const Window &window)
    {
        const int64_t gain
            = window.level == Level::Mark ? measured - window.nominal : window.nominal - measured;
        older_ = previous_;
        previous_ = latest_;
        latest_ = {gain, window.margin, true};
        return settled(previous_, older_, latest_);
    }
    // False when the last duration has no agreeing neighbour.
    bool finish() const
    {
        return settled(latest_, previous_, Seen{});
    }

private:
    struct Seen
    {
        int64_t gain = 0;
        int64_t margin = 0;
        bool present = false;
    };

    static bool settled(const Seen &d, const Seen &before, const Seen &after)
    {
        const auto gaveUp = [&](const Seen &n) { return n.present && d.gain - n.gain <= n.margin; };
        return !d.present || d.gain <= d.margin || gaveUp(before) || gaveUp(after);
    }

    Seen older_, previous_, latest_;
};

// `count` durations from `d`, alternating from a mark, against `nominals`
// one by one: each within its window, and the edges agreeing.
inline bool matchesAll(const int32_t *d, size_t count, const int32_t *nominals)
{
    EdgeCheck edges;
    for (size_t i = 0; i < count; ++i) {
        const Window window(nominals[i], i % 2 == 0 ? Level::Mark : Level::Space);
        if (!window.fits(d[i]) || !edges.next(d[i], window))
            return false;
    }
    return edges.finish();
}

// The relative rule alone, for protocols whose durations are shorter than the
// absolute floor (ITT's 100 microsecond intervals between 10 microsecond
// flashes, which no carrier receiver module passes).
inline bool matchesRelative(int64_t measured, int64_t nominal)
{
    const int64_t diff = measured > nominal ? measured - nominal : nominal - measured;
    return diff * 100 <= nominal * kTolerancePercent;
}

// Nanoseconds to whole microseconds, rounded to nearest; wide for sums
// that may pass the longest duration.
constexpr int64_t nsToWideUs(int64_t ns)
{
    return (ns + 500) / 1000;
}
constexpr int32_t nsToUs(int64_t ns)
{
    return static_cast<int32_t>(nsToWideUs(ns));
}

} // namespace ircodec

#endif // IRCODEC_TIMING_H
