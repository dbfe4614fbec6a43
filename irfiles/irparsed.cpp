#include "irparsed.h"

#include "irsignal.h"
#include "reader.h"

#include <iterator>

namespace irfiles {

namespace {

using ircodec::Frame;
using ircodec::makeFrame;
using ircodec::Protocol;

constexpr int kByteBits = 8;
constexpr uint32_t kByteMask = 0xFF;
constexpr int kSonyCommandBits = 7;
constexpr int kPioneerCarrierHz = 40000;
constexpr uint32_t kAiwaAddress = 0x6E;

uint32_t rev(uint32_t value, int bits)
{
    return ircodec::reverseBits(value, bits);
}

uint32_t lowBits(int bits)
{
    return bits >= 32 ? 0xFFFFFFFFu : (1u << bits) - 1;
}

// Four bytes in on-air order (each least significant bit first) as the value
// our codec carries: the first bit on the air is the most significant.
uint32_t onAirValue(uint32_t b1, uint32_t b2, uint32_t b3, uint32_t b4)
{
    return rev(b1 & kByteMask, kByteBits) << 24 | rev(b2 & kByteMask, kByteBits) << 16
        | rev(b3 & kByteMask, kByteBits) << 8 | rev(b4 & kByteMask, kByteBits);
}

// The on-air byte at position index (0 = first) of such a value.
uint32_t onAirByte(uint32_t value, int index)
{
    return rev((value >> (24 - kByteBits * index)) & kByteMask, kByteBits);
}

uint32_t inverted(uint32_t byte)
{
    return ~byte & kByteMask;
}

Frame nec(uint32_t a, uint32_t c)
{
    return makeFrame(Protocol::Nec, onAirValue(a, inverted(a), c, inverted(c)), 32);
}

Frame necExt(uint32_t a, uint32_t c)
{
    return makeFrame(Protocol::Nec, onAirValue(a, a >> kByteBits, c, c >> kByteBits), 32);
}

Frame samsung(uint32_t a, uint32_t c)
{
    return makeFrame(Protocol::Samsung, onAirValue(a, a, c, inverted(c)), 32);
}

Frame rc5(uint32_t a, uint32_t c)
{
    return makeFrame(Protocol::Rc5, a << 6 | c, 12);
}

Frame rc6(uint32_t a, uint32_t c)
{
    return makeFrame(Protocol::Rc6, a << kByteBits | c, 20);
}

Frame sirc(uint32_t a, uint32_t c, int addressBits)
{
    const int bits = kSonyCommandBits + addressBits;
    return makeFrame(
        Protocol::Sony, rev(c, kSonyCommandBits) << addressBits | rev(a, addressBits), bits);
}

// Kaseikyo: 16-bit vendor, its parity nibble, genre 1 and 2, 10-bit data,
// 2-bit id, check byte. The address packs id, vendor and genres.
struct Kaseikyo
{
    uint32_t bytes[6];
};

uint32_t vendorParity(uint32_t vendor)
{
    return (vendor ^ vendor >> 4 ^ vendor >> 8 ^ vendor >> 12) & 0xF;
}

Kaseikyo kaseikyoBytes(uint32_t address, uint32_t data)
{
    const uint32_t vendor = (address >> 8) & 0xFFFF;
    const uint32_t genre1 = (address >> 4) & 0xF;
    const uint32_t genre2 = address & 0xF;
    const uint32_t id = (address >> 24) & 0x3;
    Kaseikyo k;
    k.bytes[0] = vendor & kByteMask;
    k.bytes[1] = vendor >> kByteBits;
    k.bytes[2] = vendorParity(vendor) | genre1 << 4;
    k.bytes[3] = genre2 | (data & 0xF) << 4;
    k.bytes[4] = (data >> 4 & 0x3F) | id << 6;
    k.bytes[5] = k.bytes[2] ^ k.bytes[3] ^ k.bytes[4];
    return k;
}

Frame kaseikyo(uint32_t a, uint32_t c)
{
    const Kaseikyo k = kaseikyoBytes(a, c);
    const uint32_t address = rev(k.bytes[0], kByteBits) << kByteBits | rev(k.bytes[1], kByteBits);
    return makeFrame(Protocol::Panasonic,
        onAirValue(k.bytes[2], k.bytes[3], k.bytes[4], k.bytes[5]), 48, address);
}

// RC5's extended form, as the RC5X reader reads and writes it: 13 bits,
// the seventh command bit (1 for commands 64 to 127, sent as a second start
// bit of 0), toggle, 5-bit address, the other six command bits.
constexpr int kRc5xBits = 13;
constexpr int kRc5AddressBits = 5;
constexpr int kRc5CommandBits = 6;
constexpr uint32_t kRc5ExtendedCommand = 1u << kRc5CommandBits;
constexpr int kRc5xToggle = 1;  // its position in the reading's bits
constexpr int kRc5xAddress = 2; // ditto

// The frame a reader writes for these bits.
ircodec::Durations written(const ircodec::Reader &reader, ircodec::BitString bits)
{
    ircodec::Reading reading;
    reading.restart(&reader);
    reading.bits = std::move(bits);
    return reader.write(reading);
}

// The bits a reader reads from a frame, if it reads exactly the whole frame.
std::optional<ircodec::BitString> readBits(
    const ircodec::Reader &reader, const ircodec::Durations &durations, int bits)
{
    ircodec::Reading reading;
    reading.restart(&reader);
    if (!reader.read(durations, reading) || reading.bits.size() != bits)
        return std::nullopt;
    return reading.bits;
}

ircodec::Durations rc5Extended(uint32_t address, uint32_t command)
{
    ircodec::BitString bits(1, 1);
    bits.append(0, 1, ircodec::Order::MsbFirst); // toggle
    bits.append(address, kRc5AddressBits, ircodec::Order::MsbFirst);
    bits.append(command & lowBits(kRc5CommandBits), kRc5CommandBits, ircodec::Order::MsbFirst);
    return written(ircodec::rc5xReader, std::move(bits));
}

std::optional<ParsedCode> rc5ExtendedToParsed(const ircodec::Durations &durations)
{
    const auto bits = readBits(ircodec::rc5xReader, durations, kRc5xBits);
    if (!bits || bits->at(kRc5xToggle))
        return std::nullopt;
    return ParsedCode{"RC5X", static_cast<uint32_t>(bits->field(kRc5xAddress, kRc5AddressBits)),
        kRc5ExtendedCommand
            | static_cast<uint32_t>(bits->field(kRc5xAddress + kRc5AddressBits, kRc5CommandBits))};
}

// NEC42 (Sanyo's LC7461 encoder): a 13-bit address, its complement, an 8-bit
// command and its complement, each least significant bit first. Our codec
// sends it for Aiwa's address; the reading layer's reader for every other.
constexpr int kNec42AddressBits = 13;
constexpr int kNec42CommandBits = 8;
constexpr int kNec42Bits = 2 * (kNec42AddressBits + kNec42CommandBits);

ircodec::Durations nec42Frame(uint32_t address, uint32_t command)
{
    using ircodec::Order;
    ircodec::BitString bits;
    bits.append(address, kNec42AddressBits, Order::LsbFirst);
    bits.append(~address, kNec42AddressBits, Order::LsbFirst);
    bits.append(command, kNec42CommandBits, Order::LsbFirst);
    bits.append(~command, kNec42CommandBits, Order::LsbFirst);
    return written(ircodec::sanyoLc7461Reader, std::move(bits));
}

std::optional<ParsedCode> nec42ToParsed(const ircodec::Durations &durations)
{
    const auto bits = readBits(ircodec::sanyoLc7461Reader, durations, kNec42Bits);
    if (!bits)
        return std::nullopt;
    return ParsedCode{"NEC42",
        static_cast<uint32_t>(bits->field(0, kNec42AddressBits, ircodec::Order::LsbFirst)),
        static_cast<uint32_t>(
            bits->field(2 * kNec42AddressBits, kNec42CommandBits, ircodec::Order::LsbFirst))};
}

// How a protocol's record becomes the frame it sends: a frame of our codec,
// or durations built here; an empty result says why in problem.
struct Sent
{
    std::optional<Frame> frame;
    ircodec::Durations durations; // without a frame
    int32_t carrierHz = 0;        // without a frame
};
using Builder = bool (*)(uint32_t address, uint32_t command, Sent &sent, ParsedProblem &problem);

template <Frame (*make)(uint32_t, uint32_t)>
bool framed(uint32_t address, uint32_t command, Sent &sent, ParsedProblem &)
{
    sent.frame = make(address, command);
    return true;
}

Frame sirc12(uint32_t a, uint32_t c)
{
    return sirc(a, c, 5);
}
Frame sirc15(uint32_t a, uint32_t c)
{
    return sirc(a, c, 8);
}
Frame sirc20(uint32_t a, uint32_t c)
{
    return sirc(a, c, 13);
}

bool rc5x(uint32_t address, uint32_t command, Sent &sent, ParsedProblem &)
{
    if (command < kRc5ExtendedCommand) {
        sent.frame = rc5(address, command);
    } else {
        sent.durations = rc5Extended(address, command);
        sent.carrierHz = ircodec::carrierHz(ircodec::rc5xReader);
    }
    return true;
}

bool rca(uint32_t address, uint32_t command, Sent &sent, ParsedProblem &problem)
{
    sent.frame = ircodec::rcaFrame(static_cast<int>(address), static_cast<int>(command));
    if (!sent.frame)
        problem = {ParsedProblem::Field::Protocol, "cannot be encoded by our codec"};
    return sent.frame.has_value();
}

bool nec42(uint32_t address, uint32_t command, Sent &sent, ParsedProblem &)
{
    if (address == kAiwaAddress) {
        sent.frame = makeFrame(Protocol::AiwaRcT501, command, 42);
    } else {
        sent.durations = nec42Frame(address, command);
        sent.carrierHz = ircodec::carrierHz(ircodec::sanyoLc7461Reader);
    }
    return true;
}

struct Decoder
{
    const char *name;
    int addressBits;
    int commandBits;
    Builder build;
    int32_t carrierHz; // 0: the protocol's nominal carrier
};

const Decoder kDecoders[] = {
    {"NEC", 8, 8, framed<nec>, 0},
    {"NECext", 16, 16, framed<necExt>, 0},
    {"Pioneer", 8, 8, framed<nec>, kPioneerCarrierHz},
    {"Samsung32", 8, 8, framed<samsung>, 0},
    // RC5 commands 64 to 127 can only be sent in the extended form, so an
    // RC5 record with one is read as RC5X.
    {"RC5", 5, 7, rc5x, 0},
    {"RC5X", 5, 7, rc5x, 0},
    {"RC6", 8, 8, framed<rc6>, 0},
    {"SIRC", 5, 7, framed<sirc12>, 0},
    {"SIRC15", 8, 7, framed<sirc15>, 0},
    {"SIRC20", 13, 7, framed<sirc20>, 0},
    {"Kaseikyo", 26, 10, framed<kaseikyo>, 0},
    {"RCA", 4, 8, rca, 0},
    {"NEC42", 13, 8, nec42, 0},
};

std::optional<ParsedCode> parsed(const char *protocol, uint32_t address, uint32_t command)
{
    return ParsedCode{protocol, address, command};
}

std::optional<ParsedCode> necToParsed(const Frame &frame)
{
    const uint32_t b1 = onAirByte(frame.value, 0), b2 = onAirByte(frame.value, 1);
    const uint32_t b3 = onAirByte(frame.value, 2), b4 = onAirByte(frame.value, 3);
    if (b2 == inverted(b1) && b4 == inverted(b3))
        return parsed("NEC", b1, b3);
    return parsed("NECext", b1 | b2 << kByteBits, b3 | b4 << kByteBits);
}

std::optional<ParsedCode> samsungToParsed(const Frame &frame)
{
    const uint32_t b1 = onAirByte(frame.value, 0), b2 = onAirByte(frame.value, 1);
    const uint32_t b3 = onAirByte(frame.value, 2), b4 = onAirByte(frame.value, 3);
    if (b1 != b2 || b4 != inverted(b3))
        return std::nullopt;
    return parsed("Samsung32", b1, b3);
}

std::optional<ParsedCode> rc5ToParsed(const Frame &frame)
{
    const bool toggle = (frame.value >> 11) & 1;
    if (frame.bits != 12 || toggle)
        return std::nullopt;
    return parsed("RC5", (frame.value >> 6) & 0x1F, frame.value & 0x3F);
}

std::optional<ParsedCode> rc6ToParsed(const Frame &frame)
{
    const uint32_t modeAndToggle = frame.value >> 16;
    if (frame.bits != 20 || modeAndToggle != 0)
        return std::nullopt;
    return parsed("RC6", (frame.value >> kByteBits) & kByteMask, frame.value & kByteMask);
}

std::optional<ParsedCode> sonyToParsed(const Frame &frame)
{
    static const char *const kNames[] = {"SIRC", "SIRC15", "SIRC20"};
    static const int kAddressBits[] = {5, 8, 13};
    for (size_t i = 0; i < std::size(kNames); ++i) {
        const int addressBits = kAddressBits[i];
        if (frame.bits != kSonyCommandBits + addressBits)
            continue;
        return parsed(kNames[i], rev(frame.value & lowBits(addressBits), addressBits),
            rev(frame.value >> addressBits, kSonyCommandBits));
    }
    return std::nullopt;
}

std::optional<ParsedCode> panasonicToParsed(const Frame &frame)
{
    if (frame.bits != 48)
        return std::nullopt;
    const uint32_t vendor = rev(frame.address >> kByteBits & kByteMask, kByteBits)
        | rev(frame.address & kByteMask, kByteBits) << kByteBits;
    uint32_t b[4];
    for (int i = 0; i < 4; ++i)
        b[i] = onAirByte(frame.value, i);
    if ((b[0] & 0xF) != vendorParity(vendor) || (b[0] ^ b[1] ^ b[2]) != b[3])
        return std::nullopt;
    const uint32_t address = (b[2] >> 6) << 24 | vendor << 8 | (b[0] >> 4) << 4 | (b[1] & 0xF);
    const uint32_t data = (b[1] >> 4) | (b[2] & 0x3F) << 4;
    return parsed("Kaseikyo", address, data);
}

} // namespace

std::optional<ParsedCode> toParsed(const Frame &frame)
{
    if (frame.repeat)
        return std::nullopt;
    switch (frame.protocol) {
    case Protocol::Nec:
        return frame.bits == 32 ? necToParsed(frame) : std::nullopt;
    case Protocol::Samsung:
        return frame.bits == 32 ? samsungToParsed(frame) : std::nullopt;
    case Protocol::Rc5:
        return rc5ToParsed(frame);
    case Protocol::Rc6:
        return rc6ToParsed(frame);
    case Protocol::Sony:
        return sonyToParsed(frame);
    case Protocol::Panasonic:
        return panasonicToParsed(frame);
    case Protocol::AiwaRcT501:
        return frame.bits == kNec42Bits ? parsed("NEC42", kAiwaAddress, frame.value) : std::nullopt;
    default:
        return std::nullopt;
    }
}

std::optional<ParsedCode> parsedForm(
    const std::optional<ircodec::Frame> &decoded, const ircodec::Durations &durations)
{
    if (decoded)
        return toParsed(*decoded);
    if (auto code = rc5ExtendedToParsed(durations))
        return code;
    return nec42ToParsed(durations);
}

std::optional<ParsedFrame> fromParsed(const ParsedCode &code, ParsedProblem &problem)
{
    for (const Decoder &decoder : kDecoders) {
        if (code.protocol != decoder.name)
            continue;
        const auto wider = [&decoder](int bits) {
            return "is wider than " + std::string(decoder.name) + "'s " + std::to_string(bits)
                + " bits";
        };
        if (code.address > lowBits(decoder.addressBits)) {
            problem = {ParsedProblem::Field::Address, wider(decoder.addressBits)};
            return std::nullopt;
        }
        if (code.command > lowBits(decoder.commandBits)) {
            problem = {ParsedProblem::Field::Command, wider(decoder.commandBits)};
            return std::nullopt;
        }
        Sent sent;
        if (!decoder.build(code.address, code.command, sent, problem))
            return std::nullopt;
        ParsedFrame result;
        if (sent.frame) {
            const auto bursts = ircodec::encode(*sent.frame);
            if (!bursts || bursts->empty()) {
                problem = {ParsedProblem::Field::Protocol, "cannot be encoded by our codec"};
                return std::nullopt;
            }
            result.durations = bursts->front().durations;
        } else {
            result.durations = std::move(sent.durations);
        }
        result.carrierHz = decoder.carrierHz ? decoder.carrierHz
            : sent.frame                     ? ircodec::nominalCarrierHz(sent.frame->protocol)
                                             : sent.carrierHz;
        return result;
    }
    problem = {ParsedProblem::Field::Protocol, "is not one our codec knows"};
    return std::nullopt;
}

} // namespace irfiles
