// BANG_OLUFSEN: Bang & Olufsen's frames, on a 455 kHz carrier. Every mark
// is 200 us; what counts is the time from one mark's start to the next's,
// in units of 3125 us. Three marks one unit apart and a fourth five units
// later open the frame; then a start bit 0 and the data bits, most
// significant first, each told by the bit before it (the start bit's
// predecessor counting as a 1): two units repeat that bit, one unit is a 0
// after a 1, three units a 1 after a 0; a mark four units later and a last
// mark close it. One-way remotes (Beo4, Beolink 1000) send 16 data bits,
// an 8-bit address and an 8-bit command; two-way remotes longer messages.
// The 12.5 ms and 15.6 ms spaces exceed the 10 ms silence that ends a
// received frame: reception cuts a frame in three, which a sequence joins
// again (sequence.cpp); a single piece does not read.
#include "../framecursor.h"
#include "../reader.h"

namespace ircodec {

namespace {

constexpr int32_t kMark = 200;
constexpr int32_t kUnit = 3125;
constexpr int kMinBits = 16;
constexpr int kMaxBits = 58;
constexpr int kAddressBits = 8;
// Spaces that make a mark's period so many units long.
constexpr int32_t periodSpace(int units)
{
    return units * kUnit - kMark;
}
constexpr int kOpeningMarks = 3;
constexpr int kOpeningUnits[kOpeningMarks] = {1, 1, 5};
constexpr int kStopUnits = 4;
// Reception cuts a frame after its opening and before its last mark.
constexpr int kCutInto = 3;
// A bit's mark and space after a 0 and after a 1 ([bit before][bit]).
constexpr MarkSpace kForms[2][2] = {{{kMark, periodSpace(2)}, {kMark, periodSpace(3)}},
    {{kMark, periodSpace(1)}, {kMark, periodSpace(2)}}};
// Durations of a frame: the opening, a pair per bit (start bit included),
// the stop pair and the last mark.
constexpr int durationsFor(int bits)
{
    return 2 * kOpeningMarks + 2 * (bits + 1) + 3;
}

bool read(const Durations &d, Reading &out)
{
    const int bits = (static_cast<int>(d.size()) - durationsFor(0)) / 2;
    if (durationsFor(bits) != static_cast<int>(d.size()) || bits < kMinBits)
        return false;
    FrameCursor cursor(d);
    for (int units : kOpeningUnits)
        if (!cursor.take({kMark, periodSpace(units)}))
            return false;
    bool last = true;
    out.bits = BitString();
    for (int i = 0; i <= bits; ++i) {
        const int bit = cursor.symbol(kForms[last], 2);
        if (bit < 0 || (i == 0 && bit != 0))
            return false;
        last = bit == 1;
        if (i > 0)
            out.bits.push(last);
    }
    if (!cursor.take({kMark, periodSpace(kStopUnits)}) || !cursor.stop(kMark))
        return false;
    out.evidence = Evidence::Framed;
    return true;
}

Durations write(const Reading &r)
{
    const int bits = r.bits.size();
    if (bits < kMinBits || bits > kMaxBits)
        return {};
    Durations out;
    const auto put = [&](const MarkSpace &pair) {
        out.push_back(pair.mark);
        out.push_back(pair.space);
    };
    for (int units : kOpeningUnits)
        put({kMark, periodSpace(units)});
    bool last = true;
    for (int i = -1; i < bits; ++i) {
        const bool bit = i >= 0 && r.bits.at(i); // the start bit, then the data
        put(kForms[last][bit]);
        last = bit;
    }
    put({kMark, periodSpace(kStopUnits)});
    out.push_back(kMark);
    return out;
}

bool example(uint64_t seed, Reading &out)
{
    ExampleBits random(seed);
    const int bits = seed % 2 == 0 ? kMinBits : kMinBits + static_cast<int>(random.next(5));
    out.bits = BitString(random.next(bits), bits);
    out.evidence = Evidence::Framed;
    return true;
}

void describe(const Reading &r, std::string &out)
{
    if (r.bits.size() != kMinBits)
        return;
    appendField(out, "address", r.bits.field(0, kAddressBits), 2);
    appendField(out, "command", r.bits.field(kAddressBits, kMinBits - kAddressBits), 2);
}

} // namespace

extern const Reader bangOlufsenReader
    = {"BANG_OLUFSEN", std::nullopt, Family::Remote, Presentation::Number, 455000,
        admitFirstMark(durationsFor(kMinBits), durationsFor(kMaxBits), kMark, kMark), read, write,
        example, describe, nullptr, nullptr, kCutInto};

} // namespace ircodec
