// BOSCH144: Bosch's air conditioner protocol, of the Coolix family. Three
// sections of six bytes in one frame, each after a 4366 / 4415 us header,
// 456 us marks, a 1 is a 1645 us space and a 0 a 610 us one, most
// significant bit first; a mark and 5235 us of silence after each section
// but the last, a stop mark after it. The first two sections are the same,
// each byte followed by its complement; the last byte is the sum of the
// four before it and the third section's first, modulo 256.
#include "../acframe.h"

namespace ircodec {

namespace {

constexpr int kSectionBytes = 6;
constexpr int kThird = 2 * kSectionBytes;
constexpr int kBytes = 3 * kSectionBytes;
constexpr int kSum = kBytes - 1;

bool valid(const AcState &s)
{
    for (int i = 0; i < kSectionBytes; ++i)
        if (s[i] != s[i + kSectionBytes])
            return false;
    return complementPairs(s, 0, kSectionBytes) && s[kSum] == sumBytes(s, kThird, kSum);
}

void complete(AcState &s)
{
    setComplementPairs(s, 0, kSectionBytes);
    for (int i = 0; i < kSectionBytes; ++i)
        s[i + kSectionBytes] = s[i];
    s[kSum] = sumBytes(s, kThird, kSum);
}

constexpr int32_t kMark = 456;
constexpr AcElement kHeader = acPair(4366, 4415);
constexpr AcElement kSectionEnd = acPair(kMark, 5235);
constexpr AcElement kSection = acBytes(kSectionBytes);

constexpr AcProtocol kBosch144 = {{kMark, 610}, {kMark, 1645}, Order::MsbFirst,
    {acShape({kHeader, kSection, kSectionEnd, kHeader, kSection, kSectionEnd, kHeader, kSection,
        acStop(kMark)})},
    1, valid, complete};

} // namespace

extern const Reader bosch144Reader = acReader<kBosch144>("BOSCH144", 38000);

} // namespace ircodec
