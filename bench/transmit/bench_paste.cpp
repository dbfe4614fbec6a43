// Pasting long texts into the raw timing box, run by hand
// (QT_QPA_PLATFORM=offscreen bench_paste [--word-wrap] [bytes...]): the time
// from the paste until the box has repainted, and of the send click that
// follows. --word-wrap lays the box out as QTextEdit does by default
// (wrapping at word boundaries), for comparison.
#include "fakeadapter.h"
#include "mainwindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>

#include <chrono>
#include <cstdio>

namespace {
using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Numbers as a remote's raw timings, comma separated; spaced or not.
QString timings(int bytes, bool spaced)
{
    const QString values[] = {QStringLiteral("9000"), QStringLiteral("4500"), QStringLiteral("560"),
        QStringLiteral("1690")};
    const QString separator = spaced ? QStringLiteral(", ") : QStringLiteral(",");
    QString text;
    text.reserve(bytes + 8);
    for (int i = 0; text.size() < bytes; ++i)
        text += values[i % 4] + separator;
    text.truncate(bytes);
    return text;
}

// Counts the paint events of a widget.
class PaintWatch : public QObject
{
public:
    int paints = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

void pasteAndSend(int bytes, bool spaced, bool wordWrap)
{
    MainWindow window;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        std::printf("window not exposed\n");
    auto *box = window.findChild<QTextEdit *>(QStringLiteral("textEditIRRawData"));
    window.findChild<QCheckBox *>(QStringLiteral("checkBoxRawData"))->click();
    if (wordWrap)
        box->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    PaintWatch watch;
    box->viewport()->installEventFilter(&watch);
    QApplication::clipboard()->setText(timings(bytes, spaced));
    box->setFocus();
    QCoreApplication::processEvents();

    watch.paints = 0;
    const auto start = Clock::now();
    box->paste();
    while (watch.paints == 0)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    const double paste = msSince(start);

    const auto click = Clock::now();
    window.findChild<QPushButton *>(QStringLiteral("pushButtonSendIR"))->click();
    const double send = msSince(click);
    const auto calls = fake::Adapter::instance().calls("IR_SendRaw");
    std::printf("%10d %7s %12.1f %10.1f %8lld\n", bytes, spaced ? "yes" : "no", paste, send,
        calls.empty() ? -1LL : calls.back().args.back());
}
} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    fake::Adapter::instance().reset();
    fake::Adapter::instance().setScanCount(1);
    std::printf("Paste into the raw timing box until repainted, then send, ms:\n");
    std::printf("%10s %7s %12s %10s %8s\n", "bytes", "spaced", "paste+paint", "send", "count");
    QList<int> sizes;
    bool wordWrap = false;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (arg == QLatin1String("--word-wrap"))
            wordWrap = true;
        else
            sizes << arg.toInt();
    }
    if (sizes.isEmpty())
        sizes = {200 * 1000, 1000 * 1000};
    for (int bytes : sizes)
        for (bool spaced : {false, true})
            pasteAndSend(bytes, spaced, wordWrap);
    return 0;
}
