// The receive callback of the checks: keeps every frame it is given.
#ifndef TESTS_KERNEL_COLLECTOR_H
#define TESTS_KERNEL_COLLECTOR_H

#include "korvex.h"

#include <chrono>
#include <vector>

namespace collector {

struct Got
{
    int device = -1;
    int channel = -1;
    int32_t type = 0;
    uint32_t address = 0;
    uint32_t value = 0;
    int32_t bits = 0;
    std::vector<int> raw;
    std::chrono::steady_clock::time_point at;
};

int KORVEX_CALL callback(int device, int channel, IRResults *results);
// The same, and it stops reception of its device from inside.
int KORVEX_CALL stopInside(int device, int channel, IRResults *results);

// Waits until `count` frames came (or `timeout` passed); all frames so far.
std::vector<Got> waitFor(size_t count, std::chrono::milliseconds timeout);
void clear();

} // namespace collector

#endif // TESTS_KERNEL_COLLECTOR_H
