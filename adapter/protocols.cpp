#include "protocols.h"

namespace protocols {

namespace {
// Looked up at identifier + 1, so that -1 is the first entry.
constexpr const char *const names[] = {
    "UNKNOWN",
    "UNUSED",
    "RC5",
    "RC6",
    "NEC",
    "SONY",
    "PANASONIC",
    "JVC",
    "SAMSUNG",
    "WHYNTER",
    "AIWA_RC_T501",
    "LG",
    "SANYO",
    "MITSUBISHI",
    "DISH",
    "SHARP",
    "DENON",
    "PRONTO",
    "LEGO_PF",
};
static_assert(sizeof(names) / sizeof(names[0]) == kLast - kFirst + 1, "one name per identifier");
} // namespace

const char *name(int32_t id)
{
    if (id < kFirst || id > kLast)
        return names[0];
    return names[id - kFirst];
}

bool isRepeat(int32_t id, uint32_t value)
{
    return id == Nec && value == kNecRepeatValue;
}

bool showsAddress(int32_t id)
{
    return id == Panasonic || id == Sharp;
}

} // namespace protocols
