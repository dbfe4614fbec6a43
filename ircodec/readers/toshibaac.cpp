// TOSHIBA_AC: Toshiba's air conditioner protocol. 4400 / 4300 us header,
// 580 us marks, a 1 is a 1600 us space and a 0 a 490 us one, most
// significant bit first, stop mark; the remote sends the frame twice,
// 7400 us apart. The bytes begin 0xF2 0x0D, then a byte whose low nibble
// counts the payload bytes and its complement; the frame has six bytes
// more than that count (7, 9 or 10), and its last is the exclusive or of
// all the others.
#include "../acframe.h"

namespace ircodec {

namespace {

constexpr uint8_t kPrefix[] = {0xF2, 0x0D};
constexpr int kLengthByte = 2;
constexpr int kBytesBeyondPayload = 6;

bool valid(const AcState &s)
{
    return startsWith(s, kPrefix) && complementPairs(s, kLengthByte, kLengthByte + 2)
        && (s[kLengthByte] & 0xF) + kBytesBeyondPayload == s.size
        && s[s.size - 1] == xorBytes(s, 0, s.size - 1);
}

void complete(AcState &s)
{
    setStart(s, kPrefix);
    s[kLengthByte] = static_cast<uint8_t>((s[kLengthByte] & 0xF0) | (s.size - kBytesBeyondPayload));
    setComplementPairs(s, kLengthByte, kLengthByte + 2);
    s[s.size - 1] = xorBytes(s, 0, s.size - 1);
}

constexpr AcElement kHeader = acPair(4400, 4300);
constexpr int32_t kMark = 580;

constexpr AcProtocol kToshiba = {{kMark, 490}, {kMark, 1600}, Order::MsbFirst,
    {acShape({kHeader, acBytes(7), acStop(kMark)}), acShape({kHeader, acBytes(9), acStop(kMark)}),
        acShape({kHeader, acBytes(10), acStop(kMark)})},
    3, valid, complete, Evidence::Checked, 2, 7400, AcCopy::Same};

} // namespace

extern const Reader toshibaAcReader = acReader<kToshiba>("TOSHIBA_AC", 38000);

} // namespace ircodec
