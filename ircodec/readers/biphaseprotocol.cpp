#include "biphaseprotocol.h"

#include <cstring>

namespace ircodec {

bool readBiphaseBody(const BiphaseBody &body, const Durations &d, size_t first, BitString &bits)
{
    const size_t lead = std::strlen(body.lead);
    return expandHalves(d, first, body.halfNs, body.maxRun, [&](const Halves &halves) {
        if (halves.size() < lead)
            return false;
        for (size_t i = 0; i < lead; ++i)
            if (halves[i] != (body.lead[i] == '1'))
                return false;
        size_t pos = lead;
        BitString read;
        for (int i = 0; i < body.bits; ++i) {
            const auto bit = readBit(halves, pos, body.polarity);
            if (!bit)
                return false;
            read.push(*bit);
        }
        if (pos < halves.size())
            return false;
        bits = std::move(read);
        return true;
    });
}

Durations writeBiphaseBody(const BiphaseBody &body, const BitString &bits)
{
    if (bits.size() != body.bits)
        return {};
    Halves halves;
    for (const char *c = body.lead; *c; ++c)
        halves.push_back(*c == '1');
    for (int i = 0; i < bits.size(); ++i)
        putBit(halves, bits.at(i), body.polarity);
    return halvesToDurations(halves, body.halfNs);
}

} // namespace ircodec
