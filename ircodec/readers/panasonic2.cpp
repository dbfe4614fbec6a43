// PANASONIC2: Panasonic's 56-bit member of the Kaseikyo family (projectors,
// fans). 37 kHz, 432 us unit: a 3.5 ms / 1.7 ms header, 56 bits of a 432
// us mark and a 432 us (0) or 1.3 ms (1) space, a stop mark. Seven bytes,
// each least significant bit first: Panasonic's vendor code 0x02 0x20, a
// device, a subdevice, an extra byte, a function, and the exclusive or of
// those four.
#include "pulseprotocol.h"

namespace ircodec {

namespace {

constexpr int kByteBits = 8;
constexpr uint8_t kVendor[] = {0x02, 0x20};
constexpr int kDataBytes = 4;
constexpr int kCheckByte = 2 + kDataBytes;
constexpr const char *kFields[kDataBytes] = {"device", "subdevice", "extra", "function"};

uint8_t byteAt(const BitString &bits, int index)
{
    return bits.byte(index, Order::LsbFirst);
}

uint8_t checkOf(const BitString &bits)
{
    uint8_t out = 0;
    for (int i = 2; i < kCheckByte; ++i)
        out ^= byteAt(bits, i);
    return out;
}

bool check(const BitString &bits)
{
    return byteAt(bits, 0) == kVendor[0] && byteAt(bits, 1) == kVendor[1]
        && byteAt(bits, kCheckByte) == checkOf(bits);
}

// The vendor code and check byte around the random data bytes.
void complete(BitString &bits)
{
    BitString out;
    for (uint8_t b : kVendor)
        out.append(b, kByteBits, Order::LsbFirst);
    out.append(
        bits.field(2 * kByteBits, kDataBytes * kByteBits), kDataBytes * kByteBits, Order::MsbFirst);
    out.append(checkOf(out), kByteBits, Order::LsbFirst);
    bits = out;
}

constexpr PulseProtocol kProtocol = {{{3456, 1728}, {432, 432}, {432, 1296}, 432, {}},
    (kCheckByte + 1) * kByteBits, Evidence::Framed, check, complete};

void describe(const Reading &r, std::string &out)
{
    for (int i = 0; i < kDataBytes; ++i)
        appendField(out, kFields[i], byteAt(r.bits, 2 + i), 2);
}

} // namespace

extern const Reader panasonic2Reader
    = PulseReader<kProtocol>::reader("PANASONIC2", Presentation::Number, 37000, describe);

} // namespace ircodec
