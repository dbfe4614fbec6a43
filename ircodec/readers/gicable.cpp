// GICABLE: the 16-bit frames of General Instrument (later Motorola) cable
// boxes: 8.8 ms / 4.4 ms header, 490 us marks, a 0 and a 1 told by 2.2 ms
// and 4.4 ms spaces, stop mark; an 8-bit command, a 4-bit device and a
// check nibble, each least significant bit first, the four nibbles summing
// to 0 (mod 16). A held key then sends 8.8 ms / 2.2 ms dittos, which look
// like NEC's and are read as those, and repeat the GI cable reading in a
// sequence.
#include "../fixedpulse.h"

namespace ircodec {

namespace {

constexpr int kCommandBits = 8;
constexpr int kDeviceBits = 4;
constexpr int kNibble = 4;
constexpr int kNibbles = 4;
constexpr int kCheckAt = kNibbles - 1;
constexpr uint64_t kNibbleMask = 0xF;
constexpr int32_t kMark = 490;

uint64_t nibble(const BitString &bits, int index)
{
    return bits.field(kNibble * index, kNibble, Order::LsbFirst);
}

// The sum of the nibbles before the check nibble (mod 16).
uint64_t dataSum(const BitString &bits)
{
    uint64_t sum = 0;
    for (int i = 0; i < kCheckAt; ++i)
        sum += nibble(bits, i);
    return sum & kNibbleMask;
}

bool checks(const BitString &bits)
{
    return ((dataSum(bits) + nibble(bits, kCheckAt)) & kNibbleMask) == 0;
}

void fillCheck(BitString &bits)
{
    const uint64_t check = (0 - dataSum(bits)) & kNibbleMask;
    for (int i = 0; i < kNibble; ++i)
        bits.set(kCheckAt * kNibble + i, (check >> i) & 1u);
}

constexpr FixedPulse kGiCable = {{{8820, 4410}, {kMark, 2205}, {kMark, 4410}, kMark, {}},
    kNibbles *kNibble, Evidence::Checked, checks, fillCheck};

void describe(const Reading &r, std::string &out)
{
    appendField(out, "device", r.bits.field(kCommandBits, kDeviceBits, Order::LsbFirst), 1);
    appendField(out, "command", r.bits.field(0, kCommandBits, Order::LsbFirst), 2);
}

// A held key's dittos are NEC's repeat code.
bool repeatedBy(const Reading &, const Capture &next)
{
    const auto frame = decodeAs(Protocol::Nec, next.durations);
    return frame && frame->repeat;
}

} // namespace

extern const Reader giCableReader = {"GICABLE", std::nullopt, Family::Remote, Presentation::Number,
    38700, admitFixed(kGiCable), readFixed<kGiCable>, writeFixed<kGiCable>, exampleFixed<kGiCable>,
    describe, nullptr, repeatedBy};

} // namespace ircodec
