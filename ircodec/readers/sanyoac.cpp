// SANYO_AC: Sanyo's 72-bit air conditioner protocol. 8500 / 4200 us
// header, 500 us marks, a 1 is a 1600 us space and a 0 a 550 us one, least
// significant bit first, stop mark. Nine bytes, the last the sum of the
// nibbles of the others, modulo 256.
#include "../acframe.h"

namespace ircodec {

namespace {

constexpr int kBytes = 9;
constexpr int kSum = kBytes - 1;

bool valid(const AcState &s)
{
    return s[kSum] == sumNibbles(s, 0, kSum);
}

void complete(AcState &s)
{
    s[kSum] = sumNibbles(s, 0, kSum);
}

constexpr AcProtocol kSanyoAc
    = acPlain({8500, 4200}, 500, 550, 1600, Order::LsbFirst, kBytes, valid, complete);

} // namespace

extern const Reader sanyoAcReader = acReader<kSanyoAc>("SANYO_AC", 38000);

} // namespace ircodec
