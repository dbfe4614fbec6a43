#ifndef WAVECURVE_H
#define WAVECURVE_H

#include <QPolygonF>

#include <qwt_plot_curve.h>

class QwtScaleMap;
class WaveSeries;

// The line through samples from to to of a waveform, in canvas coordinates.
// With round, the points are those Qwt's own line drawing makes: each sample
// mapped and rounded to the pixel, a point dropped when it equals the one
// before; found per pixel column rather than per sample. Without, only the
// first and last sample of each run: the same line, as straight stretches.
QPolygonF wavePolyline(const WaveSeries &series, const QwtScaleMap &xMap, const QwtScaleMap &yMap,
    size_t from, size_t to, bool round);

// The plot's curve. For a WaveSeries it draws the same line as QwtPlotCurve
// does, but maps the samples straight from the runs: Qwt would first allocate
// and fill 16 bytes per sample (80 MB for a frame of 5,000,000 samples) on
// every repaint. Any other data, fitting or filling is left to QwtPlotCurve.
class WaveCurve : public QwtPlotCurve
{
public:
    using QwtPlotCurve::QwtPlotCurve;

protected:
    void drawLines(QPainter *painter, const QwtScaleMap &xMap, const QwtScaleMap &yMap,
        const QRectF &canvasRect, int from, int to) const override;
};

#endif // WAVECURVE_H
