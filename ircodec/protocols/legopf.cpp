// LEGO_PF (Power Functions): 158 us marks, start space 1026, 16 bits most
// significant first (spaces 263 / 553), stop mark. The last nibble checks the
// other three. Repeated, the message goes out five times with the spacing the
// channel demands.
#include "../codecs.h"
#include "../pulse.h"

namespace ircodec {

namespace {

constexpr PulseTable kTable = {{158, 1026}, {158, 263}, {158, 553}, 158};
constexpr int kBits = 16;
constexpr int kCopies = 5;
// Spacing of the copies, start to start, in units of the longest message.
constexpr int32_t kMessageUs = 16000;
constexpr int kEarlyCopies = 3;     // copies 2 and 3 follow 5 units apart
constexpr int kEarlySpacing = 5;    // units
constexpr int kLateSpacingBase = 6; // copies 4 and 5: 6 + 2 x channel units
constexpr int kLateSpacingPerChannel = 2;
constexpr int kChannelShift = 12;
constexpr uint32_t kChannelMask = 0b11;

constexpr int kNibbleBits = 4;
constexpr uint32_t kNibbleMask = 0xF;

// Nibble 0 is the first on the air.
uint32_t nibble(uint32_t message, int index)
{
    return (message >> (kBits - kNibbleBits * (index + 1))) & kNibbleMask;
}

bool checkOk(uint32_t message)
{
    return nibble(message, 3)
        == (kNibbleMask ^ nibble(message, 0) ^ nibble(message, 1) ^ nibble(message, 2));
}

int32_t durationOf(const Durations &d)
{
    int32_t total = 0;
    for (int32_t x : d)
        total += x;
    return total;
}

} // namespace

std::optional<Bursts> encodeLegoPf(const Frame &frame)
{
    if (frame.bits != kBits || !fitsBits(frame.value, kBits) || !checkOk(frame.value))
        return std::nullopt;
    Durations message = pulseEncode(kTable, frame.value, kBits);
    if (!frame.repeat)
        return single(std::move(message));
    // Channels 1..4 are coded 0..3.
    const int channel = static_cast<int>((frame.value >> kChannelShift) & kChannelMask) + 1;
    const int32_t length = durationOf(message);
    Bursts bursts;
    for (int copy = 1; copy <= kCopies; ++copy) {
        const int units = copy < kEarlyCopies ? kEarlySpacing
                                              : kLateSpacingBase + kLateSpacingPerChannel * channel;
        const int32_t gap = copy == kCopies ? kLeadOutUs : units * kMessageUs - length;
        bursts.push_back({message, gap});
    }
    return bursts;
}

std::optional<Frame> decodeLegoPf(const Durations &d)
{
    const auto bits = pulseDecode(kTable, d, kBits);
    if (!bits || !checkOk(static_cast<uint32_t>(*bits)))
        return std::nullopt;
    return makeFrame(Protocol::LegoPf, static_cast<uint32_t>(*bits), kBits);
}

} // namespace ircodec
