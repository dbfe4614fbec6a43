#include "queued_device.h"

namespace korvex {

QueuedDevice::QueuedDevice() = default;

QueuedDevice::~QueuedDevice()
{
    stopThreads();
}

bool QueuedDevice::startReceiving(int deviceIndex, int channel, IRReceiveCallback callback)
{
    return receiving_.start(deviceIndex, channel, callback, [this] { return makeReception(); });
}

void QueuedDevice::stopReceiving()
{
    receiving_.stop();
}

bool QueuedDevice::backlogAccepts(int64_t waitingUs, int64_t lengthUs)
{
    return waitingUs <= kMaxBacklogUs && lengthUs <= kMaxBacklogUs;
}

void QueuedDevice::startTransmitter()
{
    if (!transmitter_.joinable() && !shutdown_)
        transmitter_ = std::thread([this] { transmitLoop(); });
}

void QueuedDevice::stopThreads()
{
    if (!receiving_.onReceiver())
        receiving_.stop();
    std::thread transmitter;
    {
        std::lock_guard<std::mutex> lock(m_);
        shutdown_ = true;
        transmitter = std::move(transmitter_);
    }
    transmitWake_.notify_all();
    if (transmitter.joinable())
        transmitter.join();
    receiving_.joinRetired();
}

} // namespace korvex
