// Received frames as the receive callback gets them.
#ifndef KORVEX_COMMON_RESULTS_H
#define KORVEX_COMMON_RESULTS_H

#include "ircodec.h"
#include "korvex.h"

#include <optional>
#include <vector>

namespace korvex {

// One frame ready for the callback. The record points into `raw`, so it is
// made on demand.
struct Received
{
    ircodec::Report report;
    std::vector<int> raw; // 50 us ticks, the first the silence before the frame

    IRResults results();
};

// Turns the frames that a receiver cuts out of the air into callback
// records: decodes each, folds SHARP's echo half into the message it ends,
// and converts the timings into ticks, every one of them. A broken frame
// (the receiver lost samples of it) and a frame cut at the segmenter's limit
// (irlimits::kMaxReceivedDurations) are not decoded: they are reported as
// UNKNOWN.
class Reporter
{
public:
    // Empty for a frame that is not reported on its own (an echo half).
    std::optional<Received> take(const ircodec::Capture &capture, bool broken = false);

private:
    std::optional<ircodec::Frame> previous_;
};

} // namespace korvex

#endif // KORVEX_COMMON_RESULTS_H
