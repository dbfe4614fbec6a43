// TROTEC: Trotec's air conditioner protocol, on a 36 kHz carrier.
// 5952 / 7364 us header, 592 us marks, a 1 is a 1560 us space and a 0 a
// 592 us one, least significant bit first; after the nine bytes a mark,
// 6184 us of silence and a last mark. The bytes begin 0x12 0x34; the last
// is the sum of bytes 2-7, modulo 256.
#include "../acframe.h"

namespace ircodec {

namespace {

constexpr uint8_t kPrefix[] = {0x12, 0x34};
constexpr int kBytes = 9;
constexpr int kSum = kBytes - 1;
constexpr int32_t kMark = 592;

bool valid(const AcState &s)
{
    return s[0] == kPrefix[0] && s[1] == kPrefix[1] && s[kSum] == sumBytes(s, 2, kSum);
}

void complete(AcState &s)
{
    s[0] = kPrefix[0];
    s[1] = kPrefix[1];
    s[kSum] = sumBytes(s, 2, kSum);
}

constexpr AcProtocol kTrotec = {{kMark, kMark}, {kMark, 1560}, Order::LsbFirst,
    {acShape({acPair(5952, 7364), acBytes(kBytes), acPair(kMark, 6184), acStop(kMark)})}, 1, valid,
    complete};

} // namespace

extern const Reader trotecReader = acReader<kTrotec>("TROTEC", 36000);

} // namespace ircodec
