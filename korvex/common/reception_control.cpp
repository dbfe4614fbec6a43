#include "reception_control.h"

#include "operations.h"

namespace korvex_ops {

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
    if (!callback || channel < 0 || channel >= kInputChannels)
        return false;
    const std::unique_lock<std::mutex> control = end();
    std::lock_guard<std::mutex> lock(state_);
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
    end();
}

std::unique_lock<std::mutex> ReceptionControl::end()
{
    if (onReceiver()) {
        std::lock_guard<std::mutex> lock(state_);
        std::thread thread = take();
        if (thread.joinable())
            retired_.push_back(std::move(thread));
        return {};
    }
    std::unique_lock<std::mutex> control(control_);
    std::thread thread;
    {
        std::lock_guard<std::mutex> lock(state_);
        thread = take();
    }
    if (thread.joinable())
        thread.join();
    joinRetired();
    return control;
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

} // namespace korvex_ops
