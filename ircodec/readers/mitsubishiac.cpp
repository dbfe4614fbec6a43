// MITSUBISHI_AC: Mitsubishi Electric's 144-bit air conditioner protocol.
// 3400 / 1750 us header, 450 us marks, a 1 is a 1300 us space and a 0 a
// 420 us one, least significant bit first, stop mark. Eighteen bytes,
// beginning 0x23 0xCB 0x26 0x01 0x00; the last is the sum of the others,
// modulo 256. The remote sends the frame twice, about 16 ms apart.
// MITSUBISHI136: Mitsubishi Electric's ducted units' remotes. 3324 / 1474
// us header, 467 us marks, 1137 / 351 us spaces, least significant bit
// first, stop mark. Seventeen bytes beginning 0x23 0xCB 0x26; bytes 11-16
// are the complements of bytes 5-10.
#include "../acframe.h"

namespace ircodec {

namespace {

constexpr uint8_t kPrefix[] = {0x23, 0xCB, 0x26, 0x01, 0x00};
constexpr int kBytes = 18;

bool valid(const AcState &s)
{
    return startsWith(s, kPrefix) && lastIsSum(s);
}

void complete(AcState &s)
{
    setStart(s, kPrefix);
    setLastSum(s);
}

constexpr AcProtocol kMitsubishiAc
    = acPlain({3400, 1750}, 450, 420, 1300, Order::LsbFirst, kBytes, valid, complete);

constexpr int kBytes136 = 17;
constexpr int kPrefix136Bytes = 3;
constexpr int kCopiedFrom136 = 5;
constexpr int kCopiedBytes136 = (kBytes136 - kCopiedFrom136) / 2;

bool valid136(const AcState &s)
{
    if (!startsWith(s, kPrefix, kPrefix136Bytes))
        return false;
    for (int i = kCopiedFrom136; i < kCopiedFrom136 + kCopiedBytes136; ++i)
        if (static_cast<uint8_t>(s[i] ^ s[i + kCopiedBytes136]) != 0xFF)
            return false;
    return true;
}

void complete136(AcState &s)
{
    setStart(s, kPrefix, kPrefix136Bytes);
    for (int i = kCopiedFrom136; i < kCopiedFrom136 + kCopiedBytes136; ++i)
        s[i + kCopiedBytes136] = static_cast<uint8_t>(~s[i]);
}

constexpr AcProtocol kMitsubishi136
    = acPlain({3324, 1474}, 467, 351, 1137, Order::LsbFirst, kBytes136, valid136, complete136);

} // namespace

extern const Reader mitsubishi136Reader = acReader<kMitsubishi136>("MITSUBISHI136", 38000);
extern const Reader mitsubishiAcReader = acReader<kMitsubishiAc>("MITSUBISHI_AC", 38000);

} // namespace ircodec
