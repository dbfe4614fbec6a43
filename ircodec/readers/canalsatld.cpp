// CANALSATLD: ruwido's r-step protocol as Canal+ and cable boxes (ARRIS)
// send it. 56 kHz, 320 us half bits, a 1 is a mark then a space: a start
// bit (1), a 7-bit device, a 6-bit subdevice, a toggle (0 in a press's
// first frame, 1 in its repeats), a 0, a 6-bit function and the inverse of
// its last bit, most significant bit first.
#include "../reader.h"
#include "biphaseprotocol.h"

namespace ircodec {

namespace {

constexpr int kDeviceBits = 7;
constexpr int kSubdeviceBits = 6;
constexpr int kFunctionBits = 6;
constexpr int kToggleAt = kDeviceBits + kSubdeviceBits;
constexpr int kZeroAt = kToggleAt + 1;
constexpr int kFunctionAt = kZeroAt + 1;
constexpr int kInverseAt = kFunctionAt + kFunctionBits;
constexpr BiphaseBody kBody = {320000, Polarity::OneIsMarkFirst, "10", kInverseAt + 1};

bool check(const BitString &bits)
{
    return !bits.at(kZeroAt) && bits.at(kInverseAt) != bits.at(kInverseAt - 1);
}

bool read(const Durations &d, Reading &out)
{
    if (!readBiphaseBody(kBody, d, 0, out.bits) || !check(out.bits))
        return false;
    out.evidence = Evidence::Checked;
    out.checked = true;
    return true;
}

Durations write(const Reading &r)
{
    return check(r.bits) ? writeBiphaseBody(kBody, r.bits) : Durations();
}

bool example(uint64_t seed, Reading &out)
{
    ExampleBits random(seed);
    out.bits = BitString(random.next(kZeroAt), kZeroAt); // device, subdevice, toggle
    out.bits.push(false);
    const uint64_t function = random.next(kFunctionBits);
    out.bits.append(function, kFunctionBits, Order::MsbFirst);
    out.bits.push(!(function & 1u));
    out.evidence = Evidence::Checked;
    out.checked = true;
    return true;
}

void describe(const Reading &r, std::string &out)
{
    appendField(out, "device", r.bits.field(0, kDeviceBits), 2);
    appendField(out, "subdevice", r.bits.field(kDeviceBits, kSubdeviceBits), 2);
    appendField(out, "toggle", r.bits.field(kToggleAt, 1), 1);
    appendField(out, "function", r.bits.field(kFunctionAt, kFunctionBits), 2);
}

} // namespace

extern const Reader canalSatLdReader = {"CANALSATLD", std::nullopt, Family::Remote,
    Presentation::Number, 56000, biphaseAdmission(kBody, 0, halvesUs(kBody, 1), halvesUs(kBody, 2)),
    read, write, example, describe, nullptr};

} // namespace ircodec
