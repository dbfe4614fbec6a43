// What an IR receiver module does to a frame, as recorded from real remotes:
// every mark comes out longer and every space shorter by about the same
// amount, its excess. NEC's 560 / 560 us bits come out as about 700 / 420,
// RC6's 444 / 444 us half-bits as 600 / 300. Recordings of protocols with
// shorter durations show less (SHARP, DENON and MITSUBISHI marks of 260 to
// 420 us); LEGO_PF's and ITT's durations are too short for any. No Qt, so
// that the fuzz targets use it too.
#ifndef TESTSUPPORT_IRRECEIVER_H
#define TESTSUPPORT_IRRECEIVER_H

#include "ircodec.h"

#include <algorithm>

namespace irreceiver {

constexpr int32_t kExcessUs = 150;
constexpr int32_t kShortExcessUs = 100;
// The shortest duration of a frame that each excess is applied to.
constexpr int32_t kExcessFromUs = 400;
constexpr int32_t kShortExcessFromUs = 250;

// The excess a receiver adds to a frame with these nominal durations.
inline int32_t excessFor(const ircodec::Durations &durations)
{
    if (durations.empty())
        return 0;
    const int32_t shortest = *std::min_element(durations.begin(), durations.end());
    if (shortest >= kExcessFromUs)
        return kExcessUs;
    return shortest >= kShortExcessFromUs ? kShortExcessUs : 0;
}

// Every mark `excessUs` longer, every space as much shorter (never below 1).
inline ircodec::Durations withExcess(const ircodec::Durations &durations, int32_t excessUs)
{
    ircodec::Durations out;
    out.reserve(durations.size());
    for (size_t i = 0; i < durations.size(); ++i) {
        const int32_t change = i % 2 == 0 ? excessUs : -excessUs;
        out.push_back(std::max<int32_t>(1, durations[i] + change));
    }
    return out;
}

// The frame as such a receiver delivers it, before any other wander.
inline ircodec::Durations received(const ircodec::Durations &durations)
{
    return withExcess(durations, excessFor(durations));
}

} // namespace irreceiver

#endif // TESTSUPPORT_IRRECEIVER_H
