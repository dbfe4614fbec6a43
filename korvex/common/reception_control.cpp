#include "reception_control.h"

namespace korvex_ops {

namespace {

// The receptions a thread runs for: it must never wait for itself.
thread_local const ReceptionControl *tlsReceiverOf = nullptr;

} // namespace

ReceptionControl::ReceptionControl(std::mutex &state) : state_(state) { }

bool ReceptionControl::onReceiver() const
{
    return tlsReceiverOf == this;
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

void ReceptionControl::begin(std::shared_ptr<Reception> reception, std::function<void()> loop)
{
    reception->thread = std::thread([this, loop = std::move(loop)] {
        tlsReceiverOf = this;
        loop();
    });
    current_ = std::move(reception);
}

std::thread ReceptionControl::take()
{
    std::thread thread;
    if (current_) {
        current_->stopped = true;
        current_->wake();
        thread = std::move(current_->thread);
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
