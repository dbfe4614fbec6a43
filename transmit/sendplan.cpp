#include "sendplan.h"

#include "ircodec.h"
#include "irlimits.h"
#include "protocols.h"
#include "sendtext.h"

#include <algorithm>
#include <limits>
#include <numeric>
#include <optional>

namespace sendplan {

namespace {

constexpr int64_t kUsPerMs = 1000;
constexpr int64_t kMsPerS = 1000;
constexpr int kHzPerKHz = 1000;

int roundedKHz(int32_t hz)
{
    return (hz + kHzPerKHz / 2) / kHzPerKHz;
}

int carrierKHz(int32_t hz, int defaultKHz)
{
    const int kHz = roundedKHz(hz);
    return kHz >= irlimits::kMinCarrierKHz && kHz <= irlimits::kMaxCarrierKHz ? kHz : defaultKHz;
}

int64_t ceilMs(int64_t us)
{
    return (us + kUsPerMs - 1) / kUsPerMs;
}

// "5.6 s", "0.501 s", "1 s": rounded up to the millisecond, so that a frame
// just over a limit never reads as the limit itself.
std::string seconds(int64_t us)
{
    const int64_t ms = ceilMs(us);
    std::string text = std::to_string(ms / kMsPerS);
    if (const int64_t fraction = ms % kMsPerS) {
        std::string digits = std::to_string(fraction + kMsPerS).substr(1);
        digits.erase(digits.find_last_not_of('0') + 1);
        text += '.' + digits;
    }
    return text + " s";
}

// The time a frame takes on the air: its bursts and the gaps between them.
int64_t onAirUs(const ircodec::Bursts &bursts)
{
    int64_t us = 0;
    for (size_t i = 0; i < bursts.size(); ++i) {
        us += std::accumulate(bursts[i].durations.begin(), bursts[i].durations.end(), int64_t{0});
        if (i + 1 < bursts.size())
            us += bursts[i].gap;
    }
    return us;
}

// One frame of a recording.
struct Piece
{
    ircodec::Durations durations;
    int64_t silenceBeforeUs = 0; // 0: not recorded
    bool cut = false;            // longer than the splitter keeps
};

// A recording's frames, cut where reception cuts them. A recording without
// durations is one frame without any.
std::vector<Piece> piecesOf(const irfiles::Signal &recording)
{
    std::vector<Piece> pieces;
    for (ircodec::Capture &capture : ircodec::segment(recording.durations))
        pieces.push_back({std::move(capture.durations), capture.silenceBefore, capture.overflow});
    if (pieces.empty())
        pieces.emplace_back();
    pieces.front().silenceBeforeUs = recording.silenceBeforeUs;
    return pieces;
}

// Protocols with a repeat code whose data could hold kRepeatValue: that
// value marks the repeat code, whatever bit count came with it, and is never
// data to build a frame from. (JVC's 16 bits cannot hold it.)
struct RepeatCode
{
    int32_t id;
    Operation operation;
};
constexpr RepeatCode kRepeatCodes[] = {
    {protocols::Nec, Operation::NecRepeat}, // the adapter's own operation for it
    {protocols::Samsung, Operation::Raw},   // as recorded
};

std::optional<Operation> repeatOperation(const ircodec::Report &decoded)
{
    if (decoded.value != ircodec::kRepeatValue)
        return std::nullopt;
    for (const RepeatCode &code : kRepeatCodes)
        if (code.id == decoded.decodeType)
            return code.operation;
    return std::nullopt;
}

// The frame the protocol operation would send, when the codec can build it
// from the decoded fields at all.
std::optional<ircodec::Bursts> protocolBursts(const ircodec::Report &decoded)
{
    const auto frame = ircodec::fromSendRecord(decoded.decodeType, decoded.value,
        static_cast<uint16_t>(decoded.address), decoded.bits, false);
    if (!frame || frame->address != decoded.address)
        return std::nullopt;
    return ircodec::encode(*frame);
}

void makeRaw(Step &step, const Piece &piece)
{
    step.operation = Operation::Raw;
    step.durations.assign(piece.durations.begin(), piece.durations.end());
    step.onAirUs = std::accumulate(piece.durations.begin(), piece.durations.end(), int64_t{0});
}

// A frame that the recording decoded as a whole.
void makeDecoded(Step &step, const Piece &piece, const ircodec::Report &decoded)
{
    const auto repeat = repeatOperation(decoded);
    if (repeat == Operation::NecRepeat) {
        step.operation = Operation::NecRepeat;
        step.onAirUs = onAirUs(*ircodec::encode(ircodec::necRepeatFrame()));
        return;
    }
    const auto bursts = repeat ? std::nullopt : protocolBursts(decoded);
    if (!bursts) {
        makeRaw(step, piece);
        return;
    }
    step.operation = Operation::Protocol;
    step.data = sendtext::makeSendData(decoded.decodeType, false,
        static_cast<uint16_t>(decoded.address), decoded.value, decoded.bits);
    step.onAirUs = onAirUs(*bursts);
}

// What one IR_SendRaw call carries at most; the first limit a frame breaks
// is its reason.
struct Limit
{
    bool (*broken)(const Piece &piece, const Step &step);
    std::string (*reason)(const Piece &piece, const Step &step);
};

const Limit kLimits[] = {
    {[](const Piece &p, const Step &) { return p.durations.empty(); },
        [](const Piece &, const Step &) { return std::string("no durations recorded to send"); }},
    {[](const Piece &p, const Step &) {
         return *std::min_element(p.durations.begin(), p.durations.end()) <= 0;
     },
        [](const Piece &p, const Step &) {
            return "a duration of "
                + std::to_string(*std::min_element(p.durations.begin(), p.durations.end()))
                + " us; the adapter takes durations of at least 1 us";
        }},
    {[](const Piece &p, const Step &) { return p.cut; },
        [](const Piece &p, const Step &) {
            return "frame of more than " + std::to_string(p.durations.size())
                + " values; the adapter takes at most " + std::to_string(irlimits::kMaxSendValues);
        }},
    {[](const Piece &, const Step &s) { return s.onAirUs > irlimits::kMaxSendDurationUs; },
        [](const Piece &, const Step &s) {
            return "frame " + seconds(s.onAirUs) + " long; the adapter takes at most "
                + seconds(irlimits::kMaxSendDurationUs);
        }},
    {[](const Piece &p, const Step &) {
         return p.durations.size() > static_cast<size_t>(irlimits::kMaxSendValues);
     },
        [](const Piece &p, const Step &) {
            return "frame of " + std::to_string(p.durations.size())
                + " values; the adapter takes at most " + std::to_string(irlimits::kMaxSendValues);
        }},
};

std::string refusalOf(const Piece &piece, const Step &step)
{
    if (step.operation != Operation::Raw)
        return std::string();
    for (const Limit &limit : kLimits)
        if (limit.broken(piece, step))
            return limit.reason(piece, step);
    return std::string();
}

} // namespace

std::vector<Step> plan(const std::vector<irfiles::Signal> &recordings, int defaultCarrierKHz)
{
    std::vector<Step> steps;
    steps.reserve(recordings.size());
    for (size_t r = 0; r < recordings.size(); ++r) {
        const irfiles::Signal &recording = recordings[r];
        const std::vector<Piece> pieces = piecesOf(recording);
        for (size_t f = 0; f < pieces.size(); ++f) {
            const Piece &piece = pieces[f];
            Step step;
            // The decoded result is the whole recording's: it speaks for a
            // recording of one frame only.
            if (pieces.size() == 1)
                makeDecoded(step, piece, recording.decoded);
            else
                makeRaw(step, piece);
            step.carrierKHz = carrierKHz(recording.carrierHz, defaultCarrierKHz);
            step.recording = r;
            step.frame = static_cast<int>(f);
            step.frames = static_cast<int>(pieces.size());
            step.refusal = refusalOf(piece, step);
            if (!steps.empty()) {
                // A frame without a recorded silence keeps the usual lead-out
                // from the one before, so that the two stay apart on the air.
                const int64_t silence
                    = piece.silenceBeforeUs > 0 ? piece.silenceBeforeUs : irfiles::kLeadOutUs;
                const int64_t delayMs = ceilMs(steps.back().onAirUs + std::min(silence, kMaxGapUs));
                step.delayMs
                    = static_cast<int>(std::min<int64_t>(delayMs, std::numeric_limits<int>::max()));
            }
            steps.push_back(std::move(step));
        }
    }
    return steps;
}

std::vector<const Step *> refused(const std::vector<Step> &steps)
{
    std::vector<const Step *> out;
    for (const Step &step : steps)
        if (!step.refusal.empty())
            out.push_back(&step);
    return out;
}

int64_t sequenceMs(const std::vector<Step> &steps)
{
    if (steps.empty())
        return 0;
    int64_t ms = ceilMs(steps.back().onAirUs);
    for (const Step &step : steps)
        ms += step.delayMs;
    return ms;
}

std::string where(const Step &step, int rowNumber)
{
    std::string text = "row " + std::to_string(rowNumber);
    if (step.frames > 1)
        text += ", frame " + std::to_string(step.frame + 1) + " of " + std::to_string(step.frames);
    return text;
}

} // namespace sendplan
