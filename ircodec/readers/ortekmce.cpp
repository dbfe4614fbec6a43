// ORTEKMCE: Ortek's (Hama's) remotes for Windows Media Center. 38.6 kHz,
// 480 us half bits, a 1 is a space then a mark: a 1.92 ms mark and a 480
// us space, then 17 bits, each field least significant bit first: a 5-bit
// device, a 2-bit position (0 in a press's first frame, 1 in the frames
// between, 2 in its last), a 6-bit function and a 4-bit check, 3 more than
// the count of 1 bits in the other fields.
#include "../reader.h"
#include "../timing.h"
#include "biphaseprotocol.h"

#include <bitset>

namespace ircodec {

namespace {

constexpr int kDeviceBits = 5;
constexpr int kPositionBits = 2;
constexpr int kFunctionBits = 6;
constexpr int kCheckBits = 4;
constexpr int kDataBits = kDeviceBits + kPositionBits + kFunctionBits;
constexpr int kCheckOffset = 3;
// The 1.92 ms lead mark is read as one half bit, then the lead space.
constexpr BiphaseBody kBody = {480000, Polarity::OneIsSpaceFirst, "10", kDataBits + kCheckBits};
constexpr int kLeadMarkHalves = 4;

uint64_t checkOf(const BitString &bits)
{
    const uint64_t ones = std::bitset<kDataBits>(bits.field(0, kDataBits)).count();
    return (ones + kCheckOffset) & ((1u << kCheckBits) - 1);
}

bool check(const BitString &bits)
{
    return bits.field(kDataBits, kCheckBits, Order::LsbFirst) == checkOf(bits);
}

bool read(const Durations &d, Reading &out)
{
    if (d.empty() || !matches(d[0], halvesUs(kBody, kLeadMarkHalves), Level::Mark))
        return false;
    Durations body = d;
    body[0] = halvesUs(kBody, 1);
    if (!readBiphaseBody(kBody, body, 0, out.bits) || !check(out.bits))
        return false;
    out.evidence = Evidence::Checked;
    out.checked = true;
    return true;
}

Durations write(const Reading &r)
{
    if (r.bits.size() != kBody.bits || !check(r.bits))
        return {};
    Durations out = writeBiphaseBody(kBody, r.bits);
    out[0] = halvesUs(kBody, kLeadMarkHalves);
    return out;
}

bool example(uint64_t seed, Reading &out)
{
    ExampleBits random(seed);
    out.bits = BitString(random.next(kDataBits), kDataBits);
    out.bits.append(checkOf(out.bits), kCheckBits, Order::LsbFirst);
    out.evidence = Evidence::Checked;
    out.checked = true;
    return true;
}

void describe(const Reading &r, std::string &out)
{
    appendField(out, "device", r.bits.field(0, kDeviceBits, Order::LsbFirst), 2);
    appendField(out, "position", r.bits.field(kDeviceBits, kPositionBits, Order::LsbFirst), 1);
    appendField(out, "function",
        r.bits.field(kDeviceBits + kPositionBits, kFunctionBits, Order::LsbFirst), 2);
}

} // namespace

extern const Reader ortekMceReader = {"ORTEKMCE", std::nullopt, Family::Remote,
    Presentation::Number, 38600,
    biphaseAdmission(kBody, 0, halvesUs(kBody, kLeadMarkHalves), halvesUs(kBody, kLeadMarkHalves)),
    read, write, example, describe, nullptr};

} // namespace ircodec
