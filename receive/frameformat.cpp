#include "frameformat.h"

#include "irsignal.h"
#include "receivequeue.h"
#include "tableformat.h"

#include <algorithm>
#include <charconv>

namespace frameformat {

namespace {
// The text of a cell that shows the decoded result, as the files' frame
// tables show it; a null text for an empty cell.
QString cell(const IRResultsEntry &entry, irfiles::Cell which)
{
    const std::string text = irfiles::cellText(reportOf(entry), which);
    return text.empty() ? QString() : QString::fromStdString(text);
}

// Longest decimal int with its sign, and the comma after it.
constexpr int kMaxValueChars = 12;
} // namespace

QStringList headers()
{
    return {QStringLiteral("行号"), QStringLiteral("类型"), QStringLiteral("数据(HEX)"),
        QStringLiteral("地址(HEX)"), QStringLiteral("位数"), QStringLiteral("原始数据")};
}

const std::array<int, ColumnCount> columnWidths = {50, 80, 90, 70, 50, 200};

QString rawTimingList(const IRResultsEntry &entry)
{
    // Formatted into one buffer and converted once: a tick formats thousands
    // of these lists.
    char buffer[irlimits::kMaxRecordRawValues * kMaxValueChars];
    char *out = buffer;
    const int count = std::min(entry.raw_count, static_cast<int32_t>(entry.raw_values.size()));
    for (int i = 1; i < count; ++i) {
        out = std::to_chars(out, buffer + sizeof buffer, entry.raw_values[i]).ptr;
        *out++ = ',';
    }
    if (out != buffer)
        --out; // the last comma
    return QString::fromLatin1(buffer, static_cast<int>(out - buffer));
}

QString cellText(int row, const IRResultsEntry &entry, int column)
{
    switch (column) {
    case RowNumber:
        return QString::number(row + 1);
    case Type:
        return cell(entry, irfiles::Cell::Type);
    case Data:
        return cell(entry, irfiles::Cell::Value);
    case Address:
        return cell(entry, irfiles::Cell::Address);
    case Bits:
        return cell(entry, irfiles::Cell::Bits);
    case RawData:
        return rawTimingList(entry);
    default:
        return QString();
    }
}

std::array<QString, ColumnCount> rowTexts(int row, const IRResultsEntry &entry)
{
    std::array<QString, ColumnCount> cells;
    for (int column = 0; column < ColumnCount; ++column)
        cells[static_cast<size_t>(column)] = cellText(row, entry, column);
    return cells;
}

QStringList detailsLines(const IRResultsEntry &entry, const QString &rawList)
{
    QStringList lines;
    lines << QStringLiteral("type:") + cell(entry, irfiles::Cell::Type);
    const QString address = cell(entry, irfiles::Cell::Address);
    if (!address.isNull())
        lines << QStringLiteral("address:0x") + address;
    lines << QStringLiteral("bits:") + cell(entry, irfiles::Cell::Bits);
    lines << QStringLiteral("raw data:") + rawList;
    // The raw data line and the waveform end at kMaxRecordRawValues; the frame
    // goes on.
    if (entry.keptCount > irlimits::kMaxRecordRawValues)
        lines << QStringLiteral(
            "values:%1 (the first %2 shown; copy, save and send again use all %1)")
                     .arg(entry.keptCount)
                     .arg(irlimits::kMaxRecordRawValues);
    if (entry.truncated())
        lines << QStringLiteral("truncated:%1 of %2").arg(entry.keptCount).arg(entry.reportedCount);
    return lines;
}

QString readingLine(const std::vector<int32_t> &durations)
{
    return QStringLiteral("reading:") + QString::fromStdString(irfiles::readingText(durations));
}

} // namespace frameformat
