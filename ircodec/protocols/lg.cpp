// LG: 8 ms / 4 ms header, 28 pulse-distance bits sent most significant first,
// stop mark.
#include "../codecs.h"
#include "../pulse.h"

namespace ircodec {

namespace {

constexpr PulseTable kTable = {{8000, 4000}, {600, 550}, {600, 1600}, 600};
constexpr int kBits = 28;
constexpr PlainFrame kFrame = {Protocol::Lg, kTable, kBits, kBits};

} // namespace

std::optional<Bursts> encodeLg(const Frame &frame)
{
    return plainEncode(kFrame, frame);
}

std::optional<Frame> decodeLg(const Durations &d)
{
    return plainDecode(kFrame, d);
}

} // namespace ircodec
