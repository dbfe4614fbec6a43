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

// The nominal of duration `i` of a frame of `count` bits.
int32_t nominalAt(const PulseTable &table, uint64_t bits, int count, size_t i)
{
    const bool header = hasHeader(table);
    if (header && i < 2)
        return i == 0 ? table.header.mark : table.header.space;
    const size_t body = i - headerEntries(table);
    const size_t bit = body / 2;
    if (bit >= static_cast<size_t>(count))
        return table.stopMark;
    const MarkSpace &pair = ((bits >> (count - 1 - bit)) & 1u) ? table.one : table.zero;
    return body % 2 == 0 ? pair.mark : pair.space;
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

std::optional<uint64_t> pulseDecode(const PulseTable &table, const Durations &d, int count)
{
    if (count <= 0 || count > 64 || pulseBitCount(table, d.size()) != count)
        return std::nullopt;
    size_t pos = 0;
    if (hasHeader(table)) {
        if (!matchesMark(d[0], table.header.mark) || !matchesSpace(d[1], table.header.space))
            return std::nullopt;
        pos = 2;
    }
    uint64_t bits = 0;
    for (int i = 0; i < count; ++i, pos += 2) {
        const bool lastWithoutSpace = i == count - 1 && table.stopMark == 0;
        const auto fits = [&](const MarkSpace &bit) {
            return matchesMark(d[pos], bit.mark)
                && (lastWithoutSpace || matchesSpace(d[pos + 1], bit.space));
        };
        if (fits(table.zero))
            bits <<= 1;
        else if (fits(table.one))
            bits = (bits << 1) | 1u;
        else
            return std::nullopt;
    }
    if (table.stopMark > 0 && !matchesMark(d[pos], table.stopMark))
        return std::nullopt;
    if (!edgesAgree(d.data(), d.size(), [&](size_t i) { return nominalAt(table, bits, count, i); }))
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
    return decoded(layout.protocol, static_cast<uint32_t>(*bits), count);
}

} // namespace ircodec
