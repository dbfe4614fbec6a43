// Mark and space sequences read from fuzzer input.
#ifndef IRINPUT_H
#define IRINPUT_H

#include "fuzzinput.h"
#include "ircodec.h"

// More than any frame holds, so that over-long frames are tried too.
constexpr size_t kMaxFuzzDurations = 600;

// One mode byte, then durations: 16-bit microseconds (the range of real
// frames) or, when the mode's low bit is set, any 32-bit value, negative
// ones included.
inline ircodec::Durations takeDurations(FuzzInput &input)
{
    const bool wide = input.take<uint8_t>() & 1;
    ircodec::Durations durations;
    while (!input.empty() && durations.size() < kMaxFuzzDurations)
        durations.push_back(wide ? input.take<int32_t>() : input.take<uint16_t>());
    return durations;
}

#endif // IRINPUT_H
