// What the send benchmarks share: the window shown offscreen without its
// trace lines, the event loop run for a while, times between calls of the
// fake adapter and percentiles.
#ifndef WINDOWBENCH_H
#define WINDOWBENCH_H

#include <QEventLoop>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <QtGlobal>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <vector>

namespace windowbench {

using Clock = std::chrono::steady_clock;

inline double msBetween(Clock::time_point a, Clock::time_point b)
{
    return std::chrono::duration<double, std::milli>(b - a).count();
}

// The value below which the fraction p (0..1] of the values lie.
inline double percentile(std::vector<double> values, double p)
{
    std::sort(values.begin(), values.end());
    const size_t index = static_cast<size_t>(std::ceil(p * double(values.size()))) - 1;
    return values[std::min(index, values.size() - 1)];
}

// The window's trace lines would drown the figures.
inline void dropDebug(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type != QtDebugMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

// Before the application object exists: the offscreen platform unless
// another is chosen, and no trace lines.
inline void prepare()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(dropDebug);
}

inline void runFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

// Shows the window and lets it settle before anything is measured.
constexpr int kSettleMs = 200;
inline void showSettled(QWidget &window)
{
    window.show();
    runFor(kSettleMs);
}

} // namespace windowbench

#endif // WINDOWBENCH_H
