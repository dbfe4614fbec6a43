// Frames from adapter threads at any moment: while the GUI thread ticks,
// clicks rows and clears; after the stop; while the user stops and restarts
// (with failing starts); while the window is destroyed. No frame is lost or
// duplicated, every row shows its entry, and the window's state stays true
// to the adapter's.
#include "adapterstate.h"
#include "frameformat.h"
#include "irlimits.h"
#include "mainwindow.h"
#include "protocols.h"
#include "receivequeue.h"

#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <atomic>
#include <map>
#include <thread>

namespace {
constexpr int kProducers = 4;
constexpr int kFramesPerProducer = 25000;
// kProducers run at most this many frames each ahead of the GUI's ticks, so
// that ticks, clicks and clears interleave with delivery on a busy machine.
constexpr int kFramesAheadPerTick = 250;
constexpr int kTicksPerClear = 5;
constexpr int kClears = 8;
constexpr int kSeqBits = 24;
constexpr uint32_t kSeqMask = (1u << kSeqBits) - 1;

// The frame that producer p sends as its seq-th: everything derived from the
// pair, which the data value carries.
ReceivedRecord frameFor(int p, int seq)
{
    const int32_t type = seq % (protocols::kLast - protocols::kFirst + 1) + protocols::kFirst;
    // Now and then more values than the table shows.
    const int rawCount = seq % 1000 == 0 ? irlimits::kMaxRecordRawValues + 44 : seq % 7;
    std::vector<int> raw;
    for (int i = 0; i < rawCount; ++i)
        raw.push_back((seq + i) % 50 + 1);
    ReceivedRecord f(
        type, (uint32_t(p) << kSeqBits) | uint32_t(seq), uint32_t(seq) * 7u, seq % 33, raw);
    f.record.extra = seq;
    return f;
}

// Calls the callback the library was given, as its thread would, whatever
// the reception state: the late frames of a library that stops
// asynchronously.
void produce(IRReceiveCallback callback, int p, int count)
{
    for (int seq = 0; seq < count; ++seq) {
        ReceivedRecord f = frameFor(p, seq);
        callback(0, 0, &f.record);
    }
}

std::atomic<int> traceLines{0};
void countTrace(QtMsgType, const QMessageLogContext &, const QString &)
{
    ++traceLines;
}
} // namespace

class TestReceiveConcurrency : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void framesFromManyThreads();
    void framesAfterTheStop();
    void framesWhileStoppingAndRestarting();
    void framesWhileTheWindowIsDestroyed();

private:
    // Ticks, then checks every row against its entry and against the frame
    // its producer sent; updates the last sequence number seen per producer.
    void checkRows(MainWindow &window, std::map<int, int> &lastSeen, std::map<int, int> &inEpoch);

    MainWindow *window = nullptr;
};

void TestReceiveConcurrency::init()
{
    fake::Adapter::instance().reset();
    receiveQueue().clear();
    window = new MainWindow;
}

void TestReceiveConcurrency::cleanup()
{
    delete window;
    window = nullptr;
    fake::Adapter::instance().reset();
    receiveQueue().clear();
}

void TestReceiveConcurrency::checkRows(
    MainWindow &window, std::map<int, int> &lastSeen, std::map<int, int> &inEpoch)
{
    QVERIFY(displayTick(&window));
    QAbstractItemModel *model = child<QTableView>(&window, "tableViewIRData")->model();
    const int rows = model->rowCount();
    QVERIFY(rows <= receiveQueue().size());
    std::map<int, int> previous;
    for (int r = 0; r < rows; ++r) {
        bool ok = false;
        const uint value = model->index(r, frameformat::Data).data().toString().toUInt(&ok, 16);
        QVERIFY2(ok, qPrintable(QStringLiteral("row %1").arg(r)));
        const int p = int(value >> kSeqBits);
        const int seq = int(value & kSeqMask);
        QVERIFY(p < kProducers && seq < kFramesPerProducer);

        // No duplicate across clears, no gap within one.
        auto prev = previous.find(p);
        if (prev == previous.end())
            QVERIFY2(
                seq > lastSeen[p], qPrintable(QStringLiteral("duplicate %1/%2").arg(p).arg(seq)));
        else
            QVERIFY2(
                seq == prev->second + 1, qPrintable(QStringLiteral("gap %1/%2").arg(p).arg(seq)));
        previous[p] = seq;
        lastSeen[p] = seq;
        ++inEpoch[p];

        // The entry at the row's position is that frame, complete.
        const ReceivedRecord sent = frameFor(p, seq);
        IRResultsEntry e;
        QVERIFY(receiveQueue().entryAt(r, e));
        QCOMPARE(e.value, value);
        QCOMPARE(e.decode_type, sent.record.decode_type);
        QCOMPARE(e.address, sent.record.address);
        QCOMPARE(e.bits, sent.record.bits);
        QCOMPARE(e.extra, sent.record.extra);
        const int shown = std::min<int>(int(sent.raw.size()), irlimits::kMaxRecordRawValues);
        QCOMPARE(e.raw_count, shown);
        QVERIFY(std::equal(
            sent.raw.begin(), sent.raw.begin() + shown, e.raw_values.begin(), e.raw_values.end()));
        std::vector<int32_t> whole;
        QVERIFY(receiveQueue().rawValues(r, whole));
        QVERIFY(std::equal(sent.raw.begin(), sent.raw.end(), whole.begin(), whole.end()));

        const auto texts = frameformat::rowTexts(r, e);
        for (int c = 0; c < frameformat::ColumnCount; ++c)
            QCOMPARE(model->index(r, c).data().toString(), texts[size_t(c)]);
    }
}

void TestReceiveConcurrency::framesFromManyThreads()
{
    const QtMessageHandler previousHandler = qInstallMessageHandler(countTrace);
    traceLines = 0;

    MainWindow &window = *this->window;
    child<QPushButton>(&window, "pushButtonStartReceive")->click();
    QVERIFY(fake::Adapter::instance().callback());
    traceLines = 0; // the adapter count line of the start

    std::atomic<bool> clearsDone{false};
    std::atomic<int> waiting{0};
    std::atomic<int> finished{0};
    std::atomic<int> ticks{0};
    std::atomic<int> delivered{0};
    std::atomic<bool> abandoned{false};
    std::vector<std::thread> producers;
    // Every way out of this function, a failed check's return included,
    // ends the producers and joins them, and gives the trace lines back: a
    // thread still joinable when it is destroyed would end the whole run
    // instead of reporting the failure.
    struct Producers
    {
        std::vector<std::thread> &threads;
        std::atomic<bool> &abandoned;
        QtMessageHandler previousHandler;
        void join()
        {
            for (std::thread &t : threads)
                if (t.joinable())
                    t.join();
        }
        ~Producers()
        {
            abandoned = true;
            join();
            qInstallMessageHandler(previousHandler);
        }
    } running{producers, abandoned, previousHandler};
    for (int p = 0; p < kProducers; ++p) {
        producers.emplace_back([&, p] {
            for (int seq = 0; seq < kFramesPerProducer && !abandoned; ++seq) {
                if (seq == kFramesPerProducer / 2) {
                    // The second half arrives only after the last clear, so
                    // all of it must be in the table at the end.
                    ++waiting;
                    while (!clearsDone && !abandoned)
                        std::this_thread::yield();
                }
                while (seq >= (ticks + 1) * kFramesAheadPerTick && !abandoned)
                    std::this_thread::yield();
                ReceivedRecord f = frameFor(p, seq);
                fake::Adapter::instance().deliver(0, p, &f.record);
                ++delivered;
            }
            ++finished;
        });
    }

    std::map<int, int> lastSeen;
    for (int p = 0; p < kProducers; ++p)
        lastSeen[p] = -1;
    int clears = 0;
    int clicks = 0;
    QAbstractItemModel *model = child<QTableView>(&window, "tableViewIRData")->model();
    auto *detailsBox = child<QPlainTextEdit>(&window, "plainTextEdit");
    while (finished < kProducers) {
        // Some half of what the producers may send by now has arrived.
        const int all = kProducers * kFramesPerProducer;
        const int target
            = std::min(ticks * kFramesAheadPerTick * kProducers / 2, clearsDone ? all : all / 2);
        while (delivered < target)
            std::this_thread::yield();
        QVERIFY(displayTick(&window));
        ++ticks;
        const int rows = model->rowCount();
        if (rows > 0) {
            // Click the newest row: its details name the type of its entry,
            // after the program's own reading.
            emit child<QTableView>(&window, "tableViewIRData")->clicked(model->index(rows - 1, 0));
            ++clicks;
            QCOMPARE(detailsBox->toPlainText().section(QLatin1Char('\n'), 1, 1),
                QStringLiteral("type:")
                    + model->index(rows - 1, frameformat::Type).data().toString());
        }
        if (!clearsDone && (ticks % kTicksPerClear == 0 || waiting == kProducers)) {
            std::map<int, int> inEpoch;
            checkRows(window, lastSeen, inEpoch);
            if (QTest::currentTestFailed())
                break;
            child<QPushButton>(&window, "pushButtonClearData")->click();
            QCOMPARE(model->rowCount(), 0);
            if (++clears == kClears || waiting == kProducers)
                clearsDone = true;
        }
        QCoreApplication::processEvents();
    }
    clearsDone = true;
    running.join();
    QVERIFY(!QTest::currentTestFailed());

    std::map<int, int> lastEpoch;
    checkRows(window, lastSeen, lastEpoch);
    for (int p = 0; p < kProducers; ++p) {
        QCOMPARE(lastSeen[p], kFramesPerProducer - 1);
        QVERIFY(lastEpoch[p] >= kFramesPerProducer / 2);
    }
    QCOMPARE(clears, kClears);
    QVERIFY(clicks > 0);
    QCOMPARE(traceLines.load(), 3 * kProducers * kFramesPerProducer);
    qDebug("%d clears, %d clicks", clears, clicks);
}

void TestReceiveConcurrency::framesAfterTheStop()
{
    using namespace adapterstate;
    TraceCatcher quiet;
    DialogCatcher catcher;
    click(window, "pushButtonStartReceive");
    const IRReceiveCallback callback = fake::Adapter::instance().callback();
    QVERIFY(callback);
    produce(callback, 0, 1);
    tickAll(window);
    click(window, "pushButtonStartReceive");
    QVERIFY(stateFault(window).isEmpty());

    std::thread late([callback] {
        for (int seq = 1; seq < 6; ++seq) {
            ReceivedRecord f = frameFor(0, seq);
            callback(0, 0, &f.record);
        }
    });
    late.join();
    tickAll(window); // no timer runs: nothing is shown yet
    QCOMPARE(tableRows(window), 1);
    QCOMPARE(receiveQueue().size(), 6);

    // The next start shows them at its first tick, numbering continued.
    click(window, "pushButtonStartReceive");
    QVERIFY(stateFault(window).isEmpty());
    std::map<int, int> lastSeen{{0, -1}}, inEpoch;
    checkRows(*window, lastSeen, inEpoch);
    QCOMPARE(tableRows(window), 6);
    QCOMPARE(child<QTableView>(window, "tableViewIRData")->model()->index(5, 0).data().toString(),
        QStringLiteral("6"));
    QVERIFY(catcher.dialogs.isEmpty());
}

void TestReceiveConcurrency::framesWhileStoppingAndRestarting()
{
    using namespace adapterstate;
    constexpr int producers = 2;
    constexpr int frames = 1500;
    fake::Adapter &adapter = fake::Adapter::instance();
    TraceCatcher quiet;
    DialogCatcher catcher;
    click(window, "pushButtonStartReceive");
    const IRReceiveCallback callback = adapter.callback();
    QVERIFY(callback);

    std::vector<std::thread> threads;
    for (int p = 0; p < producers; ++p)
        threads.emplace_back(produce, callback, p, frames);
    // Meanwhile the user stops and starts; every third start fails.
    int starts = 0;
    int failedStarts = 0;
    for (int round = 0; round < 30; ++round) {
        tickAll(window);
        if (!adapterReceiving()) {
            const bool fail = ++starts % 3 == 0;
            adapter.queueResults("IR_ReceiveStart", {fail ? 1 : 0});
            failedStarts += fail ? 1 : 0;
        }
        click(window, "pushButtonStartReceive");
        const QString fault = stateFault(window);
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
        QCoreApplication::processEvents();
    }
    for (std::thread &t : threads)
        t.join();

    if (!adapterReceiving())
        click(window, "pushButtonStartReceive");
    QVERIFY(stateFault(window).isEmpty());
    std::map<int, int> lastSeen{{0, -1}, {1, -1}}, inEpoch;
    checkRows(*window, lastSeen, inEpoch);
    for (int p = 0; p < producers; ++p)
        QCOMPARE(inEpoch[p], frames);
    QCOMPARE(catcher.dialogs.size(), failedStarts);
    for (const QString &text : catcher.texts())
        QCOMPARE(text, QStringLiteral("启动红外接收失败！"));
}

void TestReceiveConcurrency::framesWhileTheWindowIsDestroyed()
{
    using namespace adapterstate;
    fake::Adapter &adapter = fake::Adapter::instance();
    TraceCatcher quiet;
    click(window, "pushButtonStartReceive");
    QVERIFY(adapterReceiving());

    // kProducers deliver as the library does: only while reception runs.
    std::atomic<bool> done{false};
    std::atomic<int> rounds{0};
    std::vector<std::thread> threads;
    for (int p = 0; p < 2; ++p) {
        threads.emplace_back([&done, &rounds, p] {
            for (int seq = 0; !done && seq < kFramesPerProducer; ++seq) {
                ReceivedRecord f = frameFor(p, seq);
                fake::Adapter::instance().deliver(0, 0, &f.record);
                ++rounds;
            }
        });
    }
    while (rounds < 200)
        std::this_thread::yield();
    delete window; // stops reception on the way out
    window = nullptr;
    QVERIFY(!adapterReceiving());
    QCOMPARE(adapter.count("IR_ReceiveStop"), 1);
    done = true;
    for (std::thread &t : threads)
        t.join();

    // A new window starts and shows every frame that arrived.
    window = new MainWindow;
    DialogCatcher catcher;
    click(window, "pushButtonStartReceive");
    QVERIFY(stateFault(window).isEmpty());
    std::map<int, int> lastSeen{{0, -1}, {1, -1}}, inEpoch;
    checkRows(*window, lastSeen, inEpoch);
    QCOMPARE(tableRows(window), receiveQueue().size());
    QVERIFY(tableRows(window) >= 200);
    QVERIFY(catcher.dialogs.isEmpty());
}

QTEST_MAIN(TestReceiveConcurrency)
#include "tst_receiveconcurrency.moc"
