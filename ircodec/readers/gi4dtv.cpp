// GI4DTV: General Instrument's digital satellite receivers. 37.3 kHz, 992
// us unit: a 5 ms / 2 ms header, 12 bits of a 992 us mark and a 992 us (0)
// or 3 ms (1) space, a stop mark. A 6-bit function and the low 2 bits of a
// 3-bit device, each least significant bit first, then 4 check bits: each
// the parity of a set of function and device bits and of the device's
// third bit, a Hamming code that also carries that bit.
#include "pulseprotocol.h"

#include <bitset>
#include <optional>

namespace ircodec {

namespace {

constexpr int kFunctionBits = 6;
constexpr int kLowDeviceBits = 2;
constexpr int kCheckBits = 4;
constexpr int kCheckAt = kFunctionBits + kLowDeviceBits;
constexpr int kBits = kCheckAt + kCheckBits;
constexpr int kHighDeviceBit = 2;

// Each check bit's function bits and device bits.
struct CheckMask
{
    uint8_t function;
    uint8_t device;
};
constexpr CheckMask kMasks[kCheckBits] = {{25, 1}, {43, 3}, {22, 3}, {44, 2}};

int parity(unsigned value)
{
    return static_cast<int>(std::bitset<8>(value).count() % 2);
}

// The check bits of a function and device, first on the air first.
unsigned checkBits(unsigned function, unsigned device)
{
    const int high = (device >> kHighDeviceBit) & 1u;
    unsigned out = 0;
    for (const CheckMask &m : kMasks)
        out = (out << 1)
            | static_cast<unsigned>(
                (high + parity(function & m.function) + parity(device & m.device)) % 2);
    return out;
}

unsigned functionOf(const BitString &bits)
{
    return static_cast<unsigned>(bits.field(0, kFunctionBits, Order::LsbFirst));
}

// The device, its third bit told by the check bits; empty when they fit
// neither.
std::optional<unsigned> deviceOf(const BitString &bits)
{
    const auto low
        = static_cast<unsigned>(bits.field(kFunctionBits, kLowDeviceBits, Order::LsbFirst));
    const auto check = static_cast<unsigned>(bits.field(kCheckAt, kCheckBits));
    for (unsigned high : {0u, 1u}) {
        const unsigned device = low | high << kHighDeviceBit;
        if (checkBits(functionOf(bits), device) == check)
            return device;
    }
    return std::nullopt;
}

bool check(const BitString &bits)
{
    return deviceOf(bits).has_value();
}

// The check bits for the random function and device bits, the first
// random check bit standing for the device's third bit.
void complete(BitString &bits)
{
    const unsigned device
        = static_cast<unsigned>(bits.field(kFunctionBits, kLowDeviceBits, Order::LsbFirst))
        | static_cast<unsigned>(bits.at(kCheckAt)) << kHighDeviceBit;
    BitString out(bits.field(0, kCheckAt), kCheckAt);
    out.append(checkBits(functionOf(bits), device), kCheckBits, Order::MsbFirst);
    bits = out;
}

constexpr PulseProtocol kProtocol
    = {{{4960, 1984}, {992, 992}, {992, 2976}, 992, {}}, kBits, Evidence::Framed, check, complete};

void describe(const Reading &r, std::string &out)
{
    if (const auto device = deviceOf(r.bits))
        appendField(out, "device", *device, 1);
    appendField(out, "function", functionOf(r.bits), 2);
}

} // namespace

extern const Reader gi4dtvReader
    = PulseReader<kProtocol>::reader("GI4DTV", Presentation::Number, 37300, describe);

} // namespace ircodec
