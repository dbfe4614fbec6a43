#include "receivequeue.h"

#include <QDebug>

#include <algorithm>

IRResultsEntry makeEntry(const IRResults &results)
{
    IRResultsEntry entry;
    static_cast<IRResults &>(entry) = results;
    const int kept = results.raw_data ? std::clamp<int32_t>(results.raw_count, 0, MaxRawValues) : 0;
    if (kept > 0)
        std::copy_n(results.raw_data, kept, entry.raw_values);
    std::fill(entry.raw_values + kept, entry.raw_values + MaxRawValues, 0);
    entry.raw_count = kept;
    return entry;
}

void ReceiveQueue::append(const IRResultsEntry &entry)
{
    std::lock_guard<std::mutex> lock(mutex);
    log.push_back(entry);
}

int ReceiveQueue::size() const
{
    std::lock_guard<std::mutex> lock(mutex);
    return static_cast<int>(log.size());
}

bool ReceiveQueue::entryAt(int position, IRResultsEntry &entry) const
{
    std::lock_guard<std::mutex> lock(mutex);
    if (position < 0 || static_cast<size_t>(position) >= log.size())
        return false;
    entry = log[static_cast<size_t>(position)];
    return true;
}

std::vector<IRResultsEntry> ReceiveQueue::entries(int first, int count) const
{
    std::lock_guard<std::mutex> lock(mutex);
    const size_t begin = static_cast<size_t>(std::max(first, 0));
    if (count <= 0 || begin >= log.size())
        return {};
    const size_t end = std::min(log.size(), begin + static_cast<size_t>(count));
    return std::vector<IRResultsEntry>(log.begin() + static_cast<std::ptrdiff_t>(begin),
        log.begin() + static_cast<std::ptrdiff_t>(end));
}

void ReceiveQueue::clear()
{
    // Swapped out under the lock and freed after it, so the adapter's thread
    // never waits for the release of a long log.
    std::deque<IRResultsEntry> old;
    {
        std::lock_guard<std::mutex> lock(mutex);
        old.swap(log);
    }
}

namespace {
// Constructed before main and destroyed after it; reception is stopped before
// the window goes, so no callback reaches it once it is gone.
ReceiveQueue queue;
} // namespace

ReceiveQueue &receiveQueue()
{
    return queue;
}

int KORVEX_CALL receiveCallback(int DeviceIndex, int ChannelIndex, IRResults *pIRResults)
{
    qDebug() << "DeviceIndex = " << DeviceIndex;
    qDebug() << "ChannelIndex = " << ChannelIndex;
    if (!pIRResults)
        return 0;
    qDebug() << "pIRResults->decode_type = " << pIRResults->decode_type;
    receiveQueue().append(makeEntry(*pIRResults));
    return 0;
}
