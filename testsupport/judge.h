// The verdicts of an independent ~100-protocol decoding library on every
// recorded capture (real-captures-judge.tsv), and how its names and values
// map onto our readings. A judge, not ground truth: where it and the
// durations disagree, the durations win.
//
// Lines: file, record index, protocol (UNKNOWN when it reads nothing), bits,
// value in hex (state bytes for air conditioners), address, command,
// repeat flag, how it read the frame (0 = not, 1 = as recorded, 2 = with a
// long trailing space added).
#ifndef TESTS_JUDGE_H
#define TESTS_JUDGE_H

#include "captures.h"
#include "reading.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace ircaptures {

struct Judged
{
    std::string protocol; // the judge's name; "UNKNOWN" when it read nothing
    int bits = 0;
    std::string value; // upper-case hex as the judge wrote it
    bool repeat = false;
};

using FrameKey = std::pair<std::string, int>; // file, record index

struct JudgeFile
{
    bool opened = false;
    int badLines = 0;
    std::map<FrameKey, Judged> verdicts;
};
JudgeFile loadJudge(const std::string &path);

// Whether the judge's verdict is one to count: it read the frame, and not
// with one of its names that read 3- to 7-duration fragments spuriously.
bool judgeReads(const Judged &verdict);

// How the judge's verdict compares with a reading of ours.
enum class Verdict {
    NoMapping,     // the judge's protocol has no counterpart of ours
    OtherProtocol, // we name another protocol family
    OtherValue,    // the same family, another value
    Agrees,        // the same family and value
};
Verdict compare(const Judged &verdict, const ircodec::Reading &reading);

// Our protocol names that a judge's name counts as (empty: none).
std::vector<std::string> ourNamesFor(const std::string &judgeName);

} // namespace ircaptures

#endif // TESTS_JUDGE_H
