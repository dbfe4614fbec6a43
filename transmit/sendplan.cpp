#include "sendplan.h"

#include "ircodec.h"
#include "irlimits.h"
#include "protocols.h"
#include "sendtext.h"

#include <algorithm>
#include <numeric>

namespace sendplan {

namespace {

constexpr int kUsPerMs = 1000;
constexpr int kHzPerKHz = 1000;

int roundedKHz(int32_t hz)
{
    return (hz + kHzPerKHz / 2) / kHzPerKHz;
}

int carrierKHz(int32_t hz, int defaultKHz)
{
    const int kHz = roundedKHz(hz);
    return kHz >= irlimits::kMinCarrierKHz && kHz <= irlimits::kMaxCarrierKHz ? kHz : defaultKHz;
}

bool isRepeatCode(const ircodec::Report &decoded)
{
    return decoded.value == ircodec::kRepeatValue && decoded.bits == 0;
}

// The frame the protocol operation would send, when the codec can build it
// from the decoded fields at all.
bool sendableByProtocol(const ircodec::Report &decoded)
{
    const auto frame = ircodec::fromSendRecord(decoded.decodeType, decoded.value,
        static_cast<uint16_t>(decoded.address), decoded.bits, false);
    return frame && frame->address == decoded.address && ircodec::encode(*frame);
}

Step stepFor(const irfiles::Signal &signal, int defaultCarrierKHz)
{
    Step step;
    const ircodec::Report &decoded = signal.decoded;
    if (decoded.decodeType == protocols::Nec && isRepeatCode(decoded)) {
        step.operation = Operation::NecRepeat;
    } else if (!isRepeatCode(decoded) && sendableByProtocol(decoded)) {
        step.operation = Operation::Protocol;
        step.data = sendtext::makeSendData(decoded.decodeType, false,
            static_cast<uint16_t>(decoded.address), decoded.value, decoded.bits);
    } else {
        step.operation = Operation::Raw;
        step.durations.assign(signal.durations.begin(), signal.durations.end());
    }
    step.carrierKHz = carrierKHz(signal.carrierHz, defaultCarrierKHz);
    return step;
}

int64_t lengthUs(const irfiles::Signal &signal)
{
    return std::accumulate(signal.durations.begin(), signal.durations.end(), int64_t{0});
}

} // namespace

std::vector<Step> plan(const std::vector<irfiles::Signal> &frames, int defaultCarrierKHz)
{
    std::vector<Step> steps;
    steps.reserve(frames.size());
    for (size_t i = 0; i < frames.size(); ++i) {
        Step step = stepFor(frames[i], defaultCarrierKHz);
        if (i > 0) {
            // A frame without a recorded silence keeps the usual lead-out
            // from the one before, so that the two stay apart on the air.
            const int64_t silence
                = frames[i].silenceBeforeUs > 0 ? frames[i].silenceBeforeUs : irfiles::kLeadOutUs;
            const int64_t delayUs = lengthUs(frames[i - 1]) + std::min(silence, kMaxGapUs);
            step.delayMs = static_cast<int>((delayUs + kUsPerMs - 1) / kUsPerMs);
        }
        steps.push_back(std::move(step));
    }
    return steps;
}

} // namespace sendplan
