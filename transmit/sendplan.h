// Sending recorded frames again: which adapter operation each frame takes
// and when it goes out. Free of Qt and of the window, so that the plan can
// be checked on its own.
#ifndef SENDPLAN_H
#define SENDPLAN_H

#include "irsignal.h"
#include "korvex.h"

#include <vector>

namespace sendplan {

enum class Operation {
    Protocol,  // IR_SendProtocol with `data`
    NecRepeat, // IR_NEC_SendRepeat
    Raw,       // IR_SendRaw with `durations`
};

struct Step
{
    Operation operation = Operation::Raw;
    IRSendData data{};
    std::vector<int> durations; // microseconds, mark first
    int carrierKHz = 0;
    // Time from the start of the previous step's frame to the start of this
    // one: the previous frame's length and this frame's recorded silence.
    int delayMs = 0;
};

// Recorded silences longer than this are shortened to it between frames.
constexpr int64_t kMaxGapUs = 1000000;

// One step per frame, in order. A frame decoded as a catalogue protocol that
// the codec can build again from its fields goes out by protocol, an NEC
// repeat code as the repeat operation, any other frame as raw durations. The
// carrier is the frame's own, else defaultCarrierKHz.
std::vector<Step> plan(const std::vector<irfiles::Signal> &frames, int defaultCarrierKHz);

} // namespace sendplan

#endif // SENDPLAN_H
