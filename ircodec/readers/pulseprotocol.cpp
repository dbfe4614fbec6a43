#include "pulseprotocol.h"

#include "../timing.h"

namespace ircodec {

namespace {

constexpr size_t kTrailerDurations = 2;

// A frame's durations without its trailer; empty when the trailer is not
// there.
Durations withoutTrailer(const PulseProtocol &p, const Durations &d)
{
    const size_t n = d.size();
    if (n <= kTrailerDurations || !Window(p.trailerSpace, Level::Space).fits(d[n - 2])
        || !stopMarkWindow(p.layout.stopMark).fits(d[n - 1]))
        return {};
    return Durations(d.begin(), d.end() - kTrailerDurations);
}

bool readBody(const PulseProtocol &p, const Durations &d, BitString &bits)
{
    return pulseFrameBits(p.layout, d.size()) == p.bits && readPulseFrame(p.layout, d, bits);
}

} // namespace

bool readPulseProtocol(const PulseProtocol &p, const Durations &d, Reading &out)
{
    const bool read = p.trailerSpace > 0 ? readBody(p, withoutTrailer(p, d), out.bits)
                                         : readBody(p, d, out.bits);
    if (!read)
        return false;
    if (p.check && !p.check(out.bits))
        return false;
    out.checked = p.check != nullptr;
    out.evidence = out.checked ? Evidence::Checked : p.shape;
    return true;
}

Durations writePulseProtocol(const PulseProtocol &p, const Reading &r)
{
    if (r.bits.size() != p.bits || (p.check && !p.check(r.bits)))
        return {};
    Durations out = writePulseFrame(p.layout, r.bits);
    if (p.trailerSpace > 0) {
        out.push_back(p.trailerSpace);
        out.push_back(p.layout.stopMark);
    }
    return out;
}

bool examplePulseProtocol(const PulseProtocol &p, uint64_t seed, Reading &out)
{
    out.bits = ExampleBits(seed).bits(p.bits);
    if (p.complete)
        p.complete(out.bits);
    out.checked = p.check != nullptr;
    out.evidence = out.checked ? Evidence::Checked : p.shape;
    return true;
}

} // namespace ircodec
