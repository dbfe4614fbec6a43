// The one place that makes system calls on a LIRC device: open, ioctl on a
// 32-bit value, read, write, poll and close. Everything else reaches the
// device through this class, so tests put a fake kernel behind it (for
// example a socketpair, with the ioctls answered by a subclass).
#ifndef KORVEX_LIRC_IO_H
#define KORVEX_LIRC_IO_H

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <sys/types.h>

namespace korvex_lirc {

// What wait() saw.
enum class Wait {
    Readable, // the device has data (or end of file)
    Woken,    // wake() was called
    TimedOut,
    Failed, // the device reports an error or hang-up: it is gone
};

class Io
{
public:
    // Takes ownership of `fd`.
    explicit Io(int fd);
    virtual ~Io();
    Io(const Io &) = delete;
    Io &operator=(const Io &) = delete;

    // Opens a device for reading and writing; null with `error` set to errno.
    static std::unique_ptr<Io> open(const std::string &path, int &error);

    // ioctl with a 32-bit value read back (LIRC_GET_*): its answer, -1 with
    // errno on failure.
    virtual int get(unsigned long request, uint32_t &value);
    // ioctl with a 32-bit value handed in (LIRC_SET_*): its answer, which
    // some requests make positive, or -1 with errno.
    virtual int set(unsigned long request, uint32_t value);
    virtual ssize_t read(void *buffer, size_t size);
    virtual ssize_t write(const void *data, size_t size);
    // Waits until the device is readable, wake() was called, or `timeoutMs`
    // passed (negative: no limit).
    virtual Wait wait(int timeoutMs);
    // Ends a wait() on another thread; the next wait() returns at once.
    void wake();

protected:
    int fd() const
    {
        return fd_;
    }

private:
    int fd_;
    int wakeRead_ = -1;
    int wakeWrite_ = -1;
};

// Opens a device path; the system's Io::open, or a fake in tests.
using Opener = std::function<std::unique_ptr<Io>(const std::string &path, int &error)>;

} // namespace korvex_lirc

#endif // KORVEX_LIRC_IO_H
