// NEC: 9 ms / 4.5 ms header, 32 pulse-distance bits, stop mark; the repeat
// code (ditto) is the header mark, a 2.25 ms space and the stop mark.
#include "../codecs.h"
#include "../pulse.h"
#include "../timing.h"

#include <iterator>

namespace ircodec {

namespace {

// 562.5 us unit: marks rounded up, spaces down, so every bit keeps its
// nominal 1.125 / 2.25 ms length.
constexpr PulseTable kTable = {{9000, 4500}, {563, 562}, {563, 1687}, 563};
constexpr MarkSpace kDitto = {9000, 2250};
constexpr int kBits = 32;
// The silence that completes a data frame's 108 ms repeat period.
constexpr int32_t kLeadOut = 39937;

} // namespace

std::optional<Bursts> encodeNec(const Frame &frame)
{
    if (frame.repeat) {
        if (frame.bits != 0 && frame.bits != kBits)
            return std::nullopt;
        return single({kDitto.mark, kDitto.space, kTable.stopMark}, kLeadOut);
    }
    if (frame.bits != kBits)
        return std::nullopt;
    return single(pulseEncode(kTable, frame.value, kBits), kLeadOut);
}

std::optional<Frame> decodeNec(const Durations &d)
{
    const int32_t ditto[] = {kDitto.mark, kDitto.space, kTable.stopMark};
    if (d.size() == std::size(ditto) && matchesAll(d.data(), d.size(), ditto))
        return repeatCode(Protocol::Nec);
    const auto bits = pulseDecode(kTable, d, kBits);
    if (!bits)
        return std::nullopt;
    return makeFrame(Protocol::Nec, static_cast<uint32_t>(*bits), kBits);
}

} // namespace ircodec
