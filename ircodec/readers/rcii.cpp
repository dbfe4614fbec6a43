// RCII: T+A's RC II protocol. 512 us half bits, a 1 is a mark then a
// space: a 512 us mark and a 2.56 ms space, a 1.02 ms mark, then 9 command
// bits, most significant first.
#include "../reader.h"
#include "../timing.h"
#include "biphaseprotocol.h"

namespace ircodec {

namespace {

constexpr int kBits = 9;
// The 1.02 ms mark is the body's lead; the first bit's mark may follow it.
constexpr BiphaseBody kBody = {512000, Polarity::OneIsMarkFirst, "11", kBits, 3};
constexpr int kLeadSpaceHalves = 5;

bool read(const Durations &d, Reading &out)
{
    if (d.size() < 3 || !matches(d[0], halvesUs(kBody, 1), Level::Mark)
        || !matches(d[1], halvesUs(kBody, kLeadSpaceHalves), Level::Space)
        || !readBiphaseBody(kBody, d, 2, out.bits))
        return false;
    out.evidence = Evidence::Framed;
    return true;
}

Durations write(const Reading &r)
{
    const Durations body = writeBiphaseBody(kBody, r.bits);
    if (body.empty())
        return {};
    Durations out = {halvesUs(kBody, 1), halvesUs(kBody, kLeadSpaceHalves)};
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

void describe(const Reading &r, std::string &out)
{
    appendField(out, "command", r.bits.value(), 3);
}

} // namespace

extern const Reader rciiReader = {"RCII", std::nullopt, Family::Remote, Presentation::Number, 38000,
    biphaseAdmission(kBody, 2, halvesUs(kBody, 1), halvesUs(kBody, 1)), read, write,
    framedExample<kBits>, describe, nullptr};

} // namespace ircodec
