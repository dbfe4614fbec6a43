// Readers of the protocols that are one pulse layout (pulseframe.h) and one
// bit count: their read, write and example functions, made from a
// description of the protocol. A protocol file defines its FixedPulse and
// names readFixed<its description> and the others in its table row.
#ifndef IRCODEC_FIXEDPULSE_H
#define IRCODEC_FIXEDPULSE_H

#include "pulseframe.h"
#include "reader.h"

namespace ircodec {

// The defaults of FixedPulse below: any bits are valid, as drawn.
inline bool anyBits(const BitString &)
{
    return true;
}
inline void asDrawn(BitString &) { }

struct FixedPulse
{
    PulseLayout layout;
    int bits;
    // What a frame that reads shows: Checked when `valid` checks
    // complements, a checksum or constant fields.
    Evidence evidence;
    // Whether the bits are the protocol's.
    bool (*valid)(const BitString &bits) = anyBits;
    // Makes random bits valid, for example().
    void (*complete)(BitString &bits) = asDrawn;
};

// The frames a protocol's reader admits: its length, and a first mark that
// is its header's, or either bit's.
constexpr Admission admitFixed(const FixedPulse &p)
{
    const auto durations = static_cast<int>(pulseFrameDurations(p.layout, p.bits));
    if (hasHeader(p.layout))
        return admitFirstMark(durations, durations, p.layout.header.mark, p.layout.header.mark);
    const int32_t zero = p.layout.zero.mark;
    const int32_t one = p.layout.one.mark;
    return admitFirstMark(durations, durations, zero < one ? zero : one, zero < one ? one : zero);
}

template <const FixedPulse &P> bool readFixed(const Durations &d, Reading &out)
{
    if (!readPulseFrame(P.layout, d, out.bits) || out.bits.size() != P.bits || !P.valid(out.bits))
        return false;
    out.evidence = P.evidence;
    out.checked = P.evidence == Evidence::Checked;
    return true;
}

template <const FixedPulse &P> Durations writeFixed(const Reading &r)
{
    return r.bits.size() == P.bits ? writePulseFrame(P.layout, r.bits) : Durations();
}

template <const FixedPulse &P> bool exampleFixed(uint64_t seed, Reading &out)
{
    constexpr int kDrawn = 64; // bits of one draw
    ExampleBits random(seed);
    out.bits = BitString();
    for (int left = P.bits; left > 0; left -= kDrawn) {
        const int count = left < kDrawn ? left : kDrawn;
        out.bits.append(random.next(count), count, Order::MsbFirst);
    }
    P.complete(out.bits);
    out.evidence = P.evidence;
    out.checked = P.evidence == Evidence::Checked;
    return true;
}

} // namespace ircodec

#endif // IRCODEC_FIXEDPULSE_H
