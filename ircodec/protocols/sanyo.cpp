// SANYO as the catalogue knows it: 3.5 ms / 3.5 ms header, 12 to 32 bits
// carried in the spaces behind 850 us marks, stop mark.
#include "../codecs.h"
#include "../pulse.h"

namespace ircodec {

namespace {

constexpr PulseTable kTable = {{3500, 3500}, {850, 700}, {850, 2400}, 850};
constexpr int kMinBits = 12;
constexpr int kMaxBits = 32;
constexpr PlainFrame kFrame = {Protocol::Sanyo, kTable, kMinBits, kMaxBits};

} // namespace

std::optional<Bursts> encodeSanyo(const Frame &frame)
{
    return plainEncode(kFrame, frame);
}

std::optional<Frame> decodeSanyo(const Durations &d)
{
    return plainDecode(kFrame, d);
}

} // namespace ircodec
