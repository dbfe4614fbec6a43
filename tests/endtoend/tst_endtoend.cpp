// The whole program with the virtual adapter: frames sent from the send tab
// travel over the virtual air, are decoded by the adapter's receiver and
// reach the frame table, the details and the waveform.
#include "mainwindow.h"
#include "windowharness.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <qwt_plot.h>
#include <qwt_plot_curve.h>

namespace {

// 50 microsecond ticks of the adapter's raw timings.
constexpr int kTickUs = 50;
constexpr int kNecHeaderMarkTicks = 9000 / kTickUs;
constexpr int kNecHeaderSpaceTicks = 4500 / kTickUs;
constexpr int kNecBitMarkTicks = 560 / kTickUs;
constexpr int kNecOneSpaceTicks = 1690 / kTickUs;
constexpr int kIdleRun = 1000;
// Real receivers see every duration off by up to a quarter.
constexpr double kTolerance = 0.25;

bool near(int ticks, int nominal)
{
    return ticks >= nominal * (1 - kTolerance) && ticks <= nominal * (1 + kTolerance) + 1;
}

uint8_t reversed(uint8_t byte)
{
    uint8_t out = 0;
    for (int i = 0; i < 8; ++i)
        out = static_cast<uint8_t>(out | (((byte >> i) & 1) << (7 - i)));
    return out;
}

// An NEC frame's value as the receiver reports it: the bits in the order
// they leave the LED, the first one most significant; each byte goes out
// least significant bit first.
uint32_t necValue(uint8_t address, uint8_t command)
{
    const uint8_t bytes[]
        = {address, static_cast<uint8_t>(~address), command, static_cast<uint8_t>(~command)};
    uint32_t value = 0;
    for (uint8_t b : bytes)
        value = value << 8 | reversed(b);
    return value;
}

struct Run
{
    int level;
    int length;
};

// The runs of equal level in the curve's samples.
QVector<Run> runsOf(const QwtPlotCurve *curve)
{
    QVector<Run> runs;
    for (size_t i = 0; i < curve->dataSize(); ++i) {
        const int level = curve->sample(static_cast<int>(i)).y() > 0.5 ? 1 : 0;
        if (!runs.isEmpty() && runs.last().level == level)
            ++runs.last().length;
        else
            runs.append({level, 1});
    }
    return runs;
}

} // namespace

class TestEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void necPressReachesTableDetailsAndWaveform();
    void necHoldArrivesAsFrameThenRepeats();

private:
    template <typename T> T *get(const char *name)
    {
        T *object = child<T>(window, name);
        if (!object)
            qFatal("missing %s", name);
        return object;
    }
    QAbstractItemModel *model()
    {
        return get<QTableView>("tableViewIRData")->model();
    }
    QString cell(int row, int column)
    {
        return model()->index(row, column).data().toString();
    }

    MainWindow *window = nullptr;
    DialogCatcher *dialogs = nullptr;
};

void TestEndToEnd::init()
{
    dialogs = new DialogCatcher;
    window = new MainWindow;
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    get<QTabWidget>("tabWidget")->setCurrentIndex(1);
    // The receive queue is process-wide: start each case from an empty one.
    QTest::mouseClick(get<QPushButton>("pushButtonClearData"), Qt::LeftButton);
    get<QComboBox>("comboBoxReceiveChannel")->setCurrentIndex(3);
    QTest::mouseClick(get<QPushButton>("pushButtonStartReceive"), Qt::LeftButton);
    QCOMPARE(get<QPushButton>("pushButtonStartReceive")->text(), QStringLiteral("停止接收"));
    get<QTabWidget>("tabWidget")->setCurrentIndex(0);
}

void TestEndToEnd::cleanup()
{
    delete window;
    QVERIFY2(dialogs->dialogs.isEmpty(), qPrintable(dialogs->texts().join(", ")));
    delete dialogs;
}

void TestEndToEnd::necPressReachesTableDetailsAndWaveform()
{
    const uint8_t address = 0x12, command = 0x34;
    get<QSpinBox>("spinBoxNECAddress")->setValue(address);
    get<QSpinBox>("spinBoxNECCommand")->setValue(command);
    get<QCheckBox>("checkBoxNECHaveNot")->setChecked(true);
    get<QComboBox>("comboBoxSendChannel")->setCurrentIndex(5);
    auto *send = get<QPushButton>("pushButtonNECSend");
    QTest::mousePress(send, Qt::LeftButton);
    QTest::mouseRelease(send, Qt::LeftButton);

    QTRY_COMPARE_WITH_TIMEOUT(model()->rowCount(), 1, 5000);
    const QString expectedValue
        = QStringLiteral("%1").arg(necValue(address, command), 8, 16, QLatin1Char('0')).toUpper();
    QCOMPARE(cell(0, 0), QStringLiteral("1"));
    QCOMPARE(cell(0, 1), QStringLiteral("NEC"));
    QCOMPARE(cell(0, 2), expectedValue);
    QCOMPARE(cell(0, 3), QString());
    QCOMPARE(cell(0, 4), QStringLiteral("32"));

    get<QTabWidget>("tabWidget")->setCurrentIndex(1);
    auto *table = get<QTableView>("tableViewIRData");
    QTest::mouseClick(
        table->viewport(), Qt::LeftButton, {}, table->visualRect(model()->index(0, 1)).center());
    const QString rawList = cell(0, 5);
    // The program's own reading first, then the adapter's report.
    QCOMPARE(window->findChild<QPlainTextEdit *>("plainTextEdit")->toPlainText(),
        QStringLiteral("reading:NEC %1 (address 0x%2, command 0x%3, check ok)\ntype:NEC\nbits:32\n"
                       "raw data:")
                .arg(expectedValue)
                .arg(address, 2, 16, QLatin1Char('0'))
                .arg(command, 2, 16, QLatin1Char('0'))
            + rawList);

    // The waveform: idle, then the header, 32 bits and the final mark, then
    // idle again. Each bit is a short mark at 0 and a space at 1 whose
    // length carries the bit.
    auto *plot = get<QwtPlot>("qwtPlot");
    const QwtPlotItemList curves = plot->itemList(QwtPlotItem::Rtti_PlotCurve);
    QCOMPARE(curves.size(), 1);
    const QVector<Run> runs = runsOf(static_cast<QwtPlotCurve *>(curves.first()));
    QCOMPARE(runs.size(), 1 + 2 + 64 + 1 + 1);
    QCOMPARE(runs.first().level, 1);
    QCOMPARE(runs.first().length, kIdleRun);
    QCOMPARE(runs.last().length, kIdleRun);
    QVERIFY(near(runs[1].length, kNecHeaderMarkTicks));
    QVERIFY(near(runs[2].length, kNecHeaderSpaceTicks));
    uint32_t bits = 0;
    for (int bit = 0; bit < 32; ++bit) {
        const Run mark = runs[3 + 2 * bit];
        const Run space = runs[4 + 2 * bit];
        QCOMPARE(mark.level, 0);
        QVERIFY(near(mark.length, kNecBitMarkTicks));
        const bool one = near(space.length, kNecOneSpaceTicks);
        QVERIFY(one || near(space.length, kNecBitMarkTicks));
        bits = bits << 1 | (one ? 1u : 0u);
    }
    QCOMPARE(bits, necValue(address, command));
    QCOMPARE(plot->axisScaleDiv(QwtPlot::xBottom).upperBound(),
        double(curves.first()->boundingRect().width() + 1));
}

void TestEndToEnd::necHoldArrivesAsFrameThenRepeats()
{
    auto *send = get<QPushButton>("pushButtonNECSend");
    QTest::mousePress(send, Qt::LeftButton);
    // Held until the first repeat code has come back through the air.
    QTRY_VERIFY_WITH_TIMEOUT(model()->rowCount() >= 2, 5000);
    QTest::mouseRelease(send, Qt::LeftButton);
    QTest::qWait(400);
    const int rows = model()->rowCount();
    QCOMPARE(cell(0, 1), QStringLiteral("NEC"));
    QVERIFY(cell(0, 2) != QStringLiteral("REPEAT"));
    for (int row = 1; row < rows; ++row) {
        QCOMPARE(cell(row, 1), QStringLiteral("NEC"));
        QCOMPARE(cell(row, 2), QStringLiteral("REPEAT"));
    }
    // Nothing more once the button is up and the air has gone quiet.
    QTest::qWait(400);
    QCOMPARE(model()->rowCount(), rows);
}

QTEST_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
