// A protocol's row in the reading table, and what protocol files share.
//
// A new protocol is one file under protocols/ that defines its Reader
// (name, what it admits, how it reads, writes and describes a frame) and
// one row in readers.cpp that lists it.
#ifndef IRCODEC_READER_H
#define IRCODEC_READER_H

#include "reading.h"
#include "timing.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ircodec {

// What kind of device sends the protocol; the tools count them apart.
enum class Family { Remote, AirConditioner, Generic };

// How a reading's data is shown (dataHex()).
enum class Presentation {
    CatalogueValue, // the frame's value, 8 hex digits
    Number,         // the bits as one number, the first on the air most significant
    BytesLsbFirst,  // whole bytes, each sent least significant bit first
    BytesMsbFirst,  // whole bytes, each sent most significant bit first
};

// A cheap test that keeps a reader from frames it can never take: the
// number of durations, and the first mark's length (0: any).
struct Admission
{
    int minDurations = 1;
    int maxDurations = irlimits::kMaxReceivedDurations;
    int32_t firstMarkMin = 0;
    int32_t firstMarkMax = 0;
};

// The admission of frames of `minDurations` to `maxDurations` durations
// whose first mark fits a mark of `shortest` to `longest` nominal length
// (timing.h).
constexpr Admission admitFirstMark(
    int minDurations, int maxDurations, int32_t shortest, int32_t longest)
{
    return {minDurations, maxDurations, static_cast<int32_t>(Window(shortest, Level::Mark).low),
        static_cast<int32_t>(Window(longest, Level::Mark).high)};
}

struct Reader
{
    const char *name;              // null for the codec's protocols, named by name(Protocol)
    std::optional<Protocol> codec; // set for the codec's own protocols
    Family family;
    Presentation presentation;
    int32_t carrierHz; // nominal carrier; 0 for unmodulated frames
    Admission admission;
    // Reads a frame into `out` (whose reader is set already); false when
    // the protocol does not take it. Sets bits, evidence and the rest.
    bool (*read)(const Durations &durations, Reading &out);
    // The nominal durations of a reading; empty when it cannot be sent.
    Durations (*write)(const Reading &reading);
    // A valid reading of the protocol into `out` (whose reader is set),
    // varied by `seed`: for tests. False when there is none for the seed.
    bool (*example)(uint64_t seed, Reading &out);
    // Appends the reading's fields to `out` ("address 0x04, command 0x08").
    // May be null.
    void (*describe)(const Reading &reading, std::string &out);
    // Reads the next frame of a recording into `first` when it is a further
    // block of the same message; false otherwise. May be null.
    bool (*extend)(Reading &first, const Capture &next);
    // Whether the next frame repeats `first` though another protocol's
    // reader names it (GI cable boxes send NEC's dittos). May be null: a
    // frame repeats a reading when it reads as the same protocol with the
    // same bits, or as that protocol's repeat form.
    bool (*repeatedBy)(const Reading &first, const Capture &next) = nullptr;
    // Into how many frames reception cuts one of the protocol's frames
    // (spaces longer than kFrameSilenceUs inside it), 1 when it does not:
    // a sequence joins that many to read one.
    int cutInto = 1;
};

// The carrier a reader's protocol is sent on, in Hz; 0 when unmodulated
// or unknown.
int32_t carrierHz(const Reader &reader);

// Every reader of the table.
#define IRCODEC_READER(name) extern const Reader name;
#include "readerlist.h"
#undef IRCODEC_READER

// Every reader, in table order.
const std::vector<const Reader *> &readers();
// The reader of a protocol by name; null when there is none.
const Reader *readerNamed(const std::string &name);
// The reader of one of the codec's protocols.
const Reader &readerFor(Protocol protocol);

// ---------------------------------------------------------------------------
// Helpers for protocol files.

// A reproducible stream of pseudo-random numbers for example().
class ExampleBits
{
public:
    explicit ExampleBits(uint64_t seed) : state_(seed) { }
    // The next `count` bits (at most 64).
    uint64_t next(int count = 64);
    // The next `count` bits, any count, as on-air bits.
    BitString bits(int count);

private:
    uint64_t state_;
};

// An example() for protocols of `Bits` bits that any bits make a valid
// frame of, with Framed evidence.
template <int Bits> bool framedExample(uint64_t seed, Reading &out)
{
    out.bits = ExampleBits(seed).bits(Bits);
    out.evidence = Evidence::Framed;
    return true;
}

// Appends "name 0xVALUE" to a field list, with ", " between fields; the
// value in upper-case hex, zero-padded to `digits`.
void appendField(std::string &out, const char *name, uint64_t value, int digits);
// Appends a plain phrase ("checksum ok") the same way.
void appendPhrase(std::string &out, const char *phrase);

} // namespace ircodec

#endif // IRCODEC_READER_H
