// MATSUI: 38 kHz, 525 us unit, no header: 10 bits of a 525 us mark and a
// 525 us (0) or 1.6 ms (1) space, a stop mark. A 3-bit device and a 7-bit
// function, each least significant bit first.
#include "pulseprotocol.h"

namespace ircodec {

namespace {

constexpr int kDeviceBits = 3;
constexpr int kFunctionBits = 7;
constexpr PulseProtocol kProtocol
    = {{{0, 0}, {525, 525}, {525, 1575}, 525, {}}, kDeviceBits + kFunctionBits, Evidence::Bare};

void describe(const Reading &r, std::string &out)
{
    appendField(out, "device", r.bits.field(0, kDeviceBits, Order::LsbFirst), 1);
    appendField(out, "function", r.bits.field(kDeviceBits, kFunctionBits, Order::LsbFirst), 2);
}

} // namespace

extern const Reader matsuiReader
    = PulseReader<kProtocol>::reader("MATSUI", Presentation::Number, 38000, describe);

} // namespace ircodec
