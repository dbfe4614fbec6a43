#include "lirc_device.h"

#include "mode2.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <linux/lirc.h>

namespace korvex_lirc {

namespace {

using Clock = std::chrono::steady_clock;

// Probing the emitter count: a mask naming every emitter there could be is
// refused with the device's count.
constexpr uint32_t kAllEmitters = 0xFFFFFFFFu;
constexpr int kMaxEmitters = 32;
constexpr int kSampleBytes = sizeof(uint32_t);
constexpr size_t kReadSamples = 512;
constexpr int kUsPerMs = 1000;
// How long the reader waits for a sample before it ends a frame.
constexpr int kFrameSilenceMs = (ircodec::kFrameSilenceUs + kUsPerMs - 1) / kUsPerMs;

void debugLine(const std::string &path, const char *what, int error)
{
    std::fprintf(stderr, "korvex: %s: %s: %s\n", path.c_str(), what, std::strerror(error));
}

bool has(uint32_t features, uint32_t feature)
{
    return (features & feature) == feature;
}

// The emitter count the device reports, 0 when it does not tell.
uint32_t emitterCount(Io &io, uint32_t features)
{
    if (!has(features, LIRC_CAN_SET_TRANSMITTER_MASK))
        return 0;
    const int answer = io.set(LIRC_SET_TRANSMITTER_MASK, kAllEmitters);
    return answer > 0 && answer <= kMaxEmitters ? static_cast<uint32_t>(answer) : 0;
}

// Whole samples out of reads that may end inside one.
class SampleReader
{
public:
    // Reads once and hands each whole sample to `take`; false at the end of
    // the device or on an error.
    bool read(Io &io, const std::string &path, const std::function<void(uint32_t)> &take)
    {
        char *bytes = reinterpret_cast<char *>(samples_);
        const ssize_t got = io.read(bytes + have_, sizeof samples_ - have_);
        if (got < 0 && (errno == EINTR || errno == EAGAIN))
            return true;
        if (got <= 0) {
            if (got < 0)
                debugLine(path, "read failed", errno);
            return false;
        }
        have_ += static_cast<size_t>(got);
        const size_t whole = have_ / kSampleBytes;
        for (size_t i = 0; i < whole; ++i)
            take(samples_[i]);
        const size_t rest = have_ % kSampleBytes;
        std::memmove(bytes, bytes + whole * kSampleBytes, rest);
        have_ = rest;
        return true;
    }

private:
    uint32_t samples_[kReadSamples];
    size_t have_ = 0; // bytes read, an incomplete sample at the end
};

} // namespace

class LircDevice::Reception : public korvex::Reception
{
public:
    Reception(LircDevice &device, std::shared_ptr<Io> io) : device(device), io(std::move(io)) { }

    void run() override
    {
        device.receiveLoop(*this);
    }
    // The reader sleeps in poll(): the io's wake pipe rouses it.
    void wake() override
    {
        io->wake();
    }

    // The device keeps what it received while nobody was receiving (before
    // the start, after a stop): those samples are read now and only set the
    // silence before the first frame of this reception.
    void skipWaiting(const std::string &path)
    {
        for (Wait wait = io->wait(0); wait == Wait::Readable || wait == Wait::Woken;
             wait = io->wait(0)) {
            if (wait == Wait::Readable
                && !reader.read(*io, path, [this](uint32_t sample) { splitter.stale(sample); }))
                return;
        }
    }

    LircDevice &device;
    const std::shared_ptr<Io> io;
    Mode2Splitter splitter;
    SampleReader reader;
    Clock::time_point started;
};

LircDevice::LircDevice(std::string path, Opener opener)
    : path_(std::move(path)), opener_(std::move(opener))
{
}

LircDevice::~LircDevice()
{
    stopThreads();
}

bool LircDevice::open()
{
    std::lock_guard<std::mutex> lock(m_);
    if (!listed_) {
        std::fprintf(stderr, "korvex: %s: not present\n", path_.c_str());
        return false;
    }
    if (io_ && !gone_)
        return true;
    int error = 0;
    std::shared_ptr<Io> io = opener_(path_, error);
    if (!io) {
        debugLine(path_, "cannot open", error);
        return false;
    }
    uint32_t features = 0;
    if (io->get(LIRC_GET_FEATURES, features) != 0) {
        debugLine(path_, "not a LIRC device", errno);
        return false;
    }
    if (has(features, LIRC_CAN_SEND_PULSE))
        io->set(LIRC_SET_SEND_MODE, LIRC_MODE_PULSE);
    emitters_ = emitterCount(*io, features);
    features_ = features;
    io_ = std::move(io);
    gone_ = false;
    startTransmitter();
    return true;
}

bool LircDevice::isOpen() const
{
    std::lock_guard<std::mutex> lock(m_);
    return io_ != nullptr;
}

uint32_t LircDevice::features() const
{
    std::lock_guard<std::mutex> lock(m_);
    return features_;
}

void LircDevice::setGone()
{
    std::lock_guard<std::mutex> lock(m_);
    if (!gone_)
        std::fprintf(stderr, "korvex: %s: device gone\n", path_.c_str());
    gone_ = true;
    queue_.clear();
    queuedUs_ = 0;
}

void LircDevice::setListed(bool listed)
{
    {
        std::lock_guard<std::mutex> lock(m_);
        if (listed_ == listed)
            return;
        listed_ = listed;
    }
    if (!listed) {
        setGone();
        stopReceiving();
    }
}

// ---------------------------------------------------------------------------
// Transmitter

bool LircDevice::transmit(const korvex::Transmission &transmission)
{
    auto frame = toPulseFrame(transmission.bursts);
    if (!frame)
        return false;
    std::lock_guard<std::mutex> lock(m_);
    if (!io_ || gone_ || !has(features_, LIRC_CAN_SEND_PULSE))
        return false;
    if (emitters_ > 0 && emitters_ < kMaxEmitters && (transmission.channelMask >> emitters_) != 0)
        return false;
    const int64_t length = frame->durationUs + frame->gapAfterUs;
    if (!backlogAccepts(queuedUs_, length))
        return false;
    queue_.push_back({std::move(*frame), transmission.channelMask, transmission.carrierHz});
    queuedUs_ += length;
    transmitWake_.notify_one();
    return true;
}

void LircDevice::transmitLoop()
{
    std::unique_lock<std::mutex> lock(m_);
    while (!shutdown_) {
        if (queue_.empty() || !io_) {
            transmitWake_.wait(lock);
            continue;
        }
        Job job = std::move(queue_.front());
        queue_.pop_front();
        queuedUs_ -= job.frame.durationUs + job.frame.gapAfterUs;
        const std::shared_ptr<Io> io = io_;
        lock.unlock();
        const bool present = play(*io, job);
        if (!present)
            setGone();
        lock.lock();
        // The frame's lead-out silence before the next one.
        const auto quietUntil = Clock::now() + std::chrono::microseconds(job.frame.gapAfterUs);
        transmitWake_.wait_until(lock, quietUntil, [&] { return shutdown_; });
    }
}

bool LircDevice::play(Io &io, const Job &job)
{
    const uint32_t features = this->features();
    if (has(features, LIRC_CAN_SET_TRANSMITTER_MASK)) {
        // A positive answer is the emitter count: the mask was refused.
        const int answer = io.set(LIRC_SET_TRANSMITTER_MASK, job.mask);
        const int error = answer > 0 ? EINVAL : errno;
        if (answer != 0) {
            debugLine(path_, "transmitter mask refused", error);
            return error != ENODEV;
        }
    }
    if (job.carrierHz > 0 && has(features, LIRC_CAN_SET_SEND_CARRIER)
        && io.set(LIRC_SET_SEND_CARRIER, static_cast<uint32_t>(job.carrierHz)) != 0) {
        const int error = errno;
        debugLine(path_, "carrier refused", error);
        return error != ENODEV;
    }
    const size_t bytes = job.frame.values.size() * sizeof(uint32_t);
    ssize_t written;
    do {
        written = io.write(job.frame.values.data(), bytes);
    } while (written < 0 && errno == EINTR);
    if (written < 0) {
        const int error = errno;
        debugLine(path_, "write failed", error);
        return error != ENODEV;
    }
    return true;
}

// ---------------------------------------------------------------------------
// Receiver

std::shared_ptr<korvex::Reception> LircDevice::makeReception()
{
    if (!io_ || gone_ || !has(features_, LIRC_CAN_REC_MODE2))
        return nullptr;
    if (io_->set(LIRC_SET_REC_MODE, LIRC_MODE_MODE2) != 0) {
        debugLine(path_, "cannot receive in mode2", errno);
        return nullptr;
    }
    if (has(features_, LIRC_CAN_SET_REC_TIMEOUT)
        && io_->set(LIRC_SET_REC_TIMEOUT, ircodec::kFrameSilenceUs) != 0)
        debugLine(path_, "receive timeout refused", errno);
    auto reception = std::make_shared<Reception>(*this, io_);
    reception->skipWaiting(path_);
    reception->started = Clock::now();
    return reception;
}

void LircDevice::receiveLoop(Reception &reception)
{
    Io &io = *reception.io;
    Mode2Splitter &splitter = reception.splitter;
    SampleReader &reader = reception.reader;
    bool ended = false;

    auto deliver = [&](std::optional<Cut> cut) {
        if (cut)
            reception.report(cut->capture, cut->broken);
    };

    while (!ended && !reception.stopped()) {
        switch (io.wait(splitter.inFrame() ? kFrameSilenceMs : -1)) {
        case Wait::Woken:
            break;
        case Wait::TimedOut:
            deliver(splitter.idle(ircodec::kFrameSilenceUs));
            break;
        case Wait::Failed:
            ended = true;
            break;
        case Wait::Readable: {
            const int64_t sinceStartUs = std::chrono::duration_cast<std::chrono::microseconds>(
                Clock::now() - reception.started)
                                             .count();
            ended = !reader.read(io, path_,
                [&](uint32_t sample) { deliver(splitter.sample(sample, sinceStartUs)); });
            break;
        }
        }
    }
    if (ended)
        setGone();
}

} // namespace korvex_lirc
