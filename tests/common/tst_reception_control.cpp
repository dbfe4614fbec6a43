// Reception start and stop when a callback and another thread call them at
// the same moment: whatever the interleaving, a start leaves one reception
// running, the last one asked for, and once a stop returns no reception runs
// and no callback comes.
#include "reception_control.h"

#include <QtTest>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

constexpr auto kWait = 5000ms;
// Long enough for a callback that should not come to have come.
constexpr auto kQuietWait = 200ms;
constexpr int kDevice = 0;
constexpr int kFirstChannel = 1;
constexpr int kInsideChannel = 2;
constexpr int kOutsideChannel = 3;

const ircodec::Capture kFrame{0, {500}, false};

// A reception that reports one frame each time the test hands it one.
class Loop : public korvex::Reception
{
public:
    explicit Loop(int channel) : channel(channel) { }

    void run() override
    {
        std::unique_lock<std::mutex> lock(m_);
        while (!stopped()) {
            if (pending_ == 0) {
                cv_.wait(lock);
                continue;
            }
            --pending_;
            lock.unlock();
            report(kFrame);
            lock.lock();
        }
    }
    void wake() override
    {
        {
            std::lock_guard<std::mutex> lock(m_);
            woken_ = true;
        }
        cv_.notify_all();
    }

    void deliver()
    {
        {
            std::lock_guard<std::mutex> lock(m_);
            ++pending_;
        }
        cv_.notify_all();
    }
    // Waits until the reception was told to stop.
    bool waitWoken()
    {
        std::unique_lock<std::mutex> lock(m_);
        return cv_.wait_for(lock, kWait, [this] { return woken_; });
    }

    const int channel;

private:
    std::mutex m_;
    std::condition_variable cv_;
    int pending_ = 0;
    bool woken_ = false;
};

// One device's receptions, and every reception it ever made.
std::mutex state;
korvex::ReceptionControl control(state);
std::mutex loopsLock;
std::vector<std::shared_ptr<Loop>> loops;

korvex::ReceptionControl::Maker maker(int channel)
{
    return [channel] {
        auto loop = std::make_shared<Loop>(channel);
        std::lock_guard<std::mutex> lock(loopsLock);
        loops.push_back(loop);
        return loop;
    };
}

std::vector<std::shared_ptr<Loop>> madeLoops()
{
    std::lock_guard<std::mutex> lock(loopsLock);
    return loops;
}

// The channels of the callbacks that came.
std::mutex callsLock;
std::condition_variable callsWake;
std::vector<int> calls;

int KORVEX_CALL collect(int, int channel, IRResults *)
{
    {
        std::lock_guard<std::mutex> lock(callsLock);
        calls.push_back(channel);
    }
    callsWake.notify_all();
    return 0;
}

std::vector<int> waitCalls(size_t count, std::chrono::milliseconds timeout)
{
    std::unique_lock<std::mutex> lock(callsLock);
    callsWake.wait_for(lock, timeout, [count] { return calls.size() >= count; });
    return calls;
}

// The first reception's callback: once another thread has begun to end that
// reception, it starts a new one on the inside channel.
int KORVEX_CALL restartOnceEnding(int device, int channel, IRResults *results)
{
    collect(device, channel, results);
    madeLoops().front()->waitWoken();
    control.start(kDevice, kInsideChannel, collect, maker(kInsideChannel));
    return 0;
}

// Starts the first reception and has its callback running
// restartOnceEnding(); then `outside` runs on another thread.
template <class Outside> bool raceWithCallback(Outside outside)
{
    if (!control.start(kDevice, kFirstChannel, restartOnceEnding, maker(kFirstChannel)))
        return false;
    madeLoops().front()->deliver();
    if (waitCalls(1, kWait).size() != 1)
        return false;
    std::thread other(outside);
    other.join();
    return true;
}

// Channels as text, for messages that say what came.
QString text(const std::vector<int> &channels)
{
    QStringList parts;
    for (int channel : channels)
        parts << QString::number(channel);
    return parts.join(',');
}

// The channels of the receptions not stopped.
QString runningChannels()
{
    std::vector<int> channels;
    for (const auto &loop : madeLoops())
        if (!loop->stopped())
            channels.push_back(loop->channel);
    return text(channels);
}

// Hands every reception ever made a frame; answers the channels of the
// callbacks that came.
QString deliverToAll()
{
    size_t before;
    {
        std::lock_guard<std::mutex> lock(callsLock);
        before = calls.size();
    }
    for (const auto &loop : madeLoops())
        loop->deliver();
    const std::vector<int> all = waitCalls(before + 1, kQuietWait);
    return text(std::vector<int>(all.begin() + static_cast<std::ptrdiff_t>(before), all.end()));
}

} // namespace

class ReceptionRace : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void stopWhileTheCallbackRestarts();
    void startWhileTheCallbackRestarts();
};

void ReceptionRace::cleanup()
{
    control.stop();
    std::lock_guard<std::mutex> lock(callsLock);
    calls.clear();
    std::lock_guard<std::mutex> loopsGuard(loopsLock);
    loops.clear();
}

void ReceptionRace::stopWhileTheCallbackRestarts()
{
    QVERIFY(raceWithCallback([] { control.stop(); }));
    QCOMPARE(runningChannels(), QString());
    QCOMPARE(deliverToAll(), QString());
}

void ReceptionRace::startWhileTheCallbackRestarts()
{
    QVERIFY(raceWithCallback(
        [] { control.start(kDevice, kOutsideChannel, collect, maker(kOutsideChannel)); }));
    // The outside start came last: its reception alone runs.
    QCOMPARE(runningChannels(), QString::number(kOutsideChannel));
    QCOMPARE(deliverToAll(), QString::number(kOutsideChannel));
}

QTEST_APPLESS_MAIN(ReceptionRace)
#include "tst_reception_control.moc"
