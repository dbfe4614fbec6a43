// MITSUBISHI2: the 16-bit frames of Mitsubishi's and NEC's projectors:
// 8.4 ms / 4.2 ms header, 8 bits, a mark and a 4.2 ms space, 8 more bits,
// stop mark; 560 us marks, a 0 and a 1 told by 520 us and 1560 us spaces,
// most significant bit first. The first byte is the address, the second
// the command; there is no check. Mitsubishi's remotes use 33 kHz, NEC's
// (most of those recorded) 38 kHz.
#include "../pulseframe.h"
#include "../reader.h"

namespace ircodec {

namespace {

constexpr int kBits = 16;
constexpr int kAddressBits = 8;
constexpr int kCommandBits = kBits - kAddressBits;
constexpr MarkSpace kHeader = {8400, 4200};
constexpr int32_t kMark = 560;
constexpr PulseLayout kLayout
    = {kHeader, {kMark, 520}, {kMark, 1560}, kMark, {{{kAddressBits, {kMark, kHeader.space}}}}};

bool read(const Durations &d, Reading &out)
{
    if (!readPulseFrame(kLayout, d, out.bits) || out.bits.size() != kBits)
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
    out.bits = BitString(ExampleBits(seed).next(kBits), kBits);
    out.evidence = Evidence::Framed;
    return true;
}

void describe(const Reading &r, std::string &out)
{
    appendField(out, "address", r.bits.field(0, kAddressBits), 2);
    appendField(out, "command", r.bits.field(kAddressBits, kCommandBits), 2);
}

} // namespace

extern const Reader mitsubishi2Reader = {"MITSUBISHI2", std::nullopt, Family::Remote,
    Presentation::Number, 38000, admitFirstMark(37, 37, kHeader.mark, kHeader.mark), read, write,
    example, describe, nullptr};

} // namespace ircodec
