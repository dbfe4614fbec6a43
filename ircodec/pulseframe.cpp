#include "pulseframe.h"

#include "timing.h"

#include <cstdlib>

namespace ircodec {

namespace {

const Separator *separatorAfter(const PulseLayout &layout, int bit, int bits)
{
    if (bit >= bits)
        return nullptr;
    for (const Separator &s : layout.separators)
        if (s.afterBit == bit)
            return &s;
    return nullptr;
}

struct PairWindows
{
    explicit PairWindows(const MarkSpace &nominal)
        : mark(nominal.mark, Level::Mark), space(nominal.space, Level::Space)
    {
    }
    Window mark;
    Window space;
};

// How far a duration is from a nominal, relative to it.
double distance(int64_t measured, int64_t nominal)
{
    return nominal > 0 ? std::abs(static_cast<double>(measured - nominal)) / nominal : 0.0;
}

} // namespace

int pulseFrameBits(const PulseLayout &layout, size_t durations)
{
    const size_t header = hasHeader(layout) ? 2 : 0;
    if (durations <= header)
        return -1;
    // Estimate without separators, then step down past each one that fits.
    const long rest = static_cast<long>(durations - header) + (layout.stopMark > 0 ? -1 : 1);
    for (int bits = static_cast<int>(rest / 2); bits > 0; --bits) {
        const size_t need = pulseFrameDurations(layout, bits);
        if (need == durations)
            return bits;
        if (need < durations)
            return -1;
    }
    return -1;
}

bool readPulseFrame(const PulseLayout &layout, const Durations &d, BitString &bits)
{
    const int count = pulseFrameBits(layout, d.size());
    if (count <= 0)
        return false;
    EdgeCheck edges;
    size_t pos = 0;
    const auto take = [&](const Window &window) {
        const int32_t measured = d[pos++];
        return window.fits(measured) && edges.next(measured, window);
    };
    if (hasHeader(layout)) {
        const PairWindows header(layout.header);
        if (!take(header.mark) || !take(header.space))
            return false;
    }
    const PairWindows zero(layout.zero);
    const PairWindows one(layout.one);
    bits = BitString();
    bits.reserve(count);
    for (int i = 0; i < count; ++i) {
        const bool withSpace = i < count - 1 || layout.stopMark > 0;
        const int32_t mark = d[pos];
        const int32_t space = withSpace ? d[pos + 1] : 0;
        const auto fits = [&](const PairWindows &w) {
            return w.mark.fits(mark) && (!withSpace || w.space.fits(space));
        };
        const bool zeroFits = fits(zero);
        const bool oneFits = fits(one);
        if (!zeroFits && !oneFits)
            return false;
        bool isOne = oneFits;
        if (zeroFits && oneFits) {
            const auto far = [&](const MarkSpace &n) {
                return distance(mark, n.mark) + (withSpace ? distance(space, n.space) : 0.0);
            };
            isOne = far(layout.one) < far(layout.zero);
        }
        const PairWindows &bit = isOne ? one : zero;
        if (!take(bit.mark) || (withSpace && !take(bit.space)))
            return false;
        bits.push(isOne);
        if (const Separator *s = separatorAfter(layout, i + 1, count)) {
            const PairWindows separator(s->pair);
            if (!take(separator.mark) || !take(separator.space))
                return false;
        }
    }
    if (!edges.finish())
        return false;
    if (layout.stopMark > 0 && !stopMarkWindow(layout.stopMark).fits(d[pos]))
        return false;
    return true;
}

Durations writePulseFrame(const PulseLayout &layout, const BitString &bits)
{
    Durations out;
    const int count = bits.size();
    if (count == 0)
        return out;
    out.reserve(pulseFrameDurations(layout, count));
    if (hasHeader(layout)) {
        out.push_back(layout.header.mark);
        out.push_back(layout.header.space);
    }
    for (int i = 0; i < count; ++i) {
        const MarkSpace &bit = bits.at(i) ? layout.one : layout.zero;
        out.push_back(bit.mark);
        if (i < count - 1 || layout.stopMark > 0)
            out.push_back(bit.space);
        if (const Separator *s = separatorAfter(layout, i + 1, count)) {
            out.push_back(s->pair.mark);
            out.push_back(s->pair.space);
        }
    }
    if (layout.stopMark > 0)
        out.push_back(layout.stopMark);
    return out;
}

} // namespace ircodec
