// Encode and decode throughput per protocol, single thread, in frames per
// second. Decoding goes through decode(), which tries the protocols in turn.
#include "ircodec.h"

#include <chrono>
#include <cstdio>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr double kSecondsPerRun = 0.2;

// Runs `work` repeatedly for about kSecondsPerRun; returns calls per second.
template <typename Work> double rate(Work work)
{
    long calls = 0;
    const auto start = Clock::now();
    double elapsed = 0;
    do {
        for (int i = 0; i < 100; ++i)
            work();
        calls += 100;
        elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    } while (elapsed < kSecondsPerRun);
    return calls / elapsed;
}

volatile uint32_t sink;

} // namespace

int main()
{
    using ircodec::makeFrame;
    using P = ircodec::Protocol;
    const std::vector<ircodec::Frame> frames = {
        makeFrame(P::Rc5, 0x175, 12),
        makeFrame(P::Rc6, 0x0040C, 20),
        ircodec::necFrame(4, 8, true),
        makeFrame(P::Sony, 0xA90, 12),
        makeFrame(P::Panasonic, 0x0100BCBD, 48, 0x4004),
        ircodec::jvcFrame(0x59, 0x35, true),
        makeFrame(P::Samsung, 0xE0E040BF, 32),
        makeFrame(P::Whynter, 0x87654321, 32),
        makeFrame(P::AiwaRcT501, 0x21, 42),
        makeFrame(P::Lg, 0xF17776B, 28),
        makeFrame(P::Sanyo, 0xABCDE, 20),
        makeFrame(P::Mitsubishi, 0x1234, 16),
        makeFrame(P::Dish, 0x4321, 16),
        makeFrame(P::Sharp, 0x11, 15, 3),
        makeFrame(P::Denon, 0x1233, 14),
        makeFrame(P::LegoPf, 0x011F, 16),
        *ircodec::ittFrame(5, 0x2A),
        *ircodec::nrc17Frame(0x5C, 6, 1),
        *ircodec::rcaFrame(0xA, 0x68),
    };
    std::printf("%-14s %14s %14s\n", "protocol", "encode/s", "decode/s");
    for (const ircodec::Frame &frame : frames) {
        const double encodes = rate([&] { sink = ircodec::encode(frame)->size(); });
        const ircodec::Durations d = (*ircodec::encode(frame))[0].durations;
        const double decodes = rate([&] { sink = ircodec::decode(d)->value; });
        std::printf("%-14s %14.0f %14.0f\n", ircodec::name(frame.protocol), encodes, decodes);
    }
    return 0;
}
