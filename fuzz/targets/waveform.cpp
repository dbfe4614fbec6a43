// The waveform of any raw timing list: never more than the sample limit,
// runs of alternating levels starting at the high idle level, one sample per
// unit while under the limit, and the whole length for the axis.
#include "waveform.h"
#include "fuzzinput.h"
#include "fuzztarget.h"

#include <QStringList>

#include <algorithm>

namespace {
// Materialising the samples of long waveforms would make the fuzzer crawl.
constexpr int kMaxSamplesChecked = 1 << 16;
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput input(data, size);
    const std::string text = input.rest();
    const QString list = QString::fromUtf8(text.data(), static_cast<int>(text.size()));
    const waveform::Waveform wave = waveform::build(list);

    // The whole length, from the parts as the waveform reads them.
    long long length = 2LL * waveform::kIdleRunSamples;
    for (const QString &part : list.split(QLatin1Char(','))) {
        bool ok = false;
        const int n = part.toInt(&ok, 10);
        length += ok && n > 0 ? n : 0;
    }
    FUZZ_CHECK(wave.length == length);
    FUZZ_CHECK(wave.samples == std::min<long long>(length, waveform::kMaxSamples));

    long long sum = 0;
    for (size_t i = 0; i < wave.runs.size(); ++i) {
        const waveform::Run &run = wave.runs[i];
        FUZZ_CHECK(run.length > 0);
        FUZZ_CHECK(run.level == (i % 2 == 0 ? waveform::kHigh : waveform::kLow));
        sum += run.length;
    }
    FUZZ_CHECK(sum == wave.samples);
    FUZZ_CHECK(!wave.runs.empty() && wave.runs.front().length >= waveform::kIdleRunSamples);
    if (wave.samples == wave.length) {
        // Not cut off: the trailing idle run is at the level after the last part.
        const int parts = list.count(QLatin1Char(',')) + 1;
        const double trailing = (parts + 1) % 2 == 0 ? waveform::kHigh : waveform::kLow;
        FUZZ_CHECK(wave.runs.back().level == trailing);
        FUZZ_CHECK(wave.runs.back().length >= waveform::kIdleRunSamples);
    }
    if (wave.samples <= kMaxSamplesChecked) {
        const std::vector<double> samples = waveform::samples(wave);
        FUZZ_CHECK(static_cast<int>(samples.size()) == wave.samples);
        const waveform::Waveform again
            = waveform::fromSamples(samples.data(), static_cast<int>(samples.size()));
        FUZZ_CHECK(again.runs.size() == wave.runs.size() && again.length == wave.samples);
    }
    return 0;
}
