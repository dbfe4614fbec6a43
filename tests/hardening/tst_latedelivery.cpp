// Frames at the wrong moments: after the stop, from two threads while the
// user stops and restarts (with failing starts), and while the window is
// being destroyed. No frame is lost or doubled, nothing crashes, and the
// window's state stays true to the adapter's.
#include "hardeningsupport.h"

#include <QtTest>

#include <atomic>
#include <thread>

using namespace hardening;

namespace {

constexpr int producers = 2;
constexpr int framesPerProducer = 1500;
constexpr uint32_t producerShift = 16;

// Calls the callback the library was given, as its thread would, whatever
// the reception state: a late frame of a library that stops asynchronously.
void produce(IRReceiveCallback callback, int producer, int count)
{
    for (int i = 0; i < count; ++i) {
        Frame r = necRecord(
            (static_cast<uint32_t>(producer) << producerShift) | static_cast<uint32_t>(i));
        callback(0, 0, &r.record);
    }
}

// Every row shows its own queue entry, and each producer's frames appear
// once each, in the order it sent them.
QString checkRows(MainWindow *window, int expectedPerProducer)
{
    QAbstractItemModel *model = child<QTableView>(window, "tableViewIRData")->model();
    if (model->rowCount() != receiveQueue().size())
        return QStringLiteral("%1 rows, %2 entries")
            .arg(model->rowCount())
            .arg(receiveQueue().size());
    std::vector<uint32_t> next(producers, 0);
    for (int row = 0; row < model->rowCount(); ++row) {
        bool ok = false;
        const uint32_t value = model->index(row, 2).data().toString().toUInt(&ok, 16);
        IRResultsEntry entry;
        if (!ok || !receiveQueue().entryAt(row, entry) || entry.value != value)
            return QStringLiteral("row %1 does not show its entry").arg(row);
        const uint32_t producer = value >> producerShift;
        if (producer >= producers || (value & 0xFFFF) != next[producer]++)
            return QStringLiteral("row %1: frame %2 out of order").arg(row).arg(value, 0, 16);
    }
    for (uint32_t n : next)
        if (static_cast<int>(n) != expectedPerProducer)
            return QStringLiteral("a producer's frames are missing");
    return {};
}

} // namespace

class TestLateDelivery : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void framesAfterTheStop();
    void twoThreadsWhileStoppingAndRestarting();
    void framesWhileTheWindowIsDestroyed();

private:
    MainWindow *window = nullptr;
    TraceCatcher *trace = nullptr; // keeps the callback's trace lines off the output
};

void TestLateDelivery::init()
{
    fake::Adapter::instance().reset();
    receiveQueue().clear();
    trace = new TraceCatcher;
    window = new MainWindow;
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
}

void TestLateDelivery::cleanup()
{
    delete window;
    window = nullptr;
    delete trace;
    trace = nullptr;
    fake::Adapter::instance().reset();
    receiveQueue().clear();
}

void TestLateDelivery::framesAfterTheStop()
{
    DialogCatcher catcher;
    click(window, "pushButtonStartReceive");
    const IRReceiveCallback callback = fake::Adapter::instance().callback();
    QVERIFY(callback);
    deliver(1);
    tickAll(window);
    click(window, "pushButtonStartReceive");
    QVERIFY(stateFault(window).isEmpty());

    std::thread late(produce, callback, 1, 5);
    late.join();
    tickAll(window); // no timer runs: nothing is shown yet
    QCOMPARE(tableRows(window), 1);
    QCOMPARE(receiveQueue().size(), 6);

    // The next start shows them at its first tick, numbering continued.
    click(window, "pushButtonStartReceive");
    QVERIFY(stateFault(window).isEmpty());
    tickAll(window);
    QCOMPARE(tableRows(window), 6);
    QCOMPARE(child<QTableView>(window, "tableViewIRData")->model()->index(5, 0).data().toString(),
        QStringLiteral("6"));
    QVERIFY(catcher.dialogs.isEmpty());
}

void TestLateDelivery::twoThreadsWhileStoppingAndRestarting()
{
    fake::Adapter &adapter = fake::Adapter::instance();
    DialogCatcher catcher;
    click(window, "pushButtonStartReceive");
    const IRReceiveCallback callback = adapter.callback();
    QVERIFY(callback);

    std::vector<std::thread> threads;
    for (int p = 0; p < producers; ++p)
        threads.emplace_back(produce, callback, p, framesPerProducer);
    // Meanwhile the user stops and starts; every third start fails.
    int starts = 0;
    int failedStarts = 0;
    for (int round = 0; round < 30; ++round) {
        tickAll(window);
        const bool starting = !adapterReceiving();
        if (starting) {
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
    tickAll(window);
    const QString rows = checkRows(window, framesPerProducer);
    QVERIFY2(rows.isEmpty(), qPrintable(rows));
    QCOMPARE(catcher.dialogs.size(), failedStarts);
    for (const QString &text : catcher.texts())
        QCOMPARE(text, QStringLiteral("启动红外接收失败！"));
}

void TestLateDelivery::framesWhileTheWindowIsDestroyed()
{
    fake::Adapter &adapter = fake::Adapter::instance();
    click(window, "pushButtonStartReceive");
    QVERIFY(adapterReceiving());

    // Producers deliver as the library does: only while reception runs.
    std::atomic<bool> done{false};
    std::atomic<int> rounds{0};
    std::vector<std::thread> threads;
    for (int p = 0; p < producers; ++p) {
        threads.emplace_back([&done, &rounds, p] {
            for (uint32_t i = 0; !done; ++i) {
                Frame r = necRecord((static_cast<uint32_t>(p) << producerShift) | (i & 0xFFFF));
                fake::Adapter::instance().deliver(0, 0, &r.record);
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
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    DialogCatcher catcher;
    click(window, "pushButtonStartReceive");
    QVERIFY(stateFault(window).isEmpty());
    tickAll(window);
    QCOMPARE(tableRows(window), receiveQueue().size());
    QVERIFY(tableRows(window) > 0);
    QVERIFY(catcher.dialogs.isEmpty());
}

QTEST_MAIN(TestLateDelivery)
#include "tst_latedelivery.moc"
