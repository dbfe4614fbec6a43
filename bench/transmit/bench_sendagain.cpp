// Sending frames again, in the running window against the recording fake
// adapter: how long the plan of a large table takes, how long the action
// takes from the key press to the first frame, how closely a long sequence
// keeps its recorded spacing, and how long the event loop stalls meanwhile.
#include "fakeadapter.h"
#include "ircodec.h"
#include "mainwindow.h"
#include "sendagain.h"
#include "sendplan.h"
#include "windowbench.h"
#include "windowharness.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProgressDialog>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <numeric>

namespace {

using namespace windowbench;

// The table of an accident: an opened file of this many rows.
constexpr int kTableRows = 17271;
constexpr int kPlanRuns = 5;
// A button held for about 5.5 s: the frame and this many repeat codes.
constexpr int kRepeats = 50;
constexpr int32_t kRepeatGapUs = 96000;
constexpr int kStallProbeMs = 1;

ircodec::Durations encoded(const ircodec::Frame &frame)
{
    return ircodec::encode(frame)->front().durations;
}

// Recordings as an .ir file in dir.
QString writeRecordings(
    const QTemporaryDir &dir, const char *name, const std::vector<irfiles::Signal> &list)
{
    return writeIrFile(dir.path() + QLatin1Char('/') + QLatin1String(name), list);
}

void trigger(MainWindow &window)
{
    window.findChild<QAction *>(QStringLiteral("actionSendFramesAgain"))->trigger();
}

void clear(MainWindow &window)
{
    QMetaObject::invokeMethod(&window, "on_pushButtonClearData_clicked");
    fake::Adapter::instance().clearCalls();
}

// Median time of plan() over kPlanRuns runs.
double planMs(const std::vector<irfiles::Signal> &recordings, size_t &steps)
{
    std::vector<double> times;
    for (int run = 0; run < kPlanRuns; ++run) {
        QElapsedTimer timer;
        timer.start();
        steps = sendplan::plan(recordings, 38).size();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    return percentile(times, 0.5);
}

} // namespace

int main(int argc, char **argv)
{
    prepare();
    QApplication app(argc, argv);
    QTemporaryDir dir;
    fake::Adapter &adapter = fake::Adapter::instance();
    MainWindow window;
    showSettled(window);

    const ircodec::Durations nec = encoded(ircodec::necFrame(0x04, 0x08, true));
    const ircodec::Durations ditto = encoded(ircodec::necRepeatFrame());

    // The plan alone, for a table of single frames and one of recordings
    // that hold a frame and three repeat codes each.
    std::printf("Plan of %d rows (median of %d runs)\n", kTableRows, kPlanRuns);
    irfiles::Signal single;
    single.durations = nec;
    single.decoded = irfiles::decodeDurations(nec);
    const irfiles::Signal pressed = recordingOf({nec, ditto, ditto, ditto}, kRepeatGapUs);
    size_t steps = 0;
    double ms = planMs(std::vector<irfiles::Signal>(kTableRows, single), steps);
    std::printf("  NEC frames, one each           %8.2f ms  %zu steps\n", ms, steps);
    ms = planMs(std::vector<irfiles::Signal>(kTableRows, pressed), steps);
    std::printf("  NEC frame and 3 repeats each   %8.2f ms  %zu steps\n", ms, steps);

    // The whole action on an opened file of that many rows: from the key
    // press to the first frame on its way (the question answered at once).
    window.openFrameFiles({writeRecordings(dir, "table.ir",
        std::vector<irfiles::Signal>(kTableRows, recordingOf({nec, ditto}, kRepeatGapUs)))});
    // Opening selects the first row opened; the accident is with none.
    window.findChild<QTableView *>(QStringLiteral("tableViewIRData"))->clearSelection();
    sendagain::replaceQuestion([](QWidget *, const QString &, const QString &) { return true; });
    adapter.clearCalls();
    const Clock::time_point pressedAt = Clock::now();
    trigger(window);
    const std::vector<fake::Call> first = adapter.calls("IR_SendRaw");
    std::printf("Send again of %d opened rows: first frame after %.1f ms\n", kTableRows,
        first.empty() ? -1.0 : msBetween(pressedAt, first.front().time));
    if (QProgressDialog *progress = window.findChild<QProgressDialog *>())
        progress->cancel();
    runFor(50);
    clear(window);

    // A held button recorded as one: the frame and its repeat codes, each
    // call against the time the plan gives it, with a probe timer measuring
    // how long the event loop goes without turning.
    std::vector<ircodec::Durations> held{nec};
    held.insert(held.end(), kRepeats, ditto);
    const irfiles::Signal heldRecording = recordingOf(held, kRepeatGapUs);
    const std::vector<sendplan::Step> plan = sendplan::plan({heldRecording}, 38);
    window.openFrameFiles({writeRecordings(dir, "held.ir", {heldRecording})});
    adapter.clearCalls();
    double worstStallMs = 0;
    Clock::time_point lastTurn = Clock::now();
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        const Clock::time_point now = Clock::now();
        worstStallMs = std::max(worstStallMs, msBetween(lastTurn, now));
        lastTurn = now;
    });
    probe.start(kStallProbeMs);
    trigger(window);
    runFor(static_cast<int>(sendplan::sequenceMs(plan)) + 500);
    probe.stop();

    const std::vector<fake::Call> sent = adapter.calls("IR_SendRaw");
    std::vector<double> late;
    double plannedMs = 0;
    for (size_t i = 0; i < sent.size() && i < plan.size(); ++i) {
        plannedMs += plan[i].delayMs;
        late.push_back(msBetween(sent.front().time, sent[i].time) - plannedMs);
    }
    std::printf("Held button, %zu frames over %lld ms: %zu sent\n", plan.size(),
        static_cast<long long>(sendplan::sequenceMs(plan)), sent.size());
    if (!late.empty())
        std::printf("  lateness against the plan: median %.3f ms  p99 %.3f ms  max %.3f ms  "
                    "last frame %.3f ms\n",
            percentile(late, 0.5), percentile(late, 0.99),
            *std::max_element(late.begin(), late.end()), late.back());
    std::printf("  longest event-loop stall meanwhile (probe every %d ms): %.3f ms\n",
        kStallProbeMs, worstStallMs);
    return 0;
}
