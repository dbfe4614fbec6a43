#include "judge.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace ircaptures {

namespace {

constexpr char kSeparator = '\t';
constexpr int kColumns = 9;

// Names whose verdicts on short fragments look spurious (the judge file's
// own header says so).
const char *const kSpurious[] = {"MULTIBRACKETS", "LUTRON", "MWM"};

// How the judge writes a value, against our reading.
enum class Form {
    CatalogueValue, // our frame's value (the adapter's)
    Low32,          // our frame's value against the judge's low 32 bits (RC6's 36-bit frames)
    OnAir,          // our bits as one number, the first on the air most significant
    Reversed,       // the same bits, the last on the air most significant
    Inverted,       // our bits as one number, every bit inverted
    StateBytes,     // our data as state bytes (dataHex())
    BytesLsbFirst,  // our bits as bytes, each sent least significant bit first
    DropFirst,      // our bits without the first, which the judge leaves out
    Aiwa15,         // the 15 bits that follow Aiwa's fixed 26-bit prefix
    Uncomplemented, // our bytes (most significant bit first) without the complement after each
    GreeBlock,      // a Gree first block as a 35-bit number from its last bit: the connecting
                    // bits 010 over our four bytes
};

// A judge's name (and bit count, 0 for any) and what it is in our terms.
// Verdicts of fewer than `minBits` bits are the judge's decoder stopping
// early (RC6 frames read as 1 bit): there is no value to compare.
struct Mapping
{
    const char *judge;
    int bits;
    const char *ours;
    Form form;
    int minBits = 0;
};

const Mapping kMappings[] = {
    {"NEC", 0, "NEC", Form::CatalogueValue},
    {"NEC_LIKE", 0, "NEC", Form::CatalogueValue},
    {"SONY", 0, "SONY", Form::CatalogueValue},
    {"RC5", 0, "RC5", Form::CatalogueValue},
    {"RC6", 36, "RC6", Form::Low32},
    {"RC6", 0, "RC6", Form::CatalogueValue, 20},
    {"PANASONIC", 0, "PANASONIC", Form::OnAir},
    {"DENON", 48, "PANASONIC", Form::OnAir},
    {"FUJITSU_AC", 48, "PANASONIC", Form::BytesLsbFirst},
    {"DENON", 15, "SHARP", Form::OnAir},
    {"DENON", 15, "DENON", Form::CatalogueValue},
    {"DENON", 14, "DENON", Form::CatalogueValue},
    {"DENON", 14, "SHARP", Form::DropFirst},
    {"SHARP", 0, "SHARP", Form::OnAir},
    {"JVC", 0, "JVC", Form::OnAir},
    {"SAMSUNG", 0, "SAMSUNG", Form::CatalogueValue},
    {"NIKAI", 0, "RCA", Form::Inverted},
    {"LG", 0, "LG", Form::CatalogueValue},
    {"AIWA_RC_T501", 0, "AIWA_RC_T501", Form::Aiwa15},
    {"SANYO_LC7461", 0, "AIWA_RC_T501", Form::OnAir},
    {"WHYNTER", 0, "WHYNTER", Form::CatalogueValue},
    {"MITSUBISHI", 0, "MITSUBISHI", Form::CatalogueValue},
    {"SAMSUNG36", 0, "SAMSUNG36", Form::OnAir},
    {"RC5X", 0, "RC5X", Form::OnAir},
    {"MITSUBISHI2", 0, "MITSUBISHI2", Form::OnAir},
    {"RCMM", 0, "RCMM", Form::OnAir},
    {"SANYO_LC7461", 0, "SANYO_LC7461", Form::OnAir},
    {"SYMPHONY", 0, "SYMPHONY", Form::OnAir},
    {"BOSE", 0, "BOSE", Form::Reversed},
    {"RC6", 60, "RC6_M_56", Form::OnAir},
    {"DENON", 15, "DENON15", Form::OnAir},
    {"ELITESCREENS", 0, "ELITESCREENS", Form::OnAir},
    {"INAX", 0, "INAX", Form::OnAir},
    {"COOLIX", 24, "COOLIX", Form::Uncomplemented},
    {"MIDEA24", 24, "MIDEA24", Form::Uncomplemented},
    // Its COOLIX48 takes any six bytes on Coolix's timing, Midea's too.
    {"COOLIX48", 48, "MIDEA", Form::StateBytes},
    {"COOLIX48", 48, "COOLIX48", Form::StateBytes},
    {"MIDEA", 48, "MIDEA", Form::StateBytes},
    {"KELON", 48, "KELON", Form::Reversed},
    // A Gree message's first block alone is a TECO frame to it.
    {"TECO", 35, "GREE", Form::GreeBlock},
    // One fourteen-byte family on three remotes' timings: it tells them
    // apart by its tolerances and order, we by the closer fit.
    {"TCL112AC", 112, "TCL112AC", Form::StateBytes},
    {"TCL112AC", 112, "TEKNOPOINT", Form::StateBytes},
    {"TCL112AC", 112, "MITSUBISHI112", Form::StateBytes},
    {"TEKNOPOINT", 112, "TEKNOPOINT", Form::StateBytes},
    {"TEKNOPOINT", 112, "TCL112AC", Form::StateBytes},
    {"TEKNOPOINT", 112, "MITSUBISHI112", Form::StateBytes},
    {"MITSUBISHI112", 112, "MITSUBISHI112", Form::StateBytes},
    {"MITSUBISHI112", 112, "TCL112AC", Form::StateBytes},
    {"MITSUBISHI112", 112, "TEKNOPOINT", Form::StateBytes},
    {"MITSUBISHI_AC", 144, "MITSUBISHI_AC", Form::StateBytes},
    {"HAIER_AC", 72, "HAIER_AC", Form::StateBytes},
    {"HAIER_AC_YRW02", 112, "HAIER_AC_YRW02", Form::StateBytes},
    {"HAIER_AC160", 160, "HAIER_AC160", Form::StateBytes},
    {"HAIER_AC176", 176, "HAIER_AC176", Form::StateBytes},
    {"FUJITSU_AC", 56, "FUJITSU_AC", Form::StateBytes},
    {"FUJITSU_AC", 128, "FUJITSU_AC", Form::StateBytes},
    {"HITACHI_AC264", 264, "HITACHI_AC264", Form::StateBytes},
    {"HITACHI_AC296", 296, "HITACHI_AC296", Form::StateBytes},
    {"HITACHI_AC344", 344, "HITACHI_AC344", Form::StateBytes},
    {"HITACHI_AC424", 424, "HITACHI_AC424", Form::StateBytes},
    {"ELECTRA_AC", 104, "ELECTRA_AC", Form::StateBytes},
    {"SHARP_AC", 104, "SHARP_AC", Form::StateBytes},
    {"TOSHIBA_AC", 0, "TOSHIBA_AC", Form::StateBytes},
    {"CARRIER_AC40", 40, "CARRIER_AC40", Form::StateBytes},
    {"CARRIER_AC64", 64, "CARRIER_AC64", Form::Reversed},
    {"WHIRLPOOL_AC", 168, "WHIRLPOOL_AC", Form::StateBytes},
    {"VESTEL_AC", 56, "VESTEL_AC", Form::Reversed},
    {"TROTEC", 72, "TROTEC", Form::StateBytes},
    {"ARGO", 96, "ARGO", Form::StateBytes},
    {"MITSUBISHI136", 136, "MITSUBISHI136", Form::StateBytes},
    {"MITSUBISHI_HEAVY_88", 88, "MITSUBISHI_HEAVY_88", Form::StateBytes},
    {"MITSUBISHI_HEAVY_152", 152, "MITSUBISHI_HEAVY_152", Form::StateBytes},
    {"SAMSUNG_AC", 0, "SAMSUNG_AC", Form::StateBytes},
    {"DELONGHI_AC", 64, "DELONGHI_AC", Form::Reversed},
    {"HITACHI_AC", 224, "HITACHI_AC", Form::StateBytes},
    {"HITACHI_AC1", 104, "HITACHI_AC1", Form::StateBytes},
    {"LG2", 28, "LG2", Form::OnAir},
    {"SANYO_AC", 72, "SANYO_AC", Form::StateBytes},
    {"NEOCLIMA", 96, "NEOCLIMA", Form::StateBytes},
    {"DAIKIN64", 64, "DAIKIN64", Form::Reversed},
    {"BOSCH144", 144, "BOSCH144", Form::StateBytes},
};

std::vector<std::string> columns(const std::string &line)
{
    std::vector<std::string> out;
    std::string column;
    std::istringstream in(line);
    while (std::getline(in, column, kSeparator))
        out.push_back(column);
    return out;
}

// Upper case, without leading zeros ("0" for zero).
std::string normalHex(const std::string &hex)
{
    std::string out;
    for (char c : hex) {
        const char upper = (c >= 'a' && c <= 'f') ? static_cast<char>(c - 'a' + 'A') : c;
        if (out.empty() && upper == '0')
            continue;
        out += upper;
    }
    return out.empty() ? "0" : out;
}

ircodec::BitString reversed(const ircodec::BitString &bits)
{
    ircodec::BitString out;
    for (int i = bits.size() - 1; i >= 0; --i)
        out.push(bits.at(i));
    return out;
}

ircodec::BitString inverted(const ircodec::BitString &bits)
{
    ircodec::BitString out;
    for (int i = 0; i < bits.size(); ++i)
        out.push(!bits.at(i));
    return out;
}

constexpr int kAiwaPrefixBits = 26;
constexpr int kByteBits = 8;
constexpr int kGreeBlockBits = 32;
constexpr int kGreeConnector = 0b010;
constexpr int kAiwaJudgeBits = 15;

std::string ourValue(const ircodec::Reading &reading, Form form)
{
    switch (form) {
    case Form::CatalogueValue: {
        std::ostringstream out;
        out << std::hex << (reading.frame ? reading.frame->value : 0u);
        return out.str();
    }
    case Form::Low32:
        return ourValue(reading, Form::CatalogueValue);
    case Form::OnAir:
        return reading.bits.hex();
    case Form::BytesLsbFirst:
        return reading.bits.hexBytes(ircodec::Order::LsbFirst);
    case Form::DropFirst: {
        ircodec::BitString rest;
        for (int i = 1; i < reading.bits.size(); ++i)
            rest.push(reading.bits.at(i));
        return rest.hex();
    }
    case Form::Reversed:
        return reversed(reading.bits).hex();
    case Form::Inverted:
        return inverted(reading.bits).hex();
    case Form::StateBytes:
        return ircodec::dataHex(reading);
    case Form::Uncomplemented: {
        ircodec::BitString kept;
        for (int i = 0; i < reading.bits.size(); ++i)
            if ((i / kByteBits) % 2 == 0)
                kept.push(reading.bits.at(i));
        return kept.hex();
    }
    case Form::GreeBlock: {
        if (reading.bits.size() < kGreeBlockBits)
            return std::string();
        ircodec::BitString block = ircodec::BitString(kGreeConnector, 3);
        for (int i = kGreeBlockBits - 1; i >= 0; --i)
            block.push(reading.bits.at(i));
        return block.hex();
    }
    case Form::Aiwa15:
        return ircodec::BitString(
            reading.bits.field(kAiwaPrefixBits, kAiwaJudgeBits), kAiwaJudgeBits)
            .hex();
    }
    return std::string();
}

const Mapping *mappingFor(const Judged &verdict, const std::string &ours)
{
    const Mapping *byName = nullptr;
    for (const Mapping &m : kMappings) {
        if (verdict.protocol != m.judge)
            continue;
        if (m.bits != 0 && m.bits != verdict.bits)
            continue;
        if (ours == m.ours)
            return &m;
        if (!byName)
            byName = &m;
    }
    return byName;
}

} // namespace

JudgeFile loadJudge(const std::string &path)
{
    JudgeFile result;
    std::ifstream in(path);
    result.opened = in.is_open();
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        const auto c = columns(line);
        if (c.size() != kColumns) {
            ++result.badLines;
            continue;
        }
        Judged verdict;
        verdict.protocol = c[2];
        verdict.bits = std::atoi(c[3].c_str());
        verdict.value = c[4];
        verdict.repeat = c[7] == "1";
        result.verdicts[{c[0], std::atoi(c[1].c_str())}] = std::move(verdict);
    }
    return result;
}

bool judgeReads(const Judged &verdict)
{
    if (verdict.protocol == "UNKNOWN")
        return false;
    for (const char *name : kSpurious)
        if (verdict.protocol == name)
            return false;
    return true;
}

std::vector<std::string> ourNamesFor(const std::string &judgeName)
{
    std::vector<std::string> out;
    for (const Mapping &m : kMappings)
        if (judgeName == m.judge)
            out.push_back(m.ours);
    return out;
}

Verdict compare(const Judged &verdict, const ircodec::Reading &reading)
{
    const std::string ours = ircodec::protocolName(reading);
    const Mapping *m = mappingFor(verdict, ours);
    if (!m)
        return Verdict::NoMapping;
    if (ours != m->ours)
        return Verdict::OtherProtocol;
    if (verdict.bits < m->minBits)
        return Verdict::NoMapping;
    // A repeat form carries no value.
    if (verdict.repeat && reading.repeat)
        return Verdict::Agrees;
    std::string judged = normalHex(verdict.value);
    constexpr size_t kLow32Digits = 8;
    if (m->form == Form::Low32 && judged.size() > kLow32Digits)
        judged = normalHex(judged.substr(judged.size() - kLow32Digits));
    return normalHex(ourValue(reading, m->form)) == judged ? Verdict::Agrees : Verdict::OtherValue;
}

} // namespace ircaptures
