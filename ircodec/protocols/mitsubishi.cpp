// MITSUBISHI: no header, 16 to 32 pulse-distance bits (300 us marks, 900 /
// 2100 us spaces), stop mark.
#include "../codecs.h"
#include "../pulse.h"

namespace ircodec {

namespace {

constexpr PulseTable kTable = {{0, 0}, {300, 900}, {300, 2100}, 300};
constexpr int kMinBits = 16;
constexpr int kMaxBits = 32;
constexpr PlainFrame kFrame = {Protocol::Mitsubishi, kTable, kMinBits, kMaxBits};

} // namespace

std::optional<Bursts> encodeMitsubishi(const Frame &frame)
{
    return plainEncode(kFrame, frame);
}

std::optional<Frame> decodeMitsubishi(const Durations &d)
{
    return plainDecode(kFrame, d);
}

} // namespace ircodec
