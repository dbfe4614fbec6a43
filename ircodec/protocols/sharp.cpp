// SHARP: no header; 5-bit address, 8-bit command, expansion bit 1 and check
// bit 0, least significant first, stop mark. 40 ms later the echo half
// repeats the address with command, expansion and check bits inverted.
#include "../bits.h"
#include "../codecs.h"
#include "../pulse.h"

namespace ircodec {

namespace {

// 320 us marks in 1 ms (0) and 2 ms (1) bit periods.
constexpr PulseTable kTable = {{0, 0}, {320, 680}, {320, 1680}, 320};
constexpr int kBits = 15;
constexpr int kAddressBits = 5;
constexpr int kCommandBits = 8;
constexpr int kControlBits = 2;
// Expansion and check bit in on-air order (first one on air is bit 1).
constexpr uint64_t kPlainControl = 0b10;
constexpr uint64_t kEchoControl = 0b01;
constexpr int32_t kEchoGapUs = 40000;

Durations half(uint32_t address, uint64_t command, uint64_t control)
{
    BitWriter w;
    w.put(address, kAddressBits, Order::LsbFirst);
    w.put(command, kCommandBits, Order::LsbFirst);
    w.put(control, kControlBits, Order::MsbFirst);
    return pulseEncode(kTable, w.bits(), kBits);
}

} // namespace

std::optional<Bursts> encodeSharp(const Frame &frame)
{
    if (frame.bits != kBits || !fitsBits(frame.address, kAddressBits)
        || !fitsBits(frame.value, kCommandBits))
        return std::nullopt;
    Bursts bursts(2);
    bursts[0] = {half(frame.address, frame.value, kPlainControl), kEchoGapUs};
    bursts[1] = {half(frame.address, ~uint64_t{frame.value}, kEchoControl), kLeadOutUs};
    return bursts;
}

std::optional<Frame> decodeSharp(const Durations &d)
{
    const auto bits = pulseDecode(kTable, d, kBits);
    if (!bits)
        return std::nullopt;
    BitReader r(*bits, kBits);
    const auto address = static_cast<uint32_t>(r.take(kAddressBits, Order::LsbFirst));
    const uint64_t command = r.take(kCommandBits, Order::LsbFirst);
    const uint64_t control = r.take(kControlBits, Order::MsbFirst);
    if (control == kPlainControl)
        return makeFrame(Protocol::Sharp, static_cast<uint32_t>(command), kBits, address);
    if (control == kEchoControl)
        return makeFrame(Protocol::Sharp, static_cast<uint32_t>(~command & lowBits(kCommandBits)),
            kBits, address, true);
    return std::nullopt;
}

} // namespace ircodec
