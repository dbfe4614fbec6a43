// COOLIX: the protocol of the Coolix chipset in many brands' air
// conditioners. 4480 / 4480 us header, 560 us marks, a 1 is a 1680 us
// space and a 0 a 560 us one, most significant bit first, a stop mark.
// Three state bytes, each followed on the air by its complement; the remote
// sends the frame twice, 5040 us apart. A state (first byte 0xB2) holds the
// mode in bits 2-3 of the last byte (cool, dry, auto, heat) and the
// temperature, 17 to 30 C, in its high nibble as a Gray-like code (dry
// with the code 0xE is the fan mode); 0xB2 0x7B 0xE0 is power off. COOLIX48: the same timing with
// six bytes that are not complemented pairs (newer remotes of the family).
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

constexpr uint8_t kState = 0xB2;
constexpr uint8_t kOff[] = {0xB2, 0x7B, 0xE0};
constexpr const char *kModes[] = {"cool", "dry", "auto", "heat"};
constexpr unsigned kDry = 1;
constexpr unsigned kFanCode = 0xE;
// The temperature codes from 17 C up.
constexpr uint8_t kTemperatureCodes[]
    = {0x0, 0x1, 0x3, 0x2, 0x6, 0x7, 0x5, 0x4, 0xC, 0xD, 0x9, 0x8, 0xA, 0xB};
constexpr int kMinTemperature = 17;

void describe(const Reading &r, std::string &out)
{
    const AcState s = acState(r.bits, Order::MsbFirst);
    const uint8_t first = s[0], second = s[2], third = s[4];
    if (first == kOff[0] && second == kOff[1] && third == kOff[2]) {
        appendPhrase(out, "power off");
        return;
    }
    if (first != kState)
        return;
    const unsigned mode = (third >> 2) & 0x3;
    appendAcMode(out, mode == kDry && third >> 4 == kFanCode ? "fan" : kModes[mode]);
    for (size_t i = 0; i < sizeof kTemperatureCodes; ++i)
        if (kTemperatureCodes[i] == third >> 4)
            appendAcTemperature(out, kMinTemperature + static_cast<int>(i));
}

} // namespace

extern const Reader coolixReader = acReader<kCoolix>("COOLIX", 38000, describe);
extern const Reader coolix48Reader = acReader<kCoolix48>("COOLIX48", 38000);

} // namespace ircodec
