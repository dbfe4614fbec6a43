// DIRECTV: DirecTV's receivers' frames: a 6 ms mark (3 ms in the frames
// that repeat a held key) and a 1.2 ms space, then eight symbols of two
// bits each, a mark and a space of one or two 600 us units (00: 1 + 1,
// 01: 1 + 2, 10: 2 + 1, 11: 2 + 2), and a stop mark; a 4-bit device, an
// 8-bit command and a check nibble, most significant first. The check is
// 7, 5, 3 and 1 times the command's bit pairs from the top, summed (mod 16).
#include "../framecursor.h"
#include "../reader.h"

#include <array>

namespace ircodec {

namespace {

constexpr int32_t kUnit = 600;
constexpr int32_t kFirstLead = 10 * kUnit;
constexpr int32_t kRepeatLead = 5 * kUnit;
constexpr int32_t kLeadSpace = 2 * kUnit;
constexpr std::array<MarkSpace, 4> kSymbols
    = {{{kUnit, kUnit}, {kUnit, 2 * kUnit}, {2 * kUnit, kUnit}, {2 * kUnit, 2 * kUnit}}};
constexpr int kSymbolBits = 2;
constexpr int kDeviceBits = 4;
constexpr int kCommandBits = 8;
constexpr int kCheckBits = 4;
constexpr int kBits = kDeviceBits + kCommandBits + kCheckBits;
constexpr int kSymbolCount = kBits / kSymbolBits;
constexpr int kDurations = 2 + 2 * kSymbolCount + 1;
constexpr uint64_t kCheckMask = 0xF;

uint64_t command(const BitString &bits)
{
    return bits.field(kDeviceBits, kCommandBits);
}

uint64_t check(uint64_t command)
{
    constexpr uint64_t kWeights[] = {7, 5, 3, 1};
    uint64_t sum = 0;
    for (int i = 0; i < kCommandBits / kSymbolBits; ++i)
        sum += kWeights[i] * ((command >> (kCommandBits - kSymbolBits * (i + 1))) & 0b11);
    return sum & kCheckMask;
}

bool read(const Durations &d, Reading &out)
{
    if (d.size() != kDurations)
        return false;
    // A first frame's lead mark or a repeat's; Timing's header records which.
    const int32_t lead = matches(d[0], kFirstLead, Level::Mark) ? kFirstLead : kRepeatLead;
    FrameCursor cursor(d);
    if (!cursor.take({lead, kLeadSpace}))
        return false;
    out.timing.headerMark = lead;
    out.timing.headerSpace = kLeadSpace;
    out.bits = BitString();
    if (!cursor.symbols(kSymbols.data(), kSymbolBits, kSymbolCount, out.bits) || !cursor.stop(kUnit)
        || out.bits.field(kBits - kCheckBits, kCheckBits) != check(command(out.bits)))
        return false;
    out.evidence = Evidence::Checked;
    out.checked = true;
    return true;
}

Durations write(const Reading &r)
{
    if (r.bits.size() != kBits)
        return {};
    Durations out = {r.timing.headerMark == kRepeatLead ? kRepeatLead : kFirstLead, kLeadSpace};
    putSymbols(r.bits, kSymbols.data(), kSymbolBits, out);
    out.push_back(kUnit);
    return out;
}

bool example(uint64_t seed, Reading &out)
{
    ExampleBits random(seed);
    const uint64_t value = random.next(kCommandBits);
    out.bits = BitString(random.next(kDeviceBits), kDeviceBits);
    out.bits.append(value, kCommandBits, Order::MsbFirst);
    out.bits.append(check(value), kCheckBits, Order::MsbFirst);
    out.timing.headerMark = random.next(1) ? kRepeatLead : kFirstLead;
    out.timing.headerSpace = kLeadSpace;
    out.evidence = Evidence::Checked;
    out.checked = true;
    return true;
}

void describe(const Reading &r, std::string &out)
{
    appendField(out, "device", r.bits.field(0, kDeviceBits), 1);
    appendField(out, "command", command(r.bits), 2);
    if (r.timing.headerMark == kRepeatLead)
        appendPhrase(out, "repeat frame");
}

} // namespace

extern const Reader directvReader = {"DIRECTV", std::nullopt, Family::Remote, Presentation::Number,
    38000, admitFirstMark(kDurations, kDurations, kRepeatLead, kFirstLead), read, write, example,
    describe, nullptr};

} // namespace ircodec
