// DENON15: Denon's 15-bit frames whole: no header, 264 us marks, a 0 and a
// 1 told by 792 us and 1848 us spaces, stop mark; a 5-bit address, an
// 8-bit command and two control bits, the fields least significant bit
// first. The control bits are 00 in the first half of a message and 11 in
// its second half, sent about 45 ms later with the command inverted (10
// and 01 are SHARP's). The catalogue's DENON reports the frames whose first
// bit (the address's lowest) is 0; this reader takes the others.
#include "../pulseframe.h"
#include "../reader.h"

namespace ircodec {

namespace {

constexpr int kAddressBits = 5;
constexpr int kCommandBits = 8;
constexpr int kControlBits = 2;
constexpr int kBits = kAddressBits + kCommandBits + kControlBits;
constexpr uint64_t kFirstHalf = 0b00;
constexpr uint64_t kSecondHalf = 0b11;
constexpr int32_t kMark = 264;
constexpr PulseLayout kLayout = {{0, 0}, {kMark, 792}, {kMark, 1848}, kMark, {}};

uint64_t address(const BitString &bits)
{
    return bits.field(0, kAddressBits, Order::LsbFirst);
}

uint64_t commandField(const BitString &bits)
{
    return bits.field(kAddressBits, kCommandBits, Order::LsbFirst);
}

uint64_t control(const BitString &bits)
{
    return bits.field(kAddressBits + kCommandBits, kControlBits);
}

bool secondHalf(const BitString &bits)
{
    return control(bits) == kSecondHalf;
}

// The command the message carries, un-inverted in a second half.
uint64_t command(const BitString &bits)
{
    return secondHalf(bits) ? ~commandField(bits) & lowBits(kCommandBits) : commandField(bits);
}

bool read(const Durations &d, Reading &out)
{
    if (!readPulseFrame(kLayout, d, out.bits) || out.bits.size() != kBits || !out.bits.at(0)
        || (control(out.bits) != kFirstHalf && !secondHalf(out.bits)))
        return false;
    out.evidence = Evidence::Framed;
    return true;
}

Durations write(const Reading &r)
{
    return r.bits.size() == kBits ? writePulseFrame(kLayout, r.bits) : Durations();
}

bool example(uint64_t seed, Reading &out)
{
    ExampleBits random(seed);
    const uint64_t oddAddress = random.next(kAddressBits) | 1u;
    const bool second = random.next(1);
    const uint64_t value = random.next(kCommandBits);
    out.bits = BitString();
    out.bits.append(oddAddress, kAddressBits, Order::LsbFirst);
    out.bits.append(second ? ~value : value, kCommandBits, Order::LsbFirst);
    out.bits.append(second ? kSecondHalf : kFirstHalf, kControlBits, Order::MsbFirst);
    out.evidence = Evidence::Framed;
    return true;
}

void describe(const Reading &r, std::string &out)
{
    appendField(out, "address", address(r.bits), 2);
    appendField(out, "command", command(r.bits), 2);
    if (secondHalf(r.bits))
        appendPhrase(out, "second half");
}

// The second half completes the message the first half began: the same
// address, the command inverted.
bool extend(Reading &first, const Capture &next)
{
    Reading half;
    half.reader = first.reader;
    if (first.bits.size() != kBits || secondHalf(first.bits) || first.checked
        || !read(next.durations, half) || !secondHalf(half.bits)
        || address(half.bits) != address(first.bits) || command(half.bits) != command(first.bits))
        return false;
    first.checked = true;
    return true;
}

} // namespace

extern const Reader denon15Reader = {"DENON15", std::nullopt, Family::Remote, Presentation::Number,
    38000, admitFirstMark(31, 31, kMark, kMark), read, write, example, describe, extend};

} // namespace ircodec
