// Daikin's air conditioner protocols. A message is sent in sections, each
// its own frame (25 to 35 ms of silence between them): a header, whole
// bytes least significant bit first, a stop mark. Every section begins
// 0x11 0xDA and ends with the sum of its other bytes, modulo 256.
//   DAIKIN      3650 / 1623 us header, 428 us marks, a 1 is a 1280 us
//               space and a 0 a 428 us one; sections of 8, 19 or 20
//               bytes beginning 0x11 0xDA 0x27. Most remotes (DAIKIN,
//               DAIKIN2, DAIKIN152, DAIKIN216 and DAIKIN312 messages, whose
//               timings differ by a few percent) first send a leader of
//               five 0 bits: it is read as DAIKIN too, without data.
//   DAIKIN160   5000 / 2145 us header, 342 us marks, 1786 / 700 us spaces;
//               sections of 7 and 13 bytes beginning 0x11 0xDA 0x27.
//   DAIKIN176   5070 / 2140 us header, 370 us marks, 1780 / 710 us spaces;
//               sections of 7 and 15 bytes beginning 0x11 0xDA 0x17.
//   DAIKIN64    two 9800 / 9800 us leader pairs, a 4600 / 2500 us header,
//               350 us marks, 954 / 382 us spaces; eight bytes, the high
//               nibble of the last the sum of the other fifteen nibbles,
//               modulo 16. DAIKIN128 remotes send these eight bytes, then,
//               20 ms later, eight more and a 4600 us mark, the last byte
//               the sum of the seven before it; read into it (extend).
// A section that follows is read into the reading of the first (extend).
#include "../acframe.h"
#include "../timing.h"

namespace ircodec {

namespace {

constexpr uint8_t kFirstByte = 0x11;
constexpr uint8_t kSecondByte = 0xDA;
constexpr int kPrefixBytes = 3;
constexpr int32_t kSectionGap = 29000;
constexpr int kLeaderBits = 5;

bool section(const AcState &s, uint8_t third)
{
    return s.size > kPrefixBytes && s[0] == kFirstByte && s[1] == kSecondByte && s[2] == third
        && lastIsSum(s);
}

void completeSection(AcState &s, uint8_t third)
{
    s[0] = kFirstByte;
    s[1] = kSecondByte;
    s[2] = third;
    setLastSum(s);
}

constexpr uint8_t kDaikinThird = 0x27;
constexpr uint8_t kDaikin176Third = 0x17;

bool daikinValid(const AcState &s)
{
    return s.size == 0 || section(s, kDaikinThird);
}
void daikinComplete(AcState &s)
{
    if (s.size > 0)
        completeSection(s, kDaikinThird);
}
bool daikin176Valid(const AcState &s)
{
    return section(s, kDaikin176Third);
}
void daikin176Complete(AcState &s)
{
    completeSection(s, kDaikin176Third);
}

constexpr int32_t kMark = 428;
constexpr AcElement kHeader = acPair(3650, 1623);

constexpr AcProtocol kDaikin = {{kMark, 428}, {kMark, 1280}, Order::LsbFirst,
    {acShape({acFixed(0, kLeaderBits), acStop(kMark)}),
        acShape({kHeader, acBytes(8), acStop(kMark)}),
        acShape({kHeader, acBytes(19), acStop(kMark)}),
        acShape({kHeader, acBytes(20), acStop(kMark)})},
    4, daikinValid, daikinComplete};

constexpr AcProtocol kDaikin160 = {{342, 700}, {342, 1786}, Order::LsbFirst,
    {acShape({acPair(5000, 2145), acBytes(7), acStop(342)}),
        acShape({acPair(5000, 2145), acBytes(13), acStop(342)})},
    2, daikinValid, daikinComplete};

constexpr AcProtocol kDaikin176 = {{370, 710}, {370, 1780}, Order::LsbFirst,
    {acShape({acPair(5070, 2140), acBytes(7), acStop(370)}),
        acShape({acPair(5070, 2140), acBytes(15), acStop(370)})},
    2, daikin176Valid, daikin176Complete};

constexpr int kBytes64 = 8;
constexpr int32_t kMark64 = 350;
constexpr int32_t kLeader64 = 9800;
constexpr int32_t kGap128 = 20300;

uint8_t nibbles64(const AcState &s)
{
    return static_cast<uint8_t>((sumNibbles(s, 0, kBytes64 - 1) + (s[kBytes64 - 1] & 0xFu)) & 0xF);
}

bool daikin64Valid(const AcState &s)
{
    return s[kBytes64 - 1] >> 4 == nibbles64(s);
}

void daikin64Complete(AcState &s)
{
    s[kBytes64 - 1] = static_cast<uint8_t>((s[kBytes64 - 1] & 0xFu) | nibbles64(s) << 4);
}

constexpr MarkSpace kZero64 = {kMark64, 382};
constexpr MarkSpace kOne64 = {kMark64, 954};

constexpr AcProtocol kDaikin64 = {kZero64, kOne64, Order::LsbFirst,
    {acShape({acPair(kLeader64, kLeader64), acPair(kLeader64, kLeader64), acPair(4600, 2500),
        acBytes(kBytes64), acStop(kMark64)})},
    1, daikin64Valid, daikin64Complete};

constexpr AcProtocol kDaikin128Second = {
    kZero64, kOne64, Order::LsbFirst, {acShape({acBytes(kBytes64), acStop(4600)})}, 1, lastIsSum};

// A following section of the same protocol, after a section's silence.
bool extendWith(const AcProtocol &p, const Reader &reader, Reading &first, const Capture &next)
{
    if (!Window(kSectionGap, Level::Space).fits(next.silenceBefore))
        return false;
    Reading section;
    section.reader = &reader;
    if (!acRead(p, next.durations, section) || section.bits.empty())
        return false;
    first.bits.append(section.bits);
    first.evidence = Evidence::Checked;
    first.checked = true;
    return true;
}

bool extendDaikin64(Reading &first, const Capture &next)
{
    Reading second;
    second.reader = first.reader;
    if (first.bits.size() != 8 * kBytes64 || !Window(kGap128, Level::Space).fits(next.silenceBefore)
        || !acRead(kDaikin128Second, next.durations, second))
        return false;
    first.bits.append(second.bits);
    return true;
}

bool extendDaikin(Reading &first, const Capture &next);
bool extendDaikin160(Reading &first, const Capture &next);
bool extendDaikin176(Reading &first, const Capture &next);

void describe(const Reading &r, std::string &out)
{
    if (r.bits.empty())
        appendPhrase(out, "leader");
}

} // namespace

extern const Reader daikinReader = acReader<kDaikin>("DAIKIN", 38000, describe, extendDaikin);
extern const Reader daikin160Reader
    = acReader<kDaikin160>("DAIKIN160", 38000, nullptr, extendDaikin160);
extern const Reader daikin64Reader
    = acReader<kDaikin64>("DAIKIN64", 38000, nullptr, extendDaikin64);
extern const Reader daikin176Reader
    = acReader<kDaikin176>("DAIKIN176", 38000, nullptr, extendDaikin176);

namespace {

bool extendDaikin(Reading &first, const Capture &next)
{
    return extendWith(kDaikin, daikinReader, first, next);
}
bool extendDaikin160(Reading &first, const Capture &next)
{
    return extendWith(kDaikin160, daikin160Reader, first, next);
}
bool extendDaikin176(Reading &first, const Capture &next)
{
    return extendWith(kDaikin176, daikin176Reader, first, next);
}

} // namespace

} // namespace ircodec
