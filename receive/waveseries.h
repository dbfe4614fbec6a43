#ifndef WAVESERIES_H
#define WAVESERIES_H

#include "waveform.h"

#include <qwt_series_data.h>

#include <vector>

// The samples of a waveform for the plot's curve, (i, level of sample i),
// made when asked for from the waveform's runs instead of being stored one by
// one: a frame of millions of samples takes a few bytes per run.
class WaveSeries : public QwtSeriesData<QPointF>
{
public:
    explicit WaveSeries(waveform::Waveform wave);

    size_t size() const override;
    QPointF sample(size_t i) const override;
    QRectF boundingRect() const override;

    const waveform::Waveform &waveform() const;
    // The position of the run that holds sample i (i < size()).
    size_t runOf(size_t i) const;
    // The first sample of the run at position run, and one past its last.
    size_t runStart(size_t run) const;
    size_t runEnd(size_t run) const;

private:
    waveform::Waveform wave;
    // Where each run ends: one past its last sample.
    std::vector<size_t> ends;
    // The run of the last sample asked for: the curve asks in order.
    mutable size_t lastRun = 0;
};

#endif // WAVESERIES_H
