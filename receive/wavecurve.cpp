#include "wavecurve.h"

#include "waveseries.h"

#include <qwt_painter.h>
#include <qwt_scale_map.h>

#include <algorithm>

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
            const double pixelY = qRound(y);
            for (; i < end; ++i)
                add(qRound(xMap.transform(static_cast<double>(i))), pixelY);
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
