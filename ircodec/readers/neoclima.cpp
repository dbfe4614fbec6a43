// NEOCLIMA: Neoclima's air conditioner protocol. 6112 / 7391 us header,
// 537 us marks, a 1 is a 1651 us space and a 0 a 571 us one, least
// significant bit first; after the twelve bytes a mark, 7391 us of silence
// and a last mark. The last byte is the sum of the others, modulo 256.
#include "../acframe.h"

namespace ircodec {

namespace {

constexpr int32_t kMark = 537;
constexpr int32_t kSpace = 7391;

constexpr AcProtocol kNeoclima = {{kMark, 571}, {kMark, 1651}, Order::LsbFirst,
    {acShape({acPair(6112, kSpace), acBytes(12), acPair(kMark, kSpace), acStop(kMark)})}, 1,
    lastIsSum, setLastSum};

} // namespace

extern const Reader neoclimaReader = acReader<kNeoclima>("NEOCLIMA", 38000);

} // namespace ircodec
