// ELECTRA_AC: the protocol of Electra and other AUX-made air conditioners.
// 9166 / 4470 us header, 646 us marks, a 1 is a 1647 us space and a 0 a
// 547 us one, least significant bit first, stop mark. Thirteen bytes, the
// first 0xC3; the last is the sum of the others, modulo 256.
#include "../acframe.h"

namespace ircodec {

namespace {

constexpr int kBytes = 13;
constexpr int kSum = kBytes - 1;
constexpr uint8_t kFirst = 0xC3;

bool valid(const AcState &s)
{
    return s[0] == kFirst && s[kSum] == sumBytes(s, 0, kSum);
}

void complete(AcState &s)
{
    s[0] = kFirst;
    s[kSum] = sumBytes(s, 0, kSum);
}

constexpr AcProtocol kElectra = {{646, 547}, {646, 1647}, Order::LsbFirst,
    {acShape({acPair(9166, 4470), acBytes(kBytes), acStop(646)})}, 1, valid, complete};

} // namespace

extern const Reader electraReader = acReader<kElectra>("ELECTRA_AC", 38000);

} // namespace ircodec
