#ifndef PROTOCOLS_H
#define PROTOCOLS_H

#include <cstdint>

// The IR protocol catalogue: identifiers -1 (UNKNOWN) to 17 (LEGO_PF), shared
// by the send combo box, the frame table, the details view and the codec.
// No Qt.
namespace protocols {

enum Id : int32_t {
    Unknown = -1,
    Unused = 0,
    Rc5 = 1,
    Rc6 = 2,
    Nec = 3,
    Sony = 4,
    Panasonic = 5,
    Jvc = 6,
    Samsung = 7,
    Whynter = 8,
    AiwaRcT501 = 9,
    Lg = 10,
    Sanyo = 11,
    Mitsubishi = 12,
    Dish = 13,
    Sharp = 14,
    Denon = 15,
    Pronto = 16,
    LegoPf = 17,
};

constexpr int32_t kFirst = Unknown;
constexpr int32_t kLast = LegoPf;

// The NEC value that marks a repeat code.
constexpr uint32_t kNecRepeatValue = 0xFFFFFFFFu;

// Name of an identifier; identifiers outside -1..17 are named "UNKNOWN".
const char *name(int32_t id);

// The frame is an NEC repeat code and its data is shown as "REPEAT".
bool isRepeat(int32_t id, uint32_t value);

// Frames of this protocol carry an address that the receive side shows.
bool showsAddress(int32_t id);

} // namespace protocols

#endif // PROTOCOLS_H
