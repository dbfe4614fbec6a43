// ITT: no carrier; every mark is one 10 us flash and the interval from flash
// to flash carries the data: 100 us = 0, 200 us = 1, 300 us = lead-in and
// lead-out. Lead-in, start bit 0, 4-bit address and 6-bit command (least
// significant first), lead-out, final flash. The intervals are shorter than
// the usual 100 us tolerance floor, so they are matched within 25 % only.
#include "../codecs.h"
#include "../timing.h"

namespace ircodec {

namespace {

constexpr int32_t kFlash = 10;
constexpr int32_t kZero = 100;
constexpr int32_t kOne = 200;
constexpr int32_t kLeadInOut = 300;
constexpr int kBits = 10;
// Intervals: lead-in, start bit, data bits, lead-out; then the final flash.
constexpr size_t kIntervals = 1 + 1 + kBits + 1;
constexpr size_t kEntries = 2 * kIntervals + 1;

void putInterval(Durations &d, int32_t interval)
{
    d.push_back(kFlash);
    d.push_back(interval - kFlash);
}

} // namespace

std::optional<Bursts> encodeItt(const Frame &frame)
{
    if (frame.bits != kBits || !fitsBits(frame.value, kBits))
        return std::nullopt;
    Durations d;
    d.reserve(kEntries);
    putInterval(d, kLeadInOut);
    putInterval(d, kZero);
    for (int i = kBits - 1; i >= 0; --i)
        putInterval(d, ((frame.value >> i) & 1u) ? kOne : kZero);
    putInterval(d, kLeadInOut);
    d.push_back(kFlash);
    return single(std::move(d));
}

std::optional<Frame> decodeItt(const Durations &d)
{
    if (d.size() != kEntries)
        return std::nullopt;
    for (size_t i = 0; i < d.size(); i += 2)
        if (!matchesRelative(d[i], kFlash))
            return std::nullopt;
    const auto interval = [&](size_t i) { return int64_t{d[2 * i]} + d[2 * i + 1]; };
    if (!matchesRelative(interval(0), kLeadInOut) || !matchesRelative(interval(1), kZero)
        || !matchesRelative(interval(kIntervals - 1), kLeadInOut))
        return std::nullopt;
    uint32_t value = 0;
    for (size_t i = 2; i < 2 + kBits; ++i) {
        if (matchesRelative(interval(i), kZero))
            value <<= 1;
        else if (matchesRelative(interval(i), kOne))
            value = (value << 1) | 1u;
        else
            return std::nullopt;
    }
    return makeFrame(Protocol::Itt, value, kBits);
}

} // namespace ircodec
