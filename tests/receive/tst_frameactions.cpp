// The frame table's actions on the shown window: copy, copy as Pronto, send
// again (recordings frame by frame, its progress, its refusals and its
// question, answered by the test), save and open (with the file dialogs
// answered by the test), the keyboard, and frames longer than the adapter
// record's 256 values.
#include "fakeadapter.h"
#include "formats.h"
#include "framefiles.h"
#include "ircodec.h"
#include "mainwindow.h"
#include "receivequeue.h"
#include "sendagain.h"
#include "startup.h"
#include "windowharness.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <QTextEdit>
#include <QTimer>
#include <qwt_plot_curve.h>

#include <numeric>

namespace {

// The copied lines, each ended by a line break.
QStringList clipboardLines()
{
    QStringList lines = QApplication::clipboard()->text().split(QLatin1Char('\n'));
    if (lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

void trigger(QObject *w, const char *action)
{
    QAction *a = w->findChild<QAction *>(QString::fromLatin1(action));
    QVERIFY2(a, action);
    a->trigger();
}

// The raw record of an encoded frame as a receiver reports it: the silence
// before it, then every duration, in 50 us ticks.
ReceivedRecord received(const ircodec::Frame &frame, int64_t silenceUs = 100)
{
    const ircodec::Durations durations = ircodec::encode(frame)->front().durations;
    const std::vector<int32_t> ticks = ircodec::toTicks(silenceUs, durations);
    const ircodec::Report r = ircodec::report(ircodec::decode(durations));
    return ReceivedRecord(
        r.decodeType, r.value, r.address, r.bits, std::vector<int>(ticks.begin(), ticks.end()));
}

const ReceivedRecord necFrame = received(ircodec::necFrame(0x04, 0x08, true));
const ReceivedRecord necRepeat = received(ircodec::necRepeatFrame());
// A repeat code as an adapter may report it: NEC, 0xFFFFFFFF, 32 bits.
const ReceivedRecord necRepeat32(3, 0xFFFFFFFFu, 0u, 32, necRepeat.raw);
// Nothing decodes it: 9 ms, 4.5 ms, 0.55 ms.
const ReceivedRecord unknownFrame(-1, 0u, 0u, 0, {2, 180, 90, 11});

// The frames enter the table as the display tick brings them.
void receive(MainWindow &window, const std::vector<ReceivedRecord> &frames)
{
    for (const ReceivedRecord &frame : frames)
        receiveQueue().append(frame.record);
    tickAll(&window);
    QCOMPARE(frameTable(&window)->model()->rowCount(), receiveQueue().size());
}

QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &data)
{
    const QString path = dir.path() + QLatin1Char('/') + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size())
        return QString();
    return path;
}

// A remote's two buttons as a .ir file: NEC Power, then a raw Mute frame.
const QByteArray twoButtons = "Filetype: IR signals file\nVersion: 1\n#\nname: Power\n"
                              "type: parsed\nprotocol: NEC\naddress: 04 00 00 00\n"
                              "command: 08 00 00 00\n#\nname: Mute\ntype: raw\n"
                              "frequency: 38000\nduty_cycle: 0.33\ndata: 9000 4500 560\n";

// The operations called, in order.
QStringList operations(const std::vector<fake::Call> &calls)
{
    QStringList ops;
    for (const fake::Call &call : calls)
        ops << QString::fromStdString(call.op);
    return ops;
}

// Recordings as an .ir file in the test's folder.
QString writeRecordings(
    const QTemporaryDir &dir, const QString &name, const std::vector<irfiles::Signal> &list)
{
    return writeIrFile(dir.path() + QLatin1Char('/') + name, list);
}

ircodec::Durations encoded(const ircodec::Frame &frame)
{
    return ircodec::encode(frame)->front().durations;
}

QProgressDialog *progressOf(QObject *w)
{
    return w->findChild<QProgressDialog *>();
}

// The timer that brings each next frame's turn.
QTimer *sendTimer(QObject *w)
{
    return child<QTimer>(w, "sendAgainTimer");
}

QList<int> selectedRows(QTableView *view)
{
    QList<int> rows;
    for (const QModelIndex &index : view->selectionModel()->selectedRows())
        rows << index.row();
    return rows;
}

// Drags data over widget and drops it there; answers whether the drop was
// taken. As Qt does, the events go to the first widget from there up that
// takes drops.
bool dragAndDrop(QWidget *widget, const QMimeData &data)
{
    while (widget && !widget->acceptDrops())
        widget = widget->parentWidget();
    if (!widget)
        return false;
    const QPoint centre = widget->rect().center();
    QDragEnterEvent enter(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &drop);
    return drop.isAccepted();
}

} // namespace

class TestFrameActions : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void actionsAndShortcuts();
    void copyFrames();
    void copyAsPronto();
    void sendAgain();
    void sendAgainStopsAtAFailure();
    void sendAgainFrameByFrame();
    void sendAgainCancelled_data();
    void sendAgainCancelled();
    void sendAgainRefusesFramesTooLong();
    void sendAgainAsksBeforeEveryRow_data();
    void sendAgainAsksBeforeEveryRow();
    void saveAndOpen_data();
    void saveAndOpen();
    void openedFramesAreNamedUntilCleared();
    void commandLineFilesShowUp();
    void openedFramesShowUp_data();
    void openedFramesShowUp();
    void dropsOfAnythingElseAreNotTaken();
    void badFilesLoadNothing();
    void oddRecordsAreLeftOut();
    void savedFilesKeepTheirLinkAndMode();
    void saveFailures();
    void arrowKeysShowTheCurrentRow();
    void longFramesLoseNothing();
    void realCapturesOpenAndGoOutAgain();

private:
    MainWindow *window = nullptr;
    DialogCatcher *dialogs = nullptr;
    QTemporaryDir dir;
};

void TestFrameActions::init()
{
    fake::Adapter::instance().reset();
    fake::Adapter::instance().setScanCount(3);
    receiveQueue().clear();
    QApplication::clipboard()->clear();
    window = new MainWindow;
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    // Reception runs (so the display tick does) in every test.
    child<QPushButton>(window, "pushButtonStartReceive")->click();
    QCOMPARE(runningTimers(window).size(), 1);
    fake::Adapter::instance().clearCalls();
    dialogs = new DialogCatcher;
}

void TestFrameActions::cleanup()
{
    framefiles::replaceDialogs(nullptr, nullptr);
    sendagain::replaceQuestion(nullptr);
    delete dialogs;
    delete window;
}

void TestFrameActions::actionsAndShortcuts()
{
    const QList<QAction *> menu = frameTable(window)->actions();
    QStringList names;
    for (QAction *action : menu)
        names << action->objectName();
    QCOMPARE(names,
        (QStringList{"actionCopyFrames", "actionCopyPronto", "actionSendFramesAgain",
            "actionSaveFrames", "actionOpenFrames"}));
    QCOMPARE(frameTable(window)->contextMenuPolicy(), Qt::ActionsContextMenu);
    QCOMPARE(menu[0]->shortcut(), QKeySequence(QKeySequence::Copy));
    QCOMPARE(menu[0]->shortcutContext(), Qt::WidgetShortcut);
    QCOMPARE(menu[3]->shortcut(), QKeySequence(QKeySequence::Save));
    QCOMPARE(menu[4]->shortcut(), QKeySequence(QKeySequence::Open));
    // Save and open work from either tab; the form gains nothing.
    QCOMPARE(window->actions(), (QList<QAction *>{menu[3], menu[4]}));
    QVERIFY(window->menuBar()->actions().isEmpty());
}

void TestFrameActions::copyFrames()
{
    receive(*window, {necFrame, unknownFrame});
    const QString header
        = QStringLiteral("row\ttype\tvalue\taddress\tbits\treading\tdurations (us)");
    // Nothing selected: every row, durations in microseconds.
    trigger(window, "actionCopyFrames");
    QStringList lines = clipboardLines();
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines[0], header);
    QVERIFY2(
        lines[1].startsWith(QStringLiteral("1\tNEC\t20DF10EF\t\t32\tNEC 20DF10EF (address "
                                           "0x04, command 0x08, check ok)\t9000\t4500\t550\t")),
        qPrintable(lines[1]));
    QCOMPARE(lines[2], QStringLiteral("2\tUNKNOWN\t00000000\t\t0\tUNKNOWN\t9000\t4500\t550"));

    // The selected row only, by Ctrl+C while the table has the focus.
    child<QTabWidget>(window, "tabWidget")->setCurrentIndex(1);
    QApplication::setActiveWindow(window);
    QVERIFY(QTest::qWaitForWindowActive(window));
    frameTable(window)->selectRow(1);
    frameTable(window)->setFocus();
    QTest::keyClick(frameTable(window), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(clipboardLines(), (QStringList{header, lines[2]}));

    // Ctrl+C elsewhere copies what it always copied.
    auto *value = child<QLineEdit>(window, "lineEditValue");
    value->setFocus();
    value->selectAll();
    QTest::keyClick(value, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("0x11223344"));
}

void TestFrameActions::copyAsPronto()
{
    receive(*window, {necFrame, unknownFrame});
    trigger(window, "actionCopyPronto");
    const QString text = QApplication::clipboard()->text();
    const irfiles::Loaded back = irfiles::read(irfiles::Format::Pronto, text.toStdString(), "clip");
    QVERIFY(back.ok());
    QCOMPARE(int(back.list.size()), 2);
    QVERIFY(text.startsWith(QStringLiteral("0000 ")));
    // The NEC frame at its protocol's 38 kHz decodes again; the unknown one
    // went at the send tab's carrier.
    QCOMPARE(back.list[0].decoded.value, 0x20DF10EFu);
    QCOMPARE(back.list[1].carrierHz / 1000, 38);
    QCOMPARE(back.list[1].durations.size(), size_t(3));
}

void TestFrameActions::sendAgain()
{
    receive(*window, {necFrame, necRepeat, necRepeat32, unknownFrame});
    QCOMPARE(frameTable(window)->model()->index(2, 2).data().toString(), QStringLiteral("REPEAT"));
    child<QComboBox>(window, "comboBoxSendDeviceIndex")->setCurrentIndex(2);
    child<QComboBox>(window, "comboBoxSendChannel")->setCurrentIndex(4);
    child<QSpinBox>(window, "spinBoxMODFreqKHz")->setValue(40);
    fake::Adapter &adapter = fake::Adapter::instance();
    trigger(window, "actionSendFramesAgain");
    QTRY_COMPARE(adapter.count("IR_SendRaw"), 1);

    const std::vector<fake::Call> calls = adapter.calls();
    QCOMPARE(operations(calls),
        (QStringList{"Device_Scan", "Device_Open", "IR_SendProtocol", "IR_NEC_SendRepeat",
            "IR_NEC_SendRepeat", "IR_SendRaw"}));
    // A decoded frame by its protocol at the protocol's carrier, the repeat
    // code as a repeat (also with 32 bits, never as an all-ones frame), the
    // rest as microseconds at the send tab's carrier.
    QCOMPARE(calls[2].args, (std::vector<long long>{2, 0x10, 38}));
    QCOMPARE(calls[2].sendData.protocol, 3);
    QCOMPARE(calls[2].sendData.value, 0x20DF10EFu);
    QCOMPARE(calls[2].sendData.bits, 32);
    QCOMPARE(calls[2].sendData.repeat, 0);
    QCOMPARE(calls[3].args, (std::vector<long long>{2, 0x10}));
    QCOMPARE(calls[4].args, (std::vector<long long>{2, 0x10}));
    QCOMPARE(calls[5].args, (std::vector<long long>{2, 0x10, 40, 3}));
    QCOMPARE(calls[5].timings, (std::vector<int>{9000, 4500, 550}));
    // Each frame waits for the one before and its own recorded silence.
    QVERIFY(calls[3].time - calls[2].time >= std::chrono::milliseconds(60));
    QVERIFY(dialogs->dialogs.isEmpty());
    // Short: no progress shown.
    QVERIFY(!progressOf(window));

    // Without an adapter nothing goes out.
    adapter.clearCalls();
    adapter.setScanCount(0);
    frameTable(window)->selectRow(0);
    trigger(window, "actionSendFramesAgain");
    QCOMPARE(dialogs->texts(), QStringList{"无设备连接！"});
    QCOMPARE(adapter.count("IR_SendProtocol"), 0);
}

void TestFrameActions::sendAgainStopsAtAFailure()
{
    receive(*window, {necFrame, necRepeat, unknownFrame});
    fake::Adapter &adapter = fake::Adapter::instance();
    adapter.setResult("IR_NEC_SendRepeat", 7);
    trigger(window, "actionSendFramesAgain");
    QTRY_COMPARE(dialogs->texts(), QStringList{"红外发送失败！"});
    // The warning box of the program, its details naming the row and what
    // failed.
    const CapturedDialog &box = dialogs->dialogs.first();
    QCOMPARE(box.title, QStringLiteral("警告"));
    QCOMPARE(box.icon, QMessageBox::Warning);
    QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(box.defaultButton, QMessageBox::Ok);
    QCOMPARE(box.parent, static_cast<QWidget *>(window));
    QCOMPARE(box.detailedText, QStringLiteral("row 2: IR_NEC_SendRepeat failed with status 7"));
    // Nothing comes after the failed frame.
    QVERIFY(!sendTimer(window)->isActive());
    QCOMPARE(adapter.count("IR_SendRaw"), 0);
    QCOMPARE(adapter.count("IR_SendProtocol"), 1);

    // Other warnings have no details.
    adapter.setScanCount(0);
    trigger(window, "actionSendFramesAgain");
    QCOMPARE(dialogs->texts().last(), QStringLiteral("无设备连接！"));
    QCOMPARE(dialogs->dialogs.last().detailedText, QString());
}

void TestFrameActions::sendAgainFrameByFrame()
{
    // A button held for 5.5 s, recorded as one: the NEC frame and 50 repeat
    // codes, 96 ms apart (ten times what one adapter call carries). Then a
    // received frame.
    const ircodec::Durations nec = encoded(ircodec::necFrame(0x04, 0x08, true));
    const ircodec::Durations ditto = encoded(ircodec::necRepeatFrame());
    std::vector<ircodec::Durations> held{nec};
    held.insert(held.end(), 50, ditto);
    window->openFrameFiles(
        {writeRecordings(dir, QStringLiteral("held.ir"), {recordingOf(held, 96000, "Held")})});
    receive(*window, {unknownFrame});
    QCOMPARE(frameTable(window)->model()->rowCount(), 2);
    frameTable(window)->clearSelection();
    fake::Adapter &adapter = fake::Adapter::instance();
    trigger(window, "actionSendFramesAgain");

    // The progress of a sequence this long, over the window, which stays
    // usable meanwhile: the frames go out as the event loop brings their
    // turn, and received frames keep arriving in the table.
    QProgressDialog *progress = progressOf(window);
    QVERIFY(progress);
    QVERIFY(progress->isVisible());
    QCOMPARE(progress->windowModality(), Qt::WindowModal);
    QCOMPARE(progress->windowTitle(), QStringLiteral("重新发送"));
    QCOMPARE(progress->labelText(), QStringLiteral("正在重新发送…"));
    QCOMPARE(progress->maximum(), 52);
    QCOMPARE(adapter.count("IR_SendRaw"), 1);
    receiveQueue().append(necFrame.record);
    QTRY_COMPARE(frameTable(window)->model()->rowCount(), 3);
    QTRY_VERIFY(adapter.count("IR_SendRaw") >= 3);
    QVERIFY(progress->value() >= 2);

    // The rest by hand: each next frame after the one before and its
    // recorded silence.
    QTimer *timer = sendTimer(window);
    while (timer->isActive()) {
        const size_t sent = adapter.calls("IR_SendRaw").size();
        const ircodec::Durations &previous = sent == 1 ? nec : ditto;
        const int64_t frameUs = std::accumulate(previous.begin(), previous.end(), int64_t{0});
        if (sent < 51)
            QCOMPARE(timer->interval(), int((frameUs + 96000 + 999) / 1000));
        tickAll(timer);
    }
    const std::vector<fake::Call> raw = adapter.calls("IR_SendRaw");
    QCOMPARE(int(raw.size()), 52);
    QCOMPARE(raw[0].timings, std::vector<int>(nec.begin(), nec.end()));
    for (int i = 1; i <= 50; ++i)
        QCOMPARE(raw[size_t(i)].timings, std::vector<int>(ditto.begin(), ditto.end()));
    QCOMPARE(raw[0].args[2], 38LL);
    QCOMPARE(raw[51].timings, (std::vector<int>{9000, 4500, 550}));
    // Done: the progress is gone.
    QVERIFY(!progress->isVisible());
    QTRY_VERIFY(!progressOf(window));
    QVERIFY(dialogs->dialogs.isEmpty());
}

void TestFrameActions::sendAgainCancelled_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Cancel") << "cancel";
    QTest::newRow("Esc") << "escape";
    QTest::newRow("closed") << "close";
    QTest::newRow("a frame failed") << "failure";
}

void TestFrameActions::sendAgainCancelled()
{
    QFETCH(QString, how);
    const ircodec::Durations nec = encoded(ircodec::necFrame(0x04, 0x08, true));
    window->openFrameFiles({writeRecordings(dir, QStringLiteral("twenty.ir"),
        {recordingOf(std::vector<ircodec::Durations>(20, nec), 100000, "Twenty")})});
    fake::Adapter &adapter = fake::Adapter::instance();
    trigger(window, "actionSendFramesAgain");
    QTimer *timer = sendTimer(window);
    tickAll(timer);
    tickAll(timer);
    QCOMPARE(adapter.count("IR_SendRaw"), 3);

    QProgressDialog *progress = progressOf(window);
    QVERIFY(progress);
    QCOMPARE(QApplication::activeModalWidget(), static_cast<QWidget *>(progress));
    if (how == QLatin1String("cancel")) {
        auto *cancel = progress->findChild<QPushButton *>();
        QVERIFY(cancel);
        QTest::mouseClick(cancel, Qt::LeftButton);
    } else if (how == QLatin1String("escape")) {
        QTest::keyClick(progress, Qt::Key_Escape);
    } else if (how == QLatin1String("close")) {
        progress->close();
    } else {
        adapter.queueResults("IR_SendRaw", {5});
        tickAll(timer);
        QCOMPARE(dialogs->texts(), QStringList{"红外发送失败！"});
        QCOMPARE(dialogs->dialogs.first().detailedText,
            QStringLiteral("row 1, frame 4 of 20: IR_SendRaw failed with status 5"));
        QCOMPARE(dialogs->dialogs.first().parent, static_cast<QWidget *>(window));
        dialogs->dialogs.clear();
    }
    // At once: no frame more, now or later.
    const int sent = how == QLatin1String("failure") ? 4 : 3;
    QVERIFY(!timer->isActive());
    QVERIFY(!progress->isVisible());
    QCOMPARE(adapter.count("IR_SendRaw"), sent);
    QTRY_VERIFY(!progressOf(window));
    QVERIFY(dialogs->dialogs.isEmpty());

    // The next request starts afresh.
    trigger(window, "actionSendFramesAgain");
    QCOMPARE(adapter.count("IR_SendRaw"), sent + 1);
    QVERIFY(progressOf(window));
}

void TestFrameActions::sendAgainRefusesFramesTooLong()
{
    // A frame of 5.6 s without a silence to cut it at, between two that
    // could go: nothing goes, and the warning names it and why.
    ircodec::Durations longFrame;
    for (int i = 0; i < 349; ++i)
        longFrame.insert(longFrame.end(), {8000, 8000});
    longFrame.push_back(16000);
    const QString path = writeRecordings(dir, QStringLiteral("long.ir"),
        {recordingOf({{9000, 4500, 560}}, 0, "Short"),
            recordingOf({{9000, 4500, 560}, longFrame}, 50000, "Long"),
            recordingOf({{9000, 4500, 560}}, 0, "Short")});
    window->openFrameFiles({path});
    QCOMPARE(frameTable(window)->model()->rowCount(), 3);
    frameTable(window)->clearSelection();
    fake::Adapter &adapter = fake::Adapter::instance();
    trigger(window, "actionSendFramesAgain");
    QCOMPARE(dialogs->texts(), QStringList{"红外发送失败！"});
    QCOMPARE(dialogs->dialogs.first().detailedText,
        QStringLiteral("row 2, frame 2 of 2: frame 5.6 s long; the adapter takes at most 0.5 s"));
    QVERIFY(adapter.calls().empty());
    QVERIFY(!progressOf(window));
}

void TestFrameActions::sendAgainAsksBeforeEveryRow_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("selected");
    QTest::addColumn<bool>("asked");
    QTest::newRow("100 rows") << 100 << -1 << false;
    QTest::newRow("101 rows") << 101 << -1 << true;
    QTest::newRow("101 rows, one selected") << 101 << 100 << false;
}

void TestFrameActions::sendAgainAsksBeforeEveryRow()
{
    QFETCH(int, rows);
    QFETCH(int, selected);
    QFETCH(bool, asked);
    receive(*window, std::vector<ReceivedRecord>(size_t(rows), unknownFrame));
    frameTable(window)->clearSelection();
    if (selected >= 0)
        frameTable(window)->selectRow(selected);
    QStringList questions;
    bool answer = false;
    sendagain::replaceQuestion([&](QWidget *parent, const QString &title, const QString &text) {
        [&] { QCOMPARE(parent, static_cast<QWidget *>(window)); }();
        questions << title << text;
        return answer;
    });
    fake::Adapter &adapter = fake::Adapter::instance();
    trigger(window, "actionSendFramesAgain");
    if (!asked) {
        QVERIFY(questions.isEmpty());
        QCOMPARE(adapter.count("IR_SendRaw"), 1);
        return;
    }
    // "No": nothing goes, the adapter is not even opened.
    QCOMPARE(questions,
        (QStringList{"重新发送", QStringLiteral("将重新发送全部 %1 帧，是否继续？").arg(rows)}));
    QVERIFY(adapter.calls().empty());
    // "Yes": they go.
    answer = true;
    trigger(window, "actionSendFramesAgain");
    QCOMPARE(adapter.count("IR_SendRaw"), 1);
    while (sendTimer(window)->isActive())
        tickAll(sendTimer(window));
    QCOMPARE(adapter.count("IR_SendRaw"), rows);

    // The standard box asks it: a question, "No" unless the user says yes.
    adapter.clearCalls();
    sendagain::replaceQuestion(nullptr);
    trigger(window, "actionSendFramesAgain");
    QTRY_COMPARE(dialogs->dialogs.size(), 1);
    const CapturedDialog &box = dialogs->dialogs.first();
    QCOMPARE(box.icon, QMessageBox::Question);
    QCOMPARE(box.title, QStringLiteral("重新发送"));
    QCOMPARE(box.text, questions[1]);
    QCOMPARE(box.buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(box.defaultButton, QMessageBox::No);
    QCOMPARE(box.parent, static_cast<QWidget *>(window));
    QVERIFY(adapter.calls().empty());
}

void TestFrameActions::saveAndOpen_data()
{
    QTest::addColumn<int>("filter");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("written");
    QTest::addColumn<bool>("keepsNames");
    // The filter decides where the name has no extension of a format; the
    // extension decides where it has one.
    QTest::newRow(".ir by filter") << 0 << "frames"
                                   << "frames.ir" << true;
    QTest::newRow("LIRC by filter") << 1 << "frames"
                                    << "frames.conf" << true;
    QTest::newRow("Pronto by extension") << 0 << "frames.pronto"
                                         << "frames.pronto" << true;
    QTest::newRow("pulse/space by filter") << 3 << "frames"
                                           << "frames.mode2" << true;
    QTest::newRow("CSV by extension") << 1 << "frames.csv"
                                      << "frames.csv" << false;
}

void TestFrameActions::saveAndOpen()
{
    QFETCH(int, filter);
    QFETCH(QString, name);
    QFETCH(QString, written);
    QFETCH(bool, keepsNames);
    receive(*window,
        {necFrame, unknownFrame, received(*ircodec::fromSendRecord(1, 0x175, 0, 12, false))});
    frameTable(window)->selectionModel()->select(frameTable(window)->model()->index(0, 0),
        QItemSelectionModel::Select | QItemSelectionModel::Rows);
    frameTable(window)->selectionModel()->select(frameTable(window)->model()->index(2, 0),
        QItemSelectionModel::Select | QItemSelectionModel::Rows);
    framefiles::replaceDialogs(
        [&](QWidget *, const QString &) {
            return QStringList{dir.path() + QLatin1Char('/') + written};
        },
        [&](QWidget *parent, const QStringList &filters, QString *selected) {
            [&] { QCOMPARE(parent, static_cast<QWidget *>(window)); }();
            *selected = filters.at(filter);
            return dir.path() + QLatin1Char('/') + name;
        });
    trigger(window, "actionSaveFrames");
    QVERIFY(QFile::exists(dir.path() + QLatin1Char('/') + written));

    // Opened back, the two saved frames follow the three rows, numbered on,
    // with what they were.
    trigger(window, "actionOpenFrames");
    QVERIFY(dialogs->dialogs.isEmpty());
    QAbstractItemModel *model = frameTable(window)->model();
    QCOMPARE(model->rowCount(), 5);
    QCOMPARE(model->index(3, 0).data().toString(), QStringLiteral("4"));
    for (int column = 1; column <= 4; ++column) {
        QCOMPARE(model->index(3, column).data(), model->index(0, column).data());
        QCOMPARE(model->index(4, column).data(), model->index(2, column).data());
    }
    emit frameTable(window)->clicked(model->index(4, 1));
    QCOMPARE(details(window).first(),
        keepsNames
            ? QStringLiteral("name:frame_3")
            : QStringLiteral("reading:RC5 00000175 (toggle 0x0, address 0x05, command 0x35)"));
}

void TestFrameActions::openedFramesAreNamedUntilCleared()
{
    const QString path = writeFile(dir, QStringLiteral("remote.ir"),
        "Filetype: IR signals file\nVersion: 1\n#\nname: Power\ntype: parsed\nprotocol: NEC\n"
        "address: 04 00 00 00\ncommand: 08 00 00 00\n");
    // Opened while reception is stopped: the rows appear all the same.
    child<QPushButton>(window, "pushButtonStartReceive")->click();
    QVERIFY(runningTimers(window).isEmpty());
    window->openFrameFiles({path});
    QCOMPARE(frameTable(window)->model()->rowCount(), 1);
    emit frameTable(window)->clicked(frameTable(window)->model()->index(0, 1));
    QCOMPARE(details(window).mid(0, 4),
        (QStringList{"name:Power", "reading:NEC 20DF10EF (address 0x04, command 0x08, check ok)",
            "type:NEC", "bits:32"}));

    child<QPushButton>(window, "pushButtonClearData")->click();
    child<QPushButton>(window, "pushButtonStartReceive")->click();
    receive(*window, {necFrame});
    emit frameTable(window)->clicked(frameTable(window)->model()->index(0, 1));
    QVERIFY(details(window).first().startsWith(QStringLiteral("reading:NEC ")));
    QCOMPARE(details(window).at(1), QStringLiteral("type:NEC"));
}

void TestFrameActions::commandLineFilesShowUp()
{
    // A new window, started as main starts it with Qt's options and two
    // files: the receive tab shows the first frame opened.
    delete window;
    window = new MainWindow;
    const QString path = writeFile(dir, QStringLiteral("remote.ir"), twoButtons);
    showWindow(*window, {"tavrel", "-style", "fusion", "-reverse", path, path});
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QVERIFY(dialogs->dialogs.isEmpty());
    QTableView *view = frameTable(window);
    QCOMPARE(view->model()->rowCount(), 4);
    QCOMPARE(
        child<QTabWidget>(window, "tabWidget")->currentWidget(), child<QWidget>(window, "tab_2"));
    QCOMPARE(view->currentIndex().row(), 0);
    QCOMPARE(selectedRows(view), QList<int>{0});
    QCOMPARE(details(window).mid(0, 4),
        (QStringList{"name:Power", "reading:NEC 20DF10EF (address 0x04, command 0x08, check ok)",
            "type:NEC", "bits:32"}));
    // NEC's 67.5 ms in 50 us samples, between the idle runs.
    QVERIFY(curve(window)->dataSize() > 2000 + 1300);

    // Without files the window starts as it always did, on the send tab.
    delete window;
    receiveQueue().clear();
    window = new MainWindow;
    showWindow(*window, {"tavrel", "-style", "fusion"});
    QCOMPARE(child<QTabWidget>(window, "tabWidget")->currentIndex(), 0);
    QCOMPARE(frameTable(window)->model()->rowCount(), 0);
    QVERIFY(!frameTable(window)->currentIndex().isValid());
    QVERIFY(dialogs->dialogs.isEmpty());
}

void TestFrameActions::openedFramesShowUp_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Open... on the send tab") << "open";
    QTest::newRow("dropped on the send tab") << "drop";
    QTest::newRow("dropped on a text box") << "drop on text box";
}

void TestFrameActions::openedFramesShowUp()
{
    QFETCH(QString, how);
    // Two rows already, the second selected; the user is on the send tab.
    receive(*window, {necFrame, unknownFrame});
    QTableView *view = frameTable(window);
    view->selectRow(1);
    auto *tabs = child<QTabWidget>(window, "tabWidget");
    tabs->setCurrentIndex(0);
    const QString path = writeFile(dir, QStringLiteral("remote.ir"), twoButtons);
    if (how == QLatin1String("open")) {
        framefiles::replaceDialogs(
            [&](QWidget *, const QString &) { return QStringList{path}; }, nullptr);
        trigger(window, "actionOpenFrames");
    } else {
        auto *textBox = child<QTextEdit>(window, "textEditIRRawData");
        const QString text = textBox->toPlainText();
        QMimeData files;
        files.setUrls({QUrl::fromLocalFile(path)});
        QVERIFY(dragAndDrop(
            how == QLatin1String("drop") ? child<QWidget>(window, "tab") : textBox->viewport(),
            files));
        // The file opens once the drop is over; the text box keeps its text.
        QCOMPARE(view->model()->rowCount(), 2);
        QCOMPARE(textBox->toPlainText(), text);
    }
    QTRY_COMPARE(view->model()->rowCount(), 4);
    QVERIFY(dialogs->dialogs.isEmpty());
    QCOMPARE(tabs->currentWidget(), child<QWidget>(window, "tab_2"));
    QCOMPARE(view->currentIndex().row(), 2);
    QCOMPARE(selectedRows(view), QList<int>{2});
    QCOMPARE(details(window).first(), QStringLiteral("name:Power"));
}

void TestFrameActions::dropsOfAnythingElseAreNotTaken()
{
    // Text, a web address, or local files mixed with one: not taken, and the
    // text box takes its text drops as before.
    const QString path = writeFile(dir, QStringLiteral("remote.ir"), twoButtons);
    QMimeData text;
    text.setText(QStringLiteral("9000,4500"));
    QMimeData web;
    web.setUrls({QUrl(QStringLiteral("https://example.org/remote.ir"))});
    QMimeData mixed;
    mixed.setUrls({QUrl::fromLocalFile(path), QUrl(QStringLiteral("https://example.org/a.ir"))});
    for (const QMimeData *data : {&text, &web, &mixed})
        QVERIFY(!dragAndDrop(window, *data));
    auto *textBox = child<QTextEdit>(window, "textEditIRRawData");
    textBox->clear();
    QVERIFY(dragAndDrop(textBox->viewport(), text));
    QCOMPARE(textBox->toPlainText(), QStringLiteral("9000,4500"));
    QTest::qWait(20);
    QCOMPARE(frameTable(window)->model()->rowCount(), 0);
    QVERIFY(dialogs->dialogs.isEmpty());
}

void TestFrameActions::badFilesLoadNothing()
{
    receive(*window, {necFrame});
    const QString bad = writeFile(dir, QStringLiteral("bad.ir"),
        "Filetype: IR signals file\nVersion: 1\n#\nname: A\ntype: raw\nfrequency: 38000\n"
        "duty_cycle: 0.33\ndata: 9000 4500 560\n#\nname: B\ntype: raw\nfrequency: x\n");
    const QString binary
        = writeFile(dir, QStringLiteral("junk.mode2"), QByteArray("\x00\x01\xff", 3));
    const QString unknown
        = writeFile(dir, QStringLiteral("notes.txt"), "Remote codes for the living room\n");
    window->openFrameFiles({bad, binary, unknown, dir.path() + QStringLiteral("/missing.ir")});

    // One warning per file, naming it (and the line), and not one row more.
    const QStringList texts = dialogs->texts();
    QCOMPARE(texts.size(), 4);
    for (const QString &text : texts)
        QVERIFY2(text.startsWith(QStringLiteral("打开文件失败！\n")), qPrintable(text));
    QVERIFY2(texts[0].contains(QStringLiteral("bad.ir:10: record \"B\"")), qPrintable(texts[0]));
    QVERIFY2(texts[1].contains(QStringLiteral("junk.mode2")), qPrintable(texts[1]));
    QVERIFY2(texts[2].contains(QStringLiteral("notes.txt: neither its name nor its first lines "
                                              "say which IR file format it is")),
        qPrintable(texts[2]));
    QVERIFY2(texts[3].contains(QStringLiteral("missing.ir")), qPrintable(texts[3]));
    QCOMPARE(frameTable(window)->model()->rowCount(), 1);
    QCOMPARE(receiveQueue().size(), 1);
}

void TestFrameActions::oddRecordsAreLeftOut()
{
    // A file named otherwise opens by its content; a record that cannot be
    // represented is left out: the rest loads, and one warning says so with
    // the program's own text first and every record left out in its details.
    const QString remotes = writeFile(dir, QStringLiteral("lircd.conf.living"),
        "# two buttons of one remote, none of the other\nbegin remote\n  name tv\n  bits 16\n"
        "  flags space_enc\n  header 9000 4500\n  one 563 1687\n  zero 563 562\n  ptrail 563\n"
        "  pre_data_bits 16\n  pre_data 0x20DF\n  begin codes\n    KEY_POWER 0x10EF\n"
        "    KEY_MUTE 0x906F\n  end codes\nend remote\nbegin remote\n  name usb\n  bits 8\n"
        "  begin codes\n    KEY_OK 0x1\n  end codes\nend remote\n");
    // The open dialog offers every file for such names.
    QVERIFY2(framefiles::openFilter().endsWith(QStringLiteral(";;All files (*)")),
        qPrintable(framefiles::openFilter()));
    window->openFrameFiles({remotes});
    QCOMPARE(frameTable(window)->model()->rowCount(), 2);
    QCOMPARE(dialogs->dialogs.size(), 1);
    const CapturedDialog &box = dialogs->dialogs.first();
    QCOMPARE(box.title, QStringLiteral("警告"));
    QCOMPARE(box.text,
        QStringLiteral("打开文件失败！\n") + remotes + QStringLiteral(": 1 record left out"));
    QCOMPARE(box.detailedText,
        remotes
            + QStringLiteral(":17: remote \"usb\" has no timings: it is meant for a receiver that "
                             "decodes by itself (1 button)"));
    QCOMPARE(details(window).first(), QStringLiteral("name:KEY_POWER"));
}

void TestFrameActions::savedFilesKeepTheirLinkAndMode()
{
    // Saving over a file through a link writes the file the link names and
    // keeps the link and the file's permissions.
    receive(*window, {necFrame});
    const QString target = writeFile(dir, QStringLiteral("kept.ir"), "old");
    QVERIFY(QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    const QString link = dir.path() + QStringLiteral("/link.ir");
    QVERIFY(QFile::link(target, link));
    framefiles::replaceDialogs(
        nullptr, [&](QWidget *, const QStringList &, QString *) { return link; });
    trigger(window, "actionSaveFrames");
    QVERIFY(dialogs->dialogs.isEmpty());
    QVERIFY(QFileInfo(link).isSymLink());
    // Owner, group and others (the user's bits repeat the owner's).
    const QFileDevice::Permissions everyone(0x7077);
    QCOMPARE(
        QFile::permissions(target) & everyone, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QFile file(target);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().startsWith("Filetype: IR signals file"));
}

void TestFrameActions::saveFailures()
{
    // Nothing to save: no dialog. A cancelled dialog: nothing written. A
    // folder that does not exist: the warning.
    int asked = 0;
    QString answer;
    framefiles::replaceDialogs(nullptr, [&](QWidget *, const QStringList &, QString *) {
        ++asked;
        return answer;
    });
    trigger(window, "actionSaveFrames");
    QCOMPARE(asked, 0);
    receive(*window, {necFrame});
    trigger(window, "actionSaveFrames");
    QCOMPARE(asked, 1);
    QVERIFY(dialogs->dialogs.isEmpty());
    answer = dir.path() + QStringLiteral("/no/such/folder/frames.ir");
    trigger(window, "actionSaveFrames");
    QCOMPARE(dialogs->dialogs.size(), 1);
    QVERIFY(dialogs->texts().first().startsWith(QStringLiteral("保存文件失败！\n")));
    QCOMPARE(dialogs->dialogs.first().title, QStringLiteral("警告"));
}

void TestFrameActions::arrowKeysShowTheCurrentRow()
{
    receive(*window, {necFrame, unknownFrame});
    QTableView *view = frameTable(window);
    view->setFocus();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier,
        view->visualRect(view->model()->index(0, 1)).center());
    QCOMPARE(details(window).at(1), QStringLiteral("type:NEC"));
    QTest::keyClick(view, Qt::Key_Down);
    QCOMPARE(details(window).at(1), QStringLiteral("type:UNKNOWN"));
    QTest::keyClick(view, Qt::Key_Up);
    QCOMPARE(details(window).at(1), QStringLiteral("type:NEC"));
}

void TestFrameActions::longFramesLoseNothing()
{
    // An air conditioner's frame of 601 durations: the table and details
    // show the adapter record's 256 values, copy and send again take all of them.
    std::vector<int> raw{40};
    for (int i = 0; i < 600; ++i)
        raw.push_back(i % 2 ? 10 + i % 7 : 11);
    raw.push_back(11);
    receive(*window, {ReceivedRecord(-1, 0u, 0u, 0, raw)});
    trigger(window, "actionCopyFrames");
    const QStringList cells = clipboardLines().at(1).split(QLatin1Char('\t'));
    QCOMPARE(cells.size(), 6 + 601); // row, type, value, address, bits, reading
    QCOMPARE(cells.last(), QStringLiteral("550"));

    trigger(window, "actionSendFramesAgain");
    const auto sent = fake::Adapter::instance().calls("IR_SendRaw");
    QCOMPARE(int(sent.size()), 1);
    QCOMPARE(int(sent[0].timings.size()), 601);
    QCOMPARE(sent[0].timings[1], (10 + 1 % 7) * 50);

    // The details list the record's 255 timings after the silence, and say
    // that the frame goes on.
    emit frameTable(window)->clicked(frameTable(window)->model()->index(0, 1));
    const QStringList lines = details(window);
    QCOMPARE(lines.size(), 5);
    QCOMPARE(lines[3].count(QLatin1Char(',')), 254);
    QCOMPARE(lines[4],
        QStringLiteral("values:602 (the first 256 shown; copy, save and send again use all 602)"));

    // Opened from a file, the same frame says the same.
    QByteArray file;
    for (size_t i = 1; i < raw.size(); ++i)
        file += (i % 2 ? "pulse " : "space ") + QByteArray::number(raw[i] * 50) + '\n';
    window->openFrameFiles({writeFile(dir, QStringLiteral("long.mode2"), file)});
    QCOMPARE(frameTable(window)->model()->rowCount(), 2);
    QCOMPARE(details(window), lines);
}

void TestFrameActions::realCapturesOpenAndGoOutAgain()
{
    // Frames recorded from real remotes, as an .ir file of their buttons:
    // they open, and each goes out again, the undecoded ones with exactly
    // the recorded microseconds and carrier.
    QFile tsv(QStringLiteral(TAVREL_SOURCE_DIR "/../shared/captures/real-captures.tsv"));
    if (!tsv.open(QIODevice::ReadOnly))
        QSKIP("../shared/captures/real-captures.tsv is absent: real captures not sent");
    QByteArray file = "Filetype: IR signals file\nVersion: 1\n";
    std::vector<QList<QByteArray>> rows;
    while (!tsv.atEnd() && rows.size() < 6) {
        const QByteArray line = tsv.readLine().trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        rows.push_back(line.split('\t'));
        file += "#\nname: " + rows.back()[2] + "\ntype: raw\nfrequency: " + rows.back()[3]
            + "\nduty_cycle: 0.33\ndata: " + rows.back()[4] + "\n";
    }
    window->openFrameFiles({writeFile(dir, QStringLiteral("captured.ir"), file)});
    QVERIFY(dialogs->dialogs.isEmpty());
    QCOMPARE(frameTable(window)->model()->rowCount(), int(rows.size()));

    // Opening selected the first; all of them go.
    frameTable(window)->selectAll();
    fake::Adapter &adapter = fake::Adapter::instance();
    trigger(window, "actionSendFramesAgain");
    QTRY_COMPARE_WITH_TIMEOUT(int(adapter.calls().size()) - 2, int(rows.size()), 5000);
    const std::vector<fake::Call> calls = adapter.calls();
    int raw = 0;
    for (size_t i = 0; i < rows.size(); ++i) {
        const fake::Call &call = calls[i + 2];
        if (call.op != "IR_SendRaw")
            continue;
        ++raw;
        std::vector<int> recorded;
        for (const QByteArray &us : rows[i][4].split(' '))
            recorded.push_back(us.toInt());
        QCOMPARE(call.timings, recorded);
        QCOMPARE(call.args[2], (rows[i][3].toLongLong() + 500) / 1000);
    }
    QVERIFY(raw > 0);
}

QTEST_MAIN(TestFrameActions)
#include "tst_frameactions.moc"
