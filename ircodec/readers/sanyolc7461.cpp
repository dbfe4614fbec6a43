// SANYO_LC7461: the 42-bit frames of Sanyo's LC7461 remote-control encoder:
// header of 16 / 8 units, bits of 1 + 1 (0) and 1 + 3 (1) units of 550 us,
// stop mark; a 13-bit custom code, its complement, an 8-bit key code and
// its complement, each least significant bit first. Aiwa's remotes send it
// with custom code 0x006E: the catalogue's AIWA_RC_T501, whose reading
// those frames keep, as its row comes first and both readers have the same
// evidence and the same nominal timing (Aiwa's 550 us unit, which the
// encoder's NEC-like 560 us is within tolerance of).
#include "../pulseframe.h"
#include "../reader.h"

namespace ircodec {

namespace {

constexpr int kAddressBits = 13;
constexpr int kCommandBits = 8;
constexpr int kBits = 2 * (kAddressBits + kCommandBits);
constexpr int kCommandAt = 2 * kAddressBits;
constexpr int32_t kUnit = 550;
constexpr PulseLayout kLayout
    = {{16 * kUnit, 8 * kUnit}, {kUnit, kUnit}, {kUnit, 3 * kUnit}, kUnit, {}};

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

bool read(const Durations &d, Reading &out)
{
    if (!readPulseFrame(kLayout, d, out.bits) || out.bits.size() != kBits
        || !complemented(out.bits))
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
    const uint64_t customCode = random.next(kAddressBits);
    const uint64_t keyCode = random.next(kCommandBits);
    out.bits = BitString();
    out.bits.append(customCode, kAddressBits, Order::LsbFirst);
    out.bits.append(~customCode, kAddressBits, Order::LsbFirst);
    out.bits.append(keyCode, kCommandBits, Order::LsbFirst);
    out.bits.append(~keyCode, kCommandBits, Order::LsbFirst);
    out.evidence = Evidence::Checked;
    out.checked = true;
    return true;
}

void describe(const Reading &r, std::string &out)
{
    appendField(out, "address", address(r.bits), 4);
    appendField(out, "command", command(r.bits), 2);
}

} // namespace

extern const Reader sanyoLc7461Reader = {"SANYO_LC7461", std::nullopt, Family::Remote,
    Presentation::Number, 38000, admitFirstMark(87, 87, kLayout.header.mark, kLayout.header.mark),
    read, write, example, describe, nullptr};

} // namespace ircodec
