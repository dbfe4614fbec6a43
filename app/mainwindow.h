#ifndef MAINWINDOW_H
#define MAINWINDOW_H

#include "irsignal.h"
#include "sendplan.h"

#include <QMainWindow>

#include <map>
#include <vector>

class FrameTableModel;
class QModelIndex;
class QProgressDialog;
class QTimer;
class QwtPlot;
class QwtPlotCurve;

namespace waveform {
struct Waveform;
}

namespace Ui {
class MainWindow;
}

// The one window of the program. Its member functions live in the folder of
// the feature they belong to: app/ (construction, tick dispatch),
// adapter/ (openDevice), transmit/ (sending) and receive/ (reception,
// frame table, waveform).
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // Scans for adapters and opens the one at deviceIndex; warns the user
    // and answers false when there is none or it cannot be opened.
    bool openDevice(int deviceIndex);

    void setupPlot(QwtPlot *plot, int xMax, double yMin, double yMax);
    void setupPlotItems();
    void showWaveform(const double *levels, int count);
    // Draws a waveform, cut off at waveform::kMaxSamples, on an axis spanning
    // its whole length.
    void showWaveform(const waveform::Waveform &wave);

    // Reads IR files (.ir, LIRC .conf, .pronto, .mode2, .csv) and appends
    // their frames to the frame table; a file that cannot be read is named
    // in a warning and adds nothing. The receive tab then shows the first
    // frame opened.
    void openFrameFiles(const QStringList &paths);

protected:
    void timerEvent(QTimerEvent *event) override;

private slots:
    void on_pushButtonNECSend_pressed();
    void on_pushButtonNECSend_released();
    void on_pushButtonITTSend_pressed();
    void on_pushButtonJVCSend_pressed();
    void on_pushButtonJVCSend_released();
    void on_pushButtonNRC17Send_pressed();
    void on_pushButtonNRC17Send_released();
    void on_pushButtonRCASend_pressed();
    void on_pushButtonStartReceive_clicked();
    void on_tableViewIRData_clicked(const QModelIndex &index);
    void on_checkBoxRawData_clicked(bool checked);
    void on_pushButtonSendIR_clicked();
    void on_pushButtonClearData_clicked();

private:
    // Repeat branches of the tick dispatch (transmit/quicksend.cpp).
    void necTick();
    void jvcTick();
    void nrc17Tick();
    // Quick-send helpers (transmit/quicksend.cpp).
    bool openSendTarget();
    void startRepeat(int &timerId, int intervalMs);
    void failTick(int &timerId, const QString &text);
    void endNrc17Hold();
    // Stops a repeat timer and forgets its id, so a stale id never matches a
    // later timer that Qt hands the same number.
    void stopTimer(int &timerId);
    // The warning box: title "警告", text, one Ok button; details, when
    // given, behind its details button.
    void warn(const QString &text, const QString &details = QString());

    // General sender (transmit/generalsend.cpp).
    void setupRawTimingBox();

    // Receive side (receive/).
    void setupFrameTable();
    void receiveTick();
    void stopReception();
    void showFrameDetails(int row);

    // The frame table's actions (receive/frameactions.cpp) and sending
    // frames again (transmit/sendagain.cpp).
    void setupFrameActions();
    std::vector<int> actionRows() const;
    irfiles::Signal frameSignal(int row) const;
    std::vector<irfiles::Signal> actionFrames(const std::vector<int> &rows) const;
    void copyFrames();
    void copyFramesAsPronto();
    void saveFrames();
    void openFrames();
    // Appends a frame read from a file; answers its position in the queue.
    int appendOpenedFrame(const irfiles::Signal &frame);
    // Shows an opened frame: the receive tab, its row current and selected,
    // its details and waveform.
    void showOpenedFrame(int row);
    void sendFramesAgain();
    void sendNextFrameAgain();
    // Ends a sequence being sent again: no further frame goes out.
    void stopSendingAgain();

    Ui::MainWindow *ui;
    int deviceIndex = 0;
    int channelMask = 0;
    // 0 means "no timer running": Qt never hands out 0 as a timer id.
    int necTimerId = 0;
    int jvcTimerId = 0;
    int nrc17TimerId = 0;
    int receiveTimerId = 0;
    bool nrc17Released = false;
    QwtPlotCurve *waveCurve = nullptr;
    FrameTableModel *irDataModel = nullptr;
    // Adapter on which reception was started; the stop path stops this one.
    int receiveDeviceIndex = -1;
    // Frames opened from files, by receive-queue position: their names and
    // the timings the file gave, finer than the queue's 50 us ticks.
    std::map<int, irfiles::Signal> openedFrames;
    // Frames being sent again: the plan, the table row of each recording,
    // the next step, its timer and, for a long sequence, the progress shown.
    struct SendAgain
    {
        std::vector<sendplan::Step> steps;
        std::vector<int> rows;
        size_t next = 0;
        int device = 0;
        int mask = 0;
        QTimer *timer = nullptr;
        QProgressDialog *progress = nullptr;
    } sendAgain;
};

#endif // MAINWINDOW_H
