#include "lircfd.h"

#include <cerrno>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

constexpr const char *kProtocols = "/sys/class/rc/rc0/protocols";
constexpr size_t kReadSamples = 512;

} // namespace

LircFd::LircFd(const std::string &path) : fd_(::open(path.c_str(), O_RDWR | O_CLOEXEC)) { }

LircFd::~LircFd()
{
    if (fd_ >= 0)
        ::close(fd_);
}

int LircFd::set(unsigned long request, uint32_t value)
{
    const int answer = ::ioctl(fd_, request, &value);
    return answer < 0 ? -errno : answer;
}

int LircFd::get(unsigned long request, uint32_t &value)
{
    const int answer = ::ioctl(fd_, request, &value);
    return answer < 0 ? -errno : answer;
}

long LircFd::write(const void *data, size_t size)
{
    const ssize_t written = ::write(fd_, data, size);
    return written < 0 ? -errno : static_cast<long>(written);
}

bool LircFd::readable(int timeoutMs)
{
    pollfd p{fd_, POLLIN, 0};
    return ::poll(&p, 1, timeoutMs) > 0 && (p.revents & POLLIN);
}

std::vector<uint32_t> LircFd::readSamples(int quietMs)
{
    std::vector<uint32_t> samples;
    uint32_t buffer[kReadSamples];
    while (readable(quietMs)) {
        const ssize_t got = ::read(fd_, buffer, sizeof buffer);
        if (got <= 0)
            break;
        samples.insert(samples.end(), buffer, buffer + got / sizeof(uint32_t));
    }
    return samples;
}

std::optional<lirc_scancode> LircFd::readScancode(int timeoutMs)
{
    lirc_scancode code{};
    if (!readable(timeoutMs) || ::read(fd_, &code, sizeof code) != sizeof code)
        return std::nullopt;
    return code;
}

void LircFd::drain()
{
    char buffer[4096];
    while (readable(0) && ::read(fd_, buffer, sizeof buffer) > 0) { }
}

bool enableDecoder(const std::string &name)
{
    std::ofstream out(kProtocols);
    out << name << std::flush;
    return static_cast<bool>(out);
}
