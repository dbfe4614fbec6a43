// RC6: leader (6 units mark, 2 units space), then bi-phase bits of one unit
// per half, a 1 being mark then space: start bit 1, 3 mode bits, the toggle
// bit at double width, then the data, most significant first. The value is
// everything after the start bit; of a 36-bit frame (mode 6 with 32 data
// bits) the low 32 bits, which are the data. Such a frame is sent as mode 6
// with the toggle bit 0: the media-centre remotes, the ones that use this
// length, keep their toggle in the data.
#include "../biphase.h"
#include "../codecs.h"
#include "../philips.h"
#include "../timing.h"

#include <iterator>

namespace ircodec {

namespace {

constexpr int64_t kUnitNs = philips::kRc6UnitNs;
constexpr int kLeaderMarkUnits = philips::kRc6LeaderMarkUnits;
constexpr int kLeaderSpaceUnits = philips::kRc6LeaderSpaceUnits;
constexpr Polarity kPolarity = philips::kRc6Polarity;
constexpr int kToggleIndex = philips::kRc6ModeBits; // fourth bit of the value
constexpr int kToggleWidth = philips::kRc6ToggleWidth;
constexpr int kMinBits = kToggleIndex + 1;
// Frames of up to 32 bits fit a value whole; mode 6 frames with 32 data
// bits (36 in all) carry the data in the value, the mode and toggle being
// implied.
constexpr int kMaxSendBits = 32;
constexpr int kLongBits = 36;
constexpr uint64_t kLongMode = 6;
constexpr int kLongDataBits = 32;
// Longest run in the body: a half next to the double-width toggle bit.
constexpr int kMaxRun = philips::kRc6MaxRun;

int32_t units(int count)
{
    return nsToUs(count * kUnitNs);
}

int widthOf(int index)
{
    return index == kToggleIndex ? kToggleWidth : 1;
}

bool decodable(int count)
{
    return (count >= kMinBits && count <= kMaxSendBits) || count == kLongBits;
}

// Start bit and body take 2 + 2 x bits + 2 halves; the halves of the last
// bit's second half are missing when they are a space.
int bitCount(size_t halves)
{
    for (int count = kMinBits; count <= kLongBits; ++count) {
        const size_t full = 2 + 2 * count + 2 * (kToggleWidth - 1);
        if (halves <= full && halves + widthOf(count - 1) >= full)
            return decodable(count) ? count : -1;
    }
    return -1;
}

} // namespace

Durations rc6Durations(uint64_t bits, int count)
{
    if (!decodable(count) || !fitsBits(bits, count))
        return {};
    Halves halves(kLeaderMarkUnits, true);
    halves.insert(halves.end(), kLeaderSpaceUnits, false);
    putBit(halves, true, kPolarity);
    for (int i = 0; i < count; ++i)
        putBit(halves, (bits >> (count - 1 - i)) & 1u, kPolarity, widthOf(i));
    return halvesToDurations(halves, kUnitNs);
}

std::optional<Bursts> encodeRc6(const Frame &frame)
{
    if (frame.bits == kLongBits) // mode 6, toggle 0, the 32 data bits
        return single(rc6Durations(kLongMode << (kLongDataBits + 1) | frame.value, kLongBits));
    if (frame.bits < kMinBits || frame.bits > kMaxSendBits || !fitsBits(frame.value, frame.bits))
        return std::nullopt;
    return single(rc6Durations(frame.value, frame.bits));
}

std::optional<Frame> decodeRc6(const Durations &d)
{
    const int32_t leader[] = {units(kLeaderMarkUnits), units(kLeaderSpaceUnits)};
    if (d.size() < 3 || !matchesAll(d.data(), std::size(leader), leader))
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
        uint64_t bits = 0;
        for (int i = 0; i < count; ++i) {
            const auto bit = readBit(halves, pos, kPolarity, widthOf(i));
            if (!bit)
                return false;
            bits = (bits << 1) | (*bit ? 1u : 0u);
        }
        if (pos < halves.size())
            return false;
        // The low 32 bits: a 36-bit frame reports its data.
        result = makeFrame(Protocol::Rc6, static_cast<uint32_t>(bits), count);
        return true;
    });
    return result;
}

} // namespace ircodec
