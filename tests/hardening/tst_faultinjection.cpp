// Every user action sequence, run once with an adapter that answers every
// call with success to learn its calls, then once per call with that call
// failing. After each run: exactly the warning that the failure calls for,
// shown with no timer running, nothing more sent by the panel whose call
// failed, a trace line for every traced call, no repeat timer left running,
// the receive button's caption matching the adapter's real state, and a
// window that takes the next action normally.
#include "adapterstate.h"
#include "mainwindow.h"
#include "receivequeue.h"

#include <QCheckBox>
#include <QTextEdit>
#include <QtTest>

#include <functional>
#include <map>

using namespace adapterstate;

namespace {

using Actions = std::function<void(MainWindow *)>;

struct Sequence
{
    const char *name;
    Actions actions;
};

void hold(MainWindow *w, const char *name, int ticks)
{
    press(w, name);
    for (int i = 0; i < ticks; ++i)
        tickAll(w);
    release(w, name);
    tickAll(w); // NRC17 sends its stop frame at the first tick after the release
}

void generalSend(MainWindow *w, bool raw)
{
    QCheckBox *rawMode = child<QCheckBox>(w, "checkBoxRawData");
    if (rawMode->isChecked() != raw)
        QTest::mouseClick(rawMode, Qt::LeftButton);
    child<QTextEdit>(w, "textEditIRRawData")->setPlainText(QStringLiteral("900,450,560"));
    click(w, "pushButtonSendIR");
}

const std::vector<Sequence> &sequences()
{
    static const std::vector<Sequence> list = {
        {"NEC hold and release", [](MainWindow *w) { hold(w, "pushButtonNECSend", 2); }},
        {"JVC hold and release", [](MainWindow *w) { hold(w, "pushButtonJVCSend", 2); }},
        {"NRC17 hold and release", [](MainWindow *w) { hold(w, "pushButtonNRC17Send", 2); }},
        {"ITT send", [](MainWindow *w) { hold(w, "pushButtonITTSend", 1); }},
        {"RCA send", [](MainWindow *w) { hold(w, "pushButtonRCASend", 1); }},
        {"general send", [](MainWindow *w) { generalSend(w, false); }},
        {"raw send", [](MainWindow *w) { generalSend(w, true); }},
        {"start, receive, stop, restart",
            [](MainWindow *w) {
                click(w, "pushButtonStartReceive");
                deliver(2);
                tickAll(w);
                click(w, "pushButtonStartReceive");
                click(w, "pushButtonStartReceive");
                deliver(1, 2);
                tickAll(w);
            }},
        {"clear while receiving",
            [](MainWindow *w) {
                click(w, "pushButtonStartReceive");
                deliver(3);
                tickAll(w);
                click(w, "pushButtonClearData");
                deliver(1, 3);
                tickAll(w);
                click(w, "pushButtonStartReceive");
            }},
    };
    return list;
}

// The warning each failing operation shows; none for a failed stop, whose
// result is not read.
const std::map<std::string, QString> &warnings()
{
    static const std::map<std::string, QString> table = {
        {"Device_Scan", QStringLiteral("无设备连接！")},
        {"Device_Open", QStringLiteral("打开设备失败！")},
        {"IR_NEC_Send", QStringLiteral("发送数据失败！")},
        {"IR_NEC_SendRepeat", QStringLiteral("发送数据失败！")},
        {"IR_ITT_Send", QStringLiteral("发送数据失败！")},
        {"IR_JVC_Send", QStringLiteral("发送数据失败！")},
        {"IR_NRC17_Send", QStringLiteral("发送数据失败！")},
        {"IR_RCA_Send", QStringLiteral("发送数据失败！")},
        {"IR_SendProtocol", QStringLiteral("红外发送失败！可能是适配器不支持该协议！")},
        {"IR_SendRaw", QStringLiteral("红外发送失败！")},
        {"IR_ReceiveStart", QStringLiteral("启动红外接收失败！")},
        {"IR_ReceiveStop", QString()},
    };
    return table;
}

// The NRC17 start and stop frame; the press sends it and a key frame, and
// every later key frame belongs to a tick, whose failure reads differently.
const std::vector<long long> nrc17Marker = {254, 255, 255};
constexpr int nrc17PressFrames = 2;

QStringList expectedWarnings(const fake::Call &failed, int occurrence)
{
    const auto it = warnings().find(failed.op);
    if (it == warnings().end() || it->second.isNull())
        return {};
    const bool nrc17TickKey = failed.op == "IR_NRC17_Send" && occurrence >= nrc17PressFrames
        && std::vector<long long>(failed.args.begin() + 2, failed.args.end()) != nrc17Marker;
    return {nrc17TickKey ? QStringLiteral("读取数据失败！") : it->second};
}

// The quick-send panel each of its operations belongs to: after a failed
// call the panel sends nothing more, neither a repeat nor a stop frame.
const std::map<std::string, std::string> &panels()
{
    static const std::map<std::string, std::string> table = {
        {"IR_NEC_Send", "NEC"},
        {"IR_NEC_SendRepeat", "NEC"},
        {"IR_ITT_Send", "ITT"},
        {"IR_JVC_Send", "JVC"},
        {"IR_NRC17_Send", "NRC17"},
        {"IR_RCA_Send", "RCA"},
    };
    return table;
}

// The operations whose every call leaves a trace line of their name.
const char *const tracedOperations[] = {"IR_NEC_Send", "IR_NEC_SendRepeat"};

// What a panel sent after the failing call: empty when nothing.
QString sentAfterFailure(
    const std::vector<fake::Call> &calls, const std::string &op, int occurrence)
{
    const auto panel = panels().find(op);
    if (panel == panels().end())
        return {};
    int seen = 0;
    bool failed = false;
    for (const fake::Call &call : calls) {
        const auto other = panels().find(call.op);
        if (failed && other != panels().end() && other->second == panel->second)
            return QStringLiteral("%1 sent after the failure").arg(QString::fromStdString(call.op));
        if (call.op == op && seen++ == occurrence)
            failed = true;
    }
    return {};
}

// Makes occurrence `n` (from 0) of op fail; every other call succeeds.
void failAt(const std::string &op, int n, bool &failed)
{
    fake::Adapter &adapter = fake::Adapter::instance();
    if (op == "Device_Scan" || op == "Device_Open") {
        // Their answers are read after the hook runs.
        adapter.setHook(op, [op, n, &failed] {
            fake::Adapter &a = fake::Adapter::instance();
            const bool now = a.count(op) - 1 == n;
            failed = failed || now;
            if (op == "Device_Scan")
                a.setScanCount(now ? 0 : 1);
            else
                a.setOpenResult(!now);
        });
        return;
    }
    // Any answer but 0 is a failure, whatever its sign.
    std::deque<int> answers(static_cast<size_t>(n), 0);
    answers.push_back(n % 2 == 0 ? 1 : -1);
    adapter.queueResults(op, answers);
}

void stopFailing()
{
    fake::Adapter &adapter = fake::Adapter::instance();
    adapter.setHook("Device_Scan", nullptr);
    adapter.setHook("Device_Open", nullptr);
    adapter.setScanCount(1);
    adapter.setOpenResult(true);
}

} // namespace

class TestFaultInjection : public QObject
{
    Q_OBJECT

private slots:
    void eachCallFails_data();
    void eachCallFails();
    void cleanupTestCase();

private:
    QString runOnce(const Sequence &sequence, const std::string &op, int occurrence);
    int positionsTried = 0;
    int sequencesTried = 0;
};

void TestFaultInjection::eachCallFails_data()
{
    QTest::addColumn<int>("index");
    for (size_t i = 0; i < sequences().size(); ++i)
        QTest::newRow(sequences()[i].name) << static_cast<int>(i);
}

// One run with the occurrence of op failing (op empty: nothing fails).
// Empty when every check holds, else what failed.
QString TestFaultInjection::runOnce(const Sequence &sequence, const std::string &op, int occurrence)
{
    fake::Adapter &adapter = fake::Adapter::instance();
    adapter.reset();
    receiveQueue().clear();
    bool hookFailed = false;
    if (!op.empty())
        failAt(op, occurrence, hookFailed);

    TraceCatcher trace; // keeps the window's trace lines off the output
    MainWindow window;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return QStringLiteral("window not shown");
    DialogCatcher catcher;
    sequence.actions(&window);

    QStringList expected;
    if (!op.empty()) {
        const std::vector<fake::Call> calls = adapter.calls(op);
        const bool answeredByHook = op == "Device_Scan" || op == "Device_Open";
        if (static_cast<int>(calls.size()) <= occurrence || (answeredByHook && !hookFailed))
            return QStringLiteral("the failing call was not made");
        expected = expectedWarnings(calls[static_cast<size_t>(occurrence)], occurrence);
    }
    if (catcher.texts() != expected)
        return QStringLiteral("warnings [%1], expected [%2]")
            .arg(catcher.texts().join(','), expected.join(','));
    for (const CapturedDialog &d : catcher.dialogs) {
        if (d.title != QStringLiteral("警告") || d.parent != &window)
            return QStringLiteral("warning box \"%1\" with a wrong title or parent").arg(d.title);
        // A failed tick kills its timer before the box opens.
        if (!d.parentTimers.isEmpty())
            return QStringLiteral("a timer ran while the box \"%1\" was up").arg(d.text);
    }
    if (!op.empty()) {
        const QString sent = sentAfterFailure(adapter.calls(), op, occurrence);
        if (!sent.isEmpty())
            return sent;
    }
    // Every call traces, failed or not.
    for (const char *traced : tracedOperations)
        if (trace.count(QString::fromLatin1(traced)) != adapter.count(traced))
            return QStringLiteral("%1 trace lines for %2 calls of %3")
                .arg(trace.count(QString::fromLatin1(traced)))
                .arg(adapter.count(traced))
                .arg(QString::fromLatin1(traced));
    QString fault = stateFault(&window);
    if (!fault.isEmpty())
        return fault;
    if (adapterReceiving()) {
        tickAll(&window);
        if (tableRows(&window) != receiveQueue().size())
            return QStringLiteral("%1 rows for %2 frames")
                .arg(tableRows(&window))
                .arg(receiveQueue().size());
    }

    // The next action works normally: a send, and a reception toggled twice.
    stopFailing();
    adapter.clearCalls();
    click(&window, "pushButtonITTSend");
    if (adapter.count("IR_ITT_Send") != 1 || catcher.dialogs.size() != expected.size())
        return QStringLiteral("the next send did not go out cleanly");
    for (int toggle = 0; toggle < 2; ++toggle) {
        const bool wasReceiving = adapterReceiving();
        click(&window, "pushButtonStartReceive");
        if (adapterReceiving() == wasReceiving)
            return QStringLiteral("the receive button did not toggle reception");
        fault = stateFault(&window);
        if (!fault.isEmpty())
            return QStringLiteral("after the next action: ") + fault;
    }
    if (catcher.dialogs.size() != expected.size())
        return QStringLiteral("warnings after the next action: ") + catcher.texts().join(',');
    return {};
}

void TestFaultInjection::eachCallFails()
{
    QFETCH(int, index);
    const Sequence &sequence = sequences()[static_cast<size_t>(index)];
    const QString clean = runOnce(sequence, std::string(), 0);
    QVERIFY2(clean.isEmpty(), qPrintable(clean));

    // The calls of the clean run (made before the next-action checks).
    fake::Adapter::instance().reset();
    receiveQueue().clear();
    std::vector<fake::Call> calls;
    {
        TraceCatcher trace;
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        DialogCatcher catcher;
        sequence.actions(&window);
        calls = fake::Adapter::instance().calls();
        QVERIFY(catcher.dialogs.isEmpty());
    }
    QVERIFY(!calls.empty());

    std::map<std::string, int> seen;
    for (const fake::Call &call : calls) {
        const int occurrence = seen[call.op]++;
        const QString fault = runOnce(sequence, call.op, occurrence);
        QVERIFY2(fault.isEmpty(),
            qPrintable(QStringLiteral("%1 #%2 failing: %3")
                           .arg(QString::fromStdString(call.op))
                           .arg(occurrence)
                           .arg(fault)));
        ++positionsTried;
    }
    ++sequencesTried;
}

void TestFaultInjection::cleanupTestCase()
{
    fake::Adapter::instance().reset();
    qInfo("fault injection: %d sequences, %d failure positions, every run as expected",
        sequencesTried, positionsTried);
}

QTEST_MAIN(TestFaultInjection)
#include "tst_faultinjection.moc"
