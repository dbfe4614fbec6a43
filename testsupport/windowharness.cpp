#include "windowharness.h"

#include <QAbstractButton>
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QPushButton>
#include <QTimerEvent>

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
