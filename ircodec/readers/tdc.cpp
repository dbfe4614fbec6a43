// TDC: the bi-phase protocol of ruwido's IPTV remotes (TDC, Deutsche
// Telekom's Entertain, Swisscom and other set-top boxes, and appliances).
// 38 kHz, 315 us half bits, a 1 is a mark then a space: a start bit (1),
// then a 5-bit device, a 5-bit subdevice and a 7-bit function, most
// significant bit first.
#include "../reader.h"
#include "biphaseprotocol.h"

namespace ircodec {

namespace {

constexpr int kDeviceBits = 5;
constexpr int kFunctionBits = 7;
constexpr BiphaseBody kBody
    = {315000, Polarity::OneIsMarkFirst, "10", 2 * kDeviceBits + kFunctionBits};

bool read(const Durations &d, Reading &out)
{
    if (!readBiphaseBody(kBody, d, 0, out.bits))
        return false;
    out.evidence = Evidence::Framed;
    return true;
}

Durations write(const Reading &r)
{
    return writeBiphaseBody(kBody, r.bits);
}

void describe(const Reading &r, std::string &out)
{
    appendField(out, "device", r.bits.field(0, kDeviceBits), 2);
    appendField(out, "subdevice", r.bits.field(kDeviceBits, kDeviceBits), 2);
    appendField(out, "function", r.bits.field(2 * kDeviceBits, kFunctionBits), 2);
}

} // namespace

extern const Reader tdcReader = {"TDC", std::nullopt, Family::Remote, Presentation::Number, 38000,
    biphaseAdmission(kBody, 0, halvesUs(kBody, 1), halvesUs(kBody, 2)), read, write,
    framedExample<kBody.bits>, describe, nullptr};

} // namespace ircodec
