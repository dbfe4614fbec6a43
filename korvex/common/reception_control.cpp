#include "reception_control.h"

#include "operations.h"

namespace korvex {

namespace {

// The receptions a thread runs for: it must never wait for itself.
thread_local const ReceptionControl *tlsReceiverOf = nullptr;

} // namespace

void Reception::report(const ircodec::Capture &capture, bool broken)
{
    auto received = reporter_.take(capture, broken);
    if (!received || stopped_)
        return;
    IRResults results = received->results();
    callback_(deviceIndex_, channel_, &results);
}

ReceptionControl::ReceptionControl(std::mutex &state) : state_(state) { }

bool ReceptionControl::onReceiver() const
{
    return tlsReceiverOf == this;
}

bool ReceptionControl::start(
    int deviceIndex, int channel, IRReceiveCallback callback, const Maker &make)
{
    if (!callback || channel < 0 || channel >= channels::kInputs)
        return false;
    std::unique_lock<std::mutex> control;
    const std::unique_lock<std::mutex> lock = end(control);
    std::shared_ptr<Reception> reception = make();
    if (!reception)
        return false;
    reception->deviceIndex_ = deviceIndex;
    reception->channel_ = channel;
    reception->callback_ = callback;
    reception->thread_ = std::thread([this, reception] {
        tlsReceiverOf = this;
        reception->run();
    });
    current_ = std::move(reception);
    return true;
}

void ReceptionControl::stop()
{
    std::unique_lock<std::mutex> control;
    end(control);
}

std::unique_lock<std::mutex> ReceptionControl::end(std::unique_lock<std::mutex> &control)
{
    if (onReceiver()) {
        std::unique_lock<std::mutex> lock(state_);
        std::thread thread = take();
        if (thread.joinable())
            retired_.push_back(std::move(thread));
        return lock;
    }
    control = std::unique_lock<std::mutex>(control_);
    std::unique_lock<std::mutex> lock(state_);
    // While this thread waits for a reception's thread, that reception's
    // callback may start another one: end that too, until none runs.
    while (current_ || !retired_.empty()) {
        std::vector<std::thread> threads;
        threads.swap(retired_);
        threads.push_back(take());
        lock.unlock();
        for (std::thread &thread : threads)
            if (thread.joinable())
                thread.join();
        lock.lock();
    }
    return lock;
}

std::thread ReceptionControl::take()
{
    std::thread thread;
    if (current_) {
        current_->stopped_ = true;
        current_->wake();
        thread = std::move(current_->thread_);
        current_.reset();
    }
    return thread;
}

void ReceptionControl::joinRetired()
{
    std::vector<std::thread> threads;
    {
        std::lock_guard<std::mutex> lock(state_);
        const auto self = std::this_thread::get_id();
        for (auto it = retired_.begin(); it != retired_.end();) {
            if (it->get_id() == self) {
                ++it;
                continue;
            }
            threads.push_back(std::move(*it));
            it = retired_.erase(it);
        }
    }
    for (std::thread &thread : threads)
        thread.join();
}

} // namespace korvex
