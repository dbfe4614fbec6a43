// The receive callback of the checks: keeps every frame it is given.
#ifndef TESTS_KERNEL_COLLECTOR_H
#define TESTS_KERNEL_COLLECTOR_H

#include "callbackinbox.h"

#include <chrono>
#include <vector>

namespace collector {

using Got = GotFrame;

int KORVEX_CALL callback(int device, int channel, IRResults *results);
// The same, and it stops reception of its device from inside.
int KORVEX_CALL stopInside(int device, int channel, IRResults *results);

// Waits until `count` frames came (or `timeout` passed); all frames so far.
std::vector<Got> waitFor(size_t count, std::chrono::milliseconds timeout);
void clear();

} // namespace collector

#endif // TESTS_KERNEL_COLLECTOR_H
