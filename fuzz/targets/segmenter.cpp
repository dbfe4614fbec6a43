// The segmenter on any stream of marks, spaces and idle waits, and the raw
// ticks of every frame it cuts: frames start and end with a mark, hold at
// most the frame limit, and their ticks fit the receive record.
#include "fuzztarget.h"
#include "irinput.h"

#include <algorithm>

namespace {

// The segmenter is fed measured times: never negative, and (12 days) far
// longer than any silence, so that sums of them cannot overflow.
constexpr int64_t kMaxMeasuredUs = int64_t{1} << 40;

enum Step : uint8_t { Mark, Space, Idle, StepCount };

void checkCapture(const ircodec::Capture &capture)
{
    FUZZ_CHECK(!capture.durations.empty());
    FUZZ_CHECK(capture.durations.size() % 2 == 1);
    FUZZ_CHECK(capture.durations.size() <= static_cast<size_t>(irlimits::kMaxReceivedDurations));
    const std::vector<int32_t> ticks = ircodec::toTicks(capture.silenceBefore, capture.durations);
    FUZZ_CHECK(ticks.size() == capture.durations.size() + 1);
    FUZZ_CHECK(ticks.front() >= 0 && ticks.front() <= ircodec::kMaxSilenceTicks);
    FUZZ_CHECK(std::all_of(ticks.begin() + 1, ticks.end(), [](int32_t t) { return t >= 1; }));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput input(data, size);
    const int32_t frameSilence = input.take<uint16_t>();
    ircodec::Segmenter segmenter(frameSilence);
    ircodec::Durations stream;
    for (size_t i = 0; i < 2 * kMaxFuzzDurations && !input.empty(); ++i) {
        const auto step = static_cast<Step>(input.take<uint8_t>() % StepCount);
        const int64_t us = static_cast<int64_t>(input.take<uint64_t>() % (kMaxMeasuredUs + 1));
        std::optional<ircodec::Capture> done;
        switch (step) {
        case Mark:
            done = segmenter.mark(us);
            break;
        case Space:
            done = segmenter.space(us);
            break;
        default:
            done = segmenter.idle(us);
            break;
        }
        if (done)
            checkCapture(*done);
        stream.push_back(static_cast<int32_t>(us));
    }
    for (const ircodec::Capture &capture : ircodec::segment(stream, frameSilence))
        checkCapture(capture);
    return 0;
}
