// ROBOSAPIEN: WowWee's RoboSapien robots. A unit of 1/1200 s; an 8-unit
// mark, then 8 bits, most significant first, each a space of 1 unit (0) or
// 4 units (1) and a 1-unit mark. The first bit is always 1: the commands
// run from 0x80 to 0xFF. No check.
#include "../framecursor.h"
#include "../reader.h"

#include <array>

namespace ircodec {

namespace {

constexpr int32_t kUnit = 833;
constexpr int32_t kLead = 8 * kUnit;
constexpr int32_t kLongSpace = 4 * kUnit;
constexpr int kBits = 8;
constexpr int kDurations = 1 + 2 * kBits;
// The lead mark and the first bit's space, then each mark and the next
// bit's space: a 0 and a 1 as symbols of one bit.
constexpr std::array<MarkSpace, 2> kFirst = {{{kLead, kUnit}, {kLead, kLongSpace}}};
constexpr std::array<MarkSpace, 2> kNext = {{{kUnit, kUnit}, {kUnit, kLongSpace}}};

bool read(const Durations &d, Reading &out)
{
    if (static_cast<int>(d.size()) != kDurations)
        return false;
    FrameCursor cursor(d);
    out.bits = BitString();
    if (!cursor.symbols(kFirst.data(), 1, 1, out.bits)
        || !cursor.symbols(kNext.data(), 1, kBits - 1, out.bits) || !cursor.stop(kUnit)
        || !out.bits.at(0))
        return false;
    out.evidence = Evidence::Framed;
    return true;
}

Durations write(const Reading &r)
{
    if (r.bits.size() != kBits)
        return {};
    Durations out;
    putSymbols(BitString(r.bits.at(0), 1), kFirst.data(), 1, out);
    putSymbols(BitString(r.bits.field(1, kBits - 1), kBits - 1), kNext.data(), 1, out);
    out.push_back(kUnit);
    return out;
}

bool example(uint64_t seed, Reading &out)
{
    ExampleBits random(seed);
    out.bits = BitString(1, 1); // the first bit, always 1
    out.bits.append(random.next(kBits - 1), kBits - 1, Order::MsbFirst);
    out.evidence = Evidence::Framed;
    return true;
}

void describe(const Reading &r, std::string &out)
{
    appendField(out, "command", r.bits.value(), 2);
}

} // namespace

extern const Reader roboSapienReader = {"ROBOSAPIEN", std::nullopt, Family::Remote,
    Presentation::Number, 39200, admitFirstMark(kDurations, kDurations, kLead, kLead), read, write,
    example, describe, nullptr};

} // namespace ircodec
