#include "lirc_io.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace korvex_lirc {

namespace {

constexpr short kFailureEvents = POLLERR | POLLHUP | POLLNVAL;

} // namespace

Io::Io(int fd) : fd_(fd)
{
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) == 0) {
        wakeRead_ = ends[0];
        wakeWrite_ = ends[1];
    }
}

Io::~Io()
{
    for (int fd : {fd_, wakeRead_, wakeWrite_})
        if (fd >= 0)
            ::close(fd);
}

std::unique_ptr<Io> Io::open(const std::string &path, int &error)
{
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        error = errno;
        return nullptr;
    }
    error = 0;
    return std::make_unique<Io>(fd);
}

int Io::get(unsigned long request, uint32_t &value)
{
    return ::ioctl(fd_, request, &value);
}

int Io::set(unsigned long request, uint32_t value)
{
    return ::ioctl(fd_, request, &value);
}

ssize_t Io::read(void *buffer, size_t size)
{
    return ::read(fd_, buffer, size);
}

ssize_t Io::write(const void *data, size_t size)
{
    return ::write(fd_, data, size);
}

Wait Io::wait(int timeoutMs)
{
    pollfd fds[2] = {{fd_, POLLIN, 0}, {wakeRead_, POLLIN, 0}};
    int ready;
    do {
        ready = ::poll(fds, 2, timeoutMs < 0 ? -1 : timeoutMs);
    } while (ready < 0 && errno == EINTR);
    if (ready < 0)
        return Wait::Failed;
    if (fds[1].revents & POLLIN) {
        char drain[64];
        while (::read(wakeRead_, drain, sizeof drain) > 0) { }
        return Wait::Woken;
    }
    if (ready == 0)
        return Wait::TimedOut;
    // Data first: a device that hangs up after its last samples still hands
    // them over; the read that follows then meets the end.
    if (fds[0].revents & POLLIN)
        return Wait::Readable;
    return (fds[0].revents & kFailureEvents) ? Wait::Failed : Wait::TimedOut;
}

void Io::wake()
{
    const char byte = 1;
    if (wakeWrite_ >= 0)
        (void)!::write(wakeWrite_, &byte, 1);
}

} // namespace korvex_lirc
