// LG: 8 ms / 4 ms header, 28 pulse-distance bits sent most significant first,
// stop mark.
#include "../codecs.h"
#include "../pulse.h"

namespace ircodec {

namespace {

constexpr PulseTable kTable = {{8000, 4000}, {600, 550}, {600, 1600}, 600};
constexpr int kBits = 28;

} // namespace

std::optional<Bursts> encodeLg(const Frame &frame)
{
    if (frame.bits != kBits || !fitsBits(frame.value, kBits))
        return std::nullopt;
    return single(pulseEncode(kTable, frame.value, kBits));
}

std::optional<Frame> decodeLg(const Durations &d)
{
    const auto bits = pulseDecode(kTable, d, kBits);
    if (!bits)
        return std::nullopt;
    return decoded(Protocol::Lg, static_cast<uint32_t>(*bits), kBits);
}

} // namespace ircodec
