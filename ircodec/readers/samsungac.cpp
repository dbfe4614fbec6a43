// SAMSUNG_AC: Samsung's air conditioner protocol. A 690 us mark and 17.8 ms
// of silence (a frame of its own, too short to tell), then two or three
// sections of seven bytes: a 3086 / 8864 us header, 586 us marks, a 1 is a
// 1432 us space and a 0 a 436 us one, least significant bit first, each
// section but the last ended by a mark and 2886 us of silence, the last by
// a stop mark. Each section checks itself: the 1 bits of byte 0, the low
// nibble of byte 1, the high nibble of byte 2 and bytes 3-6, counted and
// inverted, are the high nibble of byte 1 (low half) and the low nibble of
// byte 2 (high half).
#include "../acframe.h"

namespace ircodec {

namespace {

constexpr int kSectionBytes = 7;

uint8_t sectionSum(const AcState &s, int first)
{
    int ones = countBits(s[first]) + countBits(s[first + 1] & 0xFu) + countBits(s[first + 2] >> 4);
    for (int i = first + 3; i < first + kSectionBytes; ++i)
        ones += countBits(s[i]);
    return static_cast<uint8_t>(ones ^ 0xFF);
}

uint8_t storedSum(const AcState &s, int first)
{
    return static_cast<uint8_t>(((s[first + 2] & 0xFu) << 4) | (s[first + 1] >> 4));
}

bool valid(const AcState &s)
{
    for (int first = 0; first + kSectionBytes <= s.size; first += kSectionBytes)
        if (storedSum(s, first) != sectionSum(s, first))
            return false;
    return true;
}

void complete(AcState &s)
{
    for (int first = 0; first + kSectionBytes <= s.size; first += kSectionBytes) {
        const uint8_t sum = sectionSum(s, first);
        s[first + 1] = static_cast<uint8_t>((s[first + 1] & 0x0Fu) | (sum & 0xFu) << 4);
        s[first + 2] = static_cast<uint8_t>((s[first + 2] & 0xF0u) | sum >> 4);
    }
}

constexpr int32_t kMark = 586;
constexpr AcElement kHeader = acPair(3086, 8864);
constexpr AcElement kSectionEnd = acPair(kMark, 2886);
constexpr AcElement kSection = acBytes(kSectionBytes);

constexpr AcProtocol kSamsungAc = {{kMark, 436}, {kMark, 1432}, Order::LsbFirst,
    {acShape({kHeader, kSection, kSectionEnd, kHeader, kSection, acStop(kMark)}),
        acShape({kHeader, kSection, kSectionEnd, kHeader, kSection, kSectionEnd, kHeader, kSection,
            acStop(kMark)})},
    2, valid, complete};

} // namespace

extern const Reader samsungAcReader = acReader<kSamsungAc>("SAMSUNG_AC", 38000);

} // namespace ircodec
