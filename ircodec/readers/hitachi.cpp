// Hitachi's air conditioner protocols. Each frame: a header, whole bytes,
// a stop mark.
//   HITACHI_AC     3300 / 1700 us header, 400 us marks, a 1 is a 1250 us
//                  space and a 0 a 500 us one, most significant bit first;
//                  28 bytes, the last bit-reversed: 62 less the sum of the
//                  others bit-reversed, modulo 256.
//   HITACHI_AC1    a 3400 / 3400 us header, the same bits; 13 bytes, the
//                  last bit-reversed: the sum of the nibbles of bytes 5-11,
//                  each nibble bit-reversed.
// And the protocols whose bytes, after the first three (0x01 0x10 0x00),
// come in pairs of a byte and its complement, least significant bit first:
//   HITACHI_AC264, HITACHI_AC296, HITACHI_AC344  HITACHI_AC's timing; 33,
//                  37 and 43 bytes.
//   HITACHI_AC424  a 29784 us leader mark and 49290 us of silence (a frame
//                  of its own), then a 3416 / 1604 us header, 463 us marks,
//                  1208 / 372 us spaces; 53 bytes.
#include "../acframe.h"

namespace ircodec {

namespace {

constexpr uint8_t kPrefix[] = {0x01, 0x10, 0x00};
constexpr int kPrefixBytes = sizeof kPrefix;

bool valid(const AcState &s)
{
    return startsWith(s, kPrefix) && complementPairs(s, kPrefixBytes, s.size);
}

void complete(AcState &s)
{
    setStart(s, kPrefix);
    setComplementPairs(s, kPrefixBytes, s.size);
}

constexpr AcProtocol hitachi(MarkSpace header, int32_t mark, int32_t one, int32_t zero, int bytes)
{
    return acPlain(header, mark, zero, one, Order::LsbFirst, bytes, valid, complete);
}

constexpr MarkSpace kHeader = {3300, 1700};
constexpr int32_t kMark = 400;
constexpr int32_t kZeroSpace = 500;
constexpr int32_t kOneSpace = 1250;
constexpr MarkSpace kHeader424 = {3416, 1604};

constexpr AcProtocol kHitachi264 = hitachi(kHeader, kMark, kOneSpace, kZeroSpace, 33);
constexpr AcProtocol kHitachi296 = hitachi(kHeader, kMark, kOneSpace, kZeroSpace, 37);
constexpr AcProtocol kHitachi344 = hitachi(kHeader, kMark, kOneSpace, kZeroSpace, 43);
constexpr AcProtocol kHitachi424 = hitachi(kHeader424, 463, 1208, 372, 53);

constexpr int kBytes224 = 28;
constexpr uint8_t kSumStart224 = 62;

uint8_t sum224(const AcState &s)
{
    uint8_t sum = kSumStart224;
    for (int i = 0; i < kBytes224 - 1; ++i)
        sum = static_cast<uint8_t>(sum - reverseBits(s[i]));
    return reverseBits(sum);
}

bool valid224(const AcState &s)
{
    return s[kBytes224 - 1] == sum224(s);
}

void complete224(AcState &s)
{
    s[kBytes224 - 1] = sum224(s);
}

constexpr int kBytes104 = 13;
constexpr int kSummedFrom104 = 5;

uint8_t sum104(const AcState &s)
{
    const auto nibble = [](unsigned n) { return reverseBits(static_cast<uint8_t>(n)) >> 4; };
    unsigned sum = 0;
    for (int i = kSummedFrom104; i < kBytes104 - 1; ++i)
        sum += nibble(s[i] & 0xFu) + nibble(s[i] >> 4);
    return reverseBits(static_cast<uint8_t>(sum));
}

bool valid104(const AcState &s)
{
    return s[kBytes104 - 1] == sum104(s);
}

void complete104(AcState &s)
{
    s[kBytes104 - 1] = sum104(s);
}

constexpr AcProtocol kHitachi224 = acPlain(
    kHeader, kMark, kZeroSpace, kOneSpace, Order::MsbFirst, kBytes224, valid224, complete224);

constexpr AcProtocol kHitachi104 = acPlain(
    {3400, 3400}, kMark, kZeroSpace, kOneSpace, Order::MsbFirst, kBytes104, valid104, complete104);

} // namespace

extern const Reader hitachiReader = acReader<kHitachi224>("HITACHI_AC", 38000);
extern const Reader hitachi1Reader = acReader<kHitachi104>("HITACHI_AC1", 38000);
extern const Reader hitachi264Reader = acReader<kHitachi264>("HITACHI_AC264", 38000);
extern const Reader hitachi296Reader = acReader<kHitachi296>("HITACHI_AC296", 38000);
extern const Reader hitachi344Reader = acReader<kHitachi344>("HITACHI_AC344", 38000);
extern const Reader hitachi424Reader = acReader<kHitachi424>("HITACHI_AC424", 38000);

} // namespace ircodec
