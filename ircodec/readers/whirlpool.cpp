// WHIRLPOOL_AC: Whirlpool's air conditioner protocol. 8950 / 4484 us
// header, 597 us marks, a 1 is a 1649 us space and a 0 a 533 us one, least
// significant bit first. Twenty-one bytes in three sections of 6, 8 and 7,
// each but the last ended by a mark and 7920 us of silence, the last by a
// stop mark. The bytes begin 0x83 0x06; byte 13 is the exclusive or of
// bytes 2-11, byte 20 that of bytes 14-19.
#include "../acframe.h"

namespace ircodec {

namespace {

constexpr uint8_t kPrefix[] = {0x83, 0x06};
constexpr int kSum1 = 13;
constexpr int kSum2 = 20;
constexpr int32_t kMark = 597;
constexpr AcElement kSectionEnd = acPair(kMark, 7920);

bool valid(const AcState &s)
{
    return startsWith(s, kPrefix) && s[kSum1] == xorBytes(s, 2, kSum1 - 1)
        && s[kSum2] == xorBytes(s, kSum1 + 1, kSum2);
}

void complete(AcState &s)
{
    setStart(s, kPrefix);
    s[kSum1] = xorBytes(s, 2, kSum1 - 1);
    s[kSum2] = xorBytes(s, kSum1 + 1, kSum2);
}

constexpr AcProtocol kWhirlpool = {{kMark, 533}, {kMark, 1649}, Order::LsbFirst,
    {acShape({acPair(8950, 4484), acBytes(6), kSectionEnd, acBytes(8), kSectionEnd, acBytes(7),
        acStop(kMark)})},
    1, valid, complete};

} // namespace

extern const Reader whirlpoolReader = acReader<kWhirlpool>("WHIRLPOOL_AC", 38000);

} // namespace ircodec
