// SAMSUNG20: Samsung's 20-bit frames (projectors, video players). 38.4
// kHz, NEC's 564 us unit: a 4.5 ms / 4.5 ms header, 20 bits of a 564 us
// mark and a 564 us (0) or 1.7 ms (1) space, a stop mark. A 6-bit device,
// a 6-bit subdevice and an 8-bit function, each least significant bit
// first.
#include "pulseprotocol.h"

namespace ircodec {

namespace {

constexpr int kDeviceBits = 6;
constexpr int kFunctionBits = 8;
constexpr PulseProtocol kProtocol = {{{4512, 4512}, {564, 564}, {564, 1692}, 564, {}},
    2 * kDeviceBits + kFunctionBits, Evidence::Framed};

void describe(const Reading &r, std::string &out)
{
    appendField(out, "device", r.bits.field(0, kDeviceBits, Order::LsbFirst), 2);
    appendField(out, "subdevice", r.bits.field(kDeviceBits, kDeviceBits, Order::LsbFirst), 2);
    appendField(out, "function", r.bits.field(2 * kDeviceBits, kFunctionBits, Order::LsbFirst), 2);
}

} // namespace

extern const Reader samsung20Reader
    = PulseReader<kProtocol>::reader("SAMSUNG20", Presentation::Number, 38400, describe);

} // namespace ircodec
