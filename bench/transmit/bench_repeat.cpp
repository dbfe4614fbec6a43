// Holds the NEC, JVC and NRC17 quick-send buttons in the running window and
// prints how closely the repeat frames keep their periods, and the NRC17
// gap between start frame and key frame.
#include "fakeadapter.h"
#include "mainwindow.h"
#include "quicksend.h"
#include "windowbench.h"

#include <QApplication>
#include <QEventLoop>
#include <QMetaObject>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numeric>

namespace {

constexpr int kHoldMs = 5000;
constexpr int kNrc17GapPresses = 20;
constexpr int kNrc17Marker = quicksend::kNrc17MarkerAddress;

using namespace windowbench;
// The address argument of IR_NRC17_Send.
constexpr size_t kNrc17AddressArg = 2;

std::vector<fake::Call> calls(const std::string &op)
{
    return fake::Adapter::instance().calls(op);
}

void clearCalls()
{
    fake::Adapter::instance().clearCalls();
}

void report(const char *what, const std::vector<double> &samples, double nominalMs)
{
    if (samples.empty()) {
        std::printf("%-22s no samples\n", what);
        return;
    }
    const double mean
        = std::accumulate(samples.begin(), samples.end(), 0.0) / double(samples.size());
    std::vector<double> errors;
    for (double s : samples)
        errors.push_back(std::fabs(s - nominalMs));
    std::printf("%-22s n=%4zu nominal %6.1f ms  mean %8.3f ms (%+.3f)  |error| median %.3f ms  "
                "p99 %.3f ms  max %.3f ms\n",
        what, samples.size(), nominalMs, mean, mean - nominalMs, percentile(errors, 0.5),
        percentile(errors, 0.99), *std::max_element(errors.begin(), errors.end()));
}

QPushButton *button(MainWindow &window, const char *panel)
{
    return window.findChild<QPushButton *>(QStringLiteral("pushButton%1Send").arg(panel));
}

// Holds the panel's button for ms in the event loop, as a user would.
void hold(MainWindow &window, const char *panel, int ms)
{
    QPushButton *b = button(window, panel);
    b->setDown(true);
    QMetaObject::invokeMethod(
        &window, qPrintable(QStringLiteral("on_%1_pressed").arg(b->objectName())));
    runFor(ms);
    b->setDown(false);
    QMetaObject::invokeMethod(
        &window, qPrintable(QStringLiteral("on_%1_released").arg(b->objectName())));
    runFor(quicksend::kNrc17RepeatMs * 2);
}

// Periods between consecutive calls of op that pass the filter.
template <typename Keep> std::vector<double> periods(const std::string &op, Keep keep)
{
    std::vector<double> result;
    const std::vector<fake::Call> made = calls(op);
    const fake::Call *previous = nullptr;
    for (const fake::Call &call : made) {
        if (!keep(call))
            continue;
        if (previous)
            result.push_back(msBetween(previous->time, call.time));
        previous = &call;
    }
    return result;
}

} // namespace

int main(int argc, char **argv)
{
    prepare();
    QApplication app(argc, argv);
    MainWindow window;
    showSettled(window);
    const auto any = [](const fake::Call &) { return true; };

    std::printf("Holding each button for %d ms\n", kHoldMs);
    std::fflush(stdout);
    clearCalls();
    hold(window, "NEC", kHoldMs);
    report("NEC repeat", periods("IR_NEC_SendRepeat", any), quicksend::kNecRepeatMs);

    clearCalls();
    hold(window, "JVC", kHoldMs);
    // The first period runs from the press frame, the rest between repeats.
    report("JVC repeat", periods("IR_JVC_Send", any), quicksend::kJvcRepeatMs);

    clearCalls();
    hold(window, "NRC17", kHoldMs);
    std::vector<double> keys = periods("IR_NRC17_Send",
        [](const fake::Call &c) { return c.args[kNrc17AddressArg] != kNrc17Marker; });
    report("NRC17 key repeat", keys, quicksend::kNrc17RepeatMs);

    std::vector<double> gaps;
    for (int i = 0; i < kNrc17GapPresses; ++i) {
        clearCalls();
        hold(window, "NRC17", 0);
        const std::vector<fake::Call> frames = calls("IR_NRC17_Send");
        if (frames.size() >= 2)
            gaps.push_back(msBetween(frames[0].time, frames[1].time));
    }
    report("NRC17 start-to-key", gaps, double(quicksend::kNrc17KeyDelayMs));
    return 0;
}
