// Receptions, each on a thread of its own that calls the receive callback,
// and their start and stop.
//
// Stopping from any thread but the reception's own waits for its thread, and
// for any reception that a callback started meanwhile; from inside the
// callback the reception ends at once and its thread is joined by a later
// start or stop, or by the device's destructor. A start ends whatever runs
// in the same way before it begins its reception, under the state mutex, so
// one reception runs afterwards: the last one asked for. Start and stop from
// outside the callback are ordered by a control mutex, always taken before
// the device's state mutex.
#ifndef KORVEX_RECEPTION_CONTROL_H
#define KORVEX_RECEPTION_CONTROL_H

#include "korvex.h"
#include "results.h"

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace korvex {

// One reception. A device derives its own, with the loop that cuts frames
// out of what its receiver hears.
class Reception
{
public:
    virtual ~Reception() = default;

    // The reception's thread: hands each frame to report() until stopped().
    virtual void run() = 0;
    // With the state mutex held, once the reception is stopped: makes run()
    // see it.
    virtual void wake() = 0;

    bool stopped() const
    {
        return stopped_;
    }
    // On the reception's thread: reports one frame through the callback
    // unless the reception has stopped. `broken`: the receiver lost samples
    // of it.
    void report(const ircodec::Capture &capture, bool broken = false);

private:
    friend class ReceptionControl;

    int deviceIndex_ = 0;
    int channel_ = 0;
    IRReceiveCallback callback_ = nullptr;
    Reporter reporter_;
    std::atomic<bool> stopped_{false}; // set with the state mutex held
    std::thread thread_;
};

class ReceptionControl
{
public:
    // With the state mutex held: the next reception, or null when the device
    // cannot receive now.
    using Maker = std::function<std::shared_ptr<Reception>()>;

    // `state` is the device's mutex guarding its receptions.
    explicit ReceptionControl(std::mutex &state);
    ReceptionControl(const ReceptionControl &) = delete;
    ReceptionControl &operator=(const ReceptionControl &) = delete;

    // True on a thread of this device's receptions, that is inside its callback.
    bool onReceiver() const;

    // Ends the running reception, then begins the one `make` builds on one
    // input channel; the callback gets `deviceIndex` and `channel`. False for
    // no callback, a channel outside 0..7 or no reception made (the running
    // one has ended all the same).
    bool start(int deviceIndex, int channel, IRReceiveCallback callback, const Maker &make);
    // Ends the running reception. From outside the callback: returns once no
    // callback runs or will run. From inside: at once, the running callback
    // being the last.
    void stop();

    // With the state mutex held: the running reception, of the type its
    // Maker made, or null.
    template <class S> S *current() const
    {
        return static_cast<S *>(current_.get());
    }

    // Joins the threads of receptions that ended from inside the callback,
    // except the calling thread's own.
    void joinRetired();

private:
    // Ends the running reception; returns holding the state mutex. From
    // outside the callback: once no reception runs and every thread of
    // theirs has ended (receptions that callbacks start meanwhile included),
    // with `control` holding the control mutex. From inside: at once, the
    // reception's thread left to be joined later.
    std::unique_lock<std::mutex> end(std::unique_lock<std::mutex> &control);
    // With the state mutex held: the running reception ends; its thread is
    // handed back.
    std::thread take();

    std::mutex control_;
    std::mutex &state_;
    std::shared_ptr<Reception> current_;
    std::vector<std::thread> retired_;
};

} // namespace korvex

#endif // KORVEX_RECEPTION_CONTROL_H
