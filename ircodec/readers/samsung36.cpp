// SAMSUNG36: Samsung's 36-bit frames (Blu-ray players): 4.5 ms / 4.5 ms
// header, 16 bits, a mark and a 4.5 ms space, 20 more bits, stop mark; NEC's
// bit timing, most significant bit first. The first 16 bits are the
// address, the other 20 the command.
#include "../pulseframe.h"
#include "../reader.h"

namespace ircodec {

namespace {

constexpr int kBits = 36;
constexpr int kAddressBits = 16;
constexpr int kCommandBits = kBits - kAddressBits;
constexpr PulseLayout kLayout
    = {{4480, 4480}, {560, 560}, {560, 1680}, 560, {{{kAddressBits, {560, 4480}}}}};

bool read(const Durations &d, Reading &out)
{
    if (pulseFrameBits(kLayout, d.size()) != kBits || !readPulseFrame(kLayout, d, out.bits))
        return false;
    out.evidence = Evidence::Framed;
    return true;
}

Durations write(const Reading &r)
{
    return r.bits.size() == kBits ? writePulseFrame(kLayout, r.bits) : Durations();
}

void describe(const Reading &r, std::string &out)
{
    appendField(out, "address", r.bits.field(0, kAddressBits), 4);
    appendField(out, "command", r.bits.field(kAddressBits, kCommandBits), 5);
}

} // namespace

extern const Reader samsung36Reader
    = {"SAMSUNG36", std::nullopt, Family::Remote, Presentation::Number, 38000, {77, 77, 0, 0}, read,
        write, framedExample<kBits>, describe, nullptr};

} // namespace ircodec
