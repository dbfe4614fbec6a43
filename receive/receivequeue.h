#ifndef RECEIVEQUEUE_H
#define RECEIVEQUEUE_H

#include "ircodec.h"
#include "irlimits.h"
#include "korvex.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

// One received frame as the GUI reads it: the adapter's record, copied field
// by field (the copied raw_data pointer is never followed), with raw_count
// set to the number of values in raw_values.
struct IRResultsEntry : IRResults
{
    // The first values of the frame, at most irlimits::kMaxRecordRawValues of them.
    std::vector<int32_t> raw_values;
    // How many values the queue keeps for the frame (ReceiveQueue::rawValues)
    // and how many the adapter reported; they differ only for a frame cut at
    // irlimits::kMaxKeptRawValues.
    int32_t keptCount = 0;
    int32_t reportedCount = 0;

    bool truncated() const
    {
        return keptCount < reportedCount;
    }
};

// The decoded result a record reports: type, address, value and bits.
ircodec::Report reportOf(const IRResults &results);

// The raw values kept of a record: none without an array or with a count of
// 0 or less, else its count up to irlimits::kMaxKeptRawValues.
int32_t keptRawCount(const IRResults &results);

// The entry the queue makes of a record.
IRResultsEntry makeEntry(const IRResults &results);

// The process-wide log of received frames since the last clearing, in
// arrival order. The adapter's threads append to it; the GUI thread reads it
// by position and clears it. Every access holds one mutex, and an entry is
// visible only once it is complete. A frame takes its record and the raw
// values it has, nothing more.
class ReceiveQueue
{
public:
    // Copies the record and its raw values (keptRawCount of them) to the
    // end; answers the new entry's position.
    int append(const IRResults &results);
    int size() const;
    // Copies the entry at position into entry; false when there is none.
    bool entryAt(int position, IRResultsEntry &entry) const;
    // Copies every raw value kept for the entry at position (the whole frame
    // unless it is marked as cut) into values; false when there is none.
    bool rawValues(int position, std::vector<int32_t> &values) const;
    // Empties the log and hands the memory it took back to the system.
    void clear();

private:
    struct Stored
    {
        IRResults results;
        // Where its kept raw values start: a block of values, and the
        // position in that block.
        uint32_t block;
        uint32_t offset;
        int32_t kept;
        int32_t reported;
    };
    const int32_t *rawData(const Stored &stored) const;

    mutable std::mutex mutex;
    std::deque<Stored> log;
    // The raw values of every frame in arrival order, in blocks of at least
    // BlockValues; a frame's values never straddle two blocks. Large blocks
    // keep the allocations few, so clearing a million frames is quick.
    std::vector<std::vector<int32_t>> blocks;
};

// The receive queue. It is created on first use and never destroyed, so that
// a callback still running on an adapter's thread while the process exits
// always finds it.
ReceiveQueue &receiveQueue();

// Handed to IR_ReceiveStart: traces the frame, copies it into the receive
// queue and returns 0. It touches no widget and never waits on the GUI thread.
int KORVEX_CALL receiveCallback(int DeviceIndex, int ChannelIndex, IRResults *pIRResults);

#endif // RECEIVEQUEUE_H
