// Readings: what the program itself makes of a frame, beyond what the
// adapter reports. The adapter reports a catalogue identifier (report());
// a reading names any protocol the program knows (the catalogue's, ITT,
// NRC17, RCA and the many others real remotes and air conditioners use),
// or reads a frame that no protocol explains to its bits with a summary of
// its timing (a generic reading), or says that nothing reads it.
//
// Every protocol is a Reader (readers.h): one file and one row of the
// reading table. When more than one reader takes a frame, the rule of
// pickReading() decides: the strongest evidence first (a verified check
// beats a fixed frame shape, which beats a bare one, which beats a generic
// reading), then the closer fit of the frame's timing to the protocol's
// nominal timing, then the table's order.
#ifndef IRCODEC_READING_H
#define IRCODEC_READING_H

#include "bitstring.h"
#include "ircodec.h"

#include <optional>
#include <string>
#include <vector>

namespace ircodec {

struct Reader;

// How strongly a frame's reading is borne out, weakest first.
enum class Evidence {
    Shape,   // a generic reading: the frame is regular, no protocol is named
    Bare,    // a protocol without header or check, told by its timing alone
    Framed,  // a protocol's header, leader or fixed length found
    Checked, // and a check held: complements, a checksum, constant fields
};

// What a generic reading measured, in microseconds: the header (0 when
// the frame has none), the time unit (the constant mark of pulse-distance
// frames, the space of pulse-width frames, the half bit of bi-phase
// frames), the mark and space of a 0 bit and of a 1 bit, the stop mark,
// and the pairs that split a pulse-distance frame into sections (a mark
// and a long space, or the header again), after which bits, counted from 1.
constexpr int kMaxSeparatorsRead = 4;
constexpr int kMaxSpaceLevels = 16;
struct Timing
{
    int32_t headerMark = 0;
    int32_t headerSpace = 0;
    int32_t unit = 0;
    int32_t zeroMark = 0;
    int32_t zeroSpace = 0;
    int32_t oneMark = 0;
    int32_t oneSpace = 0;
    int32_t stopMark = 0;       // 0: none
    int32_t separatorMark = 0;  // the mark before a separator's space
    int32_t separatorSpace = 0; // 0: none
    int separatorAfter[kMaxSeparatorsRead] = {};
    // Pulse distance with more than two space lengths: each space is one of
    // these, shortest first, and gives its number in the fewest bits that
    // hold them all (zeroSpace and oneSpace are then the two shortest).
    int levelCount = 0;
    int32_t levels[kMaxSpaceLevels] = {};
};

struct Reading
{
    const Reader *reader = nullptr; // null: nothing reads the frame
    // The data bits in on-air order (a codec protocol's: its frame's bits).
    BitString bits;
    // The frame in the adapter's terms, for the protocols the codec sends.
    std::optional<Frame> frame;
    // The protocol's repeat form (NEC's ditto, ...): it carries no data.
    bool repeat = false;
    // Complements or a checksum were checked and held.
    bool checked = false;
    Evidence evidence = Evidence::Shape;
    Timing timing; // generic readings

    explicit operator bool() const
    {
        return reader != nullptr;
    }
    // A fresh reading for `by`, every field as a new one has it, the bits
    // keeping their memory: read() tries several readers on every frame.
    void restart(const Reader *by)
    {
        reader = by;
        bits.clear();
        frame.reset();
        repeat = false;
        checked = false;
        evidence = Evidence::Shape;
        timing = Timing();
    }
};

// The reading of one frame (marks and spaces, mark first, ends with a
// mark): the best of every reader that takes it, or none.
Reading read(const Durations &durations);

// Every reader's reading of a frame, the one read() picks first. For tools
// and tests that look for frames more than one reader takes.
std::vector<Reading> readAll(const Durations &durations);

// Of two readings of the same frame, whether `a` is to be picked before
// `b`: stronger evidence, else the closer timing fit, else the earlier
// table row.
bool pickBefore(const Reading &a, const Reading &b, const Durations &durations);

// How far measured durations are from nominal ones: the distance of each
// from its nominal, after taking out the one receiver excess that fits best
// (marks longer and spaces shorter by as much, timing.h), summed as a share
// of the nominal length. 0 for a perfect fit; kNoFit when the lengths
// differ.
constexpr double kNoFit = 1e9;
double fitDistance(const Durations &measured, const Durations &nominal);

// The fit of a frame to the nominal timing of its reading; kNoFit when the
// reading cannot be written out.
double timingFit(const Reading &reading, const Durations &durations);

// ---------------------------------------------------------------------------
// Texts, one place for every form a reading is shown in.

// The protocol's name: the catalogue's ("NEC"), our own for the others
// ("RC5X", "COOLIX"), "PULSE_DISTANCE", "PULSE_WIDTH" or "BIPHASE" for a
// generic reading, "UNKNOWN" for none.
const char *protocolName(const Reading &reading);
// Bit count of the data (0 for a repeat form).
int bitCount(const Reading &reading);
// The data in upper-case hex: a catalogue protocol's value as 8 digits,
// an air conditioner's state bytes in order, otherwise the bits as one
// number, the first on the air most significant. Empty for none.
std::string dataHex(const Reading &reading);
// What else the reading says: fields, checks, repeats, and for a generic
// reading its timing. May be empty.
std::string detailText(const Reading &reading);
// One line: name, data and details ("NEC 20DFC23D address 0x04 ...").
std::string summary(const Reading &reading);

// ---------------------------------------------------------------------------
// Sequences: a recording of several frames (a key held down, a remote that
// sends a message in blocks).

// Where a frame stands in its sequence.
enum class Role {
    First,  // begins a reading
    Repeat, // repeats the reading it follows (or is its protocol's repeat form)
    Block,  // a further block of the reading it follows, read into it
};

struct SequenceFrame
{
    Reading reading; // the frame's own reading
    Role role = Role::First;
    int first = 0; // index of the frame that began its reading
};

struct Sequence
{
    std::vector<SequenceFrame> frames;
    // The readings: one per frame whose role is First, with the bits of
    // its further blocks appended, and how many repeats followed it.
    struct Item
    {
        Reading reading;
        int frame = 0;   // index of its first frame
        int blocks = 1;  // frames read into it
        int repeats = 0; // frames that repeated it
    };
    std::vector<Item> items;
};

// Reads frames cut out of one recording (segment()) as a sequence.
Sequence readSequence(const std::vector<Capture> &frames);

// "NEC 20DFC23D, then 3 repeats": every item of the sequence, with its
// blocks and repeats, items separated by "; "; unread frames one after
// another as one "UNKNOWN (N frames)".
std::string summary(const Sequence &sequence);
// The summary of one item: its reading's summary and what followed it.
std::string summary(const Sequence::Item &item);

} // namespace ircodec

#endif // IRCODEC_READING_H
