// Sending frames again, in the running window against the recording fake
// adapter: how long the plan of a large table takes, how long the action
// takes from the key press to the first frame, how closely a long sequence
// keeps its recorded spacing, and how long the event loop stalls meanwhile.
#include "fakeadapter.h"
#include "formats.h"
#include "ircodec.h"
#include "mainwindow.h"
#include "receivequeue.h"
#include "sendagain.h"
#include "sendplan.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
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

using Clock = std::chrono::steady_clock;

// The table of an accident: an opened file of this many rows.
constexpr int kTableRows = 17271;
constexpr int kPlanRuns = 5;
// A button held for about 5.5 s: the frame and this many repeat codes.
constexpr int kRepeats = 50;
constexpr int32_t kRepeatGapUs = 96000;
constexpr int kStallProbeMs = 1;

double msBetween(Clock::time_point a, Clock::time_point b)
{
    return std::chrono::duration<double, std::milli>(b - a).count();
}

double percentile(std::vector<double> values, double p)
{
    std::sort(values.begin(), values.end());
    const size_t index = static_cast<size_t>(std::ceil(p * double(values.size()))) - 1;
    return values[std::min(index, values.size() - 1)];
}

void dropDebug(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type != QtDebugMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

void runFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

ircodec::Durations encoded(const ircodec::Frame &frame)
{
    return ircodec::encode(frame)->front().durations;
}

// A raw .ir record of frames, each after the silence.
std::string rawRecord(
    const std::string &name, const std::vector<ircodec::Durations> &frames, int32_t silenceUs)
{
    std::string data;
    for (const ircodec::Durations &frame : frames) {
        if (!data.empty())
            data += ' ' + std::to_string(silenceUs);
        for (int32_t us : frame)
            data += (data.empty() ? "" : " ") + std::to_string(us);
    }
    return "#\nname: " + name + "\ntype: raw\nfrequency: 38000\nduty_cycle: 0.33\ndata: " + data
        + "\n";
}

const std::string kHeader = "Filetype: IR signals file\nVersion: 1\n";

QString writeFile(const QTemporaryDir &dir, const char *name, const std::string &text)
{
    const QString path = dir.path() + QLatin1Char('/') + QLatin1String(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)
        || file.write(text.data(), qint64(text.size())) != qint64(text.size()))
        return QString();
    return path;
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
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(dropDebug);
    QApplication app(argc, argv);
    QTemporaryDir dir;
    fake::Adapter &adapter = fake::Adapter::instance();
    MainWindow window;
    window.show();
    runFor(200);

    const ircodec::Durations nec = encoded(ircodec::necFrame(0x04, 0x08, true));
    const ircodec::Durations ditto = encoded(ircodec::necRepeatFrame());

    // The plan alone, for a table of single frames and one of recordings
    // that hold a frame and three repeat codes each.
    std::printf("Plan of %d rows (median of %d runs)\n", kTableRows, kPlanRuns);
    irfiles::Signal single;
    single.durations = nec;
    single.decoded = irfiles::decodeDurations(nec);
    irfiles::Signal pressed;
    pressed.durations = nec;
    for (int i = 0; i < 3; ++i) {
        pressed.durations.push_back(kRepeatGapUs);
        pressed.durations.insert(pressed.durations.end(), ditto.begin(), ditto.end());
    }
    size_t steps = 0;
    double ms = planMs(std::vector<irfiles::Signal>(kTableRows, single), steps);
    std::printf("  NEC frames, one each           %8.2f ms  %zu steps\n", ms, steps);
    ms = planMs(std::vector<irfiles::Signal>(kTableRows, pressed), steps);
    std::printf("  NEC frame and 3 repeats each   %8.2f ms  %zu steps\n", ms, steps);

    // The whole action on an opened file of that many rows: from the key
    // press to the first frame on its way (the question answered at once).
    std::string file = kHeader;
    for (int i = 0; i < kTableRows; ++i)
        file += rawRecord("Button" + std::to_string(i), {nec, ditto}, kRepeatGapUs);
    window.openFrameFiles({writeFile(dir, "table.ir", file)});
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
    const std::string heldFile = kHeader + rawRecord("Held", held, kRepeatGapUs);
    const irfiles::Loaded loaded = irfiles::read(irfiles::Format::Ir, heldFile, "held.ir");
    const std::vector<sendplan::Step> plan = sendplan::plan(loaded.list, 38);
    window.openFrameFiles({writeFile(dir, "held.ir", heldFile)});
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
