// JVC: 8.4 ms / 4.2 ms header, 16 pulse-distance bits, stop mark. While a key
// is held the frame is sent again without the header; such a frame decodes
// as a repeat.
#include "../codecs.h"
#include "../pulse.h"

namespace ircodec {

namespace {

// 527 us unit: header 16 / 8 units, bits 1+1 and 1+3 units.
constexpr PulseTable kFirst = {{8432, 4216}, {527, 527}, {527, 1581}, 527};
constexpr PulseTable kRepeat = {{0, 0}, kFirst.zero, kFirst.one, kFirst.stopMark};
constexpr int kBits = 16;

} // namespace

std::optional<Bursts> encodeJvc(const Frame &frame)
{
    if (frame.bits != kBits || !fitsBits(frame.value, kBits))
        return std::nullopt;
    return single(pulseEncode(frame.repeat ? kRepeat : kFirst, frame.value, kBits));
}

std::optional<Frame> decodeJvc(const Durations &d)
{
    if (const auto bits = pulseDecode(kFirst, d, kBits))
        return makeFrame(Protocol::Jvc, static_cast<uint32_t>(*bits), kBits);
    if (pulseDecode(kRepeat, d, kBits))
        return repeatCode(Protocol::Jvc);
    return std::nullopt;
}

} // namespace ircodec
