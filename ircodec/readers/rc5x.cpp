// RC5X: RC5's extended form, commands 64 to 127. RC5's second start bit
// carries the inverted seventh command bit: 0 here (RC5 proper, with 1,
// is the catalogue's). Bi-phase, 889 us half bits, a 1 is space then mark:
// start bit 1, start bit 0, toggle, 5-bit address, 6 command bits, most
// significant first. The reading's 13 bits are the seventh command bit
// (1), toggle, address and the other six command bits.
#include "../biphase.h"
#include "../reader.h"

namespace ircodec {

namespace {

constexpr int64_t kHalfNs = 889000;
constexpr Polarity kPolarity = Polarity::OneIsSpaceFirst;
constexpr int kMaxRun = 2;
constexpr int kBits = 13;         // command bit 6, toggle, address, command bits 5..0
constexpr int kFrameBits = 12;    // after the two start bits
constexpr uint64_t kStart = 0b10; // the second start bit is the inverted command bit 6
constexpr int kStartBits = 2;
constexpr int kAddressBits = 5;
constexpr int kLowCommandBits = 6;

bool read(const Durations &d, Reading &out)
{
    bool ok = expandHalves(d, 0, kHalfNs, kMaxRun, [&](const Halves &expanded) {
        Halves halves(1, false); // the silent first half of the first start bit
        halves.insert(halves.end(), expanded.begin(), expanded.end());
        size_t pos = 0;
        const auto start = readBits(halves, pos, kStartBits, kPolarity);
        const auto bits = readBits(halves, pos, kFrameBits, kPolarity);
        if (!start || *start != kStart || !bits || pos < halves.size())
            return false;
        out.bits = BitString(1, 1);
        out.bits.append(*bits, kFrameBits, Order::MsbFirst);
        return true;
    });
    if (ok)
        out.evidence = Evidence::Framed;
    return ok;
}

Durations write(const Reading &r)
{
    if (r.bits.size() != kBits || !r.bits.at(0))
        return {};
    Halves halves;
    putBits(halves, kStart, kStartBits, kPolarity);
    putBits(halves, r.bits.field(1, kFrameBits), kFrameBits, kPolarity);
    return halvesToDurations(halves, kHalfNs);
}

bool example(uint64_t seed, Reading &out)
{
    ExampleBits random(seed);
    out.bits = BitString(1, 1);
    out.bits.append(random.next(kFrameBits), kFrameBits, Order::MsbFirst);
    out.evidence = Evidence::Framed;
    return true;
}

void describe(const Reading &r, std::string &out)
{
    constexpr uint64_t kHighCommandBit = 1u << kLowCommandBits;
    appendField(out, "toggle", r.bits.field(1, 1), 1);
    appendField(out, "address", r.bits.field(2, kAddressBits), 2);
    appendField(
        out, "command", kHighCommandBit | r.bits.field(2 + kAddressBits, kLowCommandBits), 2);
}

} // namespace

// The first mark is two half bits: the first start bit's mark half and the
// second's, a 0.
extern const Reader rc5xReader = {"RC5X", std::nullopt, Family::Remote, Presentation::Number, 36000,
    {9, 27, 1333, 2028}, read, write, example, describe, nullptr};

} // namespace ircodec
