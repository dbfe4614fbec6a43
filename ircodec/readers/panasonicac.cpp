// PANASONIC_AC: Panasonic's air conditioner protocol, on Kaseikyo's timing
// (3456 / 1728 us header, 432 us marks, a 1 is a 1296 us space and a 0 a
// 432 us one, least significant bit first, stop mark). Two sections 10 ms
// apart, so two frames: 8 constant bytes (0x02 0x20 0xE0 0x04 0x00 0x00
// 0x00 0x06), then the state, 19 bytes (8 on some remotes) whose last is
// 0xF4 plus the sum of all 26 before it, modulo 256; the first section's
// bytes add 0x0C to 0xF4, so the state's own bytes sum to its last. The
// first frame is read on its own and the state into it (extend); where the
// silence between them stays under 10 ms, one frame holds both.
#include "../acframe.h"
#include "../timing.h"

namespace ircodec {

namespace {

constexpr uint8_t kFirstSection[] = {0x02, 0x20, 0xE0, 0x04, 0x00, 0x00, 0x00, 0x06};
constexpr int kFirstBytes = sizeof kFirstSection;
constexpr int kStateBytes = 19;
constexpr int kShortStateBytes = 8;
constexpr int32_t kSectionGap = 10000;
constexpr int32_t kUnit = 432;
constexpr AcElement kHeader = acPair(8 * kUnit, 4 * kUnit);

bool firstValid(const AcState &s)
{
    for (int i = 0; i < kFirstBytes; ++i)
        if (s[i] != kFirstSection[i])
            return false;
    return s.size == kFirstBytes || lastIsSum(s, kFirstBytes);
}

void firstComplete(AcState &s)
{
    for (int i = 0; i < kFirstBytes; ++i)
        s[i] = kFirstSection[i];
    if (s.size > kFirstBytes)
        setLastSum(s, kFirstBytes);
}

constexpr AcElement kSectionEnd = acPair(kUnit, kSectionGap);

constexpr AcProtocol kFirst = {{kUnit, kUnit}, {kUnit, 3 * kUnit}, Order::LsbFirst,
    {acShape({kHeader, acBytes(kFirstBytes), acStop(kUnit)}),
        acShape({kHeader, acBytes(kFirstBytes), kSectionEnd, kHeader, acBytes(kStateBytes),
            acStop(kUnit)}),
        acShape({kHeader, acBytes(kFirstBytes), kSectionEnd, kHeader, acBytes(kShortStateBytes),
            acStop(kUnit)})},
    3, firstValid, firstComplete};

constexpr AcProtocol kState = {{kUnit, kUnit}, {kUnit, 3 * kUnit}, Order::LsbFirst,
    {acShape({kHeader, acBytes(kStateBytes), acStop(kUnit)}),
        acShape({kHeader, acBytes(kShortStateBytes), acStop(kUnit)})},
    2, lastIsSum};

bool extend(Reading &first, const Capture &next)
{
    if (first.bits.size() != 8 * kFirstBytes
        || !Window(kSectionGap, Level::Space).fits(next.silenceBefore))
        return false;
    Reading state;
    state.reader = first.reader;
    if (!acRead(kState, next.durations, state))
        return false;
    first.bits.append(state.bits);
    return true;
}

void describe(const Reading &r, std::string &out)
{
    if (r.bits.size() == 8 * kFirstBytes)
        appendPhrase(out, "first section");
}

} // namespace

extern const Reader panasonicAcReader = acReader<kFirst>("PANASONIC_AC", 36700, describe, extend);

} // namespace ircodec
