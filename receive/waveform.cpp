#include "waveform.h"

#include <QStringList>

#include <algorithm>

namespace waveform {

namespace {
// Part j of the list with the idle runs around it is at the high level when j
// is even.
double levelAt(int position)
{
    return position % 2 == 0 ? kHigh : kLow;
}

int partLength(const QString &part)
{
    bool ok = false;
    const int n = part.toInt(&ok, 10);
    return ok && n > 0 ? n : 0;
}

// Appends n samples of level, joining the last run when it has that level,
// and stops at kMaxSamples.
void append(Waveform &wave, double level, long long n)
{
    wave.length += n;
    const int room = kMaxSamples - wave.samples;
    const int drawn = static_cast<int>(std::min<long long>(n, room));
    if (drawn <= 0)
        return;
    if (!wave.runs.empty() && wave.runs.back().level == level)
        wave.runs.back().length += drawn;
    else
        wave.runs.push_back({level, drawn});
    wave.samples += drawn;
}
} // namespace

Waveform build(const QString &rawList)
{
    // Empty parts are kept (split's default in every Qt version).
    const QStringList parts = rawList.split(QLatin1Char(','));
    Waveform wave;
    append(wave, levelAt(0), kIdleRunSamples);
    for (int j = 0; j < parts.size(); ++j)
        append(wave, levelAt(j + 1), partLength(parts.at(j)));
    append(wave, levelAt(parts.size() + 1), kIdleRunSamples);
    return wave;
}

Waveform fromSamples(const double *samples, int count)
{
    Waveform wave;
    for (int i = 0; i < count; ++i)
        append(wave, samples[i], 1);
    return wave;
}

std::vector<double> samples(const Waveform &wave)
{
    std::vector<double> out;
    out.reserve(static_cast<size_t>(wave.samples));
    for (const Run &run : wave.runs)
        out.insert(out.end(), static_cast<size_t>(run.length), run.level);
    return out;
}

} // namespace waveform
