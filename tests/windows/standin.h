// The stand-in Korvex.dll used by the binding tests. Its twelve adapter
// operations are exported by ordinal only, like the vendor's; the test
// controls below are exported by name and called through GetProcAddress.
#ifndef STANDIN_H
#define STANDIN_H

#include "korvex.h"
#include "korvex_ordinals.h"

#include <cstdint>

enum class Ordinal : int32_t {
#define STANDIN_ORDINAL(name, ordinal) name = ordinal,
    KORVEX_ORDINALS(STANDIN_ORDINAL)
#undef STANDIN_ORDINAL
};

// Most argument words of one operation (IR_SendProtocol: three scalars and
// the four words of IRSendData).
constexpr int standInMaxWords = 7;
// One argument as the DLL received it: a scalar's 32 bits (on x86-64 the
// rest of its register or stack slot carries nothing), a pointer whole.
using StandInWord = uint64_t;
// Most raw timings one IR_SendRaw carries and one frame delivers.
constexpr int standInMaxTimings = 256;
// Most frames that can be scripted for delivery.
constexpr int standInMaxFrames = 8;

// One call that reached the stand-in.
struct StandInCall
{
    int32_t ordinal;
    int32_t wordCount;
    // Each argument, in order; IRSendData as its four 32-bit words.
    StandInWord words[standInMaxWords];
    // IR_SendRaw: the values behind the timings pointer, when its count is
    // 1..standInMaxTimings; otherwise none.
    int32_t timingCount;
    int32_t timings[standInMaxTimings];
    uint32_t threadId;
};

extern "C" {
// Next result of every call of the operation with this ordinal. Until set:
// 1 for Device_Scan and Device_Open, 0 for the others.
typedef void(__cdecl *StandInSetResult)(int32_t ordinal, uint32_t result);
// Moves up to `capacity` recorded calls, oldest first, into `out` and forgets
// all recorded calls; returns how many were recorded.
typedef int32_t(__cdecl *StandInTakeCalls)(StandInCall *out, int32_t capacity);
// Frames the receive thread delivers in turn, over and over, while reception
// runs; their raw timings are copied (at most standInMaxTimings each).
typedef void(__cdecl *StandInSetFrames)(const IRResults *frames, int32_t count);
// The thread that delivers (or last delivered) received frames; 0 before.
typedef uint32_t(__cdecl *StandInReceiveThreadId)(void);
}

#define STANDIN_CONTROLS(X)                                                                        \
    X(StandIn_SetResult)                                                                           \
    X(StandIn_TakeCalls)                                                                           \
    X(StandIn_SetFrames)                                                                           \
    X(StandIn_ReceiveThreadId)

#endif // STANDIN_H
