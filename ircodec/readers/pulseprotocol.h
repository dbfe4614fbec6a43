// What the readers of pulse-distance and pulse-width protocols of one
// fixed layout share: a frame of a fixed bit count on a PulseLayout, an
// optional trailer (the stop mark, a space and the stop mark again), an
// optional check over its bits, reading, writing and example frames.
#ifndef IRCODEC_READERS_PULSEPROTOCOL_H
#define IRCODEC_READERS_PULSEPROTOCOL_H

#include "../pulseframe.h"
#include "../reader.h"

namespace ircodec {

struct PulseProtocol
{
    PulseLayout layout;
    int bits;
    // Evidence of a frame that reads without a check: Framed with a header
    // or fixed shape, Bare without.
    Evidence shape;
    // Whether the frame's check holds; null when the protocol has none.
    bool (*check)(const BitString &bits) = nullptr;
    // Sets the check fields of an example's random bits; null: none.
    void (*complete)(BitString &bits) = nullptr;
    // The space between the stop mark and a second stop mark that ends the
    // frame; 0 when the first stop mark ends it.
    int32_t trailerSpace = 0;
};

// The durations of a frame of the protocol, for its admission.
constexpr int pulseProtocolDurations(const PulseProtocol &p)
{
    // Without a stop mark, the last bit's space is the silence after it.
    const int header = p.layout.header.mark > 0 ? 2 : 0;
    const int end = p.layout.stopMark > 0 ? 1 : -1;
    int separators = 0;
    for (const Separator &s : p.layout.separators)
        separators += s.afterBit > 0 && s.afterBit < p.bits ? 1 : 0;
    const int trailer = p.trailerSpace > 0 ? 2 : 0;
    return header + 2 * p.bits + end + 2 * separators + trailer;
}

// The protocol's admission: its frames' length and first mark, the
// header's or a bit's.
constexpr Admission pulseProtocolAdmission(const PulseProtocol &p)
{
    const int durations = pulseProtocolDurations(p);
    const PulseLayout &l = p.layout;
    if (l.header.mark > 0)
        return admitFirstMark(durations, durations, l.header.mark, l.header.mark);
    const bool zeroShorter = l.zero.mark < l.one.mark;
    return admitFirstMark(durations, durations, zeroShorter ? l.zero.mark : l.one.mark,
        zeroShorter ? l.one.mark : l.zero.mark);
}

// Reads a whole frame into `out`: its bits, and Checked evidence where a
// check holds. False when the frame is not the protocol's or its check
// fails.
bool readPulseProtocol(const PulseProtocol &p, const Durations &d, Reading &out);
Durations writePulseProtocol(const PulseProtocol &p, const Reading &r);
bool examplePulseProtocol(const PulseProtocol &p, uint64_t seed, Reading &out);

// The reader of a protocol that is a PulseProtocol and nothing more.
template <const PulseProtocol &P> struct PulseReader
{
    static bool read(const Durations &d, Reading &out)
    {
        return readPulseProtocol(P, d, out);
    }
    static Durations write(const Reading &r)
    {
        return writePulseProtocol(P, r);
    }
    static bool example(uint64_t seed, Reading &out)
    {
        return examplePulseProtocol(P, seed, out);
    }
    static constexpr Reader reader(const char *name, Presentation presentation, int32_t carrierHz,
        void (*describe)(const Reading &, std::string &))
    {
        return {name, std::nullopt, Family::Remote, presentation, carrierHz,
            pulseProtocolAdmission(P), read, write, example, describe, nullptr};
    }
};

} // namespace ircodec

#endif // IRCODEC_READERS_PULSEPROTOCOL_H
