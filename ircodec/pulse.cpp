#include "pulse.h"

#include "codecs.h"
#include "timing.h"

namespace ircodec {

namespace {

bool hasHeader(const PulseTable &table)
{
    return table.header.mark > 0;
}

size_t headerEntries(const PulseTable &table)
{
    return hasHeader(table) ? 2 : 0;
}

// Entries after the bits: the stop mark, or minus the missing last space.
int tailEntries(const PulseTable &table)
{
    return table.stopMark > 0 ? 1 : -1;
}

} // namespace

Durations pulseEncode(const PulseTable &table, uint64_t bits, int count)
{
    Durations out;
    out.reserve(headerEntries(table) + 2 * count + 1);
    if (hasHeader(table)) {
        out.push_back(table.header.mark);
        out.push_back(table.header.space);
    }
    for (int i = count - 1; i >= 0; --i) {
        const MarkSpace &bit = ((bits >> i) & 1u) ? table.one : table.zero;
        out.push_back(bit.mark);
        if (i > 0 || table.stopMark > 0)
            out.push_back(bit.space);
    }
    if (table.stopMark > 0)
        out.push_back(table.stopMark);
    return out;
}

int pulseBitCount(const PulseTable &table, size_t entries)
{
    const long body
        = static_cast<long>(entries) - static_cast<long>(headerEntries(table)) - tailEntries(table);
    if (body <= 0 || body % 2 != 0)
        return -1;
    return static_cast<int>(body / 2);
}

namespace {

// A mark and its space as they may measure.
struct PairWindows
{
    explicit PairWindows(const MarkSpace &nominal)
        : mark(nominal.mark, Level::Mark), space(nominal.space, Level::Space)
    {
    }
    Window mark;
    Window space;
};

} // namespace

std::optional<uint64_t> pulseDecode(const PulseTable &table, const Durations &d, int count)
{
    if (count <= 0 || count > 64 || pulseBitCount(table, d.size()) != count)
        return std::nullopt;
    EdgeCheck edges;
    size_t pos = 0;
    if (hasHeader(table)) {
        const PairWindows header(table.header);
        if (!header.mark.fits(d[0]) || !header.space.fits(d[1]) || !edges.next(d[0], header.mark)
            || !edges.next(d[1], header.space))
            return std::nullopt;
        pos = 2;
    }
    const PairWindows zero(table.zero);
    const PairWindows one(table.one);
    uint64_t bits = 0;
    for (int i = 0; i < count; ++i, pos += 2) {
        const bool lastWithoutSpace = i == count - 1 && table.stopMark == 0;
        const auto fits = [&](const PairWindows &bit) {
            return bit.mark.fits(d[pos]) && (lastWithoutSpace || bit.space.fits(d[pos + 1]));
        };
        const bool isOne = !fits(zero);
        if (isOne && !fits(one))
            return std::nullopt;
        bits = (bits << 1) | (isOne ? 1u : 0u);
        const PairWindows &bit = isOne ? one : zero;
        if (!edges.next(d[pos], bit.mark)
            || (!lastWithoutSpace && !edges.next(d[pos + 1], bit.space)))
            return std::nullopt;
    }
    // The stop mark may stretch (timing.h); the edges before it settle
    // without it.
    if (!edges.finish())
        return std::nullopt;
    if (table.stopMark > 0 && !stopMarkWindow(table.stopMark).fits(d[pos]))
        return std::nullopt;
    return bits;
}

std::optional<Bursts> plainEncode(const PlainFrame &layout, const Frame &frame)
{
    if (frame.bits < layout.minBits || frame.bits > layout.maxBits
        || !fitsBits(frame.value, frame.bits))
        return std::nullopt;
    return single(pulseEncode(layout.table, frame.value, frame.bits));
}

std::optional<Frame> plainDecode(const PlainFrame &layout, const Durations &d)
{
    const int count = pulseBitCount(layout.table, d.size());
    if (count < layout.minBits || count > layout.maxBits)
        return std::nullopt;
    const auto bits = pulseDecode(layout.table, d, count);
    if (!bits)
        return std::nullopt;
    return makeFrame(layout.protocol, static_cast<uint32_t>(*bits), count);
}

} // namespace ircodec
