// Receive benchmarks, run by hand (QT_QPA_PLATFORM=offscreen bench_receive
// [name]): the display tick into tables of different sizes, the receive
// callback with one and two producer threads, click-to-drawn time of
// waveforms (the plot repainted, and as the user sees it after a real mouse
// click), the memory a received frame takes, and a storm of 1,000,000 frames
// (event-loop stalls, clearing, memory handed back).
#include "fakeadapter.h"
#include "mainwindow.h"
#include "receivequeue.h"
#include "windowharness.h"

#include <QApplication>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QTimerEvent>

#include <qwt_plot.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <malloc.h>
#include <numeric>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {
using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void silent(QtMsgType, const QMessageLogContext &, const QString &) { }

// An NEC frame with a realistic 67-value raw list.
struct NecFrame
{
    NecFrame()
    {
        raw.push_back(9000);
        raw.push_back(4500);
        for (int i = 0; i < 65; ++i)
            raw.push_back(i % 2 ? 560 : 1690);
        record.decode_type = 3;
        record.value = 0x00FF00FFu;
        record.bits = 32;
        record.raw_data = raw.data();
        record.raw_count = static_cast<int32_t>(raw.size());
    }
    std::vector<int> raw;
    IRResults record{};
};

void receive(int frames)
{
    NecFrame f;
    for (int i = 0; i < frames; ++i)
        receiveCallback(0, 0, &f.record);
}

void tick(MainWindow &window)
{
    QTimerEvent event(runningTimers(&window).first());
    QCoreApplication::sendEvent(&window, &event);
}

// Shows the window on its receive tab, where the table and the plot are, and
// starts reception.
void startShown(MainWindow &window)
{
    window.findChild<QTabWidget *>(QStringLiteral("tabWidget"))->setCurrentIndex(1);
    window.show();
    window.findChild<QPushButton *>(QStringLiteral("pushButtonStartReceive"))->click();
    QCoreApplication::processEvents();
}

void benchTick()
{
    std::printf("Display tick (view shown), median of 5 ticks, ms:\n");
    std::printf("%10s %8s %10s %16s\n", "rows", "new", "tick", "tick+layout+paint");
    for (int existing : {0, 10000, 100000}) {
        for (int fresh : {1, 100, 1000}) {
            receiveQueue().clear();
            MainWindow window;
            startShown(window);
            receive(existing);
            tick(window);
            QCoreApplication::processEvents();
            std::vector<double> ticks, total;
            for (int rep = 0; rep < 5; ++rep) {
                receive(fresh);
                const auto start = Clock::now();
                tick(window);
                ticks.push_back(msSince(start));
                QCoreApplication::processEvents();
                window.repaint();
                total.push_back(msSince(start));
            }
            std::printf("%10d %8d %10.2f %16.2f\n", existing, fresh, median(ticks), median(total));
        }
    }
    receiveQueue().clear();
}

// Runs call kFramesPerThread times on each of threads producers and prints the
// median, 99th percentile and mean time of one call.
template <typename Call> void timeProducers(int threads, Call call)
{
    constexpr int kFramesPerThread = 100000;
    receiveQueue().clear();
    std::vector<std::vector<double>> times(static_cast<size_t>(threads));
    std::vector<std::thread> pool;
    for (int t = 0; t < threads; ++t) {
        pool.emplace_back([&times, t, call] {
            NecFrame f;
            auto &mine = times[static_cast<size_t>(t)];
            mine.reserve(kFramesPerThread);
            for (int i = 0; i < kFramesPerThread; ++i) {
                const auto start = Clock::now();
                call(f.record);
                mine.push_back(
                    std::chrono::duration<double, std::nano>(Clock::now() - start).count());
            }
        });
    }
    for (auto &t : pool)
        t.join();
    std::vector<double> all;
    for (auto &v : times)
        all.insert(all.end(), v.begin(), v.end());
    std::sort(all.begin(), all.end());
    const double mean = std::accumulate(all.begin(), all.end(), 0.0) / double(all.size());
    std::printf("%8d %10.0f %10.0f %10.0f\n", threads, all[all.size() / 2],
        all[all.size() * 99 / 100], mean);
    receiveQueue().clear();
}

void benchCallback()
{
    std::printf("Callback, trace lines discarded by the handler, ns per frame:\n");
    std::printf("%8s %10s %10s %10s\n", "threads", "median", "p99", "mean");
    for (int threads : {1, 2})
        timeProducers(threads, [](IRResults &r) { receiveCallback(0, 0, &r); });
    std::printf("Copy and append only (no trace lines), ns per frame:\n");
    for (int threads : {1, 2})
        timeProducers(threads, [](const IRResults &r) { receiveQueue().append(r); });
}

// Bytes the process holds in memory now.
double residentBytes()
{
    long pages = 0;
    if (FILE *f = std::fopen("/proc/self/statm", "r")) {
        long size = 0;
        if (std::fscanf(f, "%ld %ld", &size, &pages) != 2)
            pages = 0;
        std::fclose(f);
    }
    return double(pages) * double(sysconf(_SC_PAGESIZE));
}

// The most bytes the process held in memory since the last resetPeak().
double peakResidentBytes()
{
    double kB = 0;
    if (FILE *f = std::fopen("/proc/self/status", "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, f))
            if (std::sscanf(line, "VmHWM: %lf kB", &kB) == 1)
                break;
        std::fclose(f);
    }
    return kB * 1024;
}

void resetPeak()
{
    if (FILE *f = std::fopen("/proc/self/clear_refs", "w")) {
        std::fputs("5", f);
        std::fclose(f);
    }
}

void benchWaveform()
{
    std::printf("Waveform, click to drawn (plot repainted), median of 3, and the peak memory "
                "the clicks took:\n");
    for (int samples : {2000, 100000, 5000000, 16000000}) {
        receiveQueue().clear();
        MainWindow window;
        startShown(window);
        IRResults r{};
        int raw[] = {2000, samples - 2000};
        r.decode_type = 3;
        r.raw_data = raw;
        r.raw_count = samples > 2000 ? 2 : 0;
        receiveCallback(0, 0, &r);
        tick(window);
        QCoreApplication::processEvents();
        auto *view = window.findChild<QTableView *>(QStringLiteral("tableViewIRData"));
        auto *plot = window.findChild<QwtPlot *>(QStringLiteral("qwtPlot"));
        std::vector<double> times;
        resetPeak();
        const double resident = residentBytes();
        for (int rep = 0; rep < 3; ++rep) {
            const auto start = Clock::now();
            emit view->clicked(view->model()->index(0, 0));
            plot->repaint();
            times.push_back(msSince(start));
        }
        std::printf("%10d samples %10.1f ms %8.1f MB\n", samples, median(times),
            (peakResidentBytes() - resident) / 1e6);
    }
    receiveQueue().clear();
}

// Click-to-drawn as a user sees it: a real mouse click on the row of a shown
// window, then the event loop until the plot's canvas has been painted and the
// window flushed. Printed for the first click and as the median of the next
// ones, at the form's size and maximised, with the curve's antialiasing on
// (as the window draws it) and off.
class PaintWatch : public QObject
{
public:
    bool painted = false;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return false;
    }
};

double clickToDrawn(MainWindow &window, PaintWatch &watch)
{
    auto *view = window.findChild<QTableView *>(QStringLiteral("tableViewIRData"));
    const QPoint where = view->visualRect(view->model()->index(0, 1)).center();
    watch.painted = false;
    const auto start = Clock::now();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, where);
    while (!watch.painted)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    return msSince(start);
}

void benchWaveformWindow()
{
    constexpr int kSamples = 5000000;
    std::printf("Waveform as the user sees it (%s platform), %d samples, ms:\n",
        qPrintable(QGuiApplication::platformName()), kSamples);
    std::printf("%10s %12s %8s %10s\n", "window", "antialiased", "first", "median");
    for (bool maximised : {false, true}) {
        for (bool antialiased : {true, false}) {
            receiveQueue().clear();
            MainWindow window;
            if (maximised)
                window.showMaximized();
            startShown(window);
            if (!QTest::qWaitForWindowExposed(&window))
                std::printf("window not exposed\n");
            auto *plot = window.findChild<QwtPlot *>(QStringLiteral("qwtPlot"));
            const QwtPlotItemList curves = plot->itemList(QwtPlotItem::Rtti_PlotCurve);
            curves.first()->setRenderHint(QwtPlotItem::RenderAntialiased, antialiased);
            IRResults r{};
            int raw[] = {2000, kSamples - 2000};
            r.decode_type = 3;
            r.raw_data = raw;
            r.raw_count = 2;
            receiveCallback(0, 0, &r);
            tick(window);
            QCoreApplication::processEvents();
            PaintWatch watch;
            plot->canvas()->installEventFilter(&watch);
            const double first = clickToDrawn(window, watch);
            std::vector<double> times;
            for (int rep = 0; rep < 5; ++rep)
                times.push_back(clickToDrawn(window, watch));
            std::printf("%4dx%-5d %12s %8.1f %10.1f\n", window.width(), window.height(),
                antialiased ? "yes" : "no", first, median(times));
        }
    }
    receiveQueue().clear();
}

void benchMemory()
{
    constexpr int kFrames = 100000;
    receiveQueue().clear();
    MainWindow window;
    startShown(window);
    malloc_trim(0);
    const size_t before = mallinfo2().uordblks;
    receive(kFrames);
    const size_t queued = mallinfo2().uordblks;
    tick(window);
    QCoreApplication::processEvents();
    const size_t shown = mallinfo2().uordblks;
    std::printf("Memory at %d frames, bytes per frame: queue entry %.0f, table row %.0f, "
                "total %.0f (sizeof entry %zu)\n",
        kFrames, double(queued - before) / kFrames, double(shown - queued) / kFrames,
        double(shown - before) / kFrames, sizeof(IRResultsEntry));
    receiveQueue().clear();
}
double percentile(std::vector<double> v, double p)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, size_t(double(v.size()) * p / 100))];
}

// The turns of the GUI thread's event loop: a zero timer fires once on every
// turn, and the gap between two firings is how long the loop could not
// answer (a stall).
class StallProbe
{
public:
    StallProbe()
    {
        timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            const auto now = Clock::now();
            gaps.push_back(std::chrono::duration<double, std::milli>(now - last).count());
            last = now;
        });
    }
    void start()
    {
        gaps.clear();
        last = Clock::now();
        timer.start(0);
    }
    void stop()
    {
        timer.stop();
    }
    std::vector<double> gaps;

private:
    QTimer timer;
    Clock::time_point last;
};

// A storm: one adapter thread delivers 1,000,000 frames as fast as it can
// while the window receives, its display timer running in the event loop as
// in use; then the table is cleared.
void benchStorm()
{
    // The longest the window may stop answering.
    constexpr double kStallLimitMs = 100;
    constexpr double kMemoryReleaseWaitMs = 1000;
    constexpr int kFrames = 1000000;
    std::printf("Storm of %d NEC frames from one thread, window shown:\n", kFrames);
    receiveQueue().clear();
    malloc_trim(0);
    const double residentStart = residentBytes();
    const size_t heapStart = mallinfo2().uordblks;
    MainWindow window;
    startShown(window);
    const IRReceiveCallback callback = fake::Adapter::instance().callback();
    auto *view = window.findChild<QTableView *>(QStringLiteral("tableViewIRData"));
    StallProbe probe;
    probe.start();
    std::atomic<bool> delivered{false};
    const auto start = Clock::now();
    double deliveryMs = 0;
    std::thread producer([&] {
        NecFrame f;
        for (int i = 0; i < kFrames; ++i)
            callback(0, 0, &f.record);
        deliveryMs = msSince(start);
        delivered = true;
    });
    while (!delivered || view->model()->rowCount() < receiveQueue().size())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    producer.join();
    const double shownMs = msSince(start);
    probe.stop();
    std::printf("  delivered in %.0f ms, all %d rows shown after %.0f ms\n", deliveryMs,
        view->model()->rowCount(), shownMs);
    std::printf("  event-loop turns: %zu, median %.1f ms, p99 %.1f ms, max %.1f ms, %ld over "
                "%.0f ms\n",
        probe.gaps.size(), percentile(probe.gaps, 50), percentile(probe.gaps, 99),
        percentile(probe.gaps, 100),
        long(std::count_if(
            probe.gaps.begin(), probe.gaps.end(), [](double gap) { return gap > kStallLimitMs; })),
        kStallLimitMs);
    const size_t heapFull = mallinfo2().uordblks;
    const double residentFull = residentBytes();
    std::printf("  memory per frame (queue and table): %.0f bytes allocated, %.0f bytes resident\n",
        double(heapFull - heapStart) / kFrames, (residentFull - residentStart) / kFrames);

    view->scrollToBottom();
    view->selectRow(kFrames - 1);
    QCoreApplication::processEvents();
    probe.start();
    const auto clearStart = Clock::now();
    window.findChild<QPushButton *>(QStringLiteral("pushButtonClearData"))->click();
    const double clearMs = msSince(clearStart);
    // The memory is handed back on a thread of its own, while the window
    // goes on.
    const auto settle = Clock::now();
    while (msSince(settle) < kMemoryReleaseWaitMs)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    probe.stop();
    std::printf("  clearing: click %.1f ms, longest stall %.1f ms; resident %.0f MB before the "
                "storm, %.0f MB full, %.0f MB %.0f ms after clearing\n",
        clearMs, percentile(probe.gaps, 100), residentStart / 1e6, residentFull / 1e6,
        residentBytes() / 1e6, kMemoryReleaseWaitMs);
}
} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    fake::Adapter::instance().reset();
    qInstallMessageHandler(silent);
    // Optional argument: the one benchmark to run, by its name below; all of
    // them without it.
    const QString only = argc > 1 ? QString::fromLocal8Bit(argv[argc - 1]) : QString();
    const std::pair<const char *, void (*)()> benches[] = {
        {"tick", benchTick},
        {"callback", benchCallback},
        {"waveform", benchWaveform},
        {"waveform-window", benchWaveformWindow},
        {"memory", benchMemory},
        {"storm", benchStorm},
    };
    for (const auto &b : benches) {
        if (only.isEmpty() || only == QLatin1String(b.first))
            b.second();
    }
    return 0;
}
