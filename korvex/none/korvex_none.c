/*
 * An adapter library that honestly reports that no adapter is attached:
 * Device_Scan finds none and every other operation fails.
 */
#include "korvex.h"

int KORVEX_CALL Device_Scan(int Reserved)
{
    (void)Reserved;
    return 0;
}

unsigned char KORVEX_CALL Device_Open(int DeviceIndex)
{
    (void)DeviceIndex;
    return 0;
}

#define KORVEX_NONE_FAIL 1

int KORVEX_CALL IR_NEC_Send(int DeviceIndex, int ChannelMask, unsigned char Address,
    unsigned char Command, unsigned char HaveNot)
{
    (void)DeviceIndex, (void)ChannelMask, (void)Address, (void)Command, (void)HaveNot;
    return KORVEX_NONE_FAIL;
}

int KORVEX_CALL IR_NEC_SendRepeat(int DeviceIndex, int ChannelMask)
{
    (void)DeviceIndex, (void)ChannelMask;
    return KORVEX_NONE_FAIL;
}

int KORVEX_CALL IR_ITT_Send(
    int DeviceIndex, int ChannelMask, unsigned char Address, unsigned char Command)
{
    (void)DeviceIndex, (void)ChannelMask, (void)Address, (void)Command;
    return KORVEX_NONE_FAIL;
}

int KORVEX_CALL IR_JVC_Send(
    int DeviceIndex, int ChannelMask, int FirstFrame, unsigned char Address, unsigned char Command)
{
    (void)DeviceIndex, (void)ChannelMask, (void)FirstFrame, (void)Address, (void)Command;
    return KORVEX_NONE_FAIL;
}

int KORVEX_CALL IR_NRC17_Send(int DeviceIndex, int ChannelMask, unsigned char Address,
    unsigned char Command, unsigned char SubCode)
{
    (void)DeviceIndex, (void)ChannelMask, (void)Address, (void)Command, (void)SubCode;
    return KORVEX_NONE_FAIL;
}

int KORVEX_CALL IR_RCA_Send(
    int DeviceIndex, int ChannelMask, unsigned char Address, unsigned char Command)
{
    (void)DeviceIndex, (void)ChannelMask, (void)Address, (void)Command;
    return KORVEX_NONE_FAIL;
}

int KORVEX_CALL IR_SendProtocol(int DeviceIndex, int ChannelMask, int FreqKHz, IRSendData Data)
{
    (void)DeviceIndex, (void)ChannelMask, (void)FreqKHz, (void)Data;
    return KORVEX_NONE_FAIL;
}

int KORVEX_CALL IR_SendRaw(int DeviceIndex, int ChannelMask, int FreqKHz, int *Timings, int Count)
{
    (void)DeviceIndex, (void)ChannelMask, (void)FreqKHz, (void)Timings, (void)Count;
    return KORVEX_NONE_FAIL;
}

int KORVEX_CALL IR_ReceiveStart(
    int DeviceIndex, unsigned char ChannelMask, IRReceiveCallback Callback)
{
    (void)DeviceIndex, (void)ChannelMask, (void)Callback;
    return KORVEX_NONE_FAIL;
}

int KORVEX_CALL IR_ReceiveStop(int DeviceIndex)
{
    (void)DeviceIndex;
    return KORVEX_NONE_FAIL;
}
