// The frames of the quick-send operations, built from their byte arguments.
#include "bits.h"
#include "codecs.h"

namespace ircodec {

namespace {

constexpr int kByte = 8;
constexpr int kNibble = 4;
constexpr int kIttAddressBits = 4;
constexpr int kIttCommandBits = 6;
constexpr int kRcaAddressBits = 4;
constexpr int kRcaCommandBits = 8;
// An NRC17 4-bit field written as a whole byte of ones.
constexpr int kAllOnesByte = 0xFF;
constexpr int kNibbleOnes = 0xF;

bool fits(int field, int bits)
{
    return field >= 0 && field < (1 << bits);
}

Frame make(Protocol protocol, const BitWriter &writer, bool repeat = false)
{
    return makeFrame(protocol, static_cast<uint32_t>(writer.bits()), writer.count(), 0, repeat);
}

} // namespace

Frame necFrame(uint8_t address, uint8_t command, bool inverted)
{
    const uint8_t second = inverted ? static_cast<uint8_t>(~address) : address;
    const uint8_t fourth = inverted ? static_cast<uint8_t>(~command) : command;
    BitWriter w;
    for (uint8_t byte : {address, second, command, fourth})
        w.put(byte, kByte, Order::LsbFirst);
    return make(Protocol::Nec, w);
}

Frame necRepeatFrame()
{
    return repeatCode(Protocol::Nec);
}

std::optional<Frame> ittFrame(int address, int command)
{
    if (!fits(address, kIttAddressBits) || !fits(command, kIttCommandBits))
        return std::nullopt;
    BitWriter w;
    w.put(address, kIttAddressBits, Order::LsbFirst);
    w.put(command, kIttCommandBits, Order::LsbFirst);
    return make(Protocol::Itt, w);
}

Frame jvcFrame(uint8_t address, uint8_t command, bool first)
{
    BitWriter w;
    w.put(address, kByte, Order::LsbFirst);
    w.put(command, kByte, Order::LsbFirst);
    return make(Protocol::Jvc, w, !first);
}

std::optional<Frame> nrc17Frame(int field8, int field4, int subcode)
{
    if (field4 == kAllOnesByte)
        field4 = kNibbleOnes;
    if (subcode == kAllOnesByte)
        subcode = kNibbleOnes;
    if (!fits(field8, kByte) || !fits(field4, kNibble) || !fits(subcode, kNibble))
        return std::nullopt;
    BitWriter w;
    w.put(field8, kByte, Order::LsbFirst);
    w.put(field4, kNibble, Order::LsbFirst);
    w.put(subcode, kNibble, Order::LsbFirst);
    return make(Protocol::Nrc17, w);
}

std::optional<Frame> rcaFrame(int address, int command)
{
    if (!fits(address, kRcaAddressBits) || !fits(command, kRcaCommandBits))
        return std::nullopt;
    BitWriter w;
    w.put(address, kRcaAddressBits, Order::MsbFirst);
    w.put(command, kRcaCommandBits, Order::MsbFirst);
    w.put(~address, kRcaAddressBits, Order::MsbFirst);
    w.put(~command, kRcaCommandBits, Order::MsbFirst);
    return make(Protocol::Rca, w);
}

} // namespace ircodec
