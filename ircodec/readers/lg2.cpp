// LG2: the protocol of LG's newer air conditioner remotes, LG's 28 bits on
// another header. 3200 / 9900 us header, 480 us marks, a 1 is a 1600 us
// space and a 0 a 550 us one, most significant bit first, stop mark. An
// 8-bit address, a 16-bit command and a nibble that is the sum of the
// command's four nibbles, modulo 16. (The catalogue's LG reads the same
// bits after an 8 ms / 4 ms header.)
#include "../pulseframe.h"
#include "../reader.h"

namespace ircodec {

namespace {

constexpr int kBits = 28;
constexpr int kAddressBits = 8;
constexpr int kCommandBits = 16;
constexpr int kSumBits = 4;
constexpr PulseLayout kLayout = {{3200, 9900}, {480, 550}, {480, 1600}, 480};

uint64_t commandOf(const BitString &bits)
{
    return bits.field(kAddressBits, kCommandBits);
}

uint64_t sumOf(uint64_t command)
{
    uint64_t sum = 0;
    for (int shift = 0; shift < kCommandBits; shift += kSumBits)
        sum += (command >> shift) & 0xF;
    return sum & 0xF;
}

bool read(const Durations &d, Reading &out)
{
    if (pulseFrameBits(kLayout, d.size()) != kBits || !readPulseFrame(kLayout, d, out.bits)
        || out.bits.field(kBits - kSumBits, kSumBits) != sumOf(commandOf(out.bits)))
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
    const uint64_t address = random.next(kAddressBits);
    const uint64_t command = random.next(kCommandBits);
    out.bits = BitString(address, kAddressBits);
    out.bits.append(command, kCommandBits, Order::MsbFirst);
    out.bits.append(sumOf(command), kSumBits, Order::MsbFirst);
    out.evidence = Evidence::Checked;
    out.checked = true;
    return true;
}

void describe(const Reading &r, std::string &out)
{
    appendField(out, "address", r.bits.field(0, kAddressBits), 2);
    appendField(out, "command", commandOf(r.bits), 4);
}

constexpr int kDurations = 2 + 2 * kBits + 1;

} // namespace

extern const Reader lg2Reader = {"LG2", std::nullopt, Family::AirConditioner, Presentation::Number,
    38000, {kDurations, kDurations, 0, 0}, read, write, example, describe, nullptr};

} // namespace ircodec
