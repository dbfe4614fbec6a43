// The twelve Korvex operations: argument checks and frames, then a Device.
#include "operations.h"

#include <utility>

namespace korvex {

namespace {

constexpr int kOk = 0;
constexpr int kFailed = 1;
constexpr int kOutputMask = (1 << channels::kOutputs) - 1;
constexpr int kInputMask = (1 << channels::kInputs) - 1;

int status(bool ok)
{
    return ok ? kOk : kFailed;
}

// The opened device at `index` for a mask with at least one of bits 0..15
// set and none above; null otherwise.
std::shared_ptr<Device> sendTarget(int index, int mask)
{
    if ((mask & kOutputMask) == 0 || (mask & ~kOutputMask) != 0)
        return nullptr;
    auto target = device(index);
    return target && target->isOpen() ? target : nullptr;
}

bool carrierOk(int kHz)
{
    return kHz >= irlimits::kMinCarrierKHz && kHz <= irlimits::kMaxCarrierKHz;
}

int send(int index, int mask, int carrierHz, const std::optional<ircodec::Frame> &frame)
{
    const auto target = sendTarget(index, mask);
    if (!target || !frame)
        return kFailed;
    auto bursts = ircodec::encode(*frame);
    if (!bursts)
        return kFailed;
    Transmission transmission;
    transmission.channelMask = static_cast<unsigned>(mask);
    transmission.carrierHz = carrierHz;
    transmission.bursts = std::move(*bursts);
    return status(target->transmit(transmission));
}

int quickSend(int index, int mask, const std::optional<ircodec::Frame> &frame)
{
    // The quick-send operations take no carrier: each goes on its own.
    const int hz = frame ? ircodec::nominalCarrierHz(frame->protocol) : 0;
    return send(index, mask, hz, frame);
}

} // namespace

} // namespace korvex

using namespace korvex;

extern "C" {

int KORVEX_CALL Device_Scan(int Reserved)
{
    (void)Reserved;
    return deviceCount();
}

unsigned char KORVEX_CALL Device_Open(int DeviceIndex)
{
    const auto target = device(DeviceIndex);
    return target && target->open() ? 1 : 0;
}

int KORVEX_CALL IR_NEC_Send(int DeviceIndex, int ChannelMask, unsigned char Address,
    unsigned char Command, unsigned char HaveNot)
{
    return quickSend(DeviceIndex, ChannelMask, ircodec::necFrame(Address, Command, HaveNot != 0));
}

int KORVEX_CALL IR_NEC_SendRepeat(int DeviceIndex, int ChannelMask)
{
    return quickSend(DeviceIndex, ChannelMask, ircodec::necRepeatFrame());
}

int KORVEX_CALL IR_ITT_Send(
    int DeviceIndex, int ChannelMask, unsigned char Address, unsigned char Command)
{
    return quickSend(DeviceIndex, ChannelMask, ircodec::ittFrame(Address, Command));
}

int KORVEX_CALL IR_JVC_Send(
    int DeviceIndex, int ChannelMask, int FirstFrame, unsigned char Address, unsigned char Command)
{
    return quickSend(
        DeviceIndex, ChannelMask, ircodec::jvcFrame(Address, Command, FirstFrame != 0));
}

int KORVEX_CALL IR_NRC17_Send(int DeviceIndex, int ChannelMask, unsigned char Address,
    unsigned char Command, unsigned char SubCode)
{
    return quickSend(DeviceIndex, ChannelMask, ircodec::nrc17Frame(Address, Command, SubCode));
}

int KORVEX_CALL IR_RCA_Send(
    int DeviceIndex, int ChannelMask, unsigned char Address, unsigned char Command)
{
    return quickSend(DeviceIndex, ChannelMask, ircodec::rcaFrame(Address, Command));
}

int KORVEX_CALL IR_SendProtocol(int DeviceIndex, int ChannelMask, int FreqKHz, IRSendData Data)
{
    if (!carrierOk(FreqKHz))
        return kFailed;
    return send(DeviceIndex, ChannelMask, FreqKHz * kHzPerKHz,
        ircodec::fromSendRecord(
            Data.protocol, Data.value, Data.address, Data.bits, Data.repeat != 0));
}

int KORVEX_CALL IR_SendRaw(int DeviceIndex, int ChannelMask, int FreqKHz, int *Timings, int Count)
{
    if (!carrierOk(FreqKHz) || !Timings || Count < 1 || Count > irlimits::kMaxSendValues)
        return kFailed;
    const auto target = sendTarget(DeviceIndex, ChannelMask);
    if (!target)
        return kFailed;
    for (int i = 0; i < Count; ++i)
        if (Timings[i] <= 0)
            return kFailed;
    // Mark first; an even count ends in a space, the silence after the frame.
    const int marksEnd = Count % 2 == 1 ? Count : Count - 1;
    int64_t durationUs = 0;
    for (int i = 0; i < marksEnd; ++i)
        durationUs += Timings[i];
    if (durationUs > irlimits::kMaxSendDurationUs)
        return kFailed;
    Transmission transmission;
    transmission.channelMask = static_cast<unsigned>(ChannelMask);
    transmission.carrierHz = FreqKHz * kHzPerKHz;
    transmission.bursts.resize(1);
    ircodec::Burst &burst = transmission.bursts[0];
    burst.durations.assign(Timings, Timings + marksEnd);
    burst.gap = kRawLeadOutUs;
    if (marksEnd < Count && Timings[Count - 1] > burst.gap)
        burst.gap = Timings[Count - 1];
    return status(target->transmit(transmission));
}

int KORVEX_CALL IR_ReceiveStart(
    int DeviceIndex, unsigned char ChannelMask, IRReceiveCallback Callback)
{
    // Exactly one input channel.
    const unsigned mask = ChannelMask;
    const auto target = device(DeviceIndex);
    if (!target || !target->isOpen() || mask == 0 || (mask & (mask - 1)) != 0
        || (mask & ~unsigned(kInputMask)) != 0 || !Callback)
        return kFailed;
    int channel = 0;
    while (!(mask & (1u << channel)))
        ++channel;
    return status(target->startReceiving(DeviceIndex, channel, Callback));
}

int KORVEX_CALL IR_ReceiveStop(int DeviceIndex)
{
    const auto target = device(DeviceIndex);
    if (!target)
        return kFailed;
    target->stopReceiving();
    return kOk;
}

} // extern "C"
