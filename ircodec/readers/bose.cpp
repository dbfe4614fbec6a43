// BOSE: Bose's 16-bit frames: 1 ms / 1.5 ms header, 500 us marks, a 0 and
// a 1 told by 500 us and 1500 us spaces, stop mark; a command byte and its
// complement, most significant bit first.
#include "../pulseframe.h"
#include "../reader.h"

namespace ircodec {

namespace {

constexpr int kCommandBits = 8;
constexpr int kBits = 2 * kCommandBits;
constexpr int32_t kUnit = 500;
constexpr PulseLayout kLayout
    = {{2 * kUnit, 3 * kUnit}, {kUnit, kUnit}, {kUnit, 3 * kUnit}, kUnit, {}};

uint64_t command(const BitString &bits)
{
    return bits.field(0, kCommandBits);
}

bool read(const Durations &d, Reading &out)
{
    if (!readPulseFrame(kLayout, d, out.bits) || out.bits.size() != kBits
        || (command(out.bits) ^ out.bits.field(kCommandBits, kCommandBits))
            != lowBits(kCommandBits))
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
    const uint64_t value = ExampleBits(seed).next(kCommandBits);
    out.bits = BitString(value << kCommandBits | (~value & lowBits(kCommandBits)), kBits);
    out.evidence = Evidence::Checked;
    out.checked = true;
    return true;
}

void describe(const Reading &r, std::string &out)
{
    appendField(out, "command", command(r.bits), 2);
}

} // namespace

extern const Reader boseReader = {"BOSE", std::nullopt, Family::Remote, Presentation::Number, 38000,
    admitFirstMark(35, 35, kLayout.header.mark, kLayout.header.mark), read, write, example,
    describe, nullptr};

} // namespace ircodec
