// Received frames as a test's receive callback copies them, and an inbox to
// wait for them in: shared by the adapter tests and the checks that run
// against the real kernel. No Qt.
#ifndef CALLBACKINBOX_H
#define CALLBACKINBOX_H

#include "korvex.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

// One frame as the callback got it, copied before it returned.
struct GotFrame
{
    int device = -1;
    int channel = -1;
    int32_t type = 0;
    uint32_t address = 0;
    uint32_t value = 0;
    int32_t bits = 0;
    std::vector<int> raw;
    std::chrono::steady_clock::time_point at;
    std::thread::id thread;
};

inline GotFrame gotFrame(int device, int channel, const IRResults *r)
{
    GotFrame got;
    got.device = device;
    got.channel = channel;
    got.type = r->decode_type;
    got.address = r->address;
    got.value = r->value;
    got.bits = r->bits;
    if (r->raw_data && r->raw_count > 0)
        got.raw.assign(r->raw_data, r->raw_data + r->raw_count);
    got.at = std::chrono::steady_clock::now();
    got.thread = std::this_thread::get_id();
    return got;
}

// The frames callbacks put in, from any thread.
class Inbox
{
public:
    void add(GotFrame frame)
    {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            frames_.push_back(std::move(frame));
        }
        wake_.notify_all();
    }
    // Waits until `count` frames are in, or the timeout; answers them all.
    std::vector<GotFrame> waitFor(size_t count, std::chrono::milliseconds timeout)
    {
        std::unique_lock<std::mutex> lock(mutex_);
        wake_.wait_for(lock, timeout, [&] { return frames_.size() >= count; });
        return frames_;
    }
    // The frames so far, leaving the inbox empty.
    std::vector<GotFrame> take()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        std::vector<GotFrame> out;
        out.swap(frames_);
        return out;
    }

private:
    std::mutex mutex_;
    std::condition_variable wake_;
    std::vector<GotFrame> frames_;
};

#endif // CALLBACKINBOX_H
