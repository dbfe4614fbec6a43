#ifndef QUICKSEND_H
#define QUICKSEND_H

// Timing and fixed frames of the quick-send panels.
namespace quicksend {

// Repeat periods while a panel button is held.
constexpr int NecRepeatMs = 108;
constexpr int JvcRepeatMs = 55;
constexpr int Nrc17RepeatMs = 100;
// Gap between the NRC17 start frame and the first key frame.
constexpr unsigned long Nrc17KeyDelayMs = 40;

// The NRC17 start/stop frame, sent in the address, command and subcode places.
constexpr unsigned char Nrc17MarkerAddress = 254;
constexpr unsigned char Nrc17MarkerCommand = 255;
constexpr unsigned char Nrc17MarkerSubCode = 255;

// First-frame flag of IR_JVC_Send.
constexpr int JvcFirstFrame = 1;
constexpr int JvcRepeatFrame = 0;

// Output channels CH0 .. CH15 of the send tab.
constexpr int ChannelCount = 16;

// The mask of one output channel; 0 for an index that names no channel.
constexpr int channelMask(int channelIndex)
{
    return channelIndex >= 0 && channelIndex < ChannelCount ? 1 << channelIndex : 0;
}

} // namespace quicksend

#endif // QUICKSEND_H
