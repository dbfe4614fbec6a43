// The frames of a coded LIRC remote, from its parameters and a button's code.
#ifndef IRFILES_LIRCCODED_H
#define IRFILES_LIRCCODED_H

#include "ircodec.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace irfiles::lirc {

// A remote's parameters: the values after each parameter name.
using Parameters = std::map<std::string, std::vector<std::string>>;

class CodedRemote
{
public:
    // Empty with the reason in error when the remote is not plain
    // pulse-distance or bi-phase, or its parameters are not numbers.
    static std::optional<CodedRemote> make(const Parameters &parameters, std::string &error);

    // The frame of one code, mark first, ending with a mark.
    ircodec::Durations frame(uint64_t code) const;

    // The silence to put between two frames of one button.
    int64_t gapAfter(const ircodec::Durations &frame) const;

private:
    enum class Coding { PulseDistance, BiPhase };
    struct Pair
    {
        int64_t pulse = 0, space = 0;
    };
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
