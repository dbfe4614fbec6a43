// THOMSON: Thomson's protocol (RCA, Saba, Nordmende, Telefunken sets of
// its time). 33 kHz, 500 us unit, no header: 12 bits of a 500 us mark and
// a 2 ms (0) or 4.5 ms (1) space, a stop mark. A 4-bit device, a toggle
// bit and a 7-bit function, each least significant bit first.
#include "pulseprotocol.h"

namespace ircodec {

namespace {

constexpr int kDeviceBits = 4;
constexpr int kFunctionBits = 7;
constexpr PulseProtocol kProtocol = {
    {{0, 0}, {500, 2000}, {500, 4500}, 500, {}}, kDeviceBits + 1 + kFunctionBits, Evidence::Bare};

void describe(const Reading &r, std::string &out)
{
    appendField(out, "device", r.bits.field(0, kDeviceBits, Order::LsbFirst), 1);
    appendField(out, "toggle", r.bits.field(kDeviceBits, 1), 1);
    appendField(out, "function", r.bits.field(kDeviceBits + 1, kFunctionBits, Order::LsbFirst), 2);
}

} // namespace

extern const Reader thomsonReader
    = PulseReader<kProtocol>::reader("THOMSON", Presentation::Number, 33000, describe);

} // namespace ircodec
