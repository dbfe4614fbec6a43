// MITSUBISHI2: the 16-bit frames of Mitsubishi's and NEC's projectors:
// 8.4 ms / 4.2 ms header, 8 bits, a mark and a 4.2 ms space, 8 more bits,
// stop mark; 560 us marks, a 0 and a 1 told by 520 us and 1560 us spaces,
// most significant bit first. The first byte is the address, the second
// the command; there is no check. Mitsubishi's remotes use 33 kHz, NEC's
// (most of those recorded) 38 kHz.
#include "../fixedpulse.h"

namespace ircodec {

namespace {

constexpr int kAddressBits = 8;
constexpr int kCommandBits = 8;
constexpr MarkSpace kHeader = {8400, 4200};
constexpr int32_t kMark = 560;
constexpr FixedPulse kMitsubishi2
    = {{kHeader, {kMark, 520}, {kMark, 1560}, kMark, {{{kAddressBits, {kMark, kHeader.space}}}}},
        kAddressBits + kCommandBits, Evidence::Framed};

void describe(const Reading &r, std::string &out)
{
    appendField(out, "address", r.bits.field(0, kAddressBits), 2);
    appendField(out, "command", r.bits.field(kAddressBits, kCommandBits), 2);
}

} // namespace

extern const Reader mitsubishi2Reader = {"MITSUBISHI2", std::nullopt, Family::Remote,
    Presentation::Number, 38000, admitFixed(kMitsubishi2), readFixed<kMitsubishi2>,
    writeFixed<kMitsubishi2>, exampleFixed<kMitsubishi2>, describe, nullptr};

} // namespace ircodec
