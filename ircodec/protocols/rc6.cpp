// RC6: leader (6 units mark, 2 units space), then bi-phase bits of one unit
// per half, a 1 being mark then space: start bit 1, 3 mode bits, the toggle
// bit at double width, then the data, most significant first. The value is
// everything after the start bit.
#include "../biphase.h"
#include "../codecs.h"
#include "../timing.h"

namespace ircodec {

namespace {

constexpr int64_t kUnitNs = 444444;
constexpr int kLeaderMarkUnits = 6;
constexpr int kLeaderSpaceUnits = 2;
constexpr Polarity kPolarity = Polarity::OneIsMarkFirst;
constexpr int kToggleIndex = 3; // fourth bit of the value
constexpr int kToggleWidth = 2;
constexpr int kMinBits = kToggleIndex + 1;
constexpr int kMaxBits = 32;
// Longest run in the body: a half next to the double-width toggle bit.
constexpr int kMaxRun = 3;

int32_t units(int count)
{
    return nsToUs(count * kUnitNs);
}

int widthOf(int index)
{
    return index == kToggleIndex ? kToggleWidth : 1;
}

// Start bit and body take 2 + 2 x bits + 2 halves; the halves of the last
// bit's second half are missing when they are a space.
int bitCount(size_t halves)
{
    for (int count = kMinBits; count <= kMaxBits; ++count) {
        const size_t full = 2 + 2 * count + 2 * (kToggleWidth - 1);
        if (halves <= full && halves + widthOf(count - 1) >= full)
            return count;
    }
    return -1;
}

} // namespace

std::optional<Bursts> encodeRc6(const Frame &frame)
{
    if (frame.bits < kMinBits || frame.bits > kMaxBits || !fitsBits(frame.value, frame.bits))
        return std::nullopt;
    Halves halves(kLeaderMarkUnits, true);
    halves.insert(halves.end(), kLeaderSpaceUnits, false);
    putBit(halves, true, kPolarity);
    for (int i = 0; i < frame.bits; ++i)
        putBit(halves, (frame.value >> (frame.bits - 1 - i)) & 1u, kPolarity, widthOf(i));
    return single(halvesToDurations(halves, kUnitNs));
}

std::optional<Frame> decodeRc6(const Durations &d)
{
    if (d.size() < 3 || !matches(d[0], units(kLeaderMarkUnits))
        || !matches(d[1], units(kLeaderSpaceUnits)))
        return std::nullopt;
    std::optional<Frame> result;
    expandHalves(d, 2, kUnitNs, kMaxRun, [&](const Halves &halves) {
        const int count = bitCount(halves.size());
        if (count < 0)
            return false;
        size_t pos = 0;
        const auto start = readBit(halves, pos, kPolarity);
        if (!start || !*start)
            return false;
        uint32_t value = 0;
        for (int i = 0; i < count; ++i) {
            const auto bit = readBit(halves, pos, kPolarity, widthOf(i));
            if (!bit)
                return false;
            value = (value << 1) | (*bit ? 1u : 0u);
        }
        if (pos < halves.size())
            return false;
        result = decoded(Protocol::Rc6, value, count);
        return true;
    });
    return result;
}

} // namespace ircodec
