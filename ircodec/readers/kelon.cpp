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
    return s[0] == kPreamble[0] && s[1] == kPreamble[1];
}

void complete(AcState &s)
{
    s[0] = kPreamble[0];
    s[1] = kPreamble[1];
}

constexpr AcProtocol kKelon = {{560, 600}, {560, 1680}, Order::LsbFirst,
    {acShape({acPair(9000, 4600), acBytes(6), acStop(560)})}, 1, valid, complete};

} // namespace

extern const Reader kelonReader = acReader<kKelon>("KELON", 38000);

} // namespace ircodec
