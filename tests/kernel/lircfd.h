// A LIRC device opened directly, beside the back end: the kernel's scancode
// modes, carrier reports and answers the back end does not show.
#ifndef TESTS_KERNEL_LIRCFD_H
#define TESTS_KERNEL_LIRCFD_H

#include <cstddef>
#include <cstdint>
#include <linux/lirc.h>
#include <optional>
#include <string>
#include <vector>

class LircFd
{
public:
    explicit LircFd(const std::string &path);
    ~LircFd();
    LircFd(const LircFd &) = delete;
    LircFd &operator=(const LircFd &) = delete;

    bool isOpen() const
    {
        return fd_ >= 0;
    }
    // ioctl with a 32-bit value: its answer, or -errno.
    int set(unsigned long request, uint32_t value);
    int get(unsigned long request, uint32_t &value);
    // write(): the bytes written, or -errno.
    long write(const void *data, size_t size);
    // Mode2 samples until none came for `quietMs`.
    std::vector<uint32_t> readSamples(int quietMs);
    // The next decoded scancode within `timeoutMs`.
    std::optional<lirc_scancode> readScancode(int timeoutMs);
    // Reads and drops whatever is waiting.
    void drain();

private:
    bool readable(int timeoutMs);

    int fd_ = -1;
};

// Enables one protocol decoder of rc0 (and the lirc pass-through); true
// when the kernel took it.
bool enableDecoder(const std::string &name);

#endif // TESTS_KERNEL_LIRCFD_H
