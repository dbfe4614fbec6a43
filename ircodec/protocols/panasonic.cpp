// PANASONIC (Kaseikyo): 3456 / 1728 header, 48 pulse-distance bits, stop
// mark. The first 16 bits on the air are the address, the other 32 the value.
#include "../codecs.h"
#include "../pulse.h"

namespace ircodec {

namespace {

// 432 us unit: header 8 / 4 units, bits 1+1 and 1+3 units.
constexpr PulseTable kTable = {{3456, 1728}, {432, 432}, {432, 1296}, 432};
constexpr int kBits = 48;
constexpr int kValueBits = 32;
constexpr int kAddressBits = 16;

} // namespace

std::optional<Bursts> encodePanasonic(const Frame &frame)
{
    // The value alone (32) or the whole frame (48): both name the same frame.
    if ((frame.bits != kBits && frame.bits != kValueBits) || !fitsBits(frame.address, kAddressBits))
        return std::nullopt;
    const uint64_t bits = (uint64_t{frame.address} << kValueBits) | frame.value;
    return single(pulseEncode(kTable, bits, kBits));
}

std::optional<Frame> decodePanasonic(const Durations &d)
{
    const auto bits = pulseDecode(kTable, d, kBits);
    if (!bits)
        return std::nullopt;
    return makeFrame(Protocol::Panasonic, static_cast<uint32_t>(*bits), kBits,
        static_cast<uint32_t>(*bits >> kValueBits));
}

} // namespace ircodec
