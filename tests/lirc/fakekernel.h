// A LIRC device without the kernel: ioctls answered from settings, writes
// recorded, reads served from a socketpair whose other end the test writes
// mode2 samples into, as the kernel would.
#ifndef TESTS_LIRC_FAKEKERNEL_H
#define TESTS_LIRC_FAKEKERNEL_H

#include "lirc_device.h"
#include "lirc_io.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace fake {

struct Ioctl
{
    unsigned long request;
    uint32_t value;
};

// What the device was asked, shared by the test and the fake.
class Record
{
public:
    void ioctl(unsigned long request, uint32_t value);
    void write(std::vector<uint32_t> values);
    std::vector<Ioctl> ioctls();
    // The value of the last set of `request`; empty when there was none.
    std::vector<uint32_t> setsOf(unsigned long request);
    // Waits (at most `timeout`) until `count` writes happened; returns them.
    std::vector<std::vector<uint32_t>> waitWrites(size_t count, std::chrono::milliseconds timeout);

    // Holds writes until open() (a write that blocks for the frame's length).
    void closeGate();
    void openGate();
    bool waitWriteEntered(std::chrono::milliseconds timeout);
    // Reads fail with `error` from now on (0: they succeed).
    void failReads(int error);
    int readError();

private:
    std::mutex m_;
    std::condition_variable cv_;
    std::vector<Ioctl> ioctls_;
    std::vector<std::vector<uint32_t>> writes_;
    bool gateClosed_ = false;
    int entered_ = 0;
    int readError_ = 0;
};

struct Settings
{
    uint32_t features = 0;
    // LIRC_SET_TRANSMITTER_MASK's answer for a mask (-1 sets errno EINVAL).
    std::function<int(uint32_t)> maskAnswer;
    // At most this many bytes per read (0: as many as asked).
    size_t readChunk = 0;
};

// Emitters 0..count-1: other masks are answered with the count; mask 0 is
// taken, as rc-loopback takes it.
std::function<int(uint32_t)> emitters(int count);

// The kernel's limits on a LIRC_MODE_PULSE write: whole values, an odd
// count of at most this many, none 0, at most this long in total. Others
// fail with EINVAL.
constexpr size_t kWriteMaxValues = 1023;
constexpr uint64_t kWriteMaxUs = 500000;
bool writeAccepted(const uint32_t *values, size_t bytes);

// Frames as the kernel reports them in mode2 samples, each burst's gap
// after it: no space before the first pulse after the module was loaded;
// a silence of at least the device's timeout becomes a timeout report of
// `timeoutUs` once the device is idle and, with the next pulse, a space of
// the rest. rc-loopback, which plays a whole write at once, reports the
// silence whole in the timeout report (`whole`) and a space of about 0.
std::vector<uint32_t> kernelSamples(
    const std::vector<std::pair<std::vector<int32_t>, int32_t>> &frames, uint32_t timeoutUs,
    bool whole = false);

class Kernel : public korvex_lirc::Io
{
public:
    Kernel(int fd, Settings settings, std::shared_ptr<Record> record);

    int get(unsigned long request, uint32_t &value) override;
    int set(unsigned long request, uint32_t value) override;
    ssize_t read(void *buffer, size_t size) override;
    ssize_t write(const void *data, size_t size) override;

private:
    Settings settings_;
    std::shared_ptr<Record> record_;
};

// A fake device and the test's end of it.
struct Device
{
    std::unique_ptr<Kernel> kernel; // handed to the adapter by the opener
    std::shared_ptr<Record> record;
    int peer = -1; // write samples here; close it for end of file
};
Device makeDevice(Settings settings);

// A fake device of `settings` behind a LircDevice, opened.
struct Opened
{
    explicit Opened(Settings settings);
    ~Opened(); // closes the peer, unless the test did (peer -1)
    Opened(const Opened &) = delete;
    Opened &operator=(const Opened &) = delete;

    Device fake;
    std::shared_ptr<Record> record;
    korvex_lirc::LircDevice device;
    bool opened = false;
};

// Writes mode2 samples (or any bytes) to the peer end.
void feed(int peer, const std::vector<uint32_t> &samples);
void feedBytes(int peer, const void *bytes, size_t size);

// An opener that hands out `device.kernel` for `path` once, and fails with
// `error` for every other path.
korvex_lirc::Opener openerFor(std::string path, std::unique_ptr<Kernel> &kernel, int error);

// An opener that opens every path, each time as a new fake device of
// `settings`, which it adds to `made` (the test closes their peers).
korvex_lirc::Opener anyPathOpens(Settings settings, std::vector<Device> &made);

} // namespace fake

#endif // TESTS_LIRC_FAKEKERNEL_H
