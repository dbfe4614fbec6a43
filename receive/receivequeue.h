#ifndef RECEIVEQUEUE_H
#define RECEIVEQUEUE_H

#include "korvex.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

// Raw timing values kept per received frame.
constexpr int MaxRawValues = 256;

// One received frame: the adapter's record, copied field by field, and a copy
// of its raw timing values. raw_count is the number of values actually kept
// (0 to MaxRawValues), so raw_values[0 .. raw_count) is always valid; the
// copied raw_data pointer is never followed.
struct IRResultsEntry : IRResults
{
    int32_t raw_values[MaxRawValues];
};

// Copies a record and at most MaxRawValues of its raw values. A negative
// count, or a positive count with no array, keeps no values.
IRResultsEntry makeEntry(const IRResults &results);

// The process-wide log of received frames since the last clearing. Appended
// to by the adapter's thread, read and cleared by the GUI thread; every access
// holds the one mutex, and an entry is appended only once it is complete.
class ReceiveQueue
{
public:
    void append(const IRResultsEntry &entry);
    int size() const;
    // Copies the entry at position into entry; false when there is none.
    bool entryAt(int position, IRResultsEntry &entry) const;
    // Copies up to count entries from position first on.
    std::vector<IRResultsEntry> entries(int first, int count) const;
    void clear();

private:
    mutable std::mutex mutex;
    std::deque<IRResultsEntry> log;
};

ReceiveQueue &receiveQueue();

// Handed to IR_ReceiveStart: traces the frame, copies it into the receive
// queue and returns 0. It touches no widget and never waits on the GUI thread.
int KORVEX_CALL receiveCallback(int DeviceIndex, int ChannelIndex, IRResults *pIRResults);

#endif // RECEIVEQUEUE_H
