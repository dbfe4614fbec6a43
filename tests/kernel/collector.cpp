#include "collector.h"

#include <condition_variable>
#include <mutex>

namespace collector {

namespace {

std::mutex m;
std::condition_variable wake;
std::vector<Got> frames;

} // namespace

int KORVEX_CALL callback(int device, int channel, IRResults *r)
{
    Got got{device, channel, r->decode_type, r->address, r->value, r->bits,
        std::vector<int>(r->raw_data, r->raw_data + (r->raw_count > 0 ? r->raw_count : 0)),
        std::chrono::steady_clock::now()};
    std::lock_guard<std::mutex> lock(m);
    frames.push_back(std::move(got));
    wake.notify_all();
    return 0;
}

int KORVEX_CALL stopInside(int device, int channel, IRResults *r)
{
    IR_ReceiveStop(device);
    return callback(device, channel, r);
}

std::vector<Got> waitFor(size_t count, std::chrono::milliseconds timeout)
{
    std::unique_lock<std::mutex> lock(m);
    wake.wait_for(lock, timeout, [&] { return frames.size() >= count; });
    return frames;
}

void clear()
{
    std::lock_guard<std::mutex> lock(m);
    frames.clear();
}

} // namespace collector
