// RC6_M_56: RC6 frames with 56 data bits, as the Entone IPTV boxes send
// them (mode 6): RC6's leader (6 units mark, 2 units space, 444 us units),
// then bi-phase bits of one unit per half, a 1 being mark then space: start
// bit 1, 3 mode bits, the toggle bit at double width, 56 data bits, most
// significant first. The reading's 60 bits are mode, toggle and data.
#include "../biphase.h"
#include "../reader.h"
#include "../timing.h"

namespace ircodec {

namespace {

constexpr int64_t kUnitNs = 444444;
constexpr int kLeaderMarkUnits = 6;
constexpr int kLeaderSpaceUnits = 2;
constexpr Polarity kPolarity = Polarity::OneIsMarkFirst;
constexpr int kModeBits = 3;
constexpr int kDataBits = 56;
constexpr int kBits = kModeBits + 1 + kDataBits;
constexpr int kToggleWidth = 2;
// Longest run: a half next to the double-width toggle bit.
constexpr int kMaxRun = 3;
constexpr int kDataDigits = kDataBits / 4;
// Half bits after the leader: start bit, mode, toggle and data.
constexpr int kBodyHalves = 2 * (1 + kModeBits + kToggleWidth + kDataBits);

constexpr int32_t units(int count)
{
    return nsToUs(count * kUnitNs);
}

// Whether the frame after its leader is about as long as this protocol's:
// RC6's shorter frames are passed over before any search.
bool bodyLengthFits(const Durations &d, size_t leader)
{
    int64_t length = 0;
    for (size_t i = leader; i < d.size(); ++i)
        length += d[i];
    // The last half bit may be silence.
    return matchesRelative(length, nsToUs((kBodyHalves - 1) * kUnitNs));
}

bool read(const Durations &d, Reading &out)
{
    const int32_t leader[] = {units(kLeaderMarkUnits), units(kLeaderSpaceUnits)};
    if (d.size() <= std::size(leader) || !matchesAll(d.data(), std::size(leader), leader)
        || !bodyLengthFits(d, std::size(leader)))
        return false;
    return expandHalves(d, std::size(leader), kUnitNs, kMaxRun, [&](const Halves &halves) {
        size_t pos = 0;
        const auto start = readBit(halves, pos, kPolarity);
        const auto mode = readBits(halves, pos, kModeBits, kPolarity);
        const auto toggle = readBit(halves, pos, kPolarity, kToggleWidth);
        if (!start || !*start || !mode || !toggle)
            return false;
        BitString bits(*mode, kModeBits);
        bits.push(*toggle);
        for (int i = 0; i < kDataBits; ++i) {
            const auto bit = readBit(halves, pos, kPolarity);
            if (!bit)
                return false;
            bits.push(*bit);
        }
        if (pos < halves.size())
            return false;
        out.bits = std::move(bits);
        out.evidence = Evidence::Framed;
        return true;
    });
}

Durations write(const Reading &r)
{
    if (r.bits.size() != kBits)
        return {};
    Halves halves(kLeaderMarkUnits, true);
    halves.insert(halves.end(), kLeaderSpaceUnits, false);
    putBit(halves, true, kPolarity);
    for (int i = 0; i < kBits; ++i)
        putBit(halves, r.bits.at(i), kPolarity, i == kModeBits ? kToggleWidth : 1);
    return halvesToDurations(halves, kUnitNs);
}

bool example(uint64_t seed, Reading &out)
{
    ExampleBits random(seed);
    out.bits = BitString(random.next(kModeBits + 1), kModeBits + 1);
    out.bits.append(random.next(kDataBits), kDataBits, Order::MsbFirst);
    out.evidence = Evidence::Framed;
    return true;
}

void describe(const Reading &r, std::string &out)
{
    appendField(out, "mode", r.bits.field(0, kModeBits), 1);
    appendField(out, "toggle", r.bits.field(kModeBits, 1), 1);
    appendField(out, "data", r.bits.field(kModeBits + 1, kDataBits), kDataDigits);
}

} // namespace

extern const Reader rc6M56Reader = {"RC6_M_56", std::nullopt, Family::Remote, Presentation::Number,
    36000, admitFirstMark(44, 126, units(kLeaderMarkUnits), units(kLeaderMarkUnits)), read, write,
    example, describe, nullptr};

} // namespace ircodec
