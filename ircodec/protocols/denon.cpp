// DENON: no header; a 15-bit frame (5-bit address, 8-bit command, 2 control
// bits, least significant first) whose first bit is 0, stop mark. The value
// is the 14 bits after the first, first-on-air as most significant. The
// control bits are 00 (plain) or 11 (inverted half); 10 and 01 are SHARP's.
#include "../codecs.h"
#include "../pulse.h"

namespace ircodec {

namespace {

// 264 us unit: bits 1+3 and 1+7 units.
constexpr PulseTable kTable = {{0, 0}, {264, 792}, {264, 1848}, 264};
constexpr int kFrameBits = 15;
constexpr int kBits = 14;
constexpr uint32_t kControlMask = 0b11;
constexpr uint32_t kPlainControl = 0b00;
constexpr uint32_t kInvertedControl = 0b11;

bool validControl(uint64_t bits)
{
    const uint32_t control = bits & kControlMask;
    return control == kPlainControl || control == kInvertedControl;
}

} // namespace

std::optional<Bursts> encodeDenon(const Frame &frame)
{
    if (frame.bits != kBits || !fitsBits(frame.value, kBits) || !validControl(frame.value))
        return std::nullopt;
    // The leading 0 is bit 14 of the 15-bit frame.
    return single(pulseEncode(kTable, frame.value, kFrameBits));
}

std::optional<Frame> decodeDenon(const Durations &d)
{
    const auto bits = pulseDecode(kTable, d, kFrameBits);
    if (!bits || !fitsBits(*bits, kBits) || !validControl(*bits))
        return std::nullopt;
    return makeFrame(Protocol::Denon, static_cast<uint32_t>(*bits), kBits);
}

} // namespace ircodec
