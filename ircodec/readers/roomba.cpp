// ROOMBA: iRobot's vacuum cleaners and their virtual walls. Each symbol is
// 3.7 ms: a 930 us mark and a 2.8 ms space (0), or a 2.8 ms mark and a
// 930 us space (1). A 1 to begin, then 7 command bits, most significant
// first; the last space is the silence after the frame.
#include "pulseprotocol.h"

namespace ircodec {

namespace {

constexpr int kBits = 7;
constexpr PulseProtocol kProtocol
    = {{{2790, 930}, {930, 2790}, {2790, 930}, 0, {}}, kBits, Evidence::Bare};

void describe(const Reading &r, std::string &out)
{
    appendField(out, "command", r.bits.value(), 2);
}

} // namespace

extern const Reader roombaReader
    = PulseReader<kProtocol>::reader("ROOMBA", Presentation::Number, 38000, describe);

} // namespace ircodec
