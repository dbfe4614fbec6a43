// The parameters of a LIRC remote and the frames of a coded one, as LIRC
// reads and sends them (lircd.conf(5)).
#ifndef IRFILES_LIRCCODED_H
#define IRFILES_LIRCCODED_H

#include "ircodec.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace irfiles::lirc {

// LIRC's default carrier.
constexpr int64_t kDefaultCarrierHz = 38000;

struct Pair
{
    int64_t pulse = 0, space = 0;
    bool operator==(const Pair &other) const
    {
        return pulse == other.pulse && space == other.space;
    }
};

// A remote's parameters as LIRC keeps them: a parameter given twice takes
// its last value, flags add up.
struct Parameters
{
    std::string name;
    std::vector<std::string> flags; // as written, every "flags" line's
    Pair header, one, zero, pre, post, foot;
    int64_t plead = 0, ptrail = 0, gap = 0;
    int64_t bits = 0, preDataBits = 0, postDataBits = 0, toggleBit = 0;
    uint64_t preData = 0, postData = 0, toggleBitMask = 0, rc6Mask = 0;
    int64_t frequency = kDefaultCarrierHz;
    int64_t dutyCycle = 0; // 0: not given
};

// Sets a parameter from a line's words (name first, case-insensitive, as
// LIRC reads them); unknown names change nothing. Answers why the values do
// not fit the parameter.
std::optional<std::string> setParameter(
    Parameters &parameters, const std::vector<std::string_view> &words);

// A number as LIRC reads one (C's rule: 0x... hexadecimal, 0... octal,
// otherwise decimal); empty when the token is not one or does not fit.
std::optional<uint64_t> number(std::string_view token);

// Whether the flags name raw codes (RAW_CODES).
bool rawCodes(const Parameters &parameters);

class CodedRemote
{
public:
    // Empty with the reason in why when the remote cannot be rendered: no
    // timings (a remote for receivers that decode by themselves), an
    // encoding other than pulse-distance (SPACE_ENC, LIRC's default) or
    // bi-phase (RC5, SHIFT_ENC, RC6), an unknown flag.
    static std::optional<CodedRemote> make(const Parameters &parameters, std::string &why);

    // The frame of one code, mark first, ending with a mark. Codes, pre_data
    // and post_data wider than their bits are cut to them, as LIRC does.
    ircodec::Durations frame(uint64_t code) const;

    // The silence to put between two frames of one button.
    int64_t gapAfter(const ircodec::Durations &frame) const;

private:
    enum class Coding { PulseDistance, BiPhase };
    struct Field
    {
        uint64_t value = 0;
        int bits = 0;
    };

    void putBits(ircodec::Durations &out, const Field &field, int &position) const;

    Coding coding_ = Coding::PulseDistance;
    bool reverse_ = false;
    bool constLength_ = false;
    Pair header_, one_, zero_, pre_, post_, foot_;
    int64_t plead_ = 0, ptrail_ = 0, gap_ = 0;
    Field preData_, postData_;
    int bits_ = 0;
    uint64_t doubleWidthMask_ = 0; // RC6: the bits sent at double width
    int totalBits_ = 0;
};

} // namespace irfiles::lirc

#endif // IRFILES_LIRCCODED_H
