// The per-protocol encoders and decoders behind encode() and decode().
#ifndef IRCODEC_CODECS_H
#define IRCODEC_CODECS_H

#include "ircodec.h"

namespace ircodec {

// Silence after a frame unless its protocol needs another: long enough for
// every receiver to see the frame's end, short enough to follow the
// quick-send repeat timers.
constexpr int32_t kLeadOutUs = 20000;

using Encoder = std::optional<Bursts> (*)(const Frame &);
using Decoder = std::optional<Frame> (*)(const Durations &);

struct Codec
{
    Protocol protocol;
    int32_t catalogueId;
    const char *ownName; // null: the catalogue's name of catalogueId
    int32_t carrierHz;
    Encoder encode;
    Decoder decode;
};

// All codecs, in the order decode() tries them.
const Codec *codecsBegin();
const Codec *codecsEnd();
const Codec &codecFor(Protocol protocol);

// One burst followed by the lead-out.
Bursts single(Durations durations, int32_t gap = kLeadOutUs);

// The decoded form of a repeat code.
inline Frame repeatCode(Protocol protocol)
{
    return makeFrame(protocol, kRepeatValue, 0, 0, true);
}

// `value` has no bit set at or above bit `bits`.
inline bool fitsBits(uint64_t value, int bits)
{
    return bits >= 64 || (value >> bits) == 0;
}

#define IRCODEC_DECLARE(Name)                                                                      \
    std::optional<Bursts> encode##Name(const Frame &frame);                                        \
    std::optional<Frame> decode##Name(const Durations &durations);

IRCODEC_DECLARE(Rc5)
IRCODEC_DECLARE(Rc6)
IRCODEC_DECLARE(Nec)
IRCODEC_DECLARE(Sony)
IRCODEC_DECLARE(Panasonic)
IRCODEC_DECLARE(Jvc)
IRCODEC_DECLARE(Samsung)
IRCODEC_DECLARE(Whynter)
IRCODEC_DECLARE(Aiwa)
IRCODEC_DECLARE(Lg)
IRCODEC_DECLARE(Sanyo)
IRCODEC_DECLARE(Mitsubishi)
IRCODEC_DECLARE(Dish)
IRCODEC_DECLARE(Sharp)
IRCODEC_DECLARE(Denon)
IRCODEC_DECLARE(LegoPf)
IRCODEC_DECLARE(Itt)
IRCODEC_DECLARE(Nrc17)
IRCODEC_DECLARE(Rca)

#undef IRCODEC_DECLARE

// An RC6 frame of `count` bits after the start bit (3 mode bits, toggle,
// data), for every count the decoder takes: also the 36-bit mode 6 frames
// that encode() refuses, their value holding only the low 32 bits. Empty
// for other counts or bits wider than `count`.
Durations rc6Durations(uint64_t bits, int count);

} // namespace ircodec

#endif // IRCODEC_CODECS_H
