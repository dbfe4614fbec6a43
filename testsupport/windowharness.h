#ifndef WINDOWHARNESS_H
#define WINDOWHARNESS_H

#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>

#include "korvex.h"

#include <atomic>
#include <mutex>
#include <vector>

// A received record with its own raw array, as an adapter hands it over.
// Copies point to their own array.
struct ReceivedRecord
{
    ReceivedRecord(
        int32_t type, uint32_t value, uint32_t address, int32_t bits, std::vector<int> raw)
        : raw(std::move(raw))
    {
        record.decode_type = type;
        record.value = value;
        record.address = address;
        record.bits = bits;
        record.raw_count = static_cast<int32_t>(this->raw.size());
        record.extra = 0;
        point();
    }
    ReceivedRecord(const ReceivedRecord &other) : record(other.record), raw(other.raw)
    {
        point();
    }
    ReceivedRecord &operator=(const ReceivedRecord &other)
    {
        record = other.record;
        raw = other.raw;
        point();
        return *this;
    }

    IRResults record{};
    std::vector<int> raw;

private:
    void point()
    {
        record.raw_data = raw.empty() ? nullptr : raw.data();
    }
};

// A modal warning box as the user saw it.
struct CapturedDialog
{
    QString title;
    QString text;
    QString detailedText;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    QWidget *parent = nullptr;
    // The timers running on the parent while the box was up.
    QList<int> parentTimers;
};

// Closes every modal box that opens while it lives, recording what it showed.
// It polls QApplication::activeModalWidget() from a timer, which also runs
// inside the modal box's own event loop.
class DialogCatcher : public QObject
{
    Q_OBJECT
public:
    DialogCatcher();
    QList<CapturedDialog> dialogs;
    QStringList texts() const;

private:
    void poll();
    QTimer timer;
};

// Records the Qt debug output while it lives (from any thread).
class TraceCatcher
{
public:
    TraceCatcher();
    ~TraceCatcher();
    QStringList lines() const;
    int count(const QString &line) const;
    void clear();

private:
    static void handler(QtMsgType type, const QMessageLogContext &context, const QString &msg);
    static std::atomic<TraceCatcher *> current;
    QtMessageHandler previous;
    // std::mutex rather than QMutex: ThreadSanitizer sees only synchronisation
    // done in instrumented code.
    mutable std::mutex mutex;
    QStringList captured;
};

// The ids of the timers that are registered on object right now.
QList<int> runningTimers(QObject *object);

// One tick of every timer that runs on object now, as Qt would deliver it.
// Tests drive ticks by hand so that a sequence is checked without waiting
// in real time, and every run makes the same calls.
void tickAll(QObject *object);

// A named child of the window, failing the test when it is missing.
template <typename T> T *child(QObject *window, const char *name)
{
    return window->findChild<T *>(QString::fromLatin1(name));
}

#endif // WINDOWHARNESS_H
