// The adapter's channels and their masks, as every operation takes them: one
// bit per channel, the bit's position being the channel's index in the send
// tab's "CH0" to "CH15" or the receive tab's "D0" to "D7". No Qt.
#ifndef CHANNELS_H
#define CHANNELS_H

namespace channels {

constexpr int kOutputs = 16;
constexpr int kInputs = 8;

// The mask of one output channel; 0 for an index that names none.
constexpr int outputMask(int index)
{
    return index >= 0 && index < kOutputs ? 1 << index : 0;
}

// The mask of one input channel; 0 for an index that names none.
constexpr unsigned char inputMask(int index)
{
    return index >= 0 && index < kInputs ? static_cast<unsigned char>(1u << index) : 0;
}

} // namespace channels

#endif // CHANNELS_H
