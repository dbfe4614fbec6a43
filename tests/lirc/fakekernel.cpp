#include "fakekernel.h"

#include <algorithm>
#include <cerrno>
#include <linux/lirc.h>
#include <sys/socket.h>
#include <unistd.h>

namespace fake {

namespace {

const std::string kFakePath = "/dev/lirc0";

} // namespace

void Record::ioctl(unsigned long request, uint32_t value)
{
    std::lock_guard<std::mutex> lock(m_);
    ioctls_.push_back({request, value});
}

void Record::write(std::vector<uint32_t> values)
{
    std::unique_lock<std::mutex> lock(m_);
    ++entered_;
    cv_.notify_all();
    cv_.wait(lock, [&] { return !gateClosed_; });
    writes_.push_back(std::move(values));
    cv_.notify_all();
}

std::vector<Ioctl> Record::ioctls()
{
    std::lock_guard<std::mutex> lock(m_);
    return ioctls_;
}

std::vector<uint32_t> Record::setsOf(unsigned long request)
{
    std::lock_guard<std::mutex> lock(m_);
    std::vector<uint32_t> values;
    for (const Ioctl &call : ioctls_)
        if (call.request == request)
            values.push_back(call.value);
    return values;
}

std::vector<std::vector<uint32_t>> Record::waitWrites(
    size_t count, std::chrono::milliseconds timeout)
{
    std::unique_lock<std::mutex> lock(m_);
    cv_.wait_for(lock, timeout, [&] { return writes_.size() >= count; });
    return writes_;
}

void Record::closeGate()
{
    std::lock_guard<std::mutex> lock(m_);
    gateClosed_ = true;
}

void Record::openGate()
{
    {
        std::lock_guard<std::mutex> lock(m_);
        gateClosed_ = false;
    }
    cv_.notify_all();
}

bool Record::waitWriteEntered(std::chrono::milliseconds timeout)
{
    std::unique_lock<std::mutex> lock(m_);
    return cv_.wait_for(lock, timeout, [&] { return entered_ > 0; });
}

void Record::failReads(int error)
{
    std::lock_guard<std::mutex> lock(m_);
    readError_ = error;
}

int Record::readError()
{
    std::lock_guard<std::mutex> lock(m_);
    return readError_;
}

std::function<int(uint32_t)> emitters(int count)
{
    return [count](uint32_t mask) { return (mask >> count) == 0 ? 0 : count; };
}

bool writeAccepted(const uint32_t *values, size_t bytes)
{
    const size_t count = bytes / sizeof(uint32_t);
    if (bytes % sizeof(uint32_t) != 0 || count % 2 == 0 || count > kWriteMaxValues)
        return false;
    uint64_t total = 0;
    for (size_t i = 0; i < count; ++i) {
        if (values[i] == 0)
            return false;
        total += values[i];
    }
    return total <= kWriteMaxUs;
}

std::vector<uint32_t> kernelSamples(
    const std::vector<std::pair<std::vector<int32_t>, int32_t>> &frames, uint32_t timeoutUs,
    bool whole)
{
    std::vector<uint32_t> samples;
    uint32_t rest = 0; // the space the next pulse brings, after a timeout report
    bool idle = false;
    auto silence = [&](uint32_t us) {
        if (us < timeoutUs) {
            samples.push_back(LIRC_SPACE(us));
            return;
        }
        samples.push_back(LIRC_TIMEOUT(whole ? us : timeoutUs));
        rest = whole ? 0 : us - timeoutUs;
        idle = true;
    };
    for (const auto &[durations, gap] : frames) {
        for (size_t i = 0; i < durations.size(); ++i) {
            const auto us = static_cast<uint32_t>(durations[i]);
            if (i % 2 == 1) {
                silence(us);
                continue;
            }
            if (idle)
                samples.push_back(LIRC_SPACE(rest));
            idle = false;
            samples.push_back(LIRC_PULSE(us));
        }
        silence(static_cast<uint32_t>(gap));
    }
    return samples;
}

Kernel::Kernel(int fd, Settings settings, std::shared_ptr<Record> record)
    : Io(fd), settings_(std::move(settings)), record_(std::move(record))
{
}

int Kernel::get(unsigned long request, uint32_t &value)
{
    if (request == LIRC_GET_FEATURES) {
        value = settings_.features;
        return 0;
    }
    errno = ENOTTY;
    return -1;
}

int Kernel::set(unsigned long request, uint32_t value)
{
    record_->ioctl(request, value);
    if (request == LIRC_SET_TRANSMITTER_MASK && settings_.maskAnswer) {
        const int answer = settings_.maskAnswer(value);
        if (answer < 0)
            errno = EINVAL;
        return answer;
    }
    return 0;
}

ssize_t Kernel::read(void *buffer, size_t size)
{
    if (const int error = record_->readError()) {
        errno = error;
        return -1;
    }
    if (settings_.readChunk > 0)
        size = std::min(size, settings_.readChunk);
    return Io::read(buffer, size);
}

ssize_t Kernel::write(const void *data, size_t size)
{
    const auto *values = static_cast<const uint32_t *>(data);
    if (!writeAccepted(values, size)) {
        errno = EINVAL;
        return -1;
    }
    record_->write(std::vector<uint32_t>(values, values + size / sizeof(uint32_t)));
    return static_cast<ssize_t>(size);
}

Device makeDevice(Settings settings)
{
    int ends[2] = {-1, -1};
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0)
        return {};
    Device device;
    device.record = std::make_shared<Record>();
    device.kernel = std::make_unique<Kernel>(ends[0], std::move(settings), device.record);
    device.peer = ends[1];
    return device;
}

Opened::Opened(Settings settings)
    : fake(makeDevice(std::move(settings))),
      record(fake.record),
      device(kFakePath, openerFor(kFakePath, fake.kernel, ENOENT))
{
    opened = device.open();
}

Opened::~Opened()
{
    if (fake.peer >= 0)
        ::close(fake.peer);
}

void feedBytes(int peer, const void *bytes, size_t size)
{
    const char *at = static_cast<const char *>(bytes);
    while (size > 0) {
        const ssize_t n = ::write(peer, at, size);
        if (n <= 0)
            return;
        at += n;
        size -= static_cast<size_t>(n);
    }
}

void feed(int peer, const std::vector<uint32_t> &samples)
{
    feedBytes(peer, samples.data(), samples.size() * sizeof(uint32_t));
}

korvex_lirc::Opener openerFor(std::string path, std::unique_ptr<Kernel> &kernel, int error)
{
    return [path, &kernel, error](
               const std::string &asked, int &errorOut) -> std::unique_ptr<korvex_lirc::Io> {
        if (asked != path || !kernel) {
            errorOut = error;
            return nullptr;
        }
        errorOut = 0;
        return std::move(kernel);
    };
}

korvex_lirc::Opener anyPathOpens(Settings settings, std::vector<Device> &made)
{
    return [settings, &made](const std::string &, int &error) -> std::unique_ptr<korvex_lirc::Io> {
        Device device = makeDevice(settings);
        if (!device.kernel) {
            error = EMFILE;
            return nullptr;
        }
        error = 0;
        std::unique_ptr<korvex_lirc::Io> io = std::move(device.kernel);
        made.push_back(std::move(device));
        return io;
    };
}

} // namespace fake
