// FUJITSU_AC: Fujitsu's air conditioner protocol. 3324 / 1574 us header,
// 448 us marks, a 1 is a 1182 us space and a 0 a 390 us one, least
// significant bit first, stop mark. Every frame begins 0x14 0x63 0x00 0x10
// 0x10. A command (off, swing, ...) is 7 bytes, its last the complement of
// the one before; a state is 16 bytes, its last making bytes 7-15 sum to 0
// modulo 256. (The 6-byte commands of some remotes are Kaseikyo frames of
// Fujitsu's vendor code: the catalogue's PANASONIC reads them.)
#include "../acframe.h"

namespace ircodec {

namespace {

constexpr uint8_t kPrefix[] = {0x14, 0x63, 0x00, 0x10, 0x10};
constexpr int kCommandBytes = 7;
constexpr int kStateBytes = 16;
constexpr int kSummedFrom = 7;

bool valid(const AcState &s)
{
    if (!startsWith(s, kPrefix))
        return false;
    if (s.size == kCommandBytes)
        return complementPairs(s, kCommandBytes - 2, kCommandBytes);
    return sumBytes(s, kSummedFrom, kStateBytes) == 0;
}

void complete(AcState &s)
{
    setStart(s, kPrefix);
    if (s.size == kCommandBytes) {
        setComplementPairs(s, kCommandBytes - 2, kCommandBytes);
        return;
    }
    s[kStateBytes - 1] = static_cast<uint8_t>(0x100u - sumBytes(s, kSummedFrom, kStateBytes - 1));
}

constexpr MarkSpace kHeader = {3324, 1574};
constexpr int32_t kMark = 448;

constexpr AcProtocol kFujitsu = {{kMark, 390}, {kMark, 1182}, Order::LsbFirst,
    {acShape({acPair(kHeader.mark, kHeader.space), acBytes(kCommandBytes), acStop(kMark)}),
        acShape({acPair(kHeader.mark, kHeader.space), acBytes(kStateBytes), acStop(kMark)})},
    2, valid, complete};

} // namespace

extern const Reader fujitsuReader = acReader<kFujitsu>("FUJITSU_AC", 38000);

} // namespace ircodec
