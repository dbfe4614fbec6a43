// REVOX: Revox's unmodulated protocol, flashes of 15 us: a flash and a
// 435 us space, 11 bits of a flash and a 135 us (0) or 285 us (1) space,
// then a flash, a 435 us space and a last flash. The first bit is always
// 0, then a 4-bit device and a 6-bit function, each least significant bit
// first.
#include "pulseprotocol.h"

namespace ircodec {

namespace {

constexpr int kDeviceBits = 4;
constexpr int kFunctionBits = 6;
constexpr int32_t kFlash = 15;
constexpr int32_t kLongSpace = 435;
constexpr PulseProtocol kProtocol
    = {{{kFlash, kLongSpace}, {kFlash, 135}, {kFlash, 285}, kFlash, {}},
        1 + kDeviceBits + kFunctionBits, Evidence::Framed, nullptr, nullptr, kLongSpace};

bool read(const Durations &d, Reading &out)
{
    return readPulseProtocol(kProtocol, d, out) && !out.bits.at(0);
}

bool example(uint64_t seed, Reading &out)
{
    if (!examplePulseProtocol(kProtocol, seed, out))
        return false;
    BitString bits(0, 1);
    bits.append(out.bits.field(1, kDeviceBits + kFunctionBits), kDeviceBits + kFunctionBits,
        Order::MsbFirst);
    out.bits = bits;
    return true;
}

void describe(const Reading &r, std::string &out)
{
    appendField(out, "device", r.bits.field(1, kDeviceBits, Order::LsbFirst), 1);
    appendField(out, "function", r.bits.field(1 + kDeviceBits, kFunctionBits, Order::LsbFirst), 2);
}

} // namespace

extern const Reader revoxReader = {"REVOX", std::nullopt, Family::Remote, Presentation::Number, 0,
    pulseProtocolAdmission(kProtocol), read, PulseReader<kProtocol>::write, example, describe,
    nullptr};

} // namespace ircodec
