// MITSUBISHI_AC: Mitsubishi Electric's 144-bit air conditioner protocol.
// 3400 / 1750 us header, 450 us marks, a 1 is a 1300 us space and a 0 a
// 420 us one, least significant bit first, stop mark. Eighteen bytes,
// beginning 0x23 0xCB 0x26 0x01 0x00; the last is the sum of the others,
// modulo 256. The remote sends the frame twice, about 16 ms apart.
#include "../acframe.h"

namespace ircodec {

namespace {

constexpr uint8_t kPrefix[] = {0x23, 0xCB, 0x26, 0x01, 0x00};
constexpr int kPrefixBytes = sizeof kPrefix;
constexpr int kBytes = 18;
constexpr int kSum = kBytes - 1;

bool valid(const AcState &s)
{
    for (int i = 0; i < kPrefixBytes; ++i)
        if (s[i] != kPrefix[i])
            return false;
    return s[kSum] == sumBytes(s, 0, kSum);
}

void complete(AcState &s)
{
    for (int i = 0; i < kPrefixBytes; ++i)
        s[i] = kPrefix[i];
    s[kSum] = sumBytes(s, 0, kSum);
}

constexpr AcProtocol kMitsubishiAc = {{450, 420}, {450, 1300}, Order::LsbFirst,
    {acShape({acPair(3400, 1750), acBytes(kBytes), acStop(450)})}, 1, valid, complete};

} // namespace

extern const Reader mitsubishiAcReader = acReader<kMitsubishiAc>("MITSUBISHI_AC", 38000);

} // namespace ircodec
