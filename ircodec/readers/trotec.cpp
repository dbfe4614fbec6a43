// TROTEC: Trotec's air conditioner protocol, on a 36 kHz carrier.
// 5952 / 7364 us header, 592 us marks, a 1 is a 1560 us space and a 0 a
// 592 us one, least significant bit first; after the nine bytes a mark,
// 6184 us of silence and a last mark. The bytes begin 0x12 0x34; the last
// is the sum of bytes 2-7, modulo 256.
#include "../acframe.h"

namespace ircodec {

namespace {

constexpr uint8_t kPrefix[] = {0x12, 0x34};
constexpr int kSummedFrom = 2;
constexpr int32_t kMark = 592;

bool valid(const AcState &s)
{
    return startsWith(s, kPrefix) && lastIsSum(s, kSummedFrom);
}

void complete(AcState &s)
{
    setStart(s, kPrefix);
    setLastSum(s, kSummedFrom);
}

constexpr AcProtocol kTrotec = {{kMark, kMark}, {kMark, 1560}, Order::LsbFirst,
    {acShape({acPair(5952, 7364), acBytes(9), acPair(kMark, 6184), acStop(kMark)})}, 1, valid,
    complete};

} // namespace

extern const Reader trotecReader = acReader<kTrotec>("TROTEC", 36000);

} // namespace ircodec
