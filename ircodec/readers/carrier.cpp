// Carrier's air conditioner protocols (most significant bit first unless
// noted; a stop mark ends each frame):
//   CARRIER_AC40  8402 / 4166 us header, 547 us marks, a 1 is a 1540 us
//                 space and a 0 a 497 us one; five bytes, no check.
//   CARRIER_AC64  8940 / 4556 us header, 503 us marks, 1736 / 615 us
//                 spaces, least significant bit first; eight bytes, the low
//                 nibble of byte 2 the sum of the nibbles above it, modulo
//                 16.
#include "../acframe.h"

namespace ircodec {

namespace {

constexpr AcProtocol kCarrier40
    = acPlain({8402, 4166}, 547, 497, 1540, Order::MsbFirst, 5, nullptr, nullptr, Evidence::Framed);

constexpr int kSumByte = 2;
constexpr int kBytes64 = 8;

// The nibbles after the checksum's: byte 2's high one and bytes 3-7.
uint8_t sum64(const AcState &s)
{
    return static_cast<uint8_t>(((s[kSumByte] >> 4) + sumNibbles(s, kSumByte + 1, kBytes64)) & 0xF);
}

bool valid64(const AcState &s)
{
    return (s[kSumByte] & 0xF) == sum64(s);
}

void complete64(AcState &s)
{
    s[kSumByte] = static_cast<uint8_t>((s[kSumByte] & 0xF0) | sum64(s));
}

constexpr AcProtocol kCarrier64
    = acPlain({8940, 4556}, 503, 615, 1736, Order::LsbFirst, kBytes64, valid64, complete64);

} // namespace

extern const Reader carrier40Reader = acReader<kCarrier40>("CARRIER_AC40", 38000);
extern const Reader carrier64Reader = acReader<kCarrier64>("CARRIER_AC64", 38000);

} // namespace ircodec
