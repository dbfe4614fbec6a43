// SANYO as the catalogue knows it: 3.5 ms / 3.5 ms header, 12 to 32 bits
// carried in the spaces behind 850 us marks, stop mark.
#include "../codecs.h"
#include "../pulse.h"

namespace ircodec {

namespace {

constexpr PulseTable kTable = {{3500, 3500}, {850, 700}, {850, 2400}, 850};
constexpr int kMinBits = 12;
constexpr int kMaxBits = 32;

} // namespace

std::optional<Bursts> encodeSanyo(const Frame &frame)
{
    if (frame.bits < kMinBits || frame.bits > kMaxBits || !fitsBits(frame.value, frame.bits))
        return std::nullopt;
    return single(pulseEncode(kTable, frame.value, frame.bits));
}

std::optional<Frame> decodeSanyo(const Durations &d)
{
    const int count = pulseBitCount(kTable, d.size());
    if (count < kMinBits || count > kMaxBits)
        return std::nullopt;
    const auto bits = pulseDecode(kTable, d, count);
    if (!bits)
        return std::nullopt;
    return decoded(Protocol::Sanyo, static_cast<uint32_t>(*bits), count);
}

} // namespace ircodec
