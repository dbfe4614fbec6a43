// BOSE: Bose's 16-bit frames: 1 ms / 1.5 ms header, 500 us marks, a 0 and
// a 1 told by 500 us and 1500 us spaces, stop mark; a command byte and its
// complement, most significant bit first.
#include "../fixedpulse.h"

namespace ircodec {

namespace {

constexpr int kCommandBits = 8;
constexpr int32_t kUnit = 500;

uint64_t command(const BitString &bits)
{
    return bits.field(0, kCommandBits);
}

bool complemented(const BitString &bits)
{
    return (command(bits) ^ bits.field(kCommandBits, kCommandBits)) == lowBits(kCommandBits);
}

void complement(BitString &bits)
{
    const uint64_t value = command(bits);
    bits = BitString(value << kCommandBits | (~value & lowBits(kCommandBits)), 2 * kCommandBits);
}

constexpr FixedPulse kBose
    = {{{2 * kUnit, 3 * kUnit}, {kUnit, kUnit}, {kUnit, 3 * kUnit}, kUnit, {}}, 2 * kCommandBits,
        Evidence::Checked, complemented, complement};

void describe(const Reading &r, std::string &out)
{
    appendField(out, "command", command(r.bits), 2);
}

} // namespace

extern const Reader boseReader = {"BOSE", std::nullopt, Family::Remote, Presentation::Number, 38000,
    admitFixed(kBose), readFixed<kBose>, writeFixed<kBose>, exampleFixed<kBose>, describe, nullptr};

} // namespace ircodec
