// Receive benchmarks, run by hand (QT_QPA_PLATFORM=offscreen bench_receive):
// the display tick into tables of different sizes, the receive callback with
// one and two producer threads, click-to-drawn time of waveforms, and the
// memory a received frame takes.
#include "fakeadapter.h"
#include "mainwindow.h"
#include "receivequeue.h"
#include "testsupport.h"

#include <QApplication>
#include <QPushButton>
#include <QTableView>
#include <QTimerEvent>

#include <qwt_plot.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <malloc.h>
#include <numeric>
#include <thread>
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

void startShown(MainWindow &window)
{
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

// Runs call FramesPerThread times on each of threads producers and prints the
// median, 99th percentile and mean time of one call.
template <typename Call> void timeProducers(int threads, Call call)
{
    constexpr int FramesPerThread = 100000;
    receiveQueue().clear();
    std::vector<std::vector<double>> times(static_cast<size_t>(threads));
    std::vector<std::thread> pool;
    for (int t = 0; t < threads; ++t) {
        pool.emplace_back([&times, t, call] {
            NecFrame f;
            auto &mine = times[static_cast<size_t>(t)];
            mine.reserve(FramesPerThread);
            for (int i = 0; i < FramesPerThread; ++i) {
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
        timeProducers(threads, [](const IRResults &r) { receiveQueue().append(makeEntry(r)); });
}

void benchWaveform()
{
    std::printf("Waveform, click to drawn (plot repainted), median of 3, ms:\n");
    for (int samples : {2000, 100000, 5000000}) {
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
        for (int rep = 0; rep < 3; ++rep) {
            const auto start = Clock::now();
            emit view->clicked(view->model()->index(0, 0));
            plot->repaint();
            times.push_back(msSince(start));
        }
        std::printf("%10d samples %10.1f\n", samples, median(times));
    }
    receiveQueue().clear();
}

void benchMemory()
{
    constexpr int Frames = 100000;
    receiveQueue().clear();
    MainWindow window;
    startShown(window);
    malloc_trim(0);
    const size_t before = mallinfo2().uordblks;
    receive(Frames);
    const size_t queued = mallinfo2().uordblks;
    tick(window);
    QCoreApplication::processEvents();
    const size_t shown = mallinfo2().uordblks;
    std::printf("Memory at %d frames, bytes per frame: queue entry %.0f, table row %.0f, "
                "total %.0f (sizeof entry %zu)\n",
        Frames, double(queued - before) / Frames, double(shown - queued) / Frames,
        double(shown - before) / Frames, sizeof(IRResultsEntry));
    receiveQueue().clear();
}
} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    fake::Adapter::instance().reset();
    qInstallMessageHandler(silent);
    // Optional argument: the one benchmark to run (tick, callback, waveform,
    // memory); all of them without it.
    const QString only = argc > 1 ? QString::fromLocal8Bit(argv[argc - 1]) : QString();
    const std::pair<const char *, void (*)()> benches[] = {
        {"tick", benchTick},
        {"callback", benchCallback},
        {"waveform", benchWaveform},
        {"memory", benchMemory},
    };
    for (const auto &b : benches) {
        if (only.isEmpty() || only == QLatin1String(b.first))
            b.second();
    }
    return 0;
}
