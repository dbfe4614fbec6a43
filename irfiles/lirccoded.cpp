#include "lirccoded.h"

#include "irsignal.h"
#include "loaded.h"
#include "textreader.h"

#include <algorithm>

namespace irfiles::lirc {

namespace {

constexpr int kMaxBits = 64;

// What a parameter's words are.
enum class Kind {
    Word,     // the first word as written
    Flags,    // every word as written, joined (flags may have blanks around '|')
    Duration, // one number of microseconds
    Pair,     // pulse and space
    Gap,      // one or two numbers; the first is the gap after a frame
    Count,    // one whole number
    Code,     // one bit pattern
};

struct Setter
{
    const char *name;
    Kind kind;
    void (*set)(Parameters &p, const std::vector<uint64_t> &values, std::string_view text);
};

// Durations and counts beyond what a mark or space can last mean nothing
// more: they saturate there, so that sums of them stay in range.
int64_t signedValue(uint64_t value)
{
    return static_cast<int64_t>(std::min<uint64_t>(value, irlimits::kMaxDurationUs));
}

Pair pairOf(const std::vector<uint64_t> &v)
{
    return Pair{signedValue(v[0]), signedValue(v[1])};
}

using V = std::vector<uint64_t>;
using P = Parameters;

// The parameters that shape a remote's first frame; the others (eps, aeps,
// repeat, min_repeat, toggle_mask, ...) only shape repeats or reception.
const Setter kSetters[] = {
    {"name", Kind::Word, [](P &p, const V &, std::string_view t) { p.name = std::string(t); }},
    {"flags", Kind::Flags, [](P &p, const V &, std::string_view t) { p.flags.emplace_back(t); }},
    {"header", Kind::Pair, [](P &p, const V &v, std::string_view) { p.header = pairOf(v); }},
    {"one", Kind::Pair, [](P &p, const V &v, std::string_view) { p.one = pairOf(v); }},
    {"zero", Kind::Pair, [](P &p, const V &v, std::string_view) { p.zero = pairOf(v); }},
    {"pre", Kind::Pair, [](P &p, const V &v, std::string_view) { p.pre = pairOf(v); }},
    {"post", Kind::Pair, [](P &p, const V &v, std::string_view) { p.post = pairOf(v); }},
    {"foot", Kind::Pair, [](P &p, const V &v, std::string_view) { p.foot = pairOf(v); }},
    {"plead", Kind::Duration,
        [](P &p, const V &v, std::string_view) { p.plead = signedValue(v[0]); }},
    {"ptrail", Kind::Duration,
        [](P &p, const V &v, std::string_view) { p.ptrail = signedValue(v[0]); }},
    {"gap", Kind::Gap, [](P &p, const V &v, std::string_view) { p.gap = signedValue(v[0]); }},
    {"bits", Kind::Count, [](P &p, const V &v, std::string_view) { p.bits = signedValue(v[0]); }},
    {"pre_data_bits", Kind::Count,
        [](P &p, const V &v, std::string_view) { p.preDataBits = signedValue(v[0]); }},
    {"post_data_bits", Kind::Count,
        [](P &p, const V &v, std::string_view) { p.postDataBits = signedValue(v[0]); }},
    {"pre_data", Kind::Code, [](P &p, const V &v, std::string_view) { p.preData = v[0]; }},
    {"post_data", Kind::Code, [](P &p, const V &v, std::string_view) { p.postData = v[0]; }},
    {"toggle_bit", Kind::Count,
        [](P &p, const V &v, std::string_view) { p.toggleBit = signedValue(v[0]); }},
    {"repeat_bit", Kind::Count, // the old name of toggle_bit
        [](P &p, const V &v, std::string_view) { p.toggleBit = signedValue(v[0]); }},
    {"toggle_bit_mask", Kind::Code,
        [](P &p, const V &v, std::string_view) { p.toggleBitMask = v[0]; }},
    {"rc6_mask", Kind::Code, [](P &p, const V &v, std::string_view) { p.rc6Mask = v[0]; }},
    {"frequency", Kind::Count,
        [](P &p, const V &v, std::string_view) { p.frequency = signedValue(v[0]); }},
    {"duty_cycle", Kind::Count,
        [](P &p, const V &v, std::string_view) { p.dutyCycle = signedValue(v[0]); }},
};

size_t valueCount(Kind kind, size_t given)
{
    switch (kind) {
    case Kind::Word:
    case Kind::Flags:
        return 0;
    case Kind::Pair:
        return 2;
    case Kind::Gap:
        return std::min<size_t>(given, 2);
    default:
        return 1;
    }
}

enum class FlagUse { PulseDistance, BiPhase, Rc6, Raw, Unsupported, Reverse, ConstLength, Repeats };

struct Flag
{
    const char *name;
    FlagUse use;
};

// Every flag LIRC knows. Those that only shape repeats change nothing in a
// button's first frame.
constexpr Flag kFlags[] = {
    {"RAW_CODES", FlagUse::Raw},
    {"RC5", FlagUse::BiPhase},
    {"SHIFT_ENC", FlagUse::BiPhase},
    {"RC6", FlagUse::Rc6},
    {"RCMM", FlagUse::Unsupported},
    {"SPACE_ENC", FlagUse::PulseDistance},
    {"SPACE_FIRST", FlagUse::Unsupported},
    {"GOLDSTAR", FlagUse::Unsupported},
    {"GRUNDIG", FlagUse::Unsupported},
    {"BO", FlagUse::Unsupported},
    {"SERIAL", FlagUse::Unsupported},
    {"XMP", FlagUse::Unsupported},
    {"REVERSE", FlagUse::Reverse},
    {"NO_HEAD_REP", FlagUse::Repeats},
    {"NO_FOOT_REP", FlagUse::Repeats},
    {"CONST_LENGTH", FlagUse::ConstLength},
    {"REPEAT_HEADER", FlagUse::Repeats},
};

bool isEncoding(FlagUse use)
{
    return use == FlagUse::PulseDistance || use == FlagUse::BiPhase || use == FlagUse::Rc6
        || use == FlagUse::Raw || use == FlagUse::Unsupported;
}

// Each flag named in the flags lines, split at '|'.
template <typename Each> void forEachFlag(const Parameters &parameters, Each each)
{
    for (const std::string &line : parameters.flags) {
        size_t start = 0;
        while (start <= line.size()) {
            const size_t end = std::min(line.find('|', start), line.size());
            const std::string_view name
                = textreader::trim(std::string_view(line).substr(start, end - start));
            start = end + 1;
            if (!name.empty())
                each(name);
        }
    }
}

const Flag *flagNamed(std::string_view name)
{
    for (const Flag &f : kFlags)
        if (textreader::equalsNoCase(name, f.name))
            return &f;
    return nullptr;
}

uint64_t mask(int64_t bits)
{
    return bits >= kMaxBits ? ~uint64_t{0} : (uint64_t{1} << bits) - 1;
}

void put(ircodec::Durations &out, int64_t us, bool pulse)
{
    if (us <= 0)
        return;
    // A frame starts with a pulse: a space before it is silence.
    if (out.empty() && !pulse)
        return;
    const bool lastIsPulse = out.size() % 2 == 1;
    if (!out.empty() && lastIsPulse == pulse)
        out.back() = static_cast<int32_t>(std::min(out.back() + us, irlimits::kMaxDurationUs));
    else
        out.push_back(static_cast<int32_t>(std::min(us, irlimits::kMaxDurationUs)));
}

} // namespace

std::optional<uint64_t> number(std::string_view token)
{
    int base = 10;
    if (textreader::startsWith(token, "0x") || textreader::startsWith(token, "0X")) {
        base = 16;
        token.remove_prefix(2);
    } else if (token.size() > 1 && token.front() == '0') {
        base = 8;
        token.remove_prefix(1);
    }
    if (token.empty())
        return std::nullopt;
    uint64_t value = 0;
    for (char c : token) {
        const int digit = c >= '0' && c <= '9' ? c - '0'
            : c >= 'a' && c <= 'f'             ? c - 'a' + 10
            : c >= 'A' && c <= 'F'             ? c - 'A' + 10
                                               : base;
        if (digit >= base || value > (UINT64_MAX - static_cast<uint64_t>(digit)) / base)
            return std::nullopt;
        value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
    }
    return value;
}

std::optional<std::string> setParameter(
    Parameters &parameters, const std::vector<std::string_view> &words)
{
    const Setter *setter = nullptr;
    for (const Setter &s : kSetters)
        if (textreader::equalsNoCase(words[0], s.name))
            setter = &s;
    if (!setter)
        return std::nullopt;
    const std::string name(words[0]);
    if (words.size() < 2)
        return name + " has no value";
    if (setter->kind == Kind::Word || setter->kind == Kind::Flags) {
        std::string text(words[1]);
        if (setter->kind == Kind::Flags)
            for (size_t i = 2; i < words.size(); ++i)
                text += std::string(words[i]);
        setter->set(parameters, {}, text);
        return std::nullopt;
    }
    const size_t count = valueCount(setter->kind, words.size() - 1);
    if (words.size() - 1 < count)
        return name + " needs " + std::to_string(count) + " values";
    std::vector<uint64_t> values;
    for (size_t i = 1; i <= count; ++i) {
        const auto value = number(words[i]);
        if (!value)
            return name + " \"" + std::string(words[i]) + "\" is not a number";
        values.push_back(*value);
    }
    setter->set(parameters, values, {});
    return std::nullopt;
}

bool rawCodes(const Parameters &parameters)
{
    bool raw = false;
    forEachFlag(parameters, [&raw](std::string_view name) {
        const Flag *flag = flagNamed(name);
        raw = raw || (flag && flag->use == FlagUse::Raw);
    });
    return raw;
}

std::optional<CodedRemote> CodedRemote::make(const Parameters &p, std::string &why)
{
    CodedRemote r;
    const Flag *encoding = nullptr;
    bool rc6 = false;
    forEachFlag(p, [&](std::string_view name) {
        const Flag *flag = flagNamed(name);
        if (!why.empty())
            return;
        if (!flag) {
            why = "has an unknown flag " + std::string(name);
            return;
        }
        if (isEncoding(flag->use)) {
            if (encoding && encoding->use != flag->use) {
                why = "names two encodings, " + std::string(encoding->name) + " and " + flag->name;
                return;
            }
            encoding = flag;
        }
        r.reverse_ = r.reverse_ || flag->use == FlagUse::Reverse;
        r.constLength_ = r.constLength_ || flag->use == FlagUse::ConstLength;
    });
    if (!why.empty())
        return std::nullopt;
    // No encoding flag: LIRC sends the bits pulse-distance (SPACE_ENC).
    const FlagUse use = encoding ? encoding->use : FlagUse::PulseDistance;
    if (use == FlagUse::Unsupported) {
        why = "uses the " + std::string(encoding->name)
            + " encoding, which this program cannot render (only SPACE_ENC, RC5, SHIFT_ENC and "
              "RC6)";
        return std::nullopt;
    }
    const Pair none;
    if (p.one == none && p.zero == none) {
        why = "has no timings: it is meant for a receiver that decodes by itself";
        return std::nullopt;
    }
    if (p.one == none || p.zero == none) {
        why = "has no timing for " + std::string(p.one == none ? "one" : "zero");
        return std::nullopt;
    }
    r.coding_ = use == FlagUse::PulseDistance ? Coding::PulseDistance : Coding::BiPhase;
    rc6 = use == FlagUse::Rc6;
    r.header_ = p.header;
    r.one_ = p.one;
    r.zero_ = p.zero;
    r.pre_ = p.pre;
    r.post_ = p.post;
    r.foot_ = p.foot;
    r.plead_ = p.plead;
    r.ptrail_ = p.ptrail;
    r.gap_ = p.gap;
    if (p.bits <= 0 || p.preDataBits < 0 || p.postDataBits < 0) {
        why = "has no bits";
        return std::nullopt;
    }
    if (p.bits + p.preDataBits + p.postDataBits > kMaxBits) {
        why = "has more than " + std::to_string(kMaxBits) + " bits";
        return std::nullopt;
    }
    r.bits_ = static_cast<int>(p.bits);
    r.preData_ = Field{p.preData & mask(p.preDataBits), static_cast<int>(p.preDataBits)};
    r.postData_ = Field{p.postData & mask(p.postDataBits), static_cast<int>(p.postDataBits)};
    r.totalBits_ = r.preData_.bits + r.bits_ + r.postData_.bits;
    if (rc6) {
        // The RC6 trailer bit is sent at double width: rc6_mask names it, or
        // the toggle bit (counted from 1 at the first bit sent) does.
        const uint64_t toggleMask = p.toggleBitMask;
        if (p.rc6Mask != 0)
            r.doubleWidthMask_ = p.rc6Mask;
        else if (p.toggleBit > 0 && p.toggleBit <= r.totalBits_)
            r.doubleWidthMask_ = uint64_t{1} << (r.totalBits_ - p.toggleBit);
        else if (toggleMask != 0 && (toggleMask & (toggleMask - 1)) == 0)
            r.doubleWidthMask_ = toggleMask;
        if (r.doubleWidthMask_ == 0) {
            why = "is RC6 without rc6_mask or toggle_bit: its double-width bit is unknown";
            return std::nullopt;
        }
    }
    return r;
}

void CodedRemote::putBits(ircodec::Durations &out, const Field &field, int &position) const
{
    for (int i = 0; i < field.bits; ++i, ++position) {
        const int bit = reverse_ ? i : field.bits - 1 - i;
        const bool one = bit < kMaxBits && ((field.value >> bit) & 1);
        const int fromEnd = totalBits_ - 1 - position;
        const int64_t width = fromEnd < kMaxBits && ((doubleWidthMask_ >> fromEnd) & 1) ? 2 : 1;
        const Pair &pair = one ? one_ : zero_;
        if (coding_ == Coding::PulseDistance) {
            put(out, pair.pulse, true);
            put(out, pair.space, false);
        } else if (one) {
            // Bi-phase as LIRC sends it: a one is space then pulse.
            put(out, pair.space * width, false);
            put(out, pair.pulse * width, true);
        } else {
            put(out, pair.pulse * width, true);
            put(out, pair.space * width, false);
        }
    }
}

ircodec::Durations CodedRemote::frame(uint64_t code) const
{
    ircodec::Durations out;
    int position = 0;
    put(out, header_.pulse, true);
    put(out, header_.space, false);
    put(out, plead_, true);
    putBits(out, preData_, position);
    put(out, pre_.pulse, true);
    put(out, pre_.space, false);
    putBits(out, Field{code & mask(bits_), bits_}, position);
    put(out, post_.pulse, true);
    put(out, post_.space, false);
    putBits(out, postData_, position);
    put(out, ptrail_, true);
    put(out, foot_.pulse, true);
    put(out, foot_.space, false);
    if (out.size() % 2 == 0 && !out.empty())
        out.pop_back();
    return out;
}

int64_t CodedRemote::gapAfter(const ircodec::Durations &frame) const
{
    if (gap_ == 0)
        return kLeadOutUs;
    int64_t gap = gap_;
    if (constLength_) {
        for (int32_t us : frame)
            gap -= us;
    }
    return std::clamp<int64_t>(gap, ircodec::kFrameSilenceUs, irlimits::kMaxDurationUs);
}

} // namespace irfiles::lirc
