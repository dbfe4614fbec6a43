// Recorded real-remote captures (tab-separated text files) and the figures
// the codec is judged by on them: what each protocol claims, how often a
// decode agrees with an independent decoder's result, and which frames more
// than one decoder accepts. No Qt, so that the benchmark tools can use it
// too.
//
// Lines of the raw file: file, record index, button, carrier Hz, durations
// (space-separated microseconds, mark first). Lines of the reference file
// add, before the durations: expected decode_type, expected value (hex),
// expected bits, the reference decoder's own fields. Lines starting with '#'
// are comments.
#ifndef TESTSUPPORT_CAPTURES_H
#define TESTSUPPORT_CAPTURES_H

#include "ircodec.h"

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace ircaptures {

struct Recorded
{
    std::string file;
    int record = 0;
    std::string button;
    ircodec::Durations durations;
};

// A recorded frame with what an independent decoder made of it.
struct Referenced
{
    Recorded recorded;
    ircodec::Report expected;
    std::string fields; // the independent decoder's own words
};

// One line; empty when it is not a frame line of that form.
std::optional<Recorded> parseRecorded(const std::string &line);
std::optional<Referenced> parseReferenced(const std::string &line);

// A whole file. Comment and blank lines are skipped; every other line that
// does not parse is counted in `badLines`. `opened` is false when the file
// cannot be read.
template <typename Line> struct Loaded
{
    bool opened = false;
    int badLines = 0;
    std::vector<Line> lines;
};
Loaded<Recorded> loadRecorded(const std::string &path);
Loaded<Referenced> loadReferenced(const std::string &path);

// How many frames decode() gives to each protocol, and how many to none.
struct Claims
{
    std::array<int, ircodec::kProtocolCount> perProtocol{};
    int unknown = 0;
};
Claims claims(const std::vector<Recorded> &frames);

// Decodes compared with the reference, per expected decode_type.
struct Agreement
{
    int frames = 0;
    int agreed = 0;        // the same decode_type, value and bits
    int otherProtocol = 0; // reported as another protocol: a false decode
    int otherFields = 0;   // the right protocol with another value or bits
    int unknown = 0;       // nothing decoded
};
// Whether `got` is what the reference expects.
bool agrees(const ircodec::Report &expected, const ircodec::Report &got);
std::map<int32_t, Agreement> agreement(const std::vector<Referenced> &frames);

// Frames that decode() gives to one protocol and another protocol's decoder
// accepts too, per pair; `betterFit` of them the other protocol's nominal
// timing explains better (shapefit.h): false decodes by their shape.
struct LookAlike
{
    ircodec::Protocol decoded;
    ircodec::Protocol alsoAcceptedBy;
    int frames = 0;
    int betterFit = 0;
};
std::vector<LookAlike> lookAlikes(const std::vector<Recorded> &frames);

// The share of `part` in `whole`, in percent (100 for an empty whole).
double percent(int part, int whole);

} // namespace ircaptures

#endif // TESTSUPPORT_CAPTURES_H
