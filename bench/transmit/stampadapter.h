#ifndef STAMPADAPTER_H
#define STAMPADAPTER_H

#include <chrono>
#include <string>
#include <vector>

// An adapter that opens, succeeds at everything and notes when each send
// operation was called. GUI thread only.
namespace stamp {

using Clock = std::chrono::steady_clock;

struct Call
{
    std::string op;
    int address = 0; // NRC17 address: 254 marks the start/stop frame
    Clock::time_point time;
};

std::vector<Call> &calls();

} // namespace stamp

#endif // STAMPADAPTER_H
