// GICABLE: the 16-bit frames of General Instrument (later Motorola) cable
// boxes: 8.8 ms / 4.4 ms header, 490 us marks, a 0 and a 1 told by 2.2 ms
// and 4.4 ms spaces, stop mark; an 8-bit command, a 4-bit device and a
// check nibble, each least significant bit first, the four nibbles summing
// to 0 (mod 16). A held key then sends 8.8 ms / 2.2 ms dittos, which look
// like NEC's and are read as those.
#include "../pulseframe.h"
#include "../reader.h"

namespace ircodec {

namespace {

constexpr int kCommandBits = 8;
constexpr int kDeviceBits = 4;
constexpr int kNibble = 4;
constexpr int kBits = kCommandBits + kDeviceBits + kNibble;
constexpr uint64_t kNibbleMask = 0xF;
constexpr int32_t kMark = 490;
constexpr PulseLayout kLayout = {{8820, 4410}, {kMark, 2205}, {kMark, 4410}, kMark, {}};

uint64_t nibble(const BitString &bits, int index)
{
    return bits.field(kNibble * index, kNibble, Order::LsbFirst);
}

uint64_t nibbleSum(const BitString &bits)
{
    uint64_t sum = 0;
    for (int i = 0; i < kBits / kNibble; ++i)
        sum += nibble(bits, i);
    return sum & kNibbleMask;
}

bool read(const Durations &d, Reading &out)
{
    if (!readPulseFrame(kLayout, d, out.bits) || out.bits.size() != kBits
        || nibbleSum(out.bits) != 0)
        return false;
    out.evidence = Evidence::Checked;
    out.checked = true;
    return true;
}

Durations write(const Reading &r)
{
    return r.bits.size() == kBits ? writePulseFrame(kLayout, r.bits) : Durations();
}

bool example(uint64_t seed, Reading &out)
{
    ExampleBits random(seed);
    out.bits = BitString();
    out.bits.append(random.next(kCommandBits), kCommandBits, Order::LsbFirst);
    out.bits.append(random.next(kDeviceBits), kDeviceBits, Order::LsbFirst);
    out.bits.append((0 - nibbleSum(out.bits)) & kNibbleMask, kNibble, Order::LsbFirst);
    out.evidence = Evidence::Checked;
    out.checked = true;
    return true;
}

void describe(const Reading &r, std::string &out)
{
    appendField(out, "device", r.bits.field(kCommandBits, kDeviceBits, Order::LsbFirst), 1);
    appendField(out, "command", r.bits.field(0, kCommandBits, Order::LsbFirst), 2);
}

} // namespace

extern const Reader giCableReader = {"GICABLE", std::nullopt, Family::Remote, Presentation::Number,
    38700, admitFirstMark(35, 35, kLayout.header.mark, kLayout.header.mark), read, write, example,
    describe, nullptr};

} // namespace ircodec
