#ifndef QUICKSEND_H
#define QUICKSEND_H

// Timing and fixed frames of the quick-send panels.
namespace quicksend {

// Repeat periods while a panel button is held.
constexpr int kNecRepeatMs = 108;
constexpr int kJvcRepeatMs = 55;
constexpr int kNrc17RepeatMs = 100;
// Gap between the NRC17 start frame and the first key frame.
constexpr unsigned long kNrc17KeyDelayMs = 40;

// The NRC17 start/stop frame, sent in the address, command and subcode places.
constexpr unsigned char kNrc17MarkerAddress = 254;
constexpr unsigned char kNrc17MarkerCommand = 255;
constexpr unsigned char kNrc17MarkerSubCode = 255;

// First-frame flag of IR_JVC_Send.
constexpr int kJvcFirstFrame = 1;
constexpr int kJvcRepeatFrame = 0;

} // namespace quicksend

#endif // QUICKSEND_H
