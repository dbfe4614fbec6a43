// Sending recorded frames again: which adapter operation each frame takes,
// when it goes out, and why a frame cannot go out at all. Free of Qt and of
// the window, so that the plan can be checked on its own.
#ifndef SENDPLAN_H
#define SENDPLAN_H

#include "irsignal.h"
#include "korvex.h"

#include <cstddef>
#include <string>
#include <vector>

namespace sendplan {

enum class Operation {
    Protocol,  // IR_SendProtocol with `data`
    NecRepeat, // IR_NEC_SendRepeat
    Raw,       // IR_SendRaw with `durations`
};

// One frame and the adapter call that sends it.
struct Step
{
    Operation operation = Operation::Raw;
    IRSendData data{};
    std::vector<int> durations; // microseconds, mark first
    int carrierKHz = 0;
    // Time from the start of the previous step's frame to the start of this
    // one: the previous frame's time on the air and this frame's recorded
    // silence.
    int delayMs = 0;
    // How long the frame is on the air as this step sends it.
    int64_t onAirUs = 0;
    // Where the frame comes from: the recording's position in the list given
    // to plan(), and the frame's place among that recording's frames.
    size_t recording = 0;
    int frame = 0;
    int frames = 1;
    // Why one adapter call cannot carry the frame; empty when it can.
    std::string refusal;
};

// Recorded silences longer than this are shortened to it between frames.
constexpr int64_t kMaxGapUs = 1000000;

// One step per frame, in order. A recording that holds several frames (a
// frame and its repeats, or blocks, cut where reception cuts them at
// ircodec::kFrameSilenceUs) gives a step per frame, each sent raw as
// recorded after its recorded silence. A recording of one frame goes out by
// what it decoded to: an NEC repeat code (value 0xFFFFFFFF, whatever its
// bits) by the repeat operation, a catalogue frame that the codec can build
// again from its fields by protocol (never a SAMSUNG repeat code's value as
// data), and anything else raw. The carrier is the recording's own, else
// defaultCarrierKHz.
std::vector<Step> plan(const std::vector<irfiles::Signal> &recordings, int defaultCarrierKHz);

// The steps that cannot go out, in order.
std::vector<const Step *> refused(const std::vector<Step> &steps);

// How long the whole sequence takes, from the first call until the last
// frame has gone out.
int64_t sequenceMs(const std::vector<Step> &steps);

// The frame of a step, named for the user: "row 5", or "row 5, frame 3 of 4"
// for a frame of a recording that holds several.
std::string where(const Step &step, int rowNumber);

} // namespace sendplan

#endif // SENDPLAN_H
