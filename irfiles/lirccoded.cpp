#include "lirccoded.h"

#include "irsignal.h"
#include "loaded.h"
#include "textreader.h"

#include <algorithm>

namespace irfiles::lirc {

namespace {

constexpr int kMaxBits = 64;

enum class FlagUse { PulseDistance, BiPhase, Rc6, Reverse, ConstLength, Repeats };

struct Flag
{
    const char *name;
    FlagUse use;
};

// What a flag means for the first frame of a button; flags that only shape
// repeats change nothing here.
constexpr Flag kFlags[] = {
    {"SPACE_ENC", FlagUse::PulseDistance},
    {"RC5", FlagUse::BiPhase},
    {"SHIFT_ENC", FlagUse::BiPhase},
    {"RC6", FlagUse::Rc6},
    {"REVERSE", FlagUse::Reverse},
    {"CONST_LENGTH", FlagUse::ConstLength},
    {"NO_HEAD_REP", FlagUse::Repeats},
    {"NO_FOOT_REP", FlagUse::Repeats},
    {"REPEAT_HEADER", FlagUse::Repeats},
};

class Params
{
public:
    Params(const Parameters &p, std::string &error) : p_(p), error_(error) { }

    bool failed() const
    {
        return !error_.empty();
    }

    // A duration parameter with `count` values (0 when absent).
    std::vector<int64_t> durations(const char *name, size_t count)
    {
        std::vector<int64_t> values(count, 0);
        const auto it = p_.find(name);
        if (it == p_.end())
            return values;
        if (it->second.size() != count) {
            fail(std::string(name) + " needs " + std::to_string(count) + " value(s)");
            return values;
        }
        for (size_t i = 0; i < count; ++i) {
            const auto v = textreader::decimal(it->second[i]);
            if (!v || *v < 0 || *v > kMaxDurationUs)
                fail(std::string(name) + " \"" + it->second[i] + "\" is not a duration in us");
            else
                values[i] = *v;
        }
        return values;
    }

    // A whole number from 0 to max (0 when absent).
    int64_t number(const char *name, int64_t max)
    {
        const auto it = p_.find(name);
        if (it == p_.end())
            return 0;
        if (it->second.size() == 1)
            if (const auto v = textreader::decimal(it->second[0]); v && *v >= 0 && *v <= max)
                return *v;
        fail(std::string(name) + " is not a number from 0 to " + std::to_string(max));
        return 0;
    }

    uint64_t hexValue(const char *name)
    {
        const auto it = p_.find(name);
        if (it == p_.end())
            return 0;
        if (it->second.size() == 1)
            if (const auto v = textreader::hex(it->second[0]))
                return *v;
        fail(std::string(name) + " is not a hexadecimal number");
        return 0;
    }

    bool has(const char *name) const
    {
        return p_.count(name) > 0;
    }

    void fail(const std::string &why)
    {
        if (error_.empty())
            error_ = why;
    }

private:
    const Parameters &p_;
    std::string &error_;
};

void put(ircodec::Durations &out, int64_t us, bool pulse)
{
    if (us <= 0)
        return;
    // A frame starts with a pulse: a space before it is silence.
    if (out.empty() && !pulse)
        return;
    const bool lastIsPulse = out.size() % 2 == 1;
    if (!out.empty() && lastIsPulse == pulse)
        out.back() = static_cast<int32_t>(std::min<int64_t>(out.back() + us, kMaxDurationUs));
    else
        out.push_back(static_cast<int32_t>(us));
}

} // namespace

std::optional<CodedRemote> CodedRemote::make(const Parameters &parameters, std::string &error)
{
    Params p(parameters, error);
    CodedRemote r;
    bool coded = false;
    bool rc6 = false;
    const auto flags = parameters.find("flags");
    if (flags != parameters.end()) {
        for (const std::string &joined : flags->second) {
            size_t start = 0;
            while (start <= joined.size()) {
                const size_t end = std::min(joined.find('|', start), joined.size());
                const std::string name = joined.substr(start, end - start);
                start = end + 1;
                if (name.empty())
                    continue;
                const Flag *flag = nullptr;
                for (const Flag &f : kFlags)
                    if (name == f.name)
                        flag = &f;
                if (!flag) {
                    error = "flag " + name
                        + " is not supported (only plain pulse-distance SPACE_ENC and bi-phase "
                          "RC5, SHIFT_ENC or RC6 remotes)";
                    return std::nullopt;
                }
                switch (flag->use) {
                case FlagUse::PulseDistance:
                    coded = true;
                    r.coding_ = Coding::PulseDistance;
                    break;
                case FlagUse::BiPhase:
                    coded = true;
                    r.coding_ = Coding::BiPhase;
                    break;
                case FlagUse::Rc6:
                    coded = rc6 = true;
                    r.coding_ = Coding::BiPhase;
                    break;
                case FlagUse::Reverse:
                    r.reverse_ = true;
                    break;
                case FlagUse::ConstLength:
                    r.constLength_ = true;
                    break;
                case FlagUse::Repeats:
                    break;
                }
            }
        }
    }
    if (!coded) {
        error = "no SPACE_ENC, RC5, SHIFT_ENC or RC6 flag: the way its bits are sent is unknown";
        return std::nullopt;
    }
    const auto pair = [&p](const char *name) {
        const auto v = p.durations(name, 2);
        return Pair{v[0], v[1]};
    };
    r.header_ = pair("header");
    r.one_ = pair("one");
    r.zero_ = pair("zero");
    r.pre_ = pair("pre");
    r.post_ = pair("post");
    r.foot_ = pair("foot");
    r.plead_ = p.durations("plead", 1)[0];
    r.ptrail_ = p.durations("ptrail", 1)[0];
    r.gap_ = p.durations("gap", 1)[0];
    r.bits_ = static_cast<int>(p.number("bits", kMaxBits));
    r.preData_.bits = static_cast<int>(p.number("pre_data_bits", kMaxBits));
    r.preData_.value = p.hexValue("pre_data");
    r.postData_.bits = static_cast<int>(p.number("post_data_bits", kMaxBits));
    r.postData_.value = p.hexValue("post_data");
    r.totalBits_ = r.preData_.bits + r.bits_ + r.postData_.bits;
    if (p.failed())
        return std::nullopt;
    if (r.bits_ == 0) {
        error = "bits is missing or 0";
        return std::nullopt;
    }
    if ((r.one_.pulse == 0 && r.one_.space == 0) || (r.zero_.pulse == 0 && r.zero_.space == 0)) {
        error = "one or zero is missing";
        return std::nullopt;
    }
    if (rc6) {
        // The RC6 trailer bit is sent at double width: rc6_mask names it, or
        // the toggle bit (counted from 1 at the first bit sent) does.
        const int64_t toggle = p.number("toggle_bit", r.totalBits_);
        const uint64_t toggleMask = p.hexValue("toggle_bit_mask");
        if (p.has("rc6_mask"))
            r.doubleWidthMask_ = p.hexValue("rc6_mask");
        else if (toggle > 0 && r.totalBits_ - toggle < kMaxBits)
            r.doubleWidthMask_ = uint64_t{1} << (r.totalBits_ - toggle);
        else if (toggleMask != 0 && (toggleMask & (toggleMask - 1)) == 0)
            r.doubleWidthMask_ = toggleMask;
        if (p.failed())
            return std::nullopt;
        if (r.doubleWidthMask_ == 0) {
            error = "RC6 remote without rc6_mask or toggle_bit: its double-width bit is unknown";
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
    putBits(out, Field{code, bits_}, position);
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
    return std::max<int64_t>(gap, ircodec::kFrameSilenceUs);
}

} // namespace irfiles::lirc
