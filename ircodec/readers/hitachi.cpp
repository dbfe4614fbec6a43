// Hitachi's air conditioner protocols whose bytes, after the first three
// (0x01 0x10 0x00), come in pairs of a byte and its complement. Least
// significant bit first, stop mark.
//   HITACHI_AC264, HITACHI_AC296  3300 / 1700 us header, 400 us marks, a 1
//       is a 1250 us space and a 0 a 500 us one; 33 and 37 bytes.
//   HITACHI_AC344, HITACHI_AC424  a 29784 us leader mark and 49290 us of
//       silence (a frame of its own), then a 3416 / 1604 us header, 463 us
//       marks, 1208 / 372 us spaces; 43 and 53 bytes.
#include "../acframe.h"

namespace ircodec {

namespace {

constexpr uint8_t kPrefix[] = {0x01, 0x10, 0x00};
constexpr int kPrefixBytes = sizeof kPrefix;

bool valid(const AcState &s)
{
    for (int i = 0; i < kPrefixBytes; ++i)
        if (s[i] != kPrefix[i])
            return false;
    return complementPairs(s, kPrefixBytes, s.size);
}

void complete(AcState &s)
{
    for (int i = 0; i < kPrefixBytes; ++i)
        s[i] = kPrefix[i];
    setComplementPairs(s, kPrefixBytes, s.size);
}

constexpr AcProtocol hitachi(MarkSpace header, int32_t mark, int32_t one, int32_t zero, int bytes)
{
    return {{mark, zero}, {mark, one}, Order::LsbFirst,
        {acShape({acPair(header.mark, header.space), acBytes(bytes), acStop(mark)})}, 1, valid,
        complete};
}

constexpr MarkSpace kHeader = {3300, 1700};
constexpr MarkSpace kHeader424 = {3416, 1604};

constexpr AcProtocol kHitachi264 = hitachi(kHeader, 400, 1250, 500, 33);
constexpr AcProtocol kHitachi296 = hitachi(kHeader, 400, 1250, 500, 37);
constexpr AcProtocol kHitachi344 = hitachi(kHeader424, 463, 1208, 372, 43);
constexpr AcProtocol kHitachi424 = hitachi(kHeader424, 463, 1208, 372, 53);

} // namespace

extern const Reader hitachi264Reader = acReader<kHitachi264>("HITACHI_AC264", 38000);
extern const Reader hitachi296Reader = acReader<kHitachi296>("HITACHI_AC296", 38000);
extern const Reader hitachi344Reader = acReader<kHitachi344>("HITACHI_AC344", 38000);
extern const Reader hitachi424Reader = acReader<kHitachi424>("HITACHI_AC424", 38000);

} // namespace ircodec
