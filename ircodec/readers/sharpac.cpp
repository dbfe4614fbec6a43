// SHARP_AC: Sharp's air conditioner protocol. 3800 / 1900 us header,
// 470 us marks, a 1 is a 1400 us space and a 0 a 500 us one, least
// significant bit first, stop mark. Thirteen bytes, beginning 0xAA 0x5A
// 0xCF; the high nibble of the last checks them: the exclusive or of the
// other twelve bytes and the last's low nibble, folded to a nibble.
#include "../acframe.h"

namespace ircodec {

namespace {

constexpr uint8_t kPrefix[] = {0xAA, 0x5A, 0xCF};
constexpr int kBytes = 13;
constexpr int kLast = kBytes - 1;

uint8_t checksum(const AcState &s)
{
    uint8_t x = xorBytes(s, 0, kLast) ^ (s[kLast] & 0xFu);
    x ^= x >> 4;
    return x & 0xFu;
}

bool valid(const AcState &s)
{
    return startsWith(s, kPrefix) && s[kLast] >> 4 == checksum(s);
}

void complete(AcState &s)
{
    setStart(s, kPrefix);
    s[kLast] = static_cast<uint8_t>((checksum(s) << 4) | (s[kLast] & 0xFu));
}

constexpr AcProtocol kSharpAc
    = acPlain({3800, 1900}, 470, 500, 1400, Order::LsbFirst, kBytes, valid, complete);

} // namespace

extern const Reader sharpAcReader = acReader<kSharpAc>("SHARP_AC", 38000);

} // namespace ircodec
