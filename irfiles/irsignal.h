// The recorded signal that every file format reads and writes, and the
// conventions that tie it to received frames.
#ifndef IRFILES_IRSIGNAL_H
#define IRFILES_IRSIGNAL_H

#include "ircodec.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace irfiles {

// Received raw values (IRResults::raw_data) are ticks of this many
// microseconds; the first value is the silence before the frame, then the
// marks and spaces, mark first. Every export and replay converts with it.
constexpr int32_t kTickUs = ircodec::kTickUs;

// The carrier written for a frame whose carrier is unknown and whose protocol
// is not known either, and the duty cycle of a frame that records none.
constexpr int32_t kDefaultCarrierHz = 38000;
constexpr double kDefaultDutyCycle = 0.33;

// The silence written after a frame where a format needs one (Pronto's last
// off time, the LIRC gap, the space between frames of a pulse/space file)
// and the frame records none of its own.
constexpr int64_t kLeadOutUs = 100000;

// One recorded frame.
struct Signal
{
    std::string name;                     // may be empty
    int32_t carrierHz = 0;                // 0: unknown or unmodulated
    double dutyCycle = kDefaultDutyCycle; // 0..1
    ircodec::Durations durations;         // microseconds, mark first, ends with a mark
    int64_t silenceBeforeUs = 0;          // 0: not recorded
    ircodec::Report decoded;              // catalogue type, address, value, bits
};

// The carrier of a frame: the nominal carrier of its protocol when it
// decodes (by its catalogue type, else by our decoders of its first frame,
// which also know ITT, NRC17 and RCA), otherwise defaultHz.
int32_t carrierFor(
    const ircodec::Report &decoded, const ircodec::Durations &durations, int32_t defaultHz);

// A recording's first frame, cut at the first silence that ends a frame,
// decoded: a recording may hold a frame followed by its repeats or further
// blocks.
std::optional<ircodec::Frame> decodeFirstFrame(const ircodec::Durations &durations);

// The decoded result of a recording, as our receiver reports it: that of
// its first frame, where a recording holds several (a frame and its
// repeats), cut at the first silence that ends a frame.
ircodec::Report decodeDurations(const ircodec::Durations &durations);

// The program's own reading of a recording, in one line: every frame read
// (ircodec's readers) as a sequence, "NEC 20DFC23D (...), then 3 repeats";
// "UNKNOWN" when nothing reads it.
std::string readingText(const ircodec::Durations &durations);

// A received frame as a signal: raw[0] is the silence before the frame in
// ticks, raw[1..count) its durations in ticks. The carrier follows
// carrierFor(decoded, durations, defaultCarrierHz).
Signal fromReceived(
    const ircodec::Report &decoded, const int32_t *raw, int count, int32_t defaultCarrierHz);

// The raw values of a signal as a receiver would deliver them: the silence
// before (saturated like a 16-bit capture counter), then every duration in
// ticks. Never cut: a frame longer than IRResults can carry keeps all of
// its values.
std::vector<int32_t> toRawTicks(const Signal &signal);

} // namespace irfiles

#endif // IRFILES_IRSIGNAL_H
