#include "virtual_adapter.h"

#include <algorithm>

namespace korvex_virtual {

namespace {

using Clock = std::chrono::steady_clock;

} // namespace

class Adapter::Reception : public korvex::Reception
{
public:
    Reception(Adapter &adapter, int64_t since, bool busy)
        : adapter(adapter), since(since), busy(busy)
    {
    }

    void run() override
    {
        adapter.receiveLoop(*this);
    }
    // The receiver sleeps on the adapter's condition variable.
    void wake() override
    {
        adapter.receiveWake_.notify_all();
    }

    Adapter &adapter;
    const int64_t since;    // air time reception began
    const bool busy;        // a frame was under way when reception began
    std::deque<Edge> inbox; // played edges not yet taken by the receiver
};

Adapter &adapter()
{
    static Adapter instance;
    return instance;
}

std::shared_ptr<korvex::Device> device()
{
    // The adapter lives as long as the process: the pointer owns nothing.
    return std::shared_ptr<korvex::Device>(std::shared_ptr<korvex::Device>(), &adapter());
}

Adapter::Adapter() : epoch_(Clock::now()), lastAirEdge_(-ircodec::kFrameSilenceUs)
{
    std::lock_guard<std::mutex> lock(m_);
    startTransmitter();
}

Adapter::~Adapter()
{
    stopThreads();
}

int64_t Adapter::now() const
{
    return std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - epoch_).count();
}

Clock::time_point Adapter::timeOf(int64_t airUs) const
{
    return epoch_ + std::chrono::microseconds(airUs);
}

bool Adapter::open()
{
    std::lock_guard<std::mutex> lock(m_);
    opened_ = true;
    return true;
}

bool Adapter::isOpen() const
{
    std::lock_guard<std::mutex> lock(m_);
    return opened_;
}

void Adapter::setAirObserver(AirObserver observer)
{
    std::lock_guard<std::mutex> lock(m_);
    observer_ = std::move(observer);
}

// ---------------------------------------------------------------------------
// Transmitter

bool Adapter::transmit(const korvex::Transmission &transmission)
{
    const ircodec::Bursts &bursts = transmission.bursts;
    int64_t length = 0;
    for (const ircodec::Burst &burst : bursts) {
        for (int32_t d : burst.durations)
            length += d;
        length += burst.gap;
    }
    std::lock_guard<std::mutex> lock(m_);
    const int64_t now = this->now();
    const int64_t start = std::max(now, queueEnd_);
    if (!backlogAccepts(start - now, length))
        return false;
    const bool wasIdle = schedule_.empty();
    int64_t at = start;
    for (const ircodec::Burst &burst : bursts) {
        for (size_t i = 0; i < burst.durations.size(); ++i) {
            schedule_.push_back({at, i % 2 == 0});
            at += burst.durations[i];
        }
        schedule_.push_back({at, false});
        at += burst.gap;
    }
    queueEnd_ = at;
    if (wasIdle)
        transmitWake_.notify_one();
    return true;
}

void Adapter::transmitLoop()
{
    std::unique_lock<std::mutex> lock(m_);
    while (!shutdown_) {
        if (schedule_.empty()) {
            transmitWake_.wait(lock);
            continue;
        }
        if (now() < schedule_.front().at) {
            transmitWake_.wait_until(lock, timeOf(schedule_.front().at));
            continue;
        }
        const int64_t played = now();
        while (!schedule_.empty() && schedule_.front().at <= played) {
            const Edge edge = schedule_.front();
            schedule_.pop_front();
            airMark_ = edge.mark;
            lastAirEdge_ = edge.at;
            Reception *reception = receiving_.current<Reception>();
            if (reception && !reception->stopped() && edge.at >= reception->since)
                reception->inbox.push_back(edge);
            if (observer_)
                observer_(edge.at, played, edge.mark);
        }
        receiveWake_.notify_all();
    }
}

// ---------------------------------------------------------------------------
// Receiver

std::shared_ptr<korvex::Reception> Adapter::makeReception()
{
    const int64_t since = now();
    // The air's level when reception begins, counting edges that are due but
    // not yet played: reception waits for a silence if a frame is under way.
    bool mark = airMark_;
    int64_t lastEdge = lastAirEdge_;
    for (const Edge &edge : schedule_) {
        if (edge.at >= since)
            break;
        mark = edge.mark;
        lastEdge = edge.at;
    }
    const bool busy = mark || since - lastEdge < ircodec::kFrameSilenceUs;
    return std::make_shared<Reception>(*this, since, busy);
}

void Adapter::receiveLoop(Reception &reception)
{
    ircodec::Segmenter segmenter;
    // While `skipping`, a frame was under way when reception began: wait for
    // the silence after it.
    bool skipping = reception.busy;
    bool mark = false;
    int64_t lastEdge = reception.since;
    std::vector<ircodec::Capture> ready;

    std::unique_lock<std::mutex> lock(m_);
    while (!reception.stopped()) {
        if (!reception.inbox.empty()) {
            std::deque<Edge> edges;
            edges.swap(reception.inbox);
            lock.unlock();
            for (const Edge &edge : edges) {
                const int64_t length = edge.at - lastEdge;
                if (skipping) {
                    skipping = !(edge.mark && length >= ircodec::kFrameSilenceUs);
                    if (!skipping)
                        segmenter.space(length);
                } else if (auto done
                    = edge.mark ? segmenter.space(length) : segmenter.mark(length)) {
                    ready.push_back(std::move(*done));
                }
                lastEdge = edge.at;
                mark = edge.mark;
            }
            lock.lock();
        } else if (!mark && (segmenter.inFrame() || skipping)) {
            // The frame ends once the air has been silent long enough and no
            // edge within that silence is still waiting to be played.
            const int64_t end = lastEdge + ircodec::kFrameSilenceUs;
            const bool edgeDue = !schedule_.empty() && schedule_.front().at < end;
            if (now() < end) {
                receiveWake_.wait_until(lock, timeOf(end));
            } else if (edgeDue) {
                receiveWake_.wait(lock);
            } else {
                skipping = false;
                if (auto done = segmenter.idle(end - lastEdge))
                    ready.push_back(std::move(*done));
            }
        } else {
            receiveWake_.wait(lock);
        }
        if (!ready.empty()) {
            lock.unlock();
            for (const ircodec::Capture &capture : ready)
                reception.report(capture);
            ready.clear();
            lock.lock();
        }
    }
}

} // namespace korvex_virtual
