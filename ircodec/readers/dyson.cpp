// DYSON: Dyson's fans, heaters and purifiers. 38 kHz, 780 us unit: a 2.3 ms
// / 780 us header, bits of a 780 us mark and a 780 us (0) or 1.6 ms (1)
// space, a stop mark. The older models send 15 bits: a 7-bit device and a
// 6-bit function, each least significant bit first, and a 2-bit toggle,
// most significant first; the newer ones 21 bits in the same timing.
#include "pulseprotocol.h"

namespace ircodec {

namespace {

constexpr PulseLayout kLayout = {{2340, 780}, {780, 780}, {780, 1560}, 780, {}};
constexpr int kShortBits = 15;
constexpr int kLongBits = 21;
constexpr PulseProtocol kForms[] = {
    {kLayout, kShortBits, Evidence::Framed},
    {kLayout, kLongBits, Evidence::Framed},
};
constexpr int kDeviceBits = 7;
constexpr int kFunctionBits = 6;
constexpr int kToggleBits = 2;

const PulseProtocol *formOf(int bits)
{
    for (const PulseProtocol &form : kForms)
        if (form.bits == bits)
            return &form;
    return nullptr;
}

bool read(const Durations &d, Reading &out)
{
    for (const PulseProtocol &form : kForms)
        if (readPulseProtocol(form, d, out))
            return true;
    return false;
}

Durations write(const Reading &r)
{
    const PulseProtocol *form = formOf(r.bits.size());
    return form ? writePulseProtocol(*form, r) : Durations();
}

bool example(uint64_t seed, Reading &out)
{
    return examplePulseProtocol(kForms[seed % std::size(kForms)], seed, out);
}

void describe(const Reading &r, std::string &out)
{
    if (r.bits.size() != kShortBits)
        return;
    appendField(out, "device", r.bits.field(0, kDeviceBits, Order::LsbFirst), 2);
    appendField(out, "function", r.bits.field(kDeviceBits, kFunctionBits, Order::LsbFirst), 2);
    appendField(out, "toggle", r.bits.field(kDeviceBits + kFunctionBits, kToggleBits), 1);
}

} // namespace

extern const Reader dysonReader
    = {"DYSON", std::nullopt, Family::Remote, Presentation::Number, 38000,
        admitFirstMark(pulseProtocolDurations(kForms[0]), pulseProtocolDurations(kForms[1]),
            kLayout.header.mark, kLayout.header.mark),
        read, write, example, describe, nullptr};

} // namespace ircodec
