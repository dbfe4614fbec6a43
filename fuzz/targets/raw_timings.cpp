// The general sender's raw timing text: any text gives one timing per comma
// separated piece, at most 256 of them, and never none.
#include "fuzzinput.h"
#include "fuzztarget.h"
#include "irlimits.h"
#include "sendtext.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput input(data, size);
    const QString text = QString::fromUtf8(input.rest().c_str(), static_cast<int>(size));
    const QVector<int> timings = sendtext::parseRawTimings(text);
    const int pieces = text.count(QLatin1Char(',')) + 1;
    FUZZ_CHECK(timings.size() == std::min(pieces, irlimits::kMaxRecordRawValues));
    return 0;
}
