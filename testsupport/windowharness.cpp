#include "windowharness.h"

#include "formats.h"

#include <QAbstractButton>
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimerEvent>

#include <qwt_plot.h>
#include <qwt_plot_curve.h>

DialogCatcher::DialogCatcher()
{
    connect(&timer, &QTimer::timeout, this, &DialogCatcher::poll);
    timer.start(5);
}

void DialogCatcher::poll()
{
    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    if (!box)
        return;
    CapturedDialog d;
    d.title = box->windowTitle();
    d.text = box->text();
    d.detailedText = box->detailedText();
    d.icon = box->icon();
    d.buttons = box->standardButtons();
    QPushButton *def = box->defaultButton();
    d.defaultButton = def ? box->standardButton(def) : QMessageBox::NoButton;
    d.parent = box->parentWidget();
    if (d.parent)
        d.parentTimers = runningTimers(d.parent);
    dialogs.append(d);
    box->done(QMessageBox::Ok);
}

QStringList DialogCatcher::texts() const
{
    QStringList list;
    for (const CapturedDialog &d : dialogs)
        list << d.text;
    return list;
}

std::atomic<TraceCatcher *> TraceCatcher::current{nullptr};

TraceCatcher::TraceCatcher()
{
    current = this;
    previous = qInstallMessageHandler(&TraceCatcher::handler);
}

TraceCatcher::~TraceCatcher()
{
    qInstallMessageHandler(previous);
    current = nullptr;
}

void TraceCatcher::handler(QtMsgType type, const QMessageLogContext &, const QString &msg)
{
    TraceCatcher *catcher = current.load();
    if (type != QtDebugMsg || !catcher)
        return;
    std::lock_guard<std::mutex> lock(catcher->mutex);
    catcher->captured << msg;
}

QStringList TraceCatcher::lines() const
{
    std::lock_guard<std::mutex> lock(mutex);
    return captured;
}

int TraceCatcher::count(const QString &line) const
{
    return lines().count(line);
}

void TraceCatcher::clear()
{
    std::lock_guard<std::mutex> lock(mutex);
    captured.clear();
}

QList<int> runningTimers(QObject *object)
{
    QList<int> ids;
    const auto timers = QAbstractEventDispatcher::instance()->registeredTimers(object);
    for (const auto &info : timers)
        ids << info.timerId;
    return ids;
}

void tickAll(QObject *object)
{
    for (int id : runningTimers(object)) {
        if (!runningTimers(object).contains(id))
            continue; // killed by an earlier tick of this round
        QTimerEvent tick(id);
        QCoreApplication::sendEvent(object, &tick);
    }
}

irfiles::Signal recordingOf(
    const std::vector<ircodec::Durations> &frames, int32_t silenceUs, const std::string &name)
{
    irfiles::Signal signal;
    signal.name = name;
    signal.carrierHz = irfiles::kDefaultCarrierHz;
    for (const ircodec::Durations &frame : frames) {
        if (!signal.durations.empty())
            signal.durations.push_back(silenceUs);
        signal.durations.insert(signal.durations.end(), frame.begin(), frame.end());
    }
    return signal;
}

QString writeIrFile(const QString &path, const std::vector<irfiles::Signal> &list)
{
    const irfiles::Written written = irfiles::write(irfiles::Format::Ir, list);
    const auto size = static_cast<qint64>(written.data.size());
    QFile file(path);
    if (!written.ok() || !file.open(QIODevice::WriteOnly)
        || file.write(written.data.data(), size) != size)
        return QString();
    return path;
}

bool displayTick(QObject *window)
{
    const QList<int> timers = runningTimers(window);
    if (timers.isEmpty())
        return false;
    QTimerEvent tick(timers.first());
    QCoreApplication::sendEvent(window, &tick);
    return true;
}

QwtPlotCurve *curve(QObject *window)
{
    const QwtPlotItemList items
        = child<QwtPlot>(window, "qwtPlot")->itemList(QwtPlotItem::Rtti_PlotCurve);
    return items.size() == 1 ? static_cast<QwtPlotCurve *>(items.first()) : nullptr;
}

QAbstractButton *button(QObject *window, const char *name)
{
    return child<QAbstractButton>(window, name);
}

void click(QObject *window, const char *name)
{
    button(window, name)->click();
}

void press(QObject *window, const char *name)
{
    QTest::mousePress(button(window, name), Qt::LeftButton);
}

void release(QObject *window, const char *name)
{
    QTest::mouseRelease(button(window, name), Qt::LeftButton);
}

QTableView *frameTable(QObject *window)
{
    return child<QTableView>(window, "tableViewIRData");
}

QString cell(QObject *window, int row, int column)
{
    return frameTable(window)->model()->index(row, column).data().toString();
}

int tableRows(QObject *window)
{
    return frameTable(window)->model()->rowCount();
}

void clickRow(QObject *window, int row)
{
    QTableView *view = frameTable(window);
    emit view->clicked(view->model()->index(row, 1));
}

QStringList details(QObject *window)
{
    return child<QPlainTextEdit>(window, "plainTextEdit")->toPlainText().split(QLatin1Char('\n'));
}
