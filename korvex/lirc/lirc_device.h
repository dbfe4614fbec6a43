// One kernel LIRC device (/dev/lircN) as a device of the Korvex operations.
//
// Sending: each frame is checked against the kernel's limits when it is
// queued, then written in LIRC_MODE_PULSE on the device's own transmitter
// thread, in order, after LIRC_SET_TRANSMITTER_MASK (output channel bit n =
// emitter n, where the device can choose emitters) and LIRC_SET_SEND_CARRIER
// (where it can set one). The write blocks for the frame's duration; the
// thread then keeps the frame's lead-out silence. A send fails when the
// device cannot send, is gone, the mask names an emitter the device lacks,
// or more than about one second of frames is already waiting.
//
// Receiving: LIRC_MODE_MODE2 on a reader thread that sleeps in poll() until
// samples come, split into frames by Mode2Splitter and reported through the
// callback as the virtual adapter reports them. Samples the device kept
// from before the start give no frame; the first frame's silence is the time
// since the start where the kernel sends none before it. The receive
// timeout is set to the frame silence where the device allows. The channel passed to
// IR_ReceiveStart is the one reported back: the device has one receiver.
// An error or the end of the device ends reception; the device is then gone
// until it is opened again. A device the system no longer lists is gone too,
// and cannot be opened until it is listed again.
#ifndef KORVEX_LIRC_DEVICE_H
#define KORVEX_LIRC_DEVICE_H

#include "lirc_io.h"
#include "pulse_frame.h"
#include "queued_device.h"

#include <deque>
#include <string>

namespace korvex_lirc {

class LircDevice : public korvex::QueuedDevice
{
public:
    LircDevice(std::string path, Opener opener);
    ~LircDevice() override;

    bool open() override;
    bool isOpen() const override;
    bool transmit(const korvex::Transmission &transmission) override;

    const std::string &path() const
    {
        return path_;
    }
    // Whether the system lists the device. An unlisted device ends its
    // reception, fails to open and fails every operation.
    void setListed(bool listed);

private:
    struct Job
    {
        PulseFrame frame;
        uint32_t mask = 0;
        int carrierHz = 0;
    };
    class Reception;

    void transmitLoop() override;
    // Mask, carrier and the write; false when the device is gone.
    bool play(Io &io, const Job &job);
    std::shared_ptr<korvex::Reception> makeReception() override;
    void receiveLoop(Reception &reception);
    void setGone();
    uint32_t features() const;

    const std::string path_;
    const Opener opener_;
    std::shared_ptr<Io> io_;
    uint32_t features_ = 0;
    uint32_t emitters_ = 0; // 0: unknown
    bool gone_ = false;
    bool listed_ = true;
    std::deque<Job> queue_;
    int64_t queuedUs_ = 0;
};

} // namespace korvex_lirc

#endif // KORVEX_LIRC_DEVICE_H
