// One frame sent through the back end and received back through it.
#ifndef TESTS_KERNEL_SENDRECEIVE_H
#define TESTS_KERNEL_SENDRECEIVE_H

#include "ircodec.h"

#include <functional>
#include <optional>
#include <string>

namespace sendreceive {

struct Case
{
    std::string row;
    std::optional<ircodec::Frame> frame; // what `send` sends, or
    std::function<int()> send;
    std::optional<ircodec::Bursts> bursts; // its timings, for raw frames
};

// Sends the case with reception running; true when exactly one frame came
// back, reported as the virtual adapter reports the same timings (type,
// value, bits, address) with raw ticks within the codec's tolerance of the
// first burst's timings. Prints what differs.
bool run(const Case &c);

// Whether received raw ticks (the silence first) match sent timings.
bool ticksMatch(const std::vector<int> &raw, const ircodec::Durations &sent);

// The carrier to send a catalogue protocol with, in kHz.
int carrierKHz(ircodec::Protocol protocol);

} // namespace sendreceive

#endif // TESTS_KERNEL_SENDRECEIVE_H
