// The virtual adapter as a device of the twelve operations.
#include "virtual_adapter.h"

namespace korvex_virtual {

namespace {

class VirtualDevice : public korvex_ops::Device
{
public:
    bool open() override
    {
        return adapter().open(0);
    }
    bool isOpen() const override
    {
        return adapter().isOpen(0);
    }
    // Channels and carrier play no part on the virtual air.
    bool transmit(const korvex_ops::Transmission &transmission) override
    {
        return adapter().transmit(transmission.bursts);
    }
    bool startReceiving(int deviceIndex, int channel, IRReceiveCallback callback) override
    {
        return adapter().startReceiving(channel, callback, deviceIndex);
    }
    void stopReceiving() override
    {
        adapter().stopReceiving();
    }
};

} // namespace

std::shared_ptr<korvex_ops::Device> device()
{
    static const auto instance = std::make_shared<VirtualDevice>();
    return instance;
}

} // namespace korvex_virtual
