// SIM2: the projector maker's protocol, also sent by other projectors,
// cameras and converters with their own device byte. 38.8 kHz, 400 us unit:
// a 2.4 ms / 2.8 ms header, 16 bits of a 1.2 ms mark and a 1.2 ms (0) or
// 2.8 ms (1) space, a 1.2 ms stop mark. The device byte (236 on SIM2's own
// remotes), then the function byte, each least significant bit first.
#include "pulseprotocol.h"

namespace ircodec {

namespace {

constexpr int kByteBits = 8;
constexpr PulseProtocol kProtocol
    = {{{2400, 2800}, {1200, 1200}, {1200, 2800}, 1200, {}}, 2 * kByteBits, Evidence::Framed};

void describe(const Reading &r, std::string &out)
{
    appendField(out, "device", r.bits.field(0, kByteBits, Order::LsbFirst), 2);
    appendField(out, "function", r.bits.field(kByteBits, kByteBits, Order::LsbFirst), 2);
}

} // namespace

extern const Reader sim2Reader
    = PulseReader<kProtocol>::reader("SIM2", Presentation::Number, 38800, describe);

} // namespace ircodec
