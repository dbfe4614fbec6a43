// SONY (SIRC): 2.4 ms / 0.6 ms header, 12, 15 or 20 pulse-width bits; the
// last bit's space is the gap.
#include "../codecs.h"
#include "../pulse.h"

namespace ircodec {

namespace {

constexpr PulseTable kTable = {{2400, 600}, {600, 600}, {1200, 600}, 0};
constexpr int kBitCounts[] = {12, 15, 20};

bool validCount(int bits)
{
    for (int count : kBitCounts)
        if (count == bits)
            return true;
    return false;
}

} // namespace

std::optional<Bursts> encodeSony(const Frame &frame)
{
    if (!validCount(frame.bits) || !fitsBits(frame.value, frame.bits))
        return std::nullopt;
    return single(pulseEncode(kTable, frame.value, frame.bits));
}

std::optional<Frame> decodeSony(const Durations &d)
{
    const int count = pulseBitCount(kTable, d.size());
    if (!validCount(count))
        return std::nullopt;
    const auto bits = pulseDecode(kTable, d, count);
    if (!bits)
        return std::nullopt;
    return makeFrame(Protocol::Sony, static_cast<uint32_t>(*bits), count);
}

} // namespace ircodec
