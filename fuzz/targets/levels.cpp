// The waveform of any raw timing list: never more than the sample limit, an
// idle run at the high level first, only the two levels, and one sample per
// unit while under the limit.
#include "levels.h"
#include "fuzzinput.h"
#include "fuzztarget.h"

#include <QStringList>

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput input(data, size);
    const std::string text = input.rest();
    const QString list = QString::fromUtf8(text.data(), static_cast<int>(text.size()));
    const std::vector<double> samples = levels::build(list);

    FUZZ_CHECK(samples.size() <= static_cast<size_t>(levels::MaxSamples));
    const size_t idle = std::min<size_t>(samples.size(), levels::IdleRunSamples);
    FUZZ_CHECK(
        std::all_of(samples.begin(), samples.begin() + idle, [](double v) { return v == 1.0; }));
    FUZZ_CHECK(
        std::all_of(samples.begin(), samples.end(), [](double v) { return v == 0.0 || v == 1.0; }));
    if (samples.size() < static_cast<size_t>(levels::MaxSamples)) {
        // Not cut off: both idle runs are there, the last at the level after the last part.
        const int parts = list.count(QLatin1Char(',')) + 1;
        FUZZ_CHECK(samples.size() >= 2 * static_cast<size_t>(levels::IdleRunSamples));
        const double trailing = (parts + 1) % 2 == 0 ? 1.0 : 0.0;
        FUZZ_CHECK(samples.back() == trailing);
    }
    return 0;
}
