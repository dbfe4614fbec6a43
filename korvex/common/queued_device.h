// What the LIRC and virtual devices share: frames queued for a transmitter
// thread of the device's own, the rule that refuses a send once too much
// waits, and receptions on threads of their own (ReceptionControl).
#ifndef KORVEX_QUEUED_DEVICE_H
#define KORVEX_QUEUED_DEVICE_H

#include "operations.h"
#include "reception_control.h"

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

namespace korvex {

// A send fails when frames of more than this many microseconds already
// wait, or when the frame alone is longer.
constexpr int64_t kMaxBacklogUs = 1000000;

class QueuedDevice : public Device
{
public:
    bool startReceiving(int deviceIndex, int channel, IRReceiveCallback callback) override;
    void stopReceiving() override;

protected:
    QueuedDevice();
    // The destructor of a derived device calls stopThreads() first, while
    // its own members still exist.
    ~QueuedDevice() override;
    QueuedDevice(const QueuedDevice &) = delete;
    QueuedDevice &operator=(const QueuedDevice &) = delete;

    // Whether a frame of `lengthUs` may join a queue that holds `waitingUs`.
    static bool backlogAccepts(int64_t waitingUs, int64_t lengthUs);

    // With the state mutex held: starts the transmitter thread unless it runs.
    void startTransmitter();
    // Ends reception (unless called from inside the callback), stops the
    // transmitter and joins every thread. Once is enough; later calls do
    // nothing.
    void stopThreads();

    // The transmitter thread: takes the state mutex and plays queued frames,
    // sleeping on transmitWake_, until shutdown_.
    virtual void transmitLoop() = 0;
    // With the state mutex held: the next reception, or null when the device
    // cannot receive now.
    virtual std::shared_ptr<Reception> makeReception() = 0;

    mutable std::mutex m_; // the device's state
    std::condition_variable transmitWake_;
    bool shutdown_ = false; // guarded by m_
    ReceptionControl receiving_{m_};

private:
    std::thread transmitter_;
};

} // namespace korvex

#endif // KORVEX_QUEUED_DEVICE_H
