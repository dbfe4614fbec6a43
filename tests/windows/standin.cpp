// A stand-in for the vendor's Korvex.dll: records every call with the
// argument words it received, answers scripted results, and delivers scripted
// frames to the receive callback from a thread of its own until
// IR_ReceiveStop, which returns only after that thread has ended.
//
// The operations take every argument as the 32-bit word the adapter library's
// interface defines, independently of korvex.h's C declarations, so the
// tests see exactly what crosses the boundary (zero-extended bytes, IRSendData
// as four words after the carrier on 32-bit Windows, behind a pointer to the
// caller's copy on 64-bit Windows).
#include "standin.h"

#include <windows.h>

#include <algorithm>
#include <initializer_list>
#include <map>
#include <vector>

namespace {

// Answer of IR_ReceiveStart while a reception is already running.
constexpr uint32_t busy = 2;
// Pause between two delivered frames.
constexpr DWORD frameIntervalMs = 1;
constexpr int channelCount = 8;

struct Frame
{
    IRResults record;
    std::vector<int> raw;
};

struct Reception
{
    IRReceiveCallback callback = nullptr;
    int device = 0;
    int channel = 0;
    HANDLE thread = nullptr;
    HANDLE stop = nullptr;
};

SRWLOCK lock = SRWLOCK_INIT;
std::vector<StandInCall> calls;
std::map<int32_t, uint32_t> results = {
    {static_cast<int32_t>(Ordinal::Device_Scan), 1},
    {static_cast<int32_t>(Ordinal::Device_Open), 1},
};
std::vector<Frame> frames;
Reception reception;
DWORD receiveThreadId = 0;

class Locked
{
public:
    Locked()
    {
        AcquireSRWLockExclusive(&lock);
    }
    ~Locked()
    {
        ReleaseSRWLockExclusive(&lock);
    }
    Locked(const Locked &) = delete;
    Locked &operator=(const Locked &) = delete;
};

template <typename T> StandInWord word(T *pointer)
{
    return reinterpret_cast<uintptr_t>(pointer);
}

StandInCall newCall(Ordinal ordinal, std::initializer_list<StandInWord> words)
{
    StandInCall call{};
    call.ordinal = static_cast<int32_t>(ordinal);
    call.wordCount = static_cast<int32_t>(words.size());
    std::copy(words.begin(), words.end(), call.words);
    call.threadId = GetCurrentThreadId();
    return call;
}

uint32_t answer(const StandInCall &call)
{
    Locked guard;
    calls.push_back(call);
    const auto scripted = results.find(call.ordinal);
    return scripted == results.end() ? 0 : scripted->second;
}

uint32_t answer(Ordinal ordinal, std::initializer_list<StandInWord> words)
{
    return answer(newCall(ordinal, words));
}

// D0..D7: the lowest set bit of the reception mask, -1 for none.
int channelIndex(uint32_t mask)
{
    for (int channel = 0; channel < channelCount; ++channel) {
        if (mask & (1u << channel)) {
            return channel;
        }
    }
    return -1;
}

DWORD WINAPI deliver(void *)
{
    size_t next = 0;
    while (WaitForSingleObject(reception.stop, frameIntervalMs) == WAIT_TIMEOUT) {
        Frame frame;
        {
            Locked guard;
            if (frames.empty()) {
                continue;
            }
            frame = frames[next % frames.size()];
        }
        ++next;
        frame.record.raw_data = frame.raw.empty() ? nullptr : frame.raw.data();
        reception.callback(reception.device, reception.channel, &frame.record);
    }
    return 0;
}

} // namespace

extern "C" {

uint32_t KORVEX_CALL standin_Device_Scan(uint32_t reserved)
{
    return answer(Ordinal::Device_Scan, {reserved});
}

uint32_t KORVEX_CALL standin_Device_Open(uint32_t device)
{
    return answer(Ordinal::Device_Open, {device});
}

uint32_t KORVEX_CALL standin_IR_NEC_Send(
    uint32_t device, uint32_t mask, uint32_t address, uint32_t command, uint32_t inverted)
{
    return answer(Ordinal::IR_NEC_Send, {device, mask, address, command, inverted});
}

uint32_t KORVEX_CALL standin_IR_NEC_SendRepeat(uint32_t device, uint32_t mask)
{
    return answer(Ordinal::IR_NEC_SendRepeat, {device, mask});
}

uint32_t KORVEX_CALL standin_IR_ITT_Send(
    uint32_t device, uint32_t mask, uint32_t address, uint32_t command)
{
    return answer(Ordinal::IR_ITT_Send, {device, mask, address, command});
}

uint32_t KORVEX_CALL standin_IR_JVC_Send(
    uint32_t device, uint32_t mask, uint32_t first, uint32_t address, uint32_t command)
{
    return answer(Ordinal::IR_JVC_Send, {device, mask, first, address, command});
}

uint32_t KORVEX_CALL standin_IR_NRC17_Send(
    uint32_t device, uint32_t mask, uint32_t address, uint32_t command, uint32_t subCode)
{
    return answer(Ordinal::IR_NRC17_Send, {device, mask, address, command, subCode});
}

uint32_t KORVEX_CALL standin_IR_RCA_Send(
    uint32_t device, uint32_t mask, uint32_t address, uint32_t command)
{
    return answer(Ordinal::IR_RCA_Send, {device, mask, address, command});
}

#ifdef _WIN64
// The 16 bytes of IRSendData arrive as a pointer to the caller's copy, as
// 64-bit Windows passes every record that is not 1, 2, 4 or 8 bytes long.
uint32_t KORVEX_CALL standin_IR_SendProtocol(
    uint32_t device, uint32_t mask, uint32_t freqKHz, const uint32_t *data)
{
    return answer(
        Ordinal::IR_SendProtocol, {device, mask, freqKHz, data[0], data[1], data[2], data[3]});
}
#else
// IRSendData arrives as its four 32-bit words, after the carrier.
uint32_t KORVEX_CALL standin_IR_SendProtocol(uint32_t device, uint32_t mask, uint32_t freqKHz,
    uint32_t data0, uint32_t data1, uint32_t data2, uint32_t data3)
{
    return answer(Ordinal::IR_SendProtocol, {device, mask, freqKHz, data0, data1, data2, data3});
}
#endif

uint32_t KORVEX_CALL standin_IR_SendRaw(
    uint32_t device, uint32_t mask, uint32_t freqKHz, const int32_t *timings, uint32_t count)
{
    StandInCall call = newCall(Ordinal::IR_SendRaw, {device, mask, freqKHz, word(timings), count});
    if (timings && count >= 1 && count <= standInMaxTimings) {
        call.timingCount = static_cast<int32_t>(count);
        std::copy(timings, timings + count, call.timings);
    }
    return answer(call);
}

uint32_t KORVEX_CALL standin_IR_ReceiveStart(
    uint32_t device, uint32_t mask, IRReceiveCallback callback)
{
    const uint32_t result = answer(Ordinal::IR_ReceiveStart, {device, mask, word(callback)});
    if (result != 0) {
        return result;
    }
    if (reception.thread) {
        return busy;
    }
    reception.callback = callback;
    reception.device = static_cast<int>(device);
    reception.channel = channelIndex(mask);
    reception.stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    DWORD threadId = 0;
    reception.thread = CreateThread(nullptr, 0, deliver, nullptr, 0, &threadId);
    Locked guard;
    receiveThreadId = threadId;
    return 0;
}

uint32_t KORVEX_CALL standin_IR_ReceiveStop(uint32_t device)
{
    const uint32_t result = answer(Ordinal::IR_ReceiveStop, {device});
    if (reception.thread) {
        SetEvent(reception.stop);
        WaitForSingleObject(reception.thread, INFINITE);
        CloseHandle(reception.thread);
        CloseHandle(reception.stop);
        reception = Reception{};
    }
    return result;
}

void __cdecl StandIn_SetResult(int32_t ordinal, uint32_t result)
{
    Locked guard;
    results[ordinal] = result;
}

int32_t __cdecl StandIn_TakeCalls(StandInCall *out, int32_t capacity)
{
    Locked guard;
    const int32_t count = static_cast<int32_t>(calls.size());
    std::copy_n(calls.begin(), std::min(count, std::max(capacity, 0)), out);
    calls.clear();
    return count;
}

void __cdecl StandIn_SetFrames(const IRResults *scripted, int32_t count)
{
    std::vector<Frame> copies;
    for (int32_t i = 0; i < std::min(count, standInMaxFrames); ++i) {
        Frame frame{scripted[i], {}};
        if (frame.record.raw_data && frame.record.raw_count > 0) {
            const int32_t n = std::min(frame.record.raw_count, standInMaxTimings);
            frame.raw.assign(frame.record.raw_data, frame.record.raw_data + n);
            frame.record.raw_count = n;
        }
        copies.push_back(frame);
    }
    Locked guard;
    frames = copies;
}

uint32_t __cdecl StandIn_ReceiveThreadId(void)
{
    Locked guard;
    return receiveThreadId;
}

} // extern "C"
