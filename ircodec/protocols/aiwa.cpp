// AIWA_RC_T501: the 42-bit Aiwa layout with device 0x6E and sub-device 0:
// 8.8 ms / 4.4 ms header, then device (8), sub-device (5), their complements,
// command (8) and its complement, least significant first, stop mark.
#include "../bits.h"
#include "../codecs.h"
#include "../pulse.h"

namespace ircodec {

namespace {

// 550 us unit: header 16 / 8 units, bits 1+1 and 1+3 units.
constexpr PulseTable kTable = {{8800, 4400}, {550, 550}, {550, 1650}, 550};
constexpr int kBits = 42;
constexpr int kCommandBits = 8;
constexpr int kDeviceBits = 8;
constexpr int kSubDeviceBits = 5;
constexpr uint64_t kDevice = 0x6E;
constexpr uint64_t kSubDevice = 0;

} // namespace

std::optional<Bursts> encodeAiwa(const Frame &frame)
{
    if ((frame.bits != kBits && frame.bits != kCommandBits) || !fitsBits(frame.value, kCommandBits))
        return std::nullopt;
    BitWriter w;
    w.put(kDevice, kDeviceBits, Order::LsbFirst);
    w.put(kSubDevice, kSubDeviceBits, Order::LsbFirst);
    w.put(~kDevice, kDeviceBits, Order::LsbFirst);
    w.put(~kSubDevice, kSubDeviceBits, Order::LsbFirst);
    w.put(frame.value, kCommandBits, Order::LsbFirst);
    w.put(~uint64_t{frame.value}, kCommandBits, Order::LsbFirst);
    return single(pulseEncode(kTable, w.bits(), kBits));
}

std::optional<Frame> decodeAiwa(const Durations &d)
{
    const auto bits = pulseDecode(kTable, d, kBits);
    if (!bits)
        return std::nullopt;
    BitReader r(*bits, kBits);
    const uint64_t device = r.take(kDeviceBits, Order::LsbFirst);
    const uint64_t subDevice = r.take(kSubDeviceBits, Order::LsbFirst);
    const uint64_t notDevice = r.take(kDeviceBits, Order::LsbFirst);
    const uint64_t notSubDevice = r.take(kSubDeviceBits, Order::LsbFirst);
    const uint64_t command = r.take(kCommandBits, Order::LsbFirst);
    const uint64_t notCommand = r.take(kCommandBits, Order::LsbFirst);
    if (device != kDevice || subDevice != kSubDevice || (device ^ notDevice) != lowBits(kDeviceBits)
        || (subDevice ^ notSubDevice) != lowBits(kSubDeviceBits)
        || (command ^ notCommand) != lowBits(kCommandBits))
        return std::nullopt;
    return makeFrame(Protocol::AiwaRcT501, static_cast<uint32_t>(command), kBits);
}

} // namespace ircodec
