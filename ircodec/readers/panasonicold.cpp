// PANASONIC_OLD: the older Panasonic protocol, also used by Scientific
// Atlanta cable boxes. 57.6 kHz, 833 us unit: a 3.3 ms / 3.3 ms header, 22
// bits of an 833 us mark and an 833 us (0) or 2.5 ms (1) space, a stop
// mark. A 5-bit device and a 6-bit function, then both again inverted,
// each least significant bit first.
#include "pulseprotocol.h"

namespace ircodec {

namespace {

constexpr int kDeviceBits = 5;
constexpr int kFunctionBits = 6;
constexpr int kHalfBits = kDeviceBits + kFunctionBits;

bool check(const BitString &bits)
{
    for (int i = 0; i < kHalfBits; ++i)
        if (bits.at(i) == bits.at(kHalfBits + i))
            return false;
    return true;
}

void complete(BitString &bits)
{
    BitString out;
    for (int i = 0; i < kHalfBits; ++i)
        out.push(bits.at(i));
    for (int i = 0; i < kHalfBits; ++i)
        out.push(!bits.at(i));
    bits = out;
}

constexpr PulseProtocol kProtocol = {{{3332, 3332}, {833, 833}, {833, 2499}, 833, {}},
    2 * kHalfBits, Evidence::Framed, check, complete};

void describe(const Reading &r, std::string &out)
{
    appendField(out, "device", r.bits.field(0, kDeviceBits, Order::LsbFirst), 2);
    appendField(out, "function", r.bits.field(kDeviceBits, kFunctionBits, Order::LsbFirst), 2);
}

} // namespace

extern const Reader panasonicOldReader
    = PulseReader<kProtocol>::reader("PANASONIC_OLD", Presentation::Number, 57600, describe);

} // namespace ircodec
