// MITSUBISHI: no header, 16 to 32 pulse-distance bits (300 us marks, 900 /
// 2100 us spaces), stop mark.
#include "../codecs.h"
#include "../pulse.h"

namespace ircodec {

namespace {

constexpr PulseTable kTable = {{0, 0}, {300, 900}, {300, 2100}, 300};
constexpr int kMinBits = 16;
constexpr int kMaxBits = 32;

} // namespace

std::optional<Bursts> encodeMitsubishi(const Frame &frame)
{
    if (frame.bits < kMinBits || frame.bits > kMaxBits || !fitsBits(frame.value, frame.bits))
        return std::nullopt;
    return single(pulseEncode(kTable, frame.value, frame.bits));
}

std::optional<Frame> decodeMitsubishi(const Durations &d)
{
    const int count = pulseBitCount(kTable, d.size());
    if (count < kMinBits || count > kMaxBits)
        return std::nullopt;
    const auto bits = pulseDecode(kTable, d, count);
    if (!bits)
        return std::nullopt;
    return decoded(Protocol::Mitsubishi, static_cast<uint32_t>(*bits), count);
}

} // namespace ircodec
