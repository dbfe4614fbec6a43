// DELONGHI_AC: De'Longhi's air conditioner protocol. 8984 / 4200 us
// header, 572 us marks, a 1 is a 1558 us space and a 0 a 510 us one, least
// significant bit first, stop mark. Eight bytes, the last the sum of the
// others, modulo 256.
#include "../acframe.h"

namespace ircodec {

namespace {

constexpr AcProtocol kDelonghi
    = acPlain({8984, 4200}, 572, 510, 1558, Order::LsbFirst, 8, lastIsSum, setLastSum);

} // namespace

extern const Reader delonghiReader = acReader<kDelonghi>("DELONGHI_AC", 38000);

} // namespace ircodec
