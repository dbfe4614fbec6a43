#include "receivequeue.h"

#include <QDebug>

#include <algorithm>
#include <system_error>
#include <thread>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {
// Raw values per block of the queue's store: 64 KiB, served from the heap
// (below glibc's threshold for mapping allocations of their own).
constexpr size_t kBlockValues = 16384;

// Asks the C library to give freed pages back to the system; glibc keeps
// them for later allocations otherwise.
void releaseFreedMemory()
{
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

int32_t shownCount(int32_t kept)
{
    return std::min(kept, irlimits::kMaxRecordRawValues);
}

int32_t reportedCount(const IRResults &results)
{
    return results.raw_data ? std::max(results.raw_count, 0) : 0;
}

// The entry of a record of which kept raw values, starting at first, are
// kept out of the reported ones.
IRResultsEntry entryOf(
    const IRResults &results, int32_t kept, int32_t reported, const int32_t *first)
{
    IRResultsEntry entry;
    static_cast<IRResults &>(entry) = results;
    entry.keptCount = kept;
    entry.reportedCount = reported;
    entry.raw_count = shownCount(kept);
    entry.raw_values.assign(first, first + entry.raw_count);
    return entry;
}
} // namespace

ircodec::Report reportOf(const IRResults &results)
{
    ircodec::Report report;
    report.decodeType = results.decode_type;
    report.address = results.address;
    report.value = results.value;
    report.bits = results.bits;
    return report;
}

int32_t keptRawCount(const IRResults &results)
{
    return results.raw_data ? std::clamp<int32_t>(results.raw_count, 0, irlimits::kMaxKeptRawValues)
                            : 0;
}

IRResultsEntry makeEntry(const IRResults &results)
{
    return entryOf(results, keptRawCount(results), reportedCount(results), results.raw_data);
}

int ReceiveQueue::append(const IRResults &results)
{
    const int32_t kept = keptRawCount(results);
    Stored stored{results, 0, 0, kept, reportedCount(results)};
    stored.results.raw_count = shownCount(kept);
    const auto count = static_cast<size_t>(kept);
    std::lock_guard<std::mutex> lock(mutex);
    if (count > 0) {
        if (blocks.empty() || blocks.back().capacity() - blocks.back().size() < count) {
            blocks.emplace_back();
            blocks.back().reserve(std::max(kBlockValues, count));
        }
        std::vector<int32_t> &block = blocks.back();
        stored.block = static_cast<uint32_t>(blocks.size() - 1);
        stored.offset = static_cast<uint32_t>(block.size());
        block.insert(block.end(), results.raw_data, results.raw_data + count);
    }
    log.push_back(stored);
    return static_cast<int>(log.size() - 1);
}

const int32_t *ReceiveQueue::rawData(const Stored &stored) const
{
    return stored.kept > 0 ? blocks[stored.block].data() + stored.offset : nullptr;
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
    const Stored &stored = log[static_cast<size_t>(position)];
    entry = entryOf(stored.results, stored.kept, stored.reported, rawData(stored));
    return true;
}

bool ReceiveQueue::rawValues(int position, std::vector<int32_t> &out) const
{
    std::lock_guard<std::mutex> lock(mutex);
    if (position < 0 || static_cast<size_t>(position) >= log.size())
        return false;
    const Stored &stored = log[static_cast<size_t>(position)];
    const int32_t *first = rawData(stored);
    out.assign(first, first + stored.kept);
    return true;
}

void ReceiveQueue::clear()
{
    // Swapped out under the lock, so the adapter's thread never waits for
    // the release of a long log.
    std::deque<Stored> oldLog;
    std::vector<std::vector<int32_t>> oldBlocks;
    {
        std::lock_guard<std::mutex> lock(mutex);
        oldLog.swap(log);
        oldBlocks.swap(blocks);
    }
    if (oldLog.empty())
        return;
    // Freed and handed back to the system on a thread of its own: for a
    // million frames that takes longer than the window may stop answering.
    auto release = [log = std::move(oldLog), blocks = std::move(oldBlocks)]() mutable {
        std::deque<Stored>().swap(log);
        std::vector<std::vector<int32_t>>().swap(blocks);
        releaseFreedMemory();
    };
    try {
        std::thread(std::move(release)).detach();
    } catch (const std::system_error &) {
        release(); // no thread to be had: here, then
    }
}

ReceiveQueue &receiveQueue()
{
    // Never destroyed: an adapter library whose stop does not wait for a
    // callback already running may call it after main has returned.
    static ReceiveQueue *const queue = new ReceiveQueue;
    return *queue;
}

int KORVEX_CALL receiveCallback(int DeviceIndex, int ChannelIndex, IRResults *pIRResults)
{
    qDebug() << "DeviceIndex = " << DeviceIndex;
    qDebug() << "ChannelIndex = " << ChannelIndex;
    if (!pIRResults)
        return 0;
    qDebug() << "pIRResults->decode_type = " << pIRResults->decode_type;
    receiveQueue().append(*pIRResults);
    return 0;
}
