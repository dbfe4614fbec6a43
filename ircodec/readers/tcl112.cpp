// Fourteen-byte frames of the Mitsubishi-derived family, least significant
// bit first after a header, with a stop mark: the bytes usually begin 0x23
// 0xCB 0x26 0x01 0x00, and the last is the sum of the others, modulo 256;
// where byte 3 is 0x02 (a special message), that sum plus 15.
// Three remotes send it, each with its own timing (header mark / space, bit
// mark, 1 space, 0 space, in us):
//   TCL112AC        3000 / 1650, 500, 1050, 325   (TCL and the units it makes)
//   MITSUBISHI112   3450 / 1696, 450, 1250, 385   (Mitsubishi Electric)
//   TEKNOPOINT      3600 / 1600, 477, 1200, 530   (Teknopoint and others)
// A frame that all three take is read by the one whose timing it fits best.
#include "../acframe.h"

namespace ircodec {

namespace {

constexpr int kBytes = 14;
constexpr int kSum = kBytes - 1;

constexpr int kTypeByte = 3;
constexpr uint8_t kSpecial = 0x02;
constexpr uint8_t kSpecialOffset = 0xF;

uint8_t checksum(const AcState &s)
{
    const uint8_t offset = s[kTypeByte] == kSpecial ? kSpecialOffset : 0;
    return static_cast<uint8_t>(sumBytes(s, 0, kSum) + offset);
}

bool valid(const AcState &s)
{
    return s[kSum] == checksum(s);
}

void complete(AcState &s)
{
    s[kSum] = checksum(s);
}

constexpr AcProtocol fourteenBytes(
    MarkSpace header, int32_t mark, int32_t oneSpace, int32_t zeroSpace)
{
    return acPlain(header, mark, zeroSpace, oneSpace, Order::LsbFirst, kBytes, valid, complete);
}

constexpr AcProtocol kTcl112 = fourteenBytes({3000, 1650}, 500, 1050, 325);
constexpr AcProtocol kMitsubishi112 = fourteenBytes({3450, 1696}, 450, 1250, 385);
constexpr AcProtocol kTeknopoint = fourteenBytes({3600, 1600}, 477, 1200, 530);

} // namespace

extern const Reader tcl112Reader = acReader<kTcl112>("TCL112AC", 38000);
extern const Reader mitsubishi112Reader = acReader<kMitsubishi112>("MITSUBISHI112", 38000);
extern const Reader teknopointReader = acReader<kTeknopoint>("TEKNOPOINT", 38000);

} // namespace ircodec
