// DELONGHI_AC: De'Longhi's air conditioner protocol. 8984 / 4200 us
// header, 572 us marks, a 1 is a 1558 us space and a 0 a 510 us one, least
// significant bit first, stop mark. Eight bytes, the last the sum of the
// others, modulo 256.
#include "../acframe.h"

namespace ircodec {

namespace {

constexpr int kBytes = 8;
constexpr int kSum = kBytes - 1;

bool valid(const AcState &s)
{
    return s[kSum] == sumBytes(s, 0, kSum);
}

void complete(AcState &s)
{
    s[kSum] = sumBytes(s, 0, kSum);
}

constexpr AcProtocol kDelonghi = {{572, 510}, {572, 1558}, Order::LsbFirst,
    {acShape({acPair(8984, 4200), acBytes(kBytes), acStop(572)})}, 1, valid, complete};

} // namespace

extern const Reader delonghiReader = acReader<kDelonghi>("DELONGHI_AC", 38000);

} // namespace ircodec
