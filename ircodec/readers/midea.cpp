// MIDEA: Midea's 48-bit air conditioner protocol, on Coolix's timing
// (4480 / 4480 us header, 560 us marks, 1680 us and 560 us spaces, most
// significant bit first, stop mark). Six bytes, the first the message type
// (0xA1 a state, 0xA2 a toggle, ...), the last a checksum: the bytes before
// it bit-reversed and summed, negated, bit-reversed. The remote sends the
// frame again inverted, 5600 us later.
// MIDEA24: NEC's timing (9000 / 4500 us header, 560 us marks, 1690 us and
// 560 us spaces, stop mark), three bytes each followed by its complement,
// most significant bit first (fans and heaters of the Midea family).
#include "../acframe.h"

namespace ircodec {

namespace {

constexpr int32_t kUnit = 560;
constexpr int kBytes = 6;
constexpr int kSum = kBytes - 1;

uint8_t mideaSum(const AcState &s)
{
    unsigned sum = 0;
    for (int i = 0; i < kSum; ++i)
        sum += reverseBits(s[i]);
    return reverseBits(static_cast<uint8_t>(0x100u - (sum & 0xFFu)));
}

bool mideaValid(const AcState &s)
{
    return s[kSum] == mideaSum(s);
}

void mideaComplete(AcState &s)
{
    s[kSum] = mideaSum(s);
}

constexpr AcProtocol kMidea = {{kUnit, kUnit}, {kUnit, 3 * kUnit}, Order::MsbFirst,
    {acShape({acPair(8 * kUnit, 8 * kUnit), acBytes(kBytes), acStop(kUnit)})}, 1, mideaValid,
    mideaComplete, Evidence::Checked, 2, 10 * kUnit, AcCopy::Inverted};

constexpr int32_t kNecMark = 560;

bool complemented(const AcState &s)
{
    return complementPairs(s, 0, kBytes);
}

void complement(AcState &s)
{
    setComplementPairs(s, 0, kBytes);
}

constexpr AcProtocol kMidea24
    = acPlain({9000, 4500}, kNecMark, 560, 1690, Order::MsbFirst, kBytes, complemented, complement);

} // namespace

extern const Reader mideaReader = acReader<kMidea>("MIDEA", 38000);
extern const Reader midea24Reader = acReader<kMidea24>("MIDEA24", 38000);

} // namespace ircodec
