#include "wavecurve.h"

#include "waveseries.h"

#include <qwt_painter.h>
#include <qwt_scale_map.h>

#include <algorithm>
#include <cmath>

namespace {
// The pixel column of sample i, rounded as Qwt rounds it.
double pixelX(const QwtScaleMap &xMap, size_t i)
{
    return qRound(xMap.transform(static_cast<double>(i)));
}

// The first sample after i, and before end, in another pixel column than
// sample i; end when there is none. On a linear, increasing scale the
// columns grow with the samples, so the first sample of the next column is
// estimated from the step between samples and then checked against the
// rounding itself; otherwise the samples are taken one by one.
size_t nextColumn(const QwtScaleMap &xMap, size_t i, size_t end)
{
    const double column = pixelX(xMap, i);
    const double step = xMap.transform(1.0) - xMap.transform(0.0);
    size_t next = i + 1;
    if (!xMap.transformation() && step > 0) {
        const double ahead = std::ceil((column + 0.5 - xMap.transform(double(i))) / step);
        next = std::clamp(i + static_cast<size_t>(std::max(ahead, 1.0)), i + 1, end);
        while (next > i + 1 && pixelX(xMap, next - 1) != column)
            --next;
    }
    while (next < end && pixelX(xMap, next) == column)
        ++next;
    return next;
}
} // namespace

QPolygonF wavePolyline(const WaveSeries &series, const QwtScaleMap &xMap, const QwtScaleMap &yMap,
    size_t from, size_t to, bool round)
{
    QPolygonF line;
    if (from > to || to >= series.size())
        return line;
    QPointF last;
    const auto add = [&line, &last](double x, double y) {
        if (line.isEmpty() || x != last.x() || y != last.y()) {
            last = QPointF(x, y);
            line.append(last);
        }
    };
    const auto &runs = series.waveform().runs;
    for (size_t run = series.runOf(from), i = from; i <= to; ++run) {
        const size_t end = std::min(series.runEnd(run), to + 1);
        const double y = yMap.transform(runs[run].level);
        if (round) {
            // Qwt keeps the first sample of every pixel column.
            const double pixelY = qRound(y);
            for (; i < end; i = nextColumn(xMap, i, end))
                add(pixelX(xMap, i), pixelY);
        } else {
            add(xMap.transform(static_cast<double>(i)), y);
            add(xMap.transform(static_cast<double>(end - 1)), y);
            i = end;
        }
    }
    return line;
}

void WaveCurve::drawLines(QPainter *painter, const QwtScaleMap &xMap, const QwtScaleMap &yMap,
    const QRectF &canvasRect, int from, int to) const
{
    const auto *series = dynamic_cast<const WaveSeries *>(data());
    const bool plain = !testCurveAttribute(Fitted) && brush().style() == Qt::NoBrush
        && testPaintAttribute(FilterPoints);
    if (!series || !plain || from < 0) {
        QwtPlotCurve::drawLines(painter, xMap, yMap, canvasRect, from, to);
        return;
    }
    // No clipping: every sample lies inside the scales the plot sets for it.
    QwtPainter::drawPolyline(painter,
        wavePolyline(*series, xMap, yMap, static_cast<size_t>(from), static_cast<size_t>(to),
            QwtPainter::roundingAlignment(painter)));
}
