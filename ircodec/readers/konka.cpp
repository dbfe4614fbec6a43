// KONKA: Konka's televisions. 38 kHz, 500 us unit: a 3 ms / 3 ms header,
// 16 bits of a 500 us mark and a 1.5 ms (0) or 2.5 ms (1) space, a stop
// mark, a 4 ms space and a second stop mark. An 8-bit device and an 8-bit
// function, each most significant bit first.
#include "pulseprotocol.h"

namespace ircodec {

namespace {

constexpr int kByteBits = 8;
constexpr PulseProtocol kProtocol = {{{3000, 3000}, {500, 1500}, {500, 2500}, 500, {}},
    2 * kByteBits, Evidence::Framed, nullptr, nullptr, 4000};

void describe(const Reading &r, std::string &out)
{
    appendField(out, "device", r.bits.field(0, kByteBits), 2);
    appendField(out, "function", r.bits.field(kByteBits, kByteBits), 2);
}

} // namespace

extern const Reader konkaReader
    = PulseReader<kProtocol>::reader("KONKA", Presentation::Number, 38000, describe);

} // namespace ircodec
