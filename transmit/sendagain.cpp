// Sending recorded frames again through the adapter chosen on the send tab:
// the first frame at once, the others as a timer brings their turn, so the
// window stays usable between them. A long sequence shows its progress and
// stops at once when cancelled; sending every row of a long table is asked
// about first.
#include "sendagain.h"

#include "channels.h"
#include "mainwindow.h"
#include "sendplan.h"
#include "ui_mainwindow.h"

#include <QMessageBox>
#include <QProgressDialog>
#include <QTimer>

namespace {

// With nothing selected, sending more rows than this asks first.
constexpr size_t kAskAboveRows = 100;
// A sequence longer than this shows its progress and can be cancelled.
constexpr int64_t kProgressAboveMs = 2000;

bool standardQuestion(QWidget *parent, const QString &title, const QString &text)
{
    return QMessageBox::question(
               parent, title, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        == QMessageBox::Yes;
}

sendagain::Question &question()
{
    static sendagain::Question current = standardQuestion;
    return current;
}

// The adapter operation of each kind of step, by name for the user.
const char *operationName(sendplan::Operation operation)
{
    switch (operation) {
    case sendplan::Operation::Protocol:
        return "IR_SendProtocol";
    case sendplan::Operation::NecRepeat:
        return "IR_NEC_SendRepeat";
    case sendplan::Operation::Raw:
        break;
    }
    return "IR_SendRaw";
}

int sendStep(int device, int mask, const sendplan::Step &step)
{
    switch (step.operation) {
    case sendplan::Operation::Protocol:
        return IR_SendProtocol(device, mask, step.carrierKHz, step.data);
    case sendplan::Operation::NecRepeat:
        return IR_NEC_SendRepeat(device, mask);
    case sendplan::Operation::Raw:
        break;
    }
    std::vector<int> durations = step.durations;
    return IR_SendRaw(
        device, mask, step.carrierKHz, durations.data(), static_cast<int>(durations.size()));
}

// "row 5, frame 3 of 4: problem".
QString detail(const sendplan::Step &step, const std::vector<int> &rows, const std::string &problem)
{
    return QString::fromStdString(sendplan::where(step, rows[step.recording] + 1) + ": " + problem);
}

} // namespace

namespace sendagain {

void replaceQuestion(Question replacement)
{
    question() = replacement ? std::move(replacement) : standardQuestion;
}

bool ask(QWidget *parent, const QString &title, const QString &text)
{
    return question()(parent, title, text);
}

} // namespace sendagain

void MainWindow::sendFramesAgain()
{
    const bool everyRow = ui->tableViewIRData->selectionModel()->selectedRows().isEmpty();
    std::vector<int> rows = actionRows();
    if (rows.empty())
        return;
    std::vector<sendplan::Step> steps
        = sendplan::plan(actionFrames(rows), ui->spinBoxMODFreqKHz->value());
    // A frame that no adapter call can carry stops the request before
    // anything goes out.
    QStringList refusals;
    for (const sendplan::Step *step : sendplan::refused(steps))
        refusals << detail(*step, rows, step->refusal);
    if (!refusals.isEmpty()) {
        warn(QStringLiteral("红外发送失败！"), refusals.join(QLatin1Char('\n')));
        return;
    }
    if (everyRow && rows.size() > kAskAboveRows
        && !sendagain::ask(this, QStringLiteral("重新发送"),
            QStringLiteral("将重新发送全部 %1 帧，是否继续？").arg(rows.size())))
        return;
    // A new request replaces a sequence still going out.
    stopSendingAgain();
    const int index = ui->comboBoxSendDeviceIndex->currentIndex();
    if (!openDevice(index))
        return;
    sendAgain.device = index;
    sendAgain.mask = channels::outputMask(ui->comboBoxSendChannel->currentIndex());
    sendAgain.rows = std::move(rows);
    sendAgain.steps = std::move(steps);
    sendAgain.next = 0;
    if (sendplan::sequenceMs(sendAgain.steps) > kProgressAboveMs) {
        auto *progress = new QProgressDialog(this);
        progress->setWindowTitle(QStringLiteral("重新发送"));
        progress->setLabelText(QStringLiteral("正在重新发送…"));
        progress->setRange(0, static_cast<int>(sendAgain.steps.size()));
        progress->setWindowModality(Qt::WindowModal);
        // Closed here when the sequence ends, not by the progress it shows.
        progress->setAutoReset(false);
        progress->setAutoClose(false);
        progress->setMinimumDuration(0);
        // The cancel button, the close button and Esc stop the sequence;
        // Esc rejects the dialog, so both signals are taken.
        connect(progress, &QProgressDialog::canceled, this, &MainWindow::stopSendingAgain);
        connect(progress, &QDialog::rejected, this, &MainWindow::stopSendingAgain);
        sendAgain.progress = progress;
        progress->show();
    }
    sendNextFrameAgain();
}

void MainWindow::sendNextFrameAgain()
{
    if (sendAgain.next >= sendAgain.steps.size()) {
        stopSendingAgain();
        return;
    }
    const sendplan::Step &step = sendAgain.steps[sendAgain.next];
    const int status = sendStep(sendAgain.device, sendAgain.mask, step);
    if (status != 0) {
        const QString failure = detail(step, sendAgain.rows,
            std::string(operationName(step.operation)) + " failed with status "
                + std::to_string(status));
        stopSendingAgain();
        warn(QStringLiteral("红外发送失败！"), failure);
        return;
    }
    ++sendAgain.next;
    if (sendAgain.next == sendAgain.steps.size()) {
        stopSendingAgain();
        return;
    }
    if (!sendAgain.timer) {
        sendAgain.timer = new QTimer(this);
        sendAgain.timer->setObjectName(QStringLiteral("sendAgainTimer"));
        sendAgain.timer->setSingleShot(true);
        sendAgain.timer->setTimerType(Qt::PreciseTimer);
        connect(sendAgain.timer, &QTimer::timeout, this, &MainWindow::sendNextFrameAgain);
    }
    sendAgain.timer->start(sendAgain.steps[sendAgain.next].delayMs);
    // Last: a modal progress dialog handles pending events here, a cancel
    // among them.
    if (sendAgain.progress)
        sendAgain.progress->setValue(static_cast<int>(sendAgain.next));
}

void MainWindow::stopSendingAgain()
{
    if (sendAgain.timer)
        sendAgain.timer->stop();
    sendAgain.steps.clear();
    sendAgain.rows.clear();
    sendAgain.next = 0;
    if (QProgressDialog *progress = sendAgain.progress) {
        sendAgain.progress = nullptr;
        progress->disconnect(this);
        progress->hide();
        // It may be the sender of the signal being handled.
        progress->deleteLater();
    }
}
