// Mitsubishi Heavy Industries' air conditioner protocols. 3140 / 1630 us
// header, 370 us marks, a 1 is a 420 us space and a 0 a 1220 us one (the
// long space is the 0), least significant bit first, stop mark. The first
// five bytes are a signature; from byte 3 on, every second byte is the
// complement of the one before it.
//   MITSUBISHI_HEAVY_88   11 bytes, 0xAD 0x51 0x3C 0xD9 0x26 (ZJS remotes)
//   MITSUBISHI_HEAVY_152  19 bytes, 0xAD 0x51 0x3C 0xE5 0x1A (ZM remotes)
#include "../acframe.h"

namespace ircodec {

namespace {

constexpr int kSignatureBytes = 5;
constexpr int kPairsFrom = 3;
constexpr uint8_t kSignature88[kSignatureBytes] = {0xAD, 0x51, 0x3C, 0xD9, 0x26};
constexpr uint8_t kSignature152[kSignatureBytes] = {0xAD, 0x51, 0x3C, 0xE5, 0x1A};

using Signature = uint8_t[kSignatureBytes];

bool valid(const AcState &s, const Signature &signature)
{
    return startsWith(s, signature) && complementPairs(s, kPairsFrom, s.size);
}

void complete(AcState &s, const Signature &signature)
{
    setStart(s, signature);
    setComplementPairs(s, kPairsFrom, s.size);
}

bool valid88(const AcState &s)
{
    return valid(s, kSignature88);
}
void complete88(AcState &s)
{
    complete(s, kSignature88);
}
bool valid152(const AcState &s)
{
    return valid(s, kSignature152);
}
void complete152(AcState &s)
{
    complete(s, kSignature152);
}

constexpr int32_t kMark = 370;

constexpr AcProtocol heavy(int bytes, bool (*valid)(const AcState &), void (*complete)(AcState &))
{
    return acPlain({3140, 1630}, kMark, 1220, 420, Order::LsbFirst, bytes, valid, complete);
}

constexpr AcProtocol kHeavy88 = heavy(11, valid88, complete88);
constexpr AcProtocol kHeavy152 = heavy(19, valid152, complete152);

} // namespace

extern const Reader mitsubishiHeavy88Reader = acReader<kHeavy88>("MITSUBISHI_HEAVY_88", 38000);
extern const Reader mitsubishiHeavy152Reader = acReader<kHeavy152>("MITSUBISHI_HEAVY_152", 38000);

} // namespace ircodec
