// The frame table's actions, in its context menu and on keyboard shortcuts:
// copy, copy as Pronto, send again, save and open. They act on the selected
// rows, or on every row when none is selected. Files dropped on the window
// open as Open… opens them.
#include "fileio.h"
#include "formats.h"
#include "framefiles.h"
#include "frameformat.h"
#include "frametable.h"
#include "frametablemodel.h"
#include "mainwindow.h"
#include "prontoformat.h"
#include "receivequeue.h"
#include "tableformat.h"
#include "ui_mainwindow.h"
#include "waveform.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>

namespace {

constexpr int kHzPerKHz = 1000;
// A warning lists at most this many records left out of a file.
constexpr size_t kMaxListedRecords = 1000;

QString openFailedText(const QString &detail)
{
    return QStringLiteral("打开文件失败！\n") + detail;
}

QString saveFailedText(const QString &detail)
{
    return QStringLiteral("保存文件失败！\n") + detail;
}

// The records left out of a file, one a line, for a warning's details.
QString skippedList(const std::vector<irfiles::Error> &skipped)
{
    QStringList lines;
    for (size_t i = 0; i < skipped.size() && i < kMaxListedRecords; ++i)
        lines << QString::fromStdString(skipped[i].text());
    if (skipped.size() > kMaxListedRecords)
        lines << QStringLiteral("... and %1 more").arg(skipped.size() - kMaxListedRecords);
    return lines.join(QLatin1Char('\n'));
}

struct ActionEntry
{
    const char *objectName;
    const char *text;
    QKeySequence::StandardKey key;
    // Copy acts only while the table has the focus; save and open also
    // from the send tab.
    Qt::ShortcutContext context;
    void (MainWindow::*run)();
};

} // namespace

void MainWindow::setupFrameActions()
{
    const ActionEntry entries[] = {
        {"actionCopyFrames", "复制帧", QKeySequence::Copy, Qt::WidgetShortcut,
            &MainWindow::copyFrames},
        {"actionCopyPronto", "复制为 Pronto 码", QKeySequence::UnknownKey, Qt::WidgetShortcut,
            &MainWindow::copyFramesAsPronto},
        {"actionSendFramesAgain", "重新发送", QKeySequence::UnknownKey, Qt::WidgetShortcut,
            &MainWindow::sendFramesAgain},
        {"actionSaveFrames", "保存…", QKeySequence::Save, Qt::WindowShortcut,
            &MainWindow::saveFrames},
        {"actionOpenFrames", "打开…", QKeySequence::Open, Qt::WindowShortcut,
            &MainWindow::openFrames},
    };
    QTableView *table = ui->tableViewIRData;
    for (const ActionEntry &entry : entries) {
        auto *action = new QAction(QString::fromUtf8(entry.text), this);
        action->setObjectName(QString::fromLatin1(entry.objectName));
        action->setShortcut(entry.key);
        action->setShortcutContext(entry.context);
        connect(action, &QAction::triggered, this, entry.run);
        table->addAction(action);
        if (entry.context == Qt::WindowShortcut)
            addAction(action);
    }
    table->setContextMenuPolicy(Qt::ActionsContextMenu);
    // Files dropped anywhere on the window open as Open… opens them.
    new framefiles::FileDrop(this, [this](const QStringList &paths) { openFrameFiles(paths); });
    // The keyboard moves the current row: its details and waveform follow,
    // as a click shows them. A mouse press moves it too; the click that ends
    // it shows the row then.
    connect(table->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
        [this](const QModelIndex &current) {
            if (QApplication::mouseButtons() == Qt::NoButton && current.isValid())
                showFrameDetails(current.row());
        });
}

void MainWindow::showFrameDetails(int row)
{
    IRResultsEntry entry;
    if (!receiveQueue().entryAt(row, entry))
        return;
    // The row's raw data cell, made from the entry already at hand.
    const QString rawList = frameformat::rawTimingList(entry);
    ui->plainTextEdit->clear();
    const auto opened = openedFrames.find(row);
    if (opened != openedFrames.end() && !opened->second.name.empty())
        ui->plainTextEdit->appendPlainText(
            QStringLiteral("name:") + QString::fromStdString(opened->second.name));
    ui->plainTextEdit->appendPlainText(frameformat::readingLine(frameSignal(row).durations));
    for (const QString &line : frameformat::detailsLines(entry, rawList))
        ui->plainTextEdit->appendPlainText(line);
    showWaveform(waveform::build(rawList));
}

irfiles::Signal MainWindow::frameSignal(int row) const
{
    const auto opened = openedFrames.find(row);
    if (opened != openedFrames.end())
        return opened->second;
    IRResultsEntry entry;
    std::vector<int32_t> raw;
    receiveQueue().entryAt(row, entry);
    receiveQueue().rawValues(row, raw);
    irfiles::Signal frame = irfiles::fromReceived(reportOf(entry), raw.data(),
        static_cast<int>(raw.size()), ui->spinBoxMODFreqKHz->value() * kHzPerKHz);
    // Files name every frame; a received one is named after its row.
    frame.name = "frame_" + std::to_string(row + 1);
    return frame;
}

std::vector<int> MainWindow::actionRows() const
{
    return frametable::actionRows(ui->tableViewIRData->selectionModel(), irDataModel->rowCount());
}

std::vector<irfiles::Signal> MainWindow::actionFrames(const std::vector<int> &rows) const
{
    std::vector<irfiles::Signal> frames;
    frames.reserve(rows.size());
    for (int row : rows)
        frames.push_back(frameSignal(row));
    return frames;
}

void MainWindow::copyFrames()
{
    const std::vector<int> rows = actionRows();
    std::vector<int> rowNumbers;
    for (int row : rows)
        rowNumbers.push_back(row + 1);
    QApplication::clipboard()->setText(
        QString::fromStdString(irfiles::copyFramesText(actionFrames(rows), rowNumbers)));
}

void MainWindow::copyFramesAsPronto()
{
    QStringList codes;
    for (const irfiles::Signal &frame : actionFrames(actionRows()))
        codes << QString::fromStdString(irfiles::prontoCode(frame));
    QApplication::clipboard()->setText(codes.join(QLatin1Char('\n')));
}

void MainWindow::saveFrames()
{
    const std::vector<int> rows = actionRows();
    if (rows.empty())
        return;
    QString filter;
    QString path = framefiles::askSaveFile(this, &filter);
    if (path.isEmpty())
        return;
    const auto format = framefiles::saveFormat(path, filter);
    if (!format) {
        warn(saveFailedText(path + QStringLiteral(": unknown file type")));
        return;
    }
    const irfiles::Written written = irfiles::write(*format, actionFrames(rows));
    if (!written.ok()) {
        warn(saveFailedText(QString::fromStdString(written.error)));
        return;
    }
    irfiles::fileio::OutputFile file(QFile::encodeName(path).toStdString());
    if (!file.write(written.data) || !file.commit())
        warn(saveFailedText(
            path + QStringLiteral(": ") + QString::fromLocal8Bit(file.error().c_str())));
}

void MainWindow::openFrames()
{
    openFrameFiles(framefiles::askOpenFiles(this));
}

void MainWindow::openFrameFiles(const QStringList &paths)
{
    // Position of the first frame opened now: frames received meanwhile may
    // come before or between them.
    int firstOpened = -1;
    for (const QString &path : paths) {
        // The format by the extension, else by the first lines.
        const irfiles::Loaded loaded = irfiles::readFile(QFile::encodeName(path).toStdString());
        if (!loaded.ok()) {
            warn(openFailedText(QString::fromStdString(loaded.error->text())),
                skippedList(loaded.skipped));
            continue;
        }
        for (const irfiles::Signal &frame : loaded.list) {
            const int position = appendOpenedFrame(frame);
            if (firstOpened < 0)
                firstOpened = position;
        }
        // The rest of the file loaded; what was left out is listed.
        if (!loaded.skipped.empty())
            warn(openFailedText(QString::fromStdString(irfiles::skippedSummary(
                     QFile::encodeName(path).toStdString(), loaded.skipped.size()))),
                skippedList(loaded.skipped));
    }
    // The rows appear now, whether or not reception runs.
    irDataModel->appendNewRows();
    if (firstOpened >= 0)
        showOpenedFrame(firstOpened);
}

void MainWindow::showOpenedFrame(int row)
{
    // Opening is an action of its own wherever it starts (the command line,
    // the send tab's Ctrl+O, a drop): it shows what it opened.
    ui->tabWidget->setCurrentWidget(ui->tab_2);
    QTableView *view = ui->tableViewIRData;
    const QModelIndex index = irDataModel->index(row, frameformat::RowNumber);
    view->selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    view->scrollTo(index);
    showFrameDetails(row);
}

int MainWindow::appendOpenedFrame(const irfiles::Signal &frame)
{
    // A frame from a file enters the receive queue as the adapter would have
    // reported it, so that its row, details and waveform are a received
    // frame's; its name and exact timings are kept beside it.
    std::vector<int32_t> raw = irfiles::toRawTicks(frame);
    IRResults record{};
    record.decode_type = frame.decoded.decodeType;
    record.address = frame.decoded.address;
    record.value = frame.decoded.value;
    record.bits = frame.decoded.bits;
    record.raw_data = raw.data();
    record.raw_count = static_cast<int32_t>(raw.size());
    const int position = receiveQueue().append(record);
    openedFrames[position] = frame;
    return position;
}
