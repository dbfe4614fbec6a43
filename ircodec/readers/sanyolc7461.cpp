// SANYO_LC7461: the 42-bit frames of Sanyo's LC7461 remote-control encoder:
// header of 16 / 8 units, bits of 1 + 1 (0) and 1 + 3 (1) units of 550 us,
// stop mark; a 13-bit custom code, its complement, an 8-bit key code and
// its complement, each least significant bit first. Aiwa's remotes send it
// with custom code 0x006E: the catalogue's AIWA_RC_T501, whose reading
// those frames keep, as its row comes first and both readers have the same
// evidence and the same nominal timing (Aiwa's 550 us unit, which the
// encoder's NEC-like 560 us is within tolerance of).
#include "../fixedpulse.h"

namespace ircodec {

namespace {

constexpr int kAddressBits = 13;
constexpr int kCommandBits = 8;
constexpr int kCommandAt = 2 * kAddressBits;
constexpr int32_t kUnit = 550;

uint64_t address(const BitString &bits)
{
    return bits.field(0, kAddressBits, Order::LsbFirst);
}

uint64_t command(const BitString &bits)
{
    return bits.field(kCommandAt, kCommandBits, Order::LsbFirst);
}

// Both fields followed by their complements.
bool complemented(const BitString &bits)
{
    const uint64_t notAddress = bits.field(kAddressBits, kAddressBits, Order::LsbFirst);
    const uint64_t notCommand
        = bits.field(kCommandAt + kCommandBits, kCommandBits, Order::LsbFirst);
    return (address(bits) ^ notAddress) == lowBits(kAddressBits)
        && (command(bits) ^ notCommand) == lowBits(kCommandBits);
}

void complement(BitString &bits)
{
    const uint64_t customCode = address(bits);
    const uint64_t keyCode = command(bits);
    bits = BitString();
    bits.append(customCode, kAddressBits, Order::LsbFirst);
    bits.append(~customCode, kAddressBits, Order::LsbFirst);
    bits.append(keyCode, kCommandBits, Order::LsbFirst);
    bits.append(~keyCode, kCommandBits, Order::LsbFirst);
}

constexpr FixedPulse kSanyoLc7461
    = {{{16 * kUnit, 8 * kUnit}, {kUnit, kUnit}, {kUnit, 3 * kUnit}, kUnit, {}},
        2 * (kAddressBits + kCommandBits), Evidence::Checked, complemented, complement};

void describe(const Reading &r, std::string &out)
{
    appendField(out, "address", address(r.bits), 4);
    appendField(out, "command", command(r.bits), 2);
}

} // namespace

extern const Reader sanyoLc7461Reader = {"SANYO_LC7461", std::nullopt, Family::Remote,
    Presentation::Number, 38000, admitFixed(kSanyoLc7461), readFixed<kSanyoLc7461>,
    writeFixed<kSanyoLc7461>, exampleFixed<kSanyoLc7461>, describe, nullptr};

} // namespace ircodec
