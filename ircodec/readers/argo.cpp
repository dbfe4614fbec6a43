// ARGO: Argo's air conditioner protocol. 6400 / 3300 us header, 400 us
// marks, a 1 is a 2200 us space and a 0 a 900 us one, least significant
// bit first, no stop mark: the frame ends with the last bit's mark (that
// bit is always 0). Twelve bytes; the sum of bytes 0-9 plus 2, modulo 256,
// follows in the top six bits of byte 10 (whose low two bits are 0b10)
// and the low two of byte 11.
#include "../acframe.h"

namespace ircodec {

namespace {

constexpr int kBytes = 12;
constexpr int kSumLow = kBytes - 2;
constexpr int kSumHigh = kBytes - 1;
constexpr uint8_t kSumStart = 2;
constexpr uint8_t kConstantBits = 0b10;
constexpr int kConstantWidth = 2;

uint8_t checksum(const AcState &s)
{
    return static_cast<uint8_t>(sumBytes(s, 0, kSumLow) + kSumStart);
}

bool valid(const AcState &s)
{
    const unsigned stored = (s[kSumLow] >> kConstantWidth) | (s[kSumHigh] << (8 - kConstantWidth));
    return (s[kSumLow] & 0b11) == kConstantBits && s[kSumHigh] >> kConstantWidth == 0
        && (stored & 0xFF) == checksum(s);
}

void complete(AcState &s)
{
    const uint8_t sum = checksum(s);
    s[kSumLow] = static_cast<uint8_t>(sum << kConstantWidth | kConstantBits);
    s[kSumHigh] = static_cast<uint8_t>(sum >> (8 - kConstantWidth));
}

constexpr AcProtocol kArgo = {{400, 900}, {400, 2200}, Order::LsbFirst,
    {acShape({acPair(6400, 3300), acBytes(kBytes)})}, 1, valid, complete};

} // namespace

extern const Reader argoReader = acReader<kArgo>("ARGO", 38000);

} // namespace ircodec
