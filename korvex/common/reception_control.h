// The start and stop of a device's receptions, each on a thread of its
// own that calls the callback.
//
// Stopping from any thread but the reception's own waits for its thread; from
// inside the callback the reception ends at once and its thread is joined by
// a later start or stop, or by the device's destructor. Start and stop from
// outside the callback are ordered by a control mutex, always taken before
// the device's state mutex.
#ifndef KORVEX_RECEPTION_CONTROL_H
#define KORVEX_RECEPTION_CONTROL_H

#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace korvex_ops {

// One reception. A device derives its own reception from this.
struct Reception
{
    virtual ~Reception() = default;
    // With the state mutex held, once `stopped` is set: makes the reception's
    // thread see it.
    virtual void wake() = 0;

    bool stopped = false; // guarded by the state mutex
    std::thread thread;
};

class ReceptionControl
{
public:
    // `state` is the device's mutex guarding its receptions.
    explicit ReceptionControl(std::mutex &state);
    ReceptionControl(const ReceptionControl &) = delete;
    ReceptionControl &operator=(const ReceptionControl &) = delete;

    // True on a thread of this device's receptions, that is inside its callback.
    bool onReceiver() const;

    // Ends the running reception. From outside the callback: returns once its
    // thread has ended, holding the control lock, which a start keeps while
    // it begins the next reception. From inside: returns no lock.
    std::unique_lock<std::mutex> end();

    // With the state mutex held: `reception` runs `loop` on a new thread.
    void begin(std::shared_ptr<Reception> reception, std::function<void()> loop);

    // With the state mutex held: the running reception, of the type begin()
    // was given, or null.
    template <class S> S *current() const
    {
        return static_cast<S *>(current_.get());
    }

    // Joins the threads of receptions that ended from inside the callback,
    // except the calling thread's own.
    void joinRetired();

private:
    // With the state mutex held: the running reception ends; its thread is
    // handed back.
    std::thread take();

    std::mutex control_;
    std::mutex &state_;
    std::shared_ptr<Reception> current_;
    std::vector<std::thread> retired_;
};

} // namespace korvex_ops

#endif // KORVEX_RECEPTION_CONTROL_H
