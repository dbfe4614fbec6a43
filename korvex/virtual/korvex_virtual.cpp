// The twelve Korvex operations on the virtual adapter.
#include "virtual_adapter.h"

namespace {

using korvex_virtual::adapter;

constexpr int kOk = 0;
constexpr int kFailed = 1;
constexpr int kOutputMask = (1 << korvex_virtual::kOutputChannels) - 1;

int status(bool ok)
{
    return ok ? kOk : kFailed;
}

// An opened adapter and a channel mask with at least one of bits 0..15 set
// and none above.
bool sendTarget(int device, int mask)
{
    return adapter().isOpen(device) && (mask & kOutputMask) != 0 && (mask & ~kOutputMask) == 0;
}

bool carrierOk(int kHz)
{
    return kHz >= korvex_virtual::kMinCarrierKHz && kHz <= korvex_virtual::kMaxCarrierKHz;
}

int send(int device, int mask, const std::optional<ircodec::Frame> &frame)
{
    if (!sendTarget(device, mask) || !frame)
        return kFailed;
    const auto bursts = ircodec::encode(*frame);
    return status(bursts && adapter().transmit(*bursts));
}

} // namespace

extern "C" {

int KORVEX_CALL Device_Scan(int Reserved)
{
    (void)Reserved;
    return korvex_virtual::kAdapterCount;
}

unsigned char KORVEX_CALL Device_Open(int DeviceIndex)
{
    return adapter().open(DeviceIndex) ? 1 : 0;
}

int KORVEX_CALL IR_NEC_Send(int DeviceIndex, int ChannelMask, unsigned char Address,
    unsigned char Command, unsigned char HaveNot)
{
    return send(DeviceIndex, ChannelMask, ircodec::necFrame(Address, Command, HaveNot != 0));
}

int KORVEX_CALL IR_NEC_SendRepeat(int DeviceIndex, int ChannelMask)
{
    return send(DeviceIndex, ChannelMask, ircodec::necRepeatFrame());
}

int KORVEX_CALL IR_ITT_Send(
    int DeviceIndex, int ChannelMask, unsigned char Address, unsigned char Command)
{
    return send(DeviceIndex, ChannelMask, ircodec::ittFrame(Address, Command));
}

int KORVEX_CALL IR_JVC_Send(
    int DeviceIndex, int ChannelMask, int FirstFrame, unsigned char Address, unsigned char Command)
{
    return send(DeviceIndex, ChannelMask, ircodec::jvcFrame(Address, Command, FirstFrame != 0));
}

int KORVEX_CALL IR_NRC17_Send(int DeviceIndex, int ChannelMask, unsigned char Address,
    unsigned char Command, unsigned char SubCode)
{
    return send(DeviceIndex, ChannelMask, ircodec::nrc17Frame(Address, Command, SubCode));
}

int KORVEX_CALL IR_RCA_Send(
    int DeviceIndex, int ChannelMask, unsigned char Address, unsigned char Command)
{
    return send(DeviceIndex, ChannelMask, ircodec::rcaFrame(Address, Command));
}

int KORVEX_CALL IR_SendProtocol(int DeviceIndex, int ChannelMask, int FreqKHz, IRSendData Data)
{
    if (!carrierOk(FreqKHz))
        return kFailed;
    return send(DeviceIndex, ChannelMask,
        ircodec::fromSendRecord(
            Data.protocol, Data.value, Data.address, Data.bits, Data.repeat != 0));
}

int KORVEX_CALL IR_SendRaw(int DeviceIndex, int ChannelMask, int FreqKHz, int *Timings, int Count)
{
    if (!sendTarget(DeviceIndex, ChannelMask) || !carrierOk(FreqKHz) || !Timings || Count < 1
        || Count > korvex_virtual::kMaxRawCount)
        return kFailed;
    for (int i = 0; i < Count; ++i)
        if (Timings[i] <= 0)
            return kFailed;
    // Mark first; an even count ends in a space, the silence after the frame.
    const int marksEnd = Count % 2 == 1 ? Count : Count - 1;
    ircodec::Bursts bursts(1);
    bursts[0].durations.assign(Timings, Timings + marksEnd);
    bursts[0].gap = korvex_virtual::kRawLeadOutUs;
    if (marksEnd < Count && Timings[Count - 1] > bursts[0].gap)
        bursts[0].gap = Timings[Count - 1];
    return status(adapter().transmit(bursts));
}

int KORVEX_CALL IR_ReceiveStart(
    int DeviceIndex, unsigned char ChannelMask, IRReceiveCallback Callback)
{
    // Exactly one input channel.
    const unsigned mask = ChannelMask;
    if (!adapter().isOpen(DeviceIndex) || mask == 0 || (mask & (mask - 1)) != 0 || !Callback)
        return kFailed;
    int channel = 0;
    while (!(mask & (1u << channel)))
        ++channel;
    return status(adapter().startReceiving(channel, Callback));
}

int KORVEX_CALL IR_ReceiveStop(int DeviceIndex)
{
    if (DeviceIndex < 0 || DeviceIndex >= korvex_virtual::kAdapterCount)
        return kFailed;
    adapter().stopReceiving();
    return kOk;
}

} // extern "C"
