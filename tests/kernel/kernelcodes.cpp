#include "kernelcodes.h"

#include "ircodec.h"

#include <linux/lirc.h>

namespace kernelcodes {

OurFrame ourFrame(ircodec::Protocol protocol, uint32_t value, int bits, uint32_t address)
{
    return {ircodec::catalogueId(protocol), value, address, bits};
}

namespace {

using ircodec::Protocol;
using ircodec::reverseBits;

constexpr int kByte = 8;
constexpr uint32_t kByteMask = 0xFF;

uint32_t field(uint64_t scancode, int shift, int width)
{
    return static_cast<uint32_t>((scancode >> shift) & ((uint64_t{1} << width) - 1));
}

// NEC: the four bytes on the air, each least significant bit first; our
// value has the first bit on the air as its top bit.
OurFrame necBytes(uint32_t b1, uint32_t b2, uint32_t b3, uint32_t b4)
{
    uint32_t value = 0;
    for (uint32_t byte : {b1, b2, b3, b4})
        value = (value << kByte) | reverseBits(byte & kByteMask, kByte);
    return ourFrame(Protocol::Nec, value, 32);
}

// nec: address << 8 | command; the complements follow each byte.
std::optional<OurFrame> nec(const KernelCode &c)
{
    const uint32_t address = field(c.scancode, 8, 8), command = field(c.scancode, 0, 8);
    return necBytes(address, ~address, command, ~command);
}

// nec-x: 16-bit address (first byte on the air high), command.
std::optional<OurFrame> necx(const KernelCode &c)
{
    const uint32_t command = field(c.scancode, 0, 8);
    return necBytes(field(c.scancode, 16, 8), field(c.scancode, 8, 8), command, ~command);
}

// nec32: the bytes on the air are scancode bytes 2, 3, 0, 1.
std::optional<OurFrame> nec32(const KernelCode &c)
{
    return necBytes(field(c.scancode, 16, 8), field(c.scancode, 24, 8), field(c.scancode, 0, 8),
        field(c.scancode, 8, 8));
}

// rc-5: address << 8 | command (6 bits, the field bit S2 = 1); ours is the
// toggle, the address and the command, 12 bits.
std::optional<OurFrame> rc5(const KernelCode &c)
{
    const uint32_t value
        = uint32_t{c.toggle} << 11 | field(c.scancode, 8, 5) << 6 | field(c.scancode, 0, 6);
    return ourFrame(Protocol::Rc5, value, 12);
}

// RC6: ours is the three mode bits, the toggle (trailer) bit and the data.
OurFrame rc6(uint32_t mode, bool toggle, uint32_t data, int dataBits)
{
    const int bits = 3 + 1 + dataBits;
    const uint64_t value = uint64_t{mode} << (dataBits + 1) | uint64_t{toggle} << dataBits | data;
    // Only the low 32 bits fit the value of a 36-bit frame.
    return ourFrame(Protocol::Rc6, static_cast<uint32_t>(value), bits);
}

constexpr uint32_t kRc6Mode0 = 0;
constexpr uint32_t kRc6Mode6 = 6;
constexpr uint32_t kMceToggle = 0x8000;

std::optional<OurFrame> rc6Mode0(const KernelCode &c)
{
    return rc6(kRc6Mode0, c.toggle, field(c.scancode, 0, 16), 16);
}

template <int DataBits> std::optional<OurFrame> rc6Mode6(const KernelCode &c)
{
    return rc6(kRc6Mode6, false, field(c.scancode, 0, DataBits), DataBits);
}

// MCE: the kernel takes the toggle out of bit 15 of the 32 data bits.
std::optional<OurFrame> rc6Mce(const KernelCode &c)
{
    const uint32_t data = field(c.scancode, 0, 32) | (c.toggle ? kMceToggle : 0);
    return rc6(kRc6Mode6, false, data, 32);
}

// sony: device << 16 | subdevice << 8 | function. On the air: the 7-bit
// function, the device (5 or 8 bits), then the 8-bit subdevice of 20-bit
// frames, each least significant bit first.
template <int DeviceBits, int SubdeviceBits> std::optional<OurFrame> sony(const KernelCode &c)
{
    uint32_t value = reverseBits(field(c.scancode, 0, 7), 7);
    value = value << DeviceBits | reverseBits(field(c.scancode, 16, DeviceBits), DeviceBits);
    if (SubdeviceBits > 0)
        value = value << SubdeviceBits
            | reverseBits(field(c.scancode, 8, SubdeviceBits), SubdeviceBits);
    return ourFrame(Protocol::Sony, value, 7 + DeviceBits + SubdeviceBits);
}

// jvc: the first byte on the air (the address) high, the command low.
std::optional<OurFrame> jvc(const KernelCode &c)
{
    const uint32_t value = reverseBits(field(c.scancode, 8, 8), kByte) << kByte
        | reverseBits(field(c.scancode, 0, 8), kByte);
    return ourFrame(Protocol::Jvc, value, 16);
}

// sanyo: the 42-bit layout, 13-bit address << 8 | command. Our
// AIWA_RC_T501 is this layout with the address 0x6E.
constexpr uint32_t kAiwaAddress = 0x6E;

std::optional<OurFrame> sanyo(const KernelCode &c)
{
    if (field(c.scancode, 8, 13) != kAiwaAddress)
        return std::nullopt;
    return ourFrame(Protocol::AiwaRcT501, field(c.scancode, 0, 8), 42);
}

// sharp: address << 8 | command.
std::optional<OurFrame> sharp(const KernelCode &c)
{
    return ourFrame(Protocol::Sharp, field(c.scancode, 0, 8), 15, field(c.scancode, 8, 5));
}

constexpr int kRc5KHz = 36;
constexpr int kSonyKHz = 40;
constexpr int kNecKHz = 38;
constexpr uint64_t kMceVendor = 0x800F0000;
constexpr uint64_t kAiwaCode = uint64_t{kAiwaAddress} << 8;
constexpr uint64_t kOtherSanyoCode = uint64_t{0x1234} << 8;

} // namespace

const std::vector<Family> &families()
{
    static const std::vector<Family> list = {
        {"NEC", "nec", RC_PROTO_NEC, 0, {{8, 8}, {0, 8}}, false, kNecKHz, nec},
        {"NECX", "nec", RC_PROTO_NECX, 0, {{8, 16}, {0, 8}}, false, kNecKHz, necx},
        {"NEC32", "nec", RC_PROTO_NEC32, 0, {{16, 16}, {0, 16}}, false, kNecKHz, nec32},
        {"RC5", "rc-5", RC_PROTO_RC5, 0, {{8, 5}, {0, 6}}, true, kRc5KHz, rc5},
        {"RC6-0", "rc-6", RC_PROTO_RC6_0, 0, {{8, 8}, {0, 8}}, true, kRc5KHz, rc6Mode0},
        {"RC6-6A-20", "rc-6", RC_PROTO_RC6_6A_20, 0, {{8, 12}, {0, 8}}, false, kRc5KHz,
            rc6Mode6<20>},
        {"RC6-6A-24", "rc-6", RC_PROTO_RC6_6A_24, 0, {{8, 16}, {0, 8}}, false, kRc5KHz,
            rc6Mode6<24>},
        {"RC6-6A-32", "rc-6", RC_PROTO_RC6_6A_32, 0, {{16, 16}, {0, 16}}, false, kRc5KHz,
            rc6Mode6<32>},
        {"RC6-MCE", "rc-6", RC_PROTO_RC6_MCE, kMceVendor, {{8, 7}, {0, 8}}, true, kRc5KHz, rc6Mce},
        {"SONY12", "sony", RC_PROTO_SONY12, 0, {{16, 5}, {0, 7}}, false, kSonyKHz, sony<5, 0>},
        {"SONY15", "sony", RC_PROTO_SONY15, 0, {{16, 8}, {0, 7}}, false, kSonyKHz, sony<8, 0>},
        {"SONY20", "sony", RC_PROTO_SONY20, 0, {{16, 5}, {8, 8}, {0, 7}}, false, kSonyKHz,
            sony<5, 8>},
        {"JVC", "jvc", RC_PROTO_JVC, 0, {{8, 8}, {0, 8}}, false, kNecKHz, jvc},
        {"SANYO/AIWA", "sanyo", RC_PROTO_SANYO, kAiwaCode, {{0, 8}}, false, kNecKHz, sanyo},
        {"SANYO-other", "sanyo", RC_PROTO_SANYO, kOtherSanyoCode, {{0, 8}}, false, kNecKHz, sanyo},
        {"SHARP", "sharp", RC_PROTO_SHARP, 0, {{8, 5}, {0, 8}}, false, kNecKHz, sharp},
    };
    return list;
}

const Family *familyOf(uint32_t proto)
{
    for (const Family &family : families())
        if (family.proto == proto)
            return &family;
    return nullptr;
}

std::vector<KernelCode> boundaryCodes(const Family &family)
{
    constexpr uint64_t kAllOnes = ~uint64_t{0};
    constexpr uint64_t kAlternate = 0x5555555555555555u;
    const uint64_t patterns[] = {0, 1, kAllOnes, kAlternate, ~kAlternate};
    auto code = [&](auto valueOf) {
        KernelCode c{family.proto, family.fixed, false};
        for (size_t i = 0; i < family.fields.size(); ++i) {
            const Field &f = family.fields[i];
            c.scancode |= (valueOf(i) & ((uint64_t{1} << f.width) - 1)) << f.shift;
        }
        return c;
    };
    std::vector<KernelCode> codes;
    for (uint64_t pattern : patterns)
        codes.push_back(code([&](size_t) { return pattern; }));
    if (family.fields.size() > 1)
        codes.push_back(code([](size_t i) { return i == 0 ? uint64_t{1} : kAllOnes; }));
    if (family.toggle)
        for (size_t i = 1; i < codes.size(); i += 2)
            codes[i].toggle = true;
    return codes;
}

} // namespace kernelcodes
