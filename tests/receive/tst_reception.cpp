// Reception on the window: start and stop, the callback and its queue, the
// frame table, details, clearing and the waveform plot.
#include "fakeadapter.h"
#include "mainwindow.h"
#include "receivequeue.h"
#include "waveform.h"
#include "windowharness.h"

#include <QComboBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <qwt_plot.h>
#include <qwt_plot_curve.h>
#include <qwt_plot_grid.h>
#include <qwt_scale_div.h>

#include <QAbstractEventDispatcher>

#include <memory>
#include <numeric>

Q_DECLARE_METATYPE(std::vector<int>)

namespace {
const QString startText = QStringLiteral("开始接收");
const QString stopText = QStringLiteral("停止接收");

QPushButton *startButton(QObject *w)
{
    return child<QPushButton>(w, "pushButtonStartReceive");
}

// The bottom axis as the plot lays it out on its next replot.
double xAxisEnd(QObject *w)
{
    auto *plot = child<QwtPlot>(w, "qwtPlot");
    plot->updateAxes();
    return plot->axisScaleDiv(QwtPlot::xBottom).upperBound();
}

void deliver(const ReceivedRecord &frame, int device = 0, int channel = 0)
{
    IRResults copy = frame.record;
    fake::Adapter::instance().deliver(device, channel, &copy);
}

// Starts reception on the window; fails the test when it does not run.
bool start(MainWindow &window, int device = 0, int channel = 0)
{
    child<QComboBox>(&window, "comboBoxReceiveDeviceIndex")->setCurrentIndex(device);
    child<QComboBox>(&window, "comboBoxReceiveChannel")->setCurrentIndex(channel);
    startButton(&window)->click();
    return startButton(&window)->text() == stopText && runningTimers(&window).size() == 1;
}

const ReceivedRecord necExample(3, 0x00FF00FFu, 0x55u, 32, {2000, 180, 90, 11});
} // namespace

class TestReception : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        fake::Adapter::instance().reset();
        fake::Adapter::instance().setScanCount(10);
        receiveQueue().clear();
    }

    void tableIsSetUp();
    void plotIsSetUp();

    void startUsesTheChannelMask_data();
    void startUsesTheChannelMask();
    void startWithoutAdapterOnlyWarns();
    void failedStartWarnsAndStaysIdle();
    void stopStopsTheAdapterReceptionStartedOn();
    void closingTheWindowStopsReception();

    void callbackTracesAndCopies();
    void callbackSurvivesBadRecords();
    void framesBetweenTicksBecomeRowsInOrder();
    void rowsSurviveStopAndRestart();
    void rowCells();

    void detailsOfAClickedRow_data();
    void detailsOfAClickedRow();
    void longFramesShowTheirFirstValues_data();
    void longFramesShowTheirFirstValues();
    void clearingWhileReceiving();
    void clearingManyRows();

    void clickDrawsTheWaveform_data();
    void clickDrawsTheWaveform();
    void secondClickReplacesTheWaveform();
    void frameBeyondTheSampleLimitIsCut();
    void drawnAsQwtDrawsTheSamples();
};

void TestReception::tableIsSetUp()
{
    MainWindow window;
    QTableView *view = frameTable(&window);
    QAbstractItemModel *model = view->model();
    QVERIFY(model);
    QCOMPARE(model->rowCount(), 0);
    QCOMPARE(model->columnCount(), 6);
    const QStringList headers{"行号", "类型", "数据(HEX)", "地址(HEX)", "位数", "原始数据"};
    const int widths[] = {50, 80, 90, 70, 50, 200};
    for (int c = 0; c < 6; ++c) {
        QCOMPARE(model->headerData(c, Qt::Horizontal).toString(), headers[c]);
        QCOMPARE(view->isColumnHidden(c), c == 5);
        view->showColumn(c); // a hidden column reports no width
        QCOMPARE(view->columnWidth(c), widths[c]);
    }
    QVERIFY(view->verticalHeader()->isHidden());
    QCOMPARE(view->editTriggers(), QAbstractItemView::NoEditTriggers);
    QCOMPARE(view->selectionBehavior(), QAbstractItemView::SelectRows);
    QCOMPARE(view->verticalHeader()->defaultSectionSize(), 20);
}

void TestReception::plotIsSetUp()
{
    MainWindow window;
    auto *plot = child<QwtPlot>(&window, "qwtPlot");
    QVERIFY(plot->autoFillBackground());
    QCOMPARE(plot->palette().color(QPalette::Window), QColor(255, 255, 255));
    QCOMPARE(xAxisEnd(&window), 2000.0);
    QCOMPARE(plot->axisScaleDiv(QwtPlot::xBottom).lowerBound(), 0.0);
    QCOMPARE(plot->axisScaleDiv(QwtPlot::yLeft).lowerBound(), -0.5);
    QCOMPARE(plot->axisScaleDiv(QwtPlot::yLeft).upperBound(), 1.5);
    QVERIFY(!plot->axisEnabled(QwtPlot::yLeft));
    QVERIFY(plot->axisEnabled(QwtPlot::xBottom));
    QVERIFY(!plot->axisEnabled(QwtPlot::yRight));
    QVERIFY(!plot->axisEnabled(QwtPlot::xTop));
    const QPalette canvas = plot->canvas()->palette();
    QCOMPARE(canvas.color(QPalette::Window), QColor(0, 0, 0));
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        QCOMPARE(canvas.color(group, QPalette::WindowText), QColor(133, 190, 232));

    const QwtPlotItemList grids = plot->itemList(QwtPlotItem::Rtti_PlotGrid);
    QCOMPARE(grids.size(), 1);
    auto *grid = static_cast<QwtPlotGrid *>(grids.first());
    QVERIFY(grid->xEnabled());
    QVERIFY(grid->yEnabled());
    QCOMPARE(grid->majorPen().color(), QColor(50, 50, 50));
    QCOMPARE(grid->majorPen().width(), 0);
    QCOMPARE(grid->majorPen().style(), Qt::DotLine);

    QwtPlotCurve *wave = curve(&window);
    QVERIFY(wave);
    QVERIFY(wave->title().isEmpty());
    QVERIFY(wave->testRenderHint(QwtPlotItem::RenderAntialiased));
    QCOMPARE(wave->pen().color(), QColor(0, 255, 0));
    QCOMPARE(wave->pen().width(), 1);
    QCOMPARE(wave->pen().style(), Qt::SolidLine);
    QCOMPARE(wave->style(), QwtPlotCurve::Lines);
    QCOMPARE(int(wave->dataSize()), 0);
}

void TestReception::startUsesTheChannelMask_data()
{
    QTest::addColumn<int>("device");
    QTest::addColumn<int>("channel");
    QTest::addColumn<int>("mask");
    QTest::newRow("D0") << 0 << 0 << 0x01;
    QTest::newRow("D3 on adapter 4") << 4 << 3 << 0x08;
    QTest::newRow("D7") << 9 << 7 << 0x80;
}

void TestReception::startUsesTheChannelMask()
{
    QFETCH(int, device);
    QFETCH(int, channel);
    QFETCH(int, mask);
    fake::Adapter &adapter = fake::Adapter::instance();
    MainWindow window;
    DialogCatcher dialogs;
    QVERIFY(start(window, device, channel));
    QVERIFY(dialogs.dialogs.isEmpty());
    QCOMPARE(adapter.calls("Device_Open").at(0).args, std::vector<long long>{device});
    const auto starts = adapter.calls("IR_ReceiveStart");
    QCOMPARE(int(starts.size()), 1);
    QCOMPARE(starts[0].args, (std::vector<long long>{device, mask}));
    QVERIFY(adapter.callback() == &receiveCallback);
    const auto timers = QAbstractEventDispatcher::instance()->registeredTimers(&window);
    QCOMPARE(timers.size(), 1);
    QCOMPARE(timers[0].interval, 100);
    QCOMPARE(timers[0].timerType, Qt::CoarseTimer);
}

void TestReception::startWithoutAdapterOnlyWarns()
{
    fake::Adapter &adapter = fake::Adapter::instance();
    adapter.setScanCount(0);
    MainWindow window;
    DialogCatcher dialogs;
    QVERIFY(!start(window));
    QCOMPARE(dialogs.texts(), QStringList{QStringLiteral("无设备连接！")});
    QCOMPARE(adapter.count("IR_ReceiveStart"), 0);
    QCOMPARE(startButton(&window)->text(), startText);
    QVERIFY(runningTimers(&window).isEmpty());
}

void TestReception::failedStartWarnsAndStaysIdle()
{
    fake::Adapter &adapter = fake::Adapter::instance();
    adapter.setResult("IR_ReceiveStart", 1);
    MainWindow window;
    DialogCatcher dialogs;
    QVERIFY(!start(window, 2, 1));
    QCOMPARE(dialogs.texts(), QStringList{QStringLiteral("启动红外接收失败！")});
    QCOMPARE(startButton(&window)->text(), startText);
    QVERIFY(runningTimers(&window).isEmpty());

    // Still idle: the next click starts again rather than stopping.
    adapter.setResult("IR_ReceiveStart", 0);
    QVERIFY(start(window, 2, 1));
    QCOMPARE(adapter.count("IR_ReceiveStop"), 0);
}

void TestReception::stopStopsTheAdapterReceptionStartedOn()
{
    fake::Adapter &adapter = fake::Adapter::instance();
    MainWindow window;
    DialogCatcher dialogs;
    QVERIFY(start(window, 3));
    adapter.clearCalls();
    child<QComboBox>(&window, "comboBoxReceiveDeviceIndex")->setCurrentIndex(6);
    startButton(&window)->click();
    const auto calls = adapter.calls();
    QCOMPARE(int(calls.size()), 1);
    QCOMPARE(calls[0].op, std::string("IR_ReceiveStop"));
    QCOMPARE(calls[0].args, std::vector<long long>{3});
    QCOMPARE(startButton(&window)->text(), startText);
    QVERIFY(runningTimers(&window).isEmpty());
    QVERIFY(dialogs.dialogs.isEmpty());

    // No rows are added any more, and a stale tick id changes nothing.
    deliver(necExample);
    QVERIFY(!displayTick(&window));
    QCOMPARE(frameTable(&window)->model()->rowCount(), 0);
}

void TestReception::closingTheWindowStopsReception()
{
    fake::Adapter &adapter = fake::Adapter::instance();
    auto window = std::make_unique<MainWindow>();
    QVERIFY(start(*window, 5));
    window.reset();
    const auto stops = adapter.calls("IR_ReceiveStop");
    QCOMPARE(int(stops.size()), 1);
    QCOMPARE(stops[0].args, std::vector<long long>{5});
    QVERIFY(!adapter.callback());

    // An idle window stops nothing when it goes.
    adapter.clearCalls();
    {
        MainWindow idle;
    }
    QCOMPARE(adapter.count("IR_ReceiveStop"), 0);
}

void TestReception::callbackTracesAndCopies()
{
    TraceCatcher trace;
    std::vector<int> raw{2000, 180, 90, 11};
    ReceivedRecord frame(14, 0xA1u, 0x1Fu, 15, raw);
    frame.record.extra = -7;
    QCOMPARE(receiveCallback(2, 6, &frame.record), 0);
    QCOMPARE(trace.lines(),
        (QStringList{"DeviceIndex =  2", "ChannelIndex =  6", "pIRResults->decode_type =  14"}));
    // The adapter's array is its own again once the call returns.
    std::fill(frame.raw.begin(), frame.raw.end(), -1);
    IRResultsEntry e;
    QCOMPARE(receiveQueue().size(), 1);
    QVERIFY(receiveQueue().entryAt(0, e));
    QCOMPARE(e.decode_type, 14);
    QCOMPARE(e.address, 0x1Fu);
    QCOMPARE(e.value, 0xA1u);
    QCOMPARE(e.bits, 15);
    QCOMPARE(e.extra, -7);
    QCOMPARE(e.raw_count, 4);
    QCOMPARE(std::vector<int>(e.raw_values.begin(), e.raw_values.end()), raw);
    QVERIFY(!receiveQueue().entryAt(1, e));
    QVERIFY(!receiveQueue().entryAt(-1, e));
}

void TestReception::callbackSurvivesBadRecords()
{
    // Counts above the entry's room, and counts without an array, still make
    // an entry and a row; only the first 256 values are kept.
    std::vector<int> many(300);
    std::iota(many.begin(), many.end(), 0);
    ReceivedRecord big(3, 1u, 0u, 32, many);
    ReceivedRecord noArray(4, 2u, 0u, 12, {});
    noArray.record.raw_count = 9;
    ReceivedRecord negative(5, 3u, 0u, 48, {1, 2});
    negative.record.raw_count = -2;
    for (ReceivedRecord *f : {&big, &noArray, &negative})
        QCOMPARE(receiveCallback(0, 0, &f->record), 0);
    QCOMPARE(receiveCallback(0, 0, nullptr), 0);

    MainWindow window;
    QVERIFY(start(window));
    QVERIFY(displayTick(&window));
    QCOMPARE(frameTable(&window)->model()->rowCount(), 3);
    QStringList expected;
    for (int i = 1; i < 256; ++i)
        expected << QString::number(i);
    QCOMPARE(cell(&window, 0, 5), expected.join(QLatin1Char(',')));
    QCOMPARE(cell(&window, 1, 5), QString());
    QCOMPARE(cell(&window, 2, 5), QString());
}

void TestReception::framesBetweenTicksBecomeRowsInOrder()
{
    MainWindow window;
    QVERIFY(start(window));
    deliver(ReceivedRecord(3, 0x10u, 0, 32, {1, 2}));
    deliver(ReceivedRecord(4, 0x20u, 0, 12, {}));
    deliver(ReceivedRecord(6, 0x30u, 0, 16, {5}));
    QCOMPARE(frameTable(&window)->model()->rowCount(), 0); // not before the tick
    QVERIFY(displayTick(&window));
    QCOMPARE(frameTable(&window)->model()->rowCount(), 3);
    const QStringList data{"00000010", "00000020", "00000030"};
    for (int r = 0; r < 3; ++r) {
        QCOMPARE(cell(&window, r, 0), QString::number(r + 1));
        QCOMPARE(cell(&window, r, 2), data[r]);
    }
    // A tick with nothing new changes nothing.
    QVERIFY(displayTick(&window));
    QCOMPARE(frameTable(&window)->model()->rowCount(), 3);
}

void TestReception::rowsSurviveStopAndRestart()
{
    MainWindow window;
    DialogCatcher dialogs;
    QVERIFY(start(window));
    deliver(necExample);
    deliver(necExample);
    QVERIFY(displayTick(&window));
    startButton(&window)->click(); // stop
    QCOMPARE(frameTable(&window)->model()->rowCount(), 2);
    // A late frame after the stop reaches the queue; its row comes after the
    // next start.
    receiveCallback(0, 0, const_cast<IRResults *>(&necExample.record));
    QVERIFY(start(window));
    QCOMPARE(frameTable(&window)->model()->rowCount(), 2);
    deliver(ReceivedRecord(1, 0x7u, 0, 13, {}));
    QVERIFY(displayTick(&window));
    QCOMPARE(frameTable(&window)->model()->rowCount(), 4);
    QCOMPARE(cell(&window, 3, 0), QStringLiteral("4"));
    QCOMPARE(cell(&window, 3, 1), QStringLiteral("RC5"));
}

void TestReception::rowCells()
{
    MainWindow window;
    QVERIFY(start(window));
    deliver(ReceivedRecord(3, 0xFFFFFFFFu, 0x1Fu, 0, {}));
    deliver(ReceivedRecord(14, 0xABu, 0x1Fu, 15, {2000}));
    deliver(necExample);
    QVERIFY(displayTick(&window));
    QAbstractItemModel *model = frameTable(&window)->model();
    QCOMPARE(cell(&window, 0, 2), QStringLiteral("REPEAT"));
    QVERIFY(!model->index(0, 3).data().isValid()); // an empty cell: no address for NEC
    QCOMPARE(cell(&window, 1, 3), QStringLiteral("001F"));
    QCOMPARE(model->index(1, 3).data(Qt::EditRole).toString(), QStringLiteral("001F"));
    QCOMPARE(cell(&window, 1, 5), QString());
    const QStringList nec{"3", "NEC", "00FF00FF", "", "32", "180,90,11"};
    for (int c = 0; c < 6; ++c)
        QCOMPARE(cell(&window, 2, c), nec[c]);
}

void TestReception::detailsOfAClickedRow_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<uint>("address");
    QTest::addColumn<std::vector<int>>("raw");
    QTest::addColumn<QStringList>("lines");
    // The program's own reading of the raw values first: nothing reads
    // these few, whatever the adapter reported.
    const QString unread = QStringLiteral("reading:UNKNOWN");
    QTest::newRow("NEC example") << 3 << 0x55u << std::vector<int>{2000, 180, 90, 11}
                                 << QStringList{
                                        unread, "type:NEC", "bits:32", "raw data:180,90,11"};
    QTest::newRow("SHARP with address")
        << 14 << 0x1Fu << std::vector<int>{2000, 180}
        << QStringList{unread, "type:SHARP", "address:0x001F", "bits:32", "raw data:180"};
    QTest::newRow("PANASONIC wide address")
        << 5 << 0x12345u << std::vector<int>{2000}
        << QStringList{unread, "type:PANASONIC", "address:0x12345", "bits:32", "raw data:"};
    QTest::newRow("no raw values") << 0 << 0u << std::vector<int>{}
                                   << QStringList{unread, "type:UNUSED", "bits:32", "raw data:"};
    // A whole frame in 50 us ticks, as an adapter delivers it: read as the
    // codec reads it, though the adapter reported nothing.
    std::vector<int> nec;
    for (int32_t ticks :
        ircodec::toTicks(2000, (*ircodec::encode(ircodec::necFrame(4, 8, true)))[0].durations))
        nec.push_back(ticks);
    QString necList;
    for (size_t i = 1; i < nec.size(); ++i)
        necList += (i > 1 ? "," : "") + QString::number(nec[i]);
    QTest::newRow("a whole NEC frame")
        << -1 << 0u << nec
        << QStringList{"reading:NEC 20DF10EF (address 0x04, command 0x08, check ok)",
               "type:UNKNOWN", "bits:32", "raw data:" + necList};
}

void TestReception::detailsOfAClickedRow()
{
    QFETCH(int, type);
    QFETCH(uint, address);
    QFETCH(std::vector<int>, raw);
    QFETCH(QStringList, lines);
    MainWindow window;
    QVERIFY(start(window));
    deliver(ReceivedRecord(1, 0u, 0u, 8, {9, 9}));
    deliver(ReceivedRecord(type, 0x11u, address, 32, raw));
    QVERIFY(displayTick(&window));
    child<QPlainTextEdit>(&window, "plainTextEdit")->setPlainText(QStringLiteral("old"));
    clickRow(&window, 1);
    QCOMPARE(details(&window), lines);
}

void TestReception::longFramesShowTheirFirstValues_data()
{
    // kFrames longer than the table shows are kept whole; only one longer than
    // the queue keeps is cut, and only its details say so.
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("kept");
    QTest::newRow("air conditioner, 600") << 600 << 600;
    QTest::newRow("at the limit") << irlimits::kMaxKeptRawValues << irlimits::kMaxKeptRawValues;
    QTest::newRow("beyond the limit")
        << irlimits::kMaxKeptRawValues + 9 << irlimits::kMaxKeptRawValues;
}

void TestReception::longFramesShowTheirFirstValues()
{
    QFETCH(int, count);
    QFETCH(int, kept);
    std::vector<int> raw(static_cast<size_t>(count));
    std::iota(raw.begin(), raw.end(), 1);
    const std::vector<int> first(raw.begin(), raw.begin() + irlimits::kMaxRecordRawValues);
    MainWindow window;
    QVERIFY(start(window));
    deliver(ReceivedRecord(-1, 0u, 0u, 0, raw));
    deliver(ReceivedRecord(-1, 0u, 0u, 0, first));
    QVERIFY(displayTick(&window));

    // Table, details and waveform as for a frame of its first 256 values;
    // only the program's own reading, of every value, differs.
    QCOMPARE(cell(&window, 0, 5), cell(&window, 1, 5));
    QCOMPARE(cell(&window, 0, 5).count(QLatin1Char(',')), irlimits::kMaxRecordRawValues - 2);
    clickRow(&window, 1);
    const QStringList firstValues = details(&window).mid(1);
    const size_t samples = curve(&window)->dataSize();
    clickRow(&window, 0);
    QStringList lines = firstValues;
    lines << QStringLiteral("values:%1 (the first 256 shown; copy, save and send again use all %1)")
                 .arg(kept);
    if (kept < count)
        lines << QStringLiteral("truncated:%1 of %2").arg(kept).arg(count);
    QVERIFY(details(&window).first().startsWith(QStringLiteral("reading:UNKNOWN (")));
    QCOMPARE(details(&window).mid(1), lines);
    QCOMPARE(curve(&window)->dataSize(), samples);

    std::vector<int32_t> whole;
    QVERIFY(receiveQueue().rawValues(0, whole));
    QCOMPARE(whole, std::vector<int32_t>(raw.begin(), raw.begin() + kept));
}

void TestReception::clearingWhileReceiving()
{
    fake::Adapter &adapter = fake::Adapter::instance();
    MainWindow window;
    QVERIFY(start(window));
    deliver(ReceivedRecord(3, 0x1u, 0u, 32, {2000, 180, 90, 11}));
    deliver(ReceivedRecord(4, 0x2u, 0u, 12, {}));
    QVERIFY(displayTick(&window));
    clickRow(&window, 0);
    QCOMPARE(int(curve(&window)->dataSize()), 2281);
    adapter.clearCalls();

    child<QPushButton>(&window, "pushButtonClearData")->click();
    QVERIFY(adapter.calls().empty());
    QCOMPARE(frameTable(&window)->model()->rowCount(), 0);
    QCOMPARE(frameTable(&window)->model()->columnCount(), 6);
    QCOMPARE(frameTable(&window)->columnWidth(2), 90);
    QCOMPARE(receiveQueue().size(), 0);
    QVERIFY(child<QPlainTextEdit>(&window, "plainTextEdit")->toPlainText().isEmpty());
    // The plot keeps the last waveform, and reception goes on.
    QCOMPARE(int(curve(&window)->dataSize()), 2281);
    QCOMPARE(xAxisEnd(&window), 2281.0);
    QCOMPARE(startButton(&window)->text(), stopText);
    QCOMPARE(runningTimers(&window).size(), 1);

    deliver(ReceivedRecord(14, 0x3u, 0x1Fu, 15, {}));
    QVERIFY(displayTick(&window));
    QCOMPARE(frameTable(&window)->model()->rowCount(), 1);
    QCOMPARE(cell(&window, 0, 0), QStringLiteral("1"));
    clickRow(&window, 0);
    QCOMPARE(details(&window).at(1), QStringLiteral("type:SHARP"));
}

void TestReception::clearingManyRows()
{
    // Many frames reach the table in one tick, all of them in order, and one
    // clearing removes them all.
    constexpr int kFrames = 200000;
    MainWindow window;
    QVERIFY(start(window));
    std::vector<int> raw{2000, 180, 90, 11};
    for (int i = 0; i < kFrames; ++i)
        receiveQueue().append(ReceivedRecord(3, uint32_t(i), 0u, 32, raw).record);
    QVERIFY(displayTick(&window));
    QAbstractItemModel *model = frameTable(&window)->model();
    QCOMPARE(model->rowCount(), kFrames);
    for (int r : {0, 1, kFrames / 2, kFrames - 1}) {
        QCOMPARE(cell(&window, r, 0), QString::number(r + 1));
        QCOMPARE(
            cell(&window, r, 2), QStringLiteral("%1").arg(r, 8, 16, QLatin1Char('0')).toUpper());
    }
    frameTable(&window)->selectRow(kFrames - 1);
    child<QPushButton>(&window, "pushButtonClearData")->click();
    QCOMPARE(model->rowCount(), 0);
    QCOMPARE(receiveQueue().size(), 0);
    QVERIFY(!frameTable(&window)->selectionModel()->hasSelection());
    deliver(necExample);
    QVERIFY(displayTick(&window));
    QCOMPARE(cell(&window, 0, 0), QStringLiteral("1"));
}

void TestReception::clickDrawsTheWaveform_data()
{
    QTest::addColumn<std::vector<int>>("raw");
    QTest::addColumn<int>("count");
    QTest::addColumn<double>("last");
    QTest::newRow("180,90,11") << std::vector<int>{2000, 180, 90, 11} << 2281 << 1.0;
    QTest::newRow("180,90") << std::vector<int>{2000, 180, 90} << 2270 << 0.0;
    QTest::newRow("180,0,11") << std::vector<int>{2000, 180, 0, 11} << 2191 << 1.0;
    QTest::newRow("no raw values") << std::vector<int>{} << 2000 << 1.0;
    QTest::newRow("negative timing") << std::vector<int>{2000, 180, -90, 11} << 2191 << 1.0;
}

void TestReception::clickDrawsTheWaveform()
{
    QFETCH(std::vector<int>, raw);
    QFETCH(int, count);
    QFETCH(double, last);
    MainWindow window;
    QVERIFY(start(window));
    deliver(ReceivedRecord(3, 0u, 0u, 32, raw));
    QVERIFY(displayTick(&window));
    clickRow(&window, 0);
    QwtPlotCurve *wave = curve(&window);
    QCOMPARE(int(wave->dataSize()), count);
    QCOMPARE(xAxisEnd(&window), double(count));
    for (size_t i : {size_t(0), size_t(count / 2), size_t(count - 1)})
        QCOMPARE(wave->sample(i).x(), double(i));
    QCOMPARE(wave->sample(0).y(), 1.0);
    QCOMPARE(wave->sample(size_t(count - 1)).y(), last);
    QVERIFY(child<QwtPlot>(&window, "qwtPlot")->autoReplot());
}

void TestReception::secondClickReplacesTheWaveform()
{
    MainWindow window;
    QVERIFY(start(window));
    deliver(ReceivedRecord(3, 0u, 0u, 32, {2000, 5000, 90, 11}));
    deliver(ReceivedRecord(3, 0u, 0u, 32, {2000, 180, 90}));
    QVERIFY(displayTick(&window));
    clickRow(&window, 0);
    QCOMPARE(xAxisEnd(&window), 7101.0);
    clickRow(&window, 1);
    QwtPlotCurve *wave = curve(&window);
    QCOMPARE(int(wave->dataSize()), 2270);
    QCOMPARE(xAxisEnd(&window), 2270.0);
    QCOMPARE(wave->sample(1000).y(), 0.0);
    QCOMPARE(wave->sample(1180).y(), 1.0);
    QCOMPARE(wave->sample(2269).y(), 0.0);
}

void TestReception::frameBeyondTheSampleLimitIsCut()
{
    // Drawn up to the limit, exactly as the samples are that far; the axis shows the
    // frame's whole length.
    const int timing = waveform::kMaxSamples;
    MainWindow window;
    QVERIFY(start(window));
    deliver(ReceivedRecord(3, 0u, 0u, 32, {2000, timing, timing}));
    QVERIFY(displayTick(&window));
    clickRow(&window, 0);
    QwtPlotCurve *wave = curve(&window);
    QCOMPARE(int(wave->dataSize()), waveform::kMaxSamples);
    QCOMPARE(xAxisEnd(&window), 2.0 * timing + 2 * waveform::kIdleRunSamples);
    QCOMPARE(wave->sample(waveform::kIdleRunSamples - 1).y(), 1.0);
    QCOMPARE(wave->sample(waveform::kIdleRunSamples).y(), 0.0);
    QCOMPARE(wave->sample(waveform::kMaxSamples - 1), QPointF(waveform::kMaxSamples - 1, 0.0));
}

void TestReception::drawnAsQwtDrawsTheSamples()
{
    // The plot looks exactly as with the waveform's samples handed to Qwt as
    // arrays of x and y, squeezed onto the canvas and spread over it.
    MainWindow window;
    window.resize(900, 600);
    QVERIFY(start(window));
    deliver(ReceivedRecord(3, 0u, 0u, 32, {2000, 180, 90, 11, 34, 11, 11, 500, 7, 3}));
    deliver(ReceivedRecord(3, 0u, 0u, 32, {2000, 3, 1, 2}));
    deliver(ReceivedRecord(3, 0u, 0u, 32, {2000, 900000, 2, 40000}));
    QVERIFY(displayTick(&window));
    auto *plot = child<QwtPlot>(&window, "qwtPlot");
    for (int row = 0; row < 3; ++row) {
        clickRow(&window, row);
        QwtPlotCurve *wave = curve(&window);
        const QImage drawn = plot->grab().toImage();
        std::vector<double> x(wave->dataSize()), y(wave->dataSize());
        for (size_t i = 0; i < x.size(); ++i) {
            x[i] = wave->sample(i).x();
            y[i] = wave->sample(i).y();
        }
        wave->setSamples(x.data(), y.data(), int(x.size()));
        plot->replot();
        QVERIFY(plot->grab().toImage() == drawn);
    }
}

QTEST_MAIN(TestReception)
#include "tst_reception.moc"
