#include "stampadapter.h"
#include "korvex.h"

namespace stamp {

std::vector<Call> &calls()
{
    static std::vector<Call> log;
    return log;
}

} // namespace stamp

namespace {
int note(const char *op, int address = 0)
{
    stamp::calls().push_back({op, address, stamp::Clock::now()});
    return 0;
}
} // namespace

extern "C" {

int KORVEX_CALL Device_Scan(int)
{
    return 1;
}

unsigned char KORVEX_CALL Device_Open(int)
{
    return 1;
}

int KORVEX_CALL IR_NEC_Send(int, int, unsigned char, unsigned char, unsigned char)
{
    return note("IR_NEC_Send");
}

int KORVEX_CALL IR_NEC_SendRepeat(int, int)
{
    return note("IR_NEC_SendRepeat");
}

int KORVEX_CALL IR_ITT_Send(int, int, unsigned char, unsigned char)
{
    return note("IR_ITT_Send");
}

int KORVEX_CALL IR_JVC_Send(int, int, int, unsigned char, unsigned char)
{
    return note("IR_JVC_Send");
}

int KORVEX_CALL IR_NRC17_Send(int, int, unsigned char address, unsigned char, unsigned char)
{
    return note("IR_NRC17_Send", address);
}

int KORVEX_CALL IR_RCA_Send(int, int, unsigned char, unsigned char)
{
    return note("IR_RCA_Send");
}

int KORVEX_CALL IR_SendProtocol(int, int, int, IRSendData)
{
    return note("IR_SendProtocol");
}

int KORVEX_CALL IR_SendRaw(int, int, int, int *, int)
{
    return note("IR_SendRaw");
}

int KORVEX_CALL IR_ReceiveStart(int, unsigned char, IRReceiveCallback)
{
    return note("IR_ReceiveStart");
}

int KORVEX_CALL IR_ReceiveStop(int)
{
    return note("IR_ReceiveStop");
}

} // extern "C"
