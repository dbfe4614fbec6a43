// The virtual adapter in real time: how closely the air follows the planned
// timings, how long after a frame ends its callback comes, and what idle
// reception costs.
#include "virtual_adapter.h"

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;
using korvex_virtual::adapter;

constexpr int kDevice = 0;
constexpr int kChannelMask = 1;
constexpr int kFrames = 30;
constexpr auto kIdle = 10s;

std::mutex m;
std::vector<int64_t> playedAt;  // per edge: when it was played
std::vector<int64_t> plannedAt; // per edge: when it was due
std::vector<int64_t> callbackAt;

int KORVEX_CALL onFrame(int, int, IRResults *)
{
    const int64_t now = adapter().now();
    std::lock_guard<std::mutex> lock(m);
    callbackAt.push_back(now);
    return 0;
}

double percentile(std::vector<int64_t> v, double p)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, static_cast<size_t>(p * (v.size() - 1) + 0.5))];
}

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec
        + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

} // namespace

int main()
{
    Device_Open(kDevice);
    adapter().setAirObserver([](int64_t planned, int64_t played, bool) {
        plannedAt.push_back(planned); // called with the adapter's lock held
        playedAt.push_back(played);
    });
    IR_ReceiveStart(kDevice, kChannelMask, onFrame);
    std::vector<int64_t> frameEnds;
    for (int i = 0; i < kFrames; ++i) {
        IR_NEC_Send(kDevice, kChannelMask, static_cast<unsigned char>(i), 0x10, 1);
        std::this_thread::sleep_for(120ms); // one frame at a time: no queueing delay
        std::lock_guard<std::mutex> lock(m);
        frameEnds.push_back(plannedAt.back()); // the last edge: end of the stop mark
    }
    std::this_thread::sleep_for(100ms);
    adapter().setAirObserver(nullptr);

    std::vector<int64_t> lateness, durationError, latency;
    {
        std::lock_guard<std::mutex> lock(m);
        for (size_t i = 0; i < playedAt.size(); ++i) {
            lateness.push_back(playedAt[i] - plannedAt[i]);
            if (i > 0 && plannedAt[i] - plannedAt[i - 1] < 20000)
                durationError.push_back(
                    std::abs((playedAt[i] - playedAt[i - 1]) - (plannedAt[i] - plannedAt[i - 1])));
        }
        for (size_t i = 0; i < std::min(frameEnds.size(), callbackAt.size()); ++i)
            latency.push_back(callbackAt[i] - frameEnds[i]);
    }
    std::printf("NEC frames sent: %d, callbacks: %zu, edges played: %zu\n", kFrames,
        callbackAt.size(), playedAt.size());
    std::printf("air edge lateness (us): median %.0f, p99 %.0f, max %.0f\n",
        percentile(lateness, 0.5), percentile(lateness, 0.99), percentile(lateness, 1));
    std::printf("played duration error (us): median %.0f, p99 %.0f, max %.0f\n",
        percentile(durationError, 0.5), percentile(durationError, 0.99),
        percentile(durationError, 1));
    std::printf("send-to-callback latency from end of frame (us): median %.0f, p99 %.0f "
                "(includes the %d us end-of-frame silence)\n",
        percentile(latency, 0.5), percentile(latency, 0.99), ircodec::kFrameSilenceUs);

    const double before = cpuSeconds();
    std::this_thread::sleep_for(kIdle);
    const double used = cpuSeconds() - before;
    std::printf("CPU over %lld s of idle reception: %.4f s (%.3f %%)\n",
        static_cast<long long>(kIdle.count()), used, 100.0 * used / kIdle.count());
    IR_ReceiveStop(kDevice);
    return 0;
}
