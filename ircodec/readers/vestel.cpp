// VESTEL_AC: Vestel's air conditioner protocol. 3110 / 9066 us header,
// 520 us marks, a 1 is a 1535 us space and a 0 a 480 us one, least
// significant bit first, stop mark. 56 bits, read as one number from its
// first bit up: bits 0-11 are 0x201, bits 12-19 are 255 less 2 and the
// number of 1 bits from bit 20 on.
#include "../acframe.h"

namespace ircodec {

namespace {

constexpr int kBytes = 7;
constexpr uint64_t kSignature = 0x201;
constexpr int kSignatureBits = 12;
constexpr int kSumBits = 8;
constexpr int kSummedFrom = kSignatureBits + kSumBits;
constexpr int kSumStart = 2;

uint64_t number(const AcState &s)
{
    uint64_t value = 0;
    for (int i = kBytes - 1; i >= 0; --i)
        value = value << 8 | s[i];
    return value;
}

uint64_t sum(uint64_t value)
{
    return 0xFFu - static_cast<uint64_t>(countBits(value >> kSummedFrom) + kSumStart);
}

bool valid(const AcState &s)
{
    const uint64_t v = number(s);
    return (v & lowBits(kSignatureBits)) == kSignature
        && ((v >> kSignatureBits) & lowBits(kSumBits)) == sum(v);
}

void complete(AcState &s)
{
    uint64_t v = number(s) >> kSummedFrom << kSummedFrom;
    v |= sum(v) << kSignatureBits | kSignature;
    for (int i = 0; i < kBytes; ++i)
        s[i] = static_cast<uint8_t>(v >> (8 * i));
}

constexpr AcProtocol kVestel
    = acPlain({3110, 9066}, 520, 480, 1535, Order::LsbFirst, kBytes, valid, complete);

} // namespace

extern const Reader vestelReader = acReader<kVestel>("VESTEL_AC", 38000);

} // namespace ircodec
