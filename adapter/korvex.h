/*
 * Korvex: the IR adapter library's C interface.
 *
 * Twelve operations enumerate and open adapters, send IR frames and deliver
 * received frames through one callback. Every scalar argument travels as one
 * 32-bit value; "byte" arguments are unsigned 8-bit values. Every operation
 * except Device_Scan and Device_Open answers 0 for success and any other
 * value for failure.
 *
 * The calling convention of the operations and of the callback is the one
 * macro KORVEX_CALL: __stdcall when KORVEX_STDCALL is defined (CMake option
 * of the same name), otherwise __cdecl. It only matters on 32-bit Windows.
 */
#ifndef KORVEX_H
#define KORVEX_H

#include <stddef.h>
#include <stdint.h>

#if defined(_WIN32)
#if defined(KORVEX_STDCALL)
#define KORVEX_CALL __stdcall
#else
#define KORVEX_CALL __cdecl
#endif
#else
#define KORVEX_CALL
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* The record passed by value to IR_SendProtocol: 16 bytes, little-endian. */
typedef struct IRSendData
{
    int32_t protocol; /* protocol identifier 0..17 (see the catalogue) */
    uint8_t repeat;   /* 1: send as a repeat, 0: plain frame */
    /* offset 5: one byte of padding */
    uint16_t address; /* 0..65535 */
    uint32_t value;   /* the 32-bit data value */
    int32_t bits;     /* number of bits, 0..32 */
} IRSendData;

/* One received frame, handed to the receive callback for the call only. */
typedef struct IRResults
{
    int32_t decode_type; /* protocol identifier, -1 UNKNOWN .. 17 LEGO_PF */
    uint32_t address;
    uint32_t value; /* NEC: 0xFFFFFFFF is the repeat code */
    int32_t bits;
    int *raw_data;     /* raw_count timing values in the adapter's unit */
    int32_t raw_count; /* 0 or less: no raw values */
    int32_t extra;
} IRResults;

typedef int(KORVEX_CALL *IRReceiveCallback)(
    int DeviceIndex, int ChannelIndex, IRResults *pIRResults);

int KORVEX_CALL Device_Scan(int Reserved);
unsigned char KORVEX_CALL Device_Open(int DeviceIndex);
int KORVEX_CALL IR_NEC_Send(int DeviceIndex, int ChannelMask, unsigned char Address,
    unsigned char Command, unsigned char HaveNot);
int KORVEX_CALL IR_NEC_SendRepeat(int DeviceIndex, int ChannelMask);
int KORVEX_CALL IR_ITT_Send(
    int DeviceIndex, int ChannelMask, unsigned char Address, unsigned char Command);
int KORVEX_CALL IR_JVC_Send(
    int DeviceIndex, int ChannelMask, int FirstFrame, unsigned char Address, unsigned char Command);
int KORVEX_CALL IR_NRC17_Send(int DeviceIndex, int ChannelMask, unsigned char Address,
    unsigned char Command, unsigned char SubCode);
int KORVEX_CALL IR_RCA_Send(
    int DeviceIndex, int ChannelMask, unsigned char Address, unsigned char Command);
int KORVEX_CALL IR_SendProtocol(int DeviceIndex, int ChannelMask, int FreqKHz, IRSendData Data);
int KORVEX_CALL IR_SendRaw(int DeviceIndex, int ChannelMask, int FreqKHz, int *Timings, int Count);
int KORVEX_CALL IR_ReceiveStart(
    int DeviceIndex, unsigned char ChannelMask, IRReceiveCallback Callback);
int KORVEX_CALL IR_ReceiveStop(int DeviceIndex);

#ifdef __cplusplus
}
#endif

/* Layouts fixed by the library. */
#ifdef __cplusplus
#define KORVEX_STATIC_ASSERT static_assert
#else
#define KORVEX_STATIC_ASSERT _Static_assert
#endif
KORVEX_STATIC_ASSERT(sizeof(int) == 4, "int must be 32 bits");
KORVEX_STATIC_ASSERT(sizeof(IRSendData) == 16, "IRSendData is 16 bytes");
KORVEX_STATIC_ASSERT(offsetof(IRSendData, protocol) == 0, "IRSendData.protocol");
KORVEX_STATIC_ASSERT(offsetof(IRSendData, repeat) == 4, "IRSendData.repeat");
KORVEX_STATIC_ASSERT(offsetof(IRSendData, address) == 6, "IRSendData.address");
KORVEX_STATIC_ASSERT(offsetof(IRSendData, value) == 8, "IRSendData.value");
KORVEX_STATIC_ASSERT(offsetof(IRSendData, bits) == 12, "IRSendData.bits");
KORVEX_STATIC_ASSERT(offsetof(IRResults, raw_data) == 16, "IRResults.raw_data");
#if UINTPTR_MAX == 0xFFFFFFFFu
KORVEX_STATIC_ASSERT(sizeof(IRResults) == 28, "IRResults is 28 bytes with 4-byte pointers");
KORVEX_STATIC_ASSERT(offsetof(IRResults, raw_count) == 20, "IRResults.raw_count");
KORVEX_STATIC_ASSERT(offsetof(IRResults, extra) == 24, "IRResults.extra");
#endif

#endif /* KORVEX_H */
