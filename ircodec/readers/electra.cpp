// ELECTRA_AC: the protocol of Electra and other AUX-made air conditioners.
// 9166 / 4470 us header, 646 us marks, a 1 is a 1647 us space and a 0 a
// 547 us one, least significant bit first, stop mark. Thirteen bytes, the
// first 0xC3; the last is the sum of the others, modulo 256.
#include "../acframe.h"

namespace ircodec {

namespace {

constexpr uint8_t kFirst = 0xC3;

bool valid(const AcState &s)
{
    return s[0] == kFirst && lastIsSum(s);
}

void complete(AcState &s)
{
    s[0] = kFirst;
    setLastSum(s);
}

constexpr AcProtocol kElectra
    = acPlain({9166, 4470}, 646, 547, 1647, Order::LsbFirst, 13, valid, complete);

} // namespace

extern const Reader electraReader = acReader<kElectra>("ELECTRA_AC", 38000);

} // namespace ircodec
