// KELON: Kelon's (Hisense's) 48-bit air conditioner protocol. 9000 / 4600 us
// header, 560 us marks, a 1 is a 1680 us space and a 0 a 600 us one, least
// significant bit first, stop mark. Six bytes, the first two always 0x83
// 0x06.
#include "../acframe.h"

namespace ircodec {

namespace {

constexpr uint8_t kPreamble[] = {0x83, 0x06};

bool valid(const AcState &s)
{
    return startsWith(s, kPreamble);
}

void complete(AcState &s)
{
    setStart(s, kPreamble);
}

constexpr AcProtocol kKelon
    = acPlain({9000, 4600}, 560, 600, 1680, Order::LsbFirst, 6, valid, complete);

} // namespace

extern const Reader kelonReader = acReader<kKelon>("KELON", 38000);

} // namespace ircodec
