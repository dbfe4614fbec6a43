// RCA: 4 ms / 4 ms header, 4-bit address and 8-bit command, then their
// complements, most significant first, stop mark.
#include "../bits.h"
#include "../codecs.h"
#include "../pulse.h"

namespace ircodec {

namespace {

constexpr PulseTable kTable = {{4000, 4000}, {500, 1000}, {500, 2000}, 500};
constexpr int kBits = 24;
constexpr int kHalfBits = 12;

bool complementOk(uint64_t bits)
{
    return (((bits >> kHalfBits) ^ bits) & lowBits(kHalfBits)) == lowBits(kHalfBits);
}

} // namespace

std::optional<Bursts> encodeRca(const Frame &frame)
{
    if (frame.bits != kBits || !fitsBits(frame.value, kBits) || !complementOk(frame.value))
        return std::nullopt;
    return single(pulseEncode(kTable, frame.value, kBits));
}

std::optional<Frame> decodeRca(const Durations &d)
{
    const auto bits = pulseDecode(kTable, d, kBits);
    if (!bits || !complementOk(*bits))
        return std::nullopt;
    return makeFrame(Protocol::Rca, static_cast<uint32_t>(*bits), kBits);
}

} // namespace ircodec
