#include "waveseries.h"

#include <algorithm>

WaveSeries::WaveSeries(waveform::Waveform wave) : wave(std::move(wave))
{
    size_t end = 0;
    ends.reserve(this->wave.runs.size());
    for (const waveform::Run &run : this->wave.runs) {
        end += static_cast<size_t>(run.length);
        ends.push_back(end);
    }
}

size_t WaveSeries::size() const
{
    return static_cast<size_t>(wave.samples);
}

size_t WaveSeries::runStart(size_t run) const
{
    return run == 0 ? 0 : ends[run - 1];
}

size_t WaveSeries::runEnd(size_t run) const
{
    return ends[run];
}

size_t WaveSeries::runOf(size_t i) const
{
    if (lastRun < ends.size() && i < ends[lastRun] && i >= runStart(lastRun))
        return lastRun;
    lastRun = static_cast<size_t>(std::upper_bound(ends.begin(), ends.end(), i) - ends.begin());
    return lastRun;
}

QPointF WaveSeries::sample(size_t i) const
{
    if (i >= size())
        return QPointF();
    return QPointF(static_cast<double>(i), wave.runs[runOf(i)].level);
}

QRectF WaveSeries::boundingRect() const
{
    // As Qwt computes it from the samples: x from the first to the last
    // sample, y over the levels that occur; an invalid rectangle when empty.
    if (wave.runs.empty())
        return QRectF(1.0, 1.0, -2.0, -2.0);
    const auto byLevel
        = [](const waveform::Run &a, const waveform::Run &b) { return a.level < b.level; };
    const auto [low, high] = std::minmax_element(wave.runs.begin(), wave.runs.end(), byLevel);
    return QRectF(0.0, low->level, static_cast<double>(size() - 1), high->level - low->level);
}

const waveform::Waveform &WaveSeries::waveform() const
{
    return wave;
}
