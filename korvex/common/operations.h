// The twelve Korvex operations over a list of devices.
//
// The operations check their arguments, build each frame with ircodec and
// hand it to a Device. Which devices exist is up to the library that links
// this file: it defines deviceCount() and device(). The virtual adapter's
// library offers the virtual adapter alone; the Linux library offers the
// kernel's LIRC devices and the virtual adapter, each keeping its index for
// the life of the process (korvex/lirc/registry.h); the none library offers
// nothing.
//
// Rules common to every device:
// - Send operations fail (nonzero) for an index with no device, an unopened
//   device, a channel mask with no bit or a bit above 15, a carrier outside
//   irlimits::kMinCarrierKHz..kMaxCarrierKHz (IR_SendProtocol, IR_SendRaw)
//   and a frame the protocol or the device cannot carry.
// - IR_SendRaw: microseconds, mark first, 1 to irlimits::kMaxSendValues
//   values, none 0 or less; an even count ends in a space that becomes the
//   silence after the frame, so the marks and spaces sent stay within that
//   count. The marks and spaces before that silence last at most
//   irlimits::kMaxSendDurationUs. These are the kernel's limits on one LIRC
//   write, kept by every device of ours alike.
// - IR_ReceiveStart needs an opened device, exactly one of bits 0..7 and a
//   callback; IR_ReceiveStop fails only for an index with no device.
#ifndef KORVEX_COMMON_OPERATIONS_H
#define KORVEX_COMMON_OPERATIONS_H

#include "channels.h"
#include "ircodec.h"
#include "irlimits.h"
#include "korvex.h"

#include <memory>

namespace korvex {

constexpr int kHzPerKHz = 1000;
// Silence after a raw frame at least.
constexpr int32_t kRawLeadOutUs = 20000;

// What a send asks of a device.
struct Transmission
{
    unsigned channelMask = 0; // bits 0..15, at least one
    int carrierHz = 0;        // 0: unmodulated (ITT), leave the device's carrier
    ircodec::Bursts bursts;
};

// One adapter as the operations see it.
class Device
{
public:
    virtual ~Device() = default;

    virtual bool open() = 0;
    virtual bool isOpen() const = 0;
    // Queues the transmission; false when it is refused.
    virtual bool transmit(const Transmission &transmission) = 0;
    // Starts (or restarts) reception on one input channel; the callback gets
    // `deviceIndex` as its first argument.
    virtual bool startReceiving(int deviceIndex, int channel, IRReceiveCallback callback) = 0;
    // Returns once no callback runs or will run (from inside the callback:
    // at once, the running callback being the last).
    virtual void stopReceiving() = 0;
};

// Defined by the library that links the operations.
// Looks for devices afresh and answers how many there are.
int deviceCount();
// The device at an index below the last count; null outside. An index keeps
// naming the same device from one count to the next.
std::shared_ptr<Device> device(int index);

} // namespace korvex

#endif // KORVEX_COMMON_OPERATIONS_H
