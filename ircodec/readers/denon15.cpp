// DENON15: Denon's 15-bit frames whole: no header, 264 us marks, a 0 and a
// 1 told by 792 us and 1848 us spaces, stop mark; a 5-bit address, an
// 8-bit command and two control bits, the fields least significant bit
// first. The control bits are 00 in the first half of a message and 11 in
// its second half, sent about 44 ms later with the command inverted (10
// and 01 are SHARP's). The catalogue's DENON reports the frames whose first
// bit (the address's lowest) is 0; this reader takes the others.
#include "../fixedpulse.h"

namespace ircodec {

namespace {

constexpr int kAddressBits = 5;
constexpr int kCommandBits = 8;
constexpr int kControlBits = 2;
constexpr int kBits = kAddressBits + kCommandBits + kControlBits;
constexpr uint64_t kFirstHalf = 0b00;
constexpr uint64_t kSecondHalf = 0b11;
constexpr int32_t kMark = 264;

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

// Frames of the catalogue's DENON aside, with valid control bits.
bool valid(const BitString &bits)
{
    return bits.at(0) && (control(bits) == kFirstHalf || secondHalf(bits));
}

// An odd address, and control bits that are both the second one.
void makeValid(BitString &bits)
{
    bits.set(0, true);
    bits.set(kBits - 2, bits.at(kBits - 1));
}

constexpr FixedPulse kDenon15
    = {{{0, 0}, {kMark, 792}, {kMark, 1848}, kMark, {}}, kBits, Evidence::Framed, valid, makeValid};

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
        || !readFixed<kDenon15>(next.durations, half) || !secondHalf(half.bits)
        || address(half.bits) != address(first.bits) || command(half.bits) != command(first.bits))
        return false;
    first.checked = true;
    return true;
}

} // namespace

extern const Reader denon15Reader
    = {"DENON15", std::nullopt, Family::Remote, Presentation::Number, 38000, admitFixed(kDenon15),
        readFixed<kDenon15>, writeFixed<kDenon15>, exampleFixed<kDenon15>, describe, extend};

} // namespace ircodec
