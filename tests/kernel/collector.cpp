#include "collector.h"

namespace collector {

namespace {

Inbox inbox;

} // namespace

int KORVEX_CALL callback(int device, int channel, IRResults *r)
{
    inbox.add(gotFrame(device, channel, r));
    return 0;
}

int KORVEX_CALL stopInside(int device, int channel, IRResults *r)
{
    IR_ReceiveStop(device);
    return callback(device, channel, r);
}

std::vector<Got> waitFor(size_t count, std::chrono::milliseconds timeout)
{
    return inbox.waitFor(count, timeout);
}

void clear()
{
    inbox.take();
}

} // namespace collector
