// S100: RC5's timing and framing with one bit more. Bi-phase, 889 us half
// bits, a 1 is a space then a mark: two start bits (1), a toggle, a 5-bit
// address and a 7-bit command, most significant first. The reading's 13
// bits are the toggle, the address and the command.
#include "../reader.h"
#include "biphaseprotocol.h"

namespace ircodec {

namespace {

constexpr int kAddressBits = 5;
constexpr int kCommandBits = 7;
constexpr int kBits = 1 + kAddressBits + kCommandBits;
// The first start bit's space half is the silence before the frame.
constexpr BiphaseBody kBody = {889000, Polarity::OneIsSpaceFirst, "1", 1 + kBits};

bool read(const Durations &d, Reading &out)
{
    BitString bits;
    if (!readBiphaseBody(kBody, d, 0, bits) || !bits.at(0))
        return false;
    out.bits = BitString(bits.field(1, kBits), kBits);
    out.evidence = Evidence::Framed;
    return true;
}

Durations write(const Reading &r)
{
    if (r.bits.size() != kBits)
        return {};
    BitString bits(1, 1);
    bits.append(r.bits);
    return writeBiphaseBody(kBody, bits);
}

void describe(const Reading &r, std::string &out)
{
    appendField(out, "toggle", r.bits.field(0, 1), 1);
    appendField(out, "address", r.bits.field(1, kAddressBits), 2);
    appendField(out, "command", r.bits.field(1 + kAddressBits, kCommandBits), 2);
}

} // namespace

extern const Reader s100Reader = {"S100", std::nullopt, Family::Remote, Presentation::Number, 36000,
    biphaseAdmission(kBody, 0, halvesUs(kBody, 1), halvesUs(kBody, 2)), read, write,
    framedExample<kBits>, describe, nullptr};

} // namespace ircodec
