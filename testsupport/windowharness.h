// The harness of the window tests and benchmarks: received records, catchers
// of warning boxes and trace lines, timer ticks by hand, and the user's
// actions on the window's controls by their object names.
#ifndef WINDOWHARNESS_H
#define WINDOWHARNESS_H

#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>

#include "irsignal.h"
#include "korvex.h"

class QAbstractButton;
class QTableView;
class QwtPlotCurve;

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

// Frames one after another in one recording, each after silenceUs, as a
// file holds a button held down or an air conditioner's blocks; at the
// default carrier.
irfiles::Signal recordingOf(const std::vector<ircodec::Durations> &frames, int32_t silenceUs,
    const std::string &name = std::string());
// Writes recordings to path as an .ir file, a raw record each; the path, or
// an empty one when it cannot.
QString writeIrFile(const QString &path, const std::vector<irfiles::Signal> &list);

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

// One receive display tick, as the window's one running timer would deliver
// it. False when no timer runs on the window.
bool displayTick(QObject *window);

// The window's waveform curve, the plot's only one; null when it has none.
QwtPlotCurve *curve(QObject *window);

// A named child of the window; null when it has none.
template <typename T> T *child(QObject *window, const char *name)
{
    return window->findChild<T *>(QString::fromLatin1(name));
}

// A named button: clicked as by the user (the slot the form connected by
// name runs), or held down and let go with the mouse.
QAbstractButton *button(QObject *window, const char *name);
void click(QObject *window, const char *name);
void press(QObject *window, const char *name);
void release(QObject *window, const char *name);

// The received-frame table: its view, a cell's text, its row count, a click
// on a row, and the details view's lines.
QTableView *frameTable(QObject *window);
QString cell(QObject *window, int row, int column);
int tableRows(QObject *window);
void clickRow(QObject *window, int row);
QStringList details(QObject *window);

#endif // WINDOWHARNESS_H
