// COOLIX: the protocol of the Coolix chipset in many brands' air
// conditioners. 4480 / 4480 us header, 560 us marks, a 1 is a 1680 us
// space and a 0 a 560 us one, most significant bit first, a stop mark.
// Three state bytes, each followed on the air by its complement; the remote
// sends the frame twice, 5040 us apart. COOLIX48: the same timing with six
// bytes that are not complemented pairs (newer remotes of the family).
#include "../acframe.h"

namespace ircodec {

namespace {

constexpr int32_t kUnit = 560;
constexpr int32_t kHeader = 8 * kUnit;
constexpr int32_t kGap = 9 * kUnit;
constexpr int kBytes = 6;

bool complemented(const AcState &s)
{
    return complementPairs(s, 0, kBytes);
}

void complement(AcState &s)
{
    setComplementPairs(s, 0, kBytes);
}

bool plain(const AcState &s)
{
    return !complemented(s);
}

constexpr AcProtocol kCoolix = {{kUnit, kUnit}, {kUnit, 3 * kUnit}, Order::MsbFirst,
    {acShape({acPair(kHeader, kHeader), acBytes(kBytes), acStop(kUnit)})}, 1, complemented,
    complement, Evidence::Checked, 2, kGap, AcCopy::Same};

// Six plain bytes carry no check: the header and length are the evidence.
constexpr AcProtocol kCoolix48 = {{kUnit, kUnit}, {kUnit, 3 * kUnit}, Order::MsbFirst,
    {acShape({acPair(kHeader, kHeader), acBytes(kBytes), acStop(kUnit)})}, 1, plain, nullptr,
    Evidence::Framed, 2, kGap, AcCopy::Same};

} // namespace

extern const Reader coolixReader = acReader<kCoolix>("COOLIX", 38000);
extern const Reader coolix48Reader = acReader<kCoolix48>("COOLIX48", 38000);

} // namespace ircodec
