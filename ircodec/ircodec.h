// ircodec: IR remote-control frames to microsecond timings and back.
//
// Pure functions, no threads, no Qt. A frame is described the way the
// adapter interface describes it (protocol, value, address, bits, repeat);
// encode() turns it into marks and spaces, decode() turns marks and spaces
// back into a frame, Segmenter splits a continuous stream of marks and spaces
// into frames at long silences, and toTicks() converts a received frame into
// the 50 microsecond ticks that IRResults carries.
//
// Value convention (shared by every protocol unless its notes say otherwise):
// the data bits in on-air order, the first bit on the air being the most
// significant bit of `value`. For least-significant-bit-first protocols the
// fields therefore appear bit-reversed in `value`.
#ifndef IRCODEC_IRCODEC_H
#define IRCODEC_IRCODEC_H

#include "irlimits.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace ircodec {

// Every protocol the codec encodes and decodes. The catalogue protocols come
// first; ITT, NRC17 and RCA have no catalogue identifier.
enum class Protocol {
    Rc5,
    Rc6,
    Nec,
    Sony,
    Panasonic,
    Jvc,
    Samsung,
    Whynter,
    AiwaRcT501,
    Lg,
    Sanyo,
    Mitsubishi,
    Dish,
    Sharp,
    Denon,
    LegoPf,
    Itt,
    Nrc17,
    Rca,
};

constexpr int kProtocolCount = static_cast<int>(Protocol::Rca) + 1;

// Marks and spaces in microseconds, mark first, alternating.
using Durations = std::vector<int32_t>;

// One frame, in the terms of the adapter interface.
//   value, address, bits: per protocol, as listed below.
//   repeat: on encode, send the protocol's repeat form where it has one (NEC
//   and SAMSUNG ditto, JVC headerless frame, LEGO_PF five copies); on decode,
//   the frame was such a repeat form (value 0xFFFFFFFF, bits 0) or the echo
//   half of a SHARP message.
struct Frame
{
    Protocol protocol = Protocol::Nec;
    uint32_t value = 0;
    uint32_t address = 0;
    int bits = 0;
    bool repeat = false;

    bool operator==(const Frame &other) const;
    bool operator!=(const Frame &other) const
    {
        return !(*this == other);
    }
};

// A frame from its fields.
inline Frame makeFrame(
    Protocol protocol, uint32_t value, int bits, uint32_t address = 0, bool repeat = false)
{
    Frame frame;
    frame.protocol = protocol;
    frame.value = value;
    frame.bits = bits;
    frame.address = address;
    frame.repeat = repeat;
    return frame;
}

// Fields per protocol (bits accepted by encode(); decode() reports the first):
//   RC5        bits 12: toggle, 5-bit address, 6-bit command (S1, S2 = 1 added)
//   RC6        bits 4..32: 3 mode bits, toggle (sent double width), data.
//              Mode 0 has 16 data bits (bits 20); mode 6 has 16, 20, 24 or
//              32 (bits 20, 24, 28, 36). A 36-bit frame: value = the low
//              32 bits of mode, toggle and data, which are the data
//              (media-centre remotes: 0x800F04xx, with their own toggle in
//              bit 15, reported as it comes); sent as mode 6, toggle 0.
//   NEC        bits 32: the four bytes; repeat: the ditto
//   SONY       bits 12, 15 or 20
//   PANASONIC  bits 48 (or 32): address = the first 16 bits, value = the last 32
//   JVC        bits 16; repeat: the frame without header, decoded as a repeat
//   SAMSUNG    bits 32; repeat: the ditto (4.5 ms mark, 2.25 ms space)
//   WHYNTER    bits 32
//   AIWA_RC_T501 bits 42 (or 8): value = the 8-bit command; address 0x6E fixed
//   LG         bits 28
//   SANYO      bits 12..32 (3.5 ms header, data in the spaces)
//   MITSUBISHI bits 16..32
//   DISH       bits 16
//   SHARP      bits 15: address = 5-bit address, value = 8-bit command; sent
//              as the plain half and, 40 ms later, the inverted echo half
//   DENON      bits 14: the 15-bit frame without its first bit, which is 0;
//              the two control bits (value bits 1, 0) must be 00 or 11, the
//              other two patterns being SHARP's
//   LEGO_PF    bits 16: the message, whose last nibble must be its check
//              nibble; repeat: five copies spaced as the channel demands
//   ITT        bits 10: address (4), command (6), both least significant first
//   NRC17      bits 16: the 8-bit field, then the two 4-bit fields
//   RCA        bits 24: address (4), command (8), their complements
//
// The value a repeat form decodes to.
constexpr uint32_t kRepeatValue = 0xFFFFFFFFu;

// One burst on the air: `durations` starts and ends with a mark; `gap` is the
// silence that must follow before anything else is sent.
struct Burst
{
    Durations durations;
    int32_t gap = 0;
};

// A frame on the air: usually one burst; SHARP sends two halves and LEGO_PF
// five copies when repeated.
using Bursts = std::vector<Burst>;

// Encodes a frame. Empty when the protocol cannot carry it (a bit count it
// does not have, a value or address wider than its fields). Only PANASONIC
// and SHARP have an address field; the other protocols ignore `address`, as
// their address, where they have one, is part of `value`.
std::optional<Bursts> encode(const Frame &frame);

// Decodes one frame (marks and spaces, mark first, without the silences
// around it). Empty when no protocol accepts it. Every duration may be off by
// up to 25 % (at least 100 microseconds); a mark may also be longer, or a
// space shorter, by up to 250 microseconds (at most half its length) when a
// neighbour gave up that time, as receiver modules make them (timing.h).
// ITT is matched within 25 % only.
std::optional<Frame> decode(const Durations &durations);

// Decodes with one protocol's decoder only.
std::optional<Frame> decodeAs(Protocol protocol, const Durations &durations);

// Name for messages and tests: the catalogue's name ("NEC"), or "ITT",
// "NRC17", "RCA" for the protocols it lacks.
const char *name(Protocol protocol);

// The carrier a protocol is sent on, in Hz; 0 for ITT, which flashes
// without one.
int32_t nominalCarrierHz(Protocol protocol);

// ---------------------------------------------------------------------------
// Catalogue identifiers (protocols.h) and the adapter's records.

// The catalogue identifier of a protocol; Unknown (-1) for ITT, NRC17, RCA.
int32_t catalogueId(Protocol protocol);

// The protocol that a catalogue identifier sends; empty for UNKNOWN, UNUSED,
// PRONTO and identifiers outside the catalogue.
std::optional<Protocol> sendableProtocol(int32_t catalogueId);

// A frame from the fields of the adapter's protocol-send record. Empty when
// the identifier cannot be sent. Whether the fields fit is checked by encode().
std::optional<Frame> fromSendRecord(
    int32_t catalogueId, uint32_t value, uint16_t address, int bits, bool repeat);

// What the receiver reports for a frame: the catalogue identifier, address,
// value and bits. Frames of protocols without an identifier, and frames that
// nothing decoded, are reported as UNKNOWN with address, value and bits 0.
struct Report
{
    int32_t decodeType = -1;
    uint32_t address = 0;
    uint32_t value = 0;
    int32_t bits = 0;
};
Report report(const std::optional<Frame> &frame);

// ---------------------------------------------------------------------------
// Segmentation: a continuous stream of marks and spaces into frames.

// A space at least this long ends a frame. Longer than any space inside a
// frame of the supported protocols (DISH's 6.1 ms lead-in space, plus
// tolerance), shorter than any gap between frames.
constexpr int32_t kFrameSilenceUs = 10000;

// One frame cut out of the stream.
struct Capture
{
    int64_t silenceBefore = 0; // microseconds of silence before the first mark
    Durations durations;       // mark first, ends with a mark
    bool overflow = false;     // longer than irlimits::kMaxReceivedDurations: cut there
};

// Incremental splitter. Feed marks and spaces in order as they are measured;
// a completed frame is returned by the call that completes it.
class Segmenter
{
public:
    explicit Segmenter(int32_t frameSilenceUs = kFrameSilenceUs);

    std::optional<Capture> mark(int64_t us);
    std::optional<Capture> space(int64_t us);
    // The air has been silent for `us` since the last mark; ends the frame in
    // progress once that reaches the frame silence (for receivers that wait
    // with a timeout). A later space() call with the full length of the same
    // silence is still expected.
    std::optional<Capture> idle(int64_t us);
    // Whether a frame is in progress.
    bool inFrame() const
    {
        return inFrame_;
    }

private:
    std::optional<Capture> finish();

    int32_t frameSilence_;
    bool inFrame_ = false;
    bool ended_ = false; // idle() ended the frame; the next space only adds silence
    Capture current_;
    int64_t silence_ = 0;
};

// Splits a whole stream (mark first, alternating; a trailing space may be
// present). The last frame is complete at the end of the stream.
std::vector<Capture> segment(const Durations &stream, int32_t frameSilenceUs = kFrameSilenceUs);

// ---------------------------------------------------------------------------
// Raw timings as IRResults carries them.

constexpr int32_t kTickUs = 50;
// The silence before a frame saturates like a 16-bit capture counter.
constexpr int32_t kMaxSilenceTicks = 0xFFFF;

// First value: the silence before the frame in ticks; then each duration in
// ticks (rounded, at least 1). At most irlimits::kMaxReceivedRawValues values.
std::vector<int32_t> toTicks(int64_t silenceBeforeUs, const Durations &durations);

// ---------------------------------------------------------------------------
// The quick-send operations' frames. Empty when an argument does not fit the
// protocol's field.

// NEC: address, then ~address or (flag 0) the address again, command, then
// ~command or (flag 0) the command again.
Frame necFrame(uint8_t address, uint8_t command, bool inverted);
Frame necRepeatFrame();
// ITT: address 0..15, command 0..63.
std::optional<Frame> ittFrame(int address, int command);
// JVC: address and command 0..255; a repeat frame has no header.
Frame jvcFrame(uint8_t address, uint8_t command, bool first);
// NRC17: the 8-bit field, then the two 4-bit fields (0..15). The 4-bit
// fields also take 255 as all ones, so that the operation's published
// start/stop frame (254, 255, 255) is 0xFE, 0xF, 0xF.
std::optional<Frame> nrc17Frame(int field8, int field4, int subcode);
// RCA: address 0..15, command 0..255.
std::optional<Frame> rcaFrame(int address, int command);

// Whether `frame` is the echo half of the message that `previous` began
// `silenceBeforeUs` earlier (SHARP); a receiver reports such a message once.
bool isEchoOf(const std::optional<Frame> &previous, const Frame &frame, int64_t silenceBeforeUs);

// The lowest `count` bits of `value` in reverse order.
uint32_t reverseBits(uint32_t value, int count);

} // namespace ircodec

#endif // IRCODEC_IRCODEC_H
