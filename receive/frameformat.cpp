#include "frameformat.h"

#include "protocols.h"
#include "receivequeue.h"

#include <algorithm>
#include <charconv>

namespace frameformat {

namespace {
// Upper-case hexadecimal, zero-padded to at least minDigits: printf's "%0*X".
QString hex(uint32_t value, int minDigits)
{
    char digits[8];
    const auto end = std::to_chars(digits, digits + sizeof digits, value, 16).ptr;
    const int length = static_cast<int>(end - digits);
    QString text(std::max(length, minDigits), QLatin1Char('0'));
    QChar *out = text.data() + (text.size() - length);
    for (int i = 0; i < length; ++i)
        out[i] = QLatin1Char(digits[i] >= 'a' ? char(digits[i] - 'a' + 'A') : digits[i]);
    return text;
}

// Longest decimal int with its sign, and the comma after it.
constexpr int MaxValueChars = 12;
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
    char buffer[MaxRawValues * MaxValueChars];
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
        return QLatin1String(protocols::name(entry.decode_type));
    case Data:
        return protocols::isRepeat(entry.decode_type, entry.value) ? QStringLiteral("REPEAT")
                                                                   : hex(entry.value, 8);
    case Address:
        return protocols::showsAddress(entry.decode_type) ? hex(entry.address, 4) : QString();
    case Bits:
        return QString::number(entry.bits);
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
    lines << QStringLiteral("type:") + QLatin1String(protocols::name(entry.decode_type));
    if (protocols::showsAddress(entry.decode_type))
        lines << QString::asprintf("address:0x%04X", entry.address);
    lines << QString::asprintf("bits:%d", entry.bits);
    lines << QStringLiteral("raw data:") + rawList;
    // The raw data line and the waveform end at MaxRawValues; the frame
    // goes on.
    if (entry.keptCount > MaxRawValues)
        lines << QStringLiteral(
            "values:%1 (the first %2 shown; copy, save and send again use all %1)")
                     .arg(entry.keptCount)
                     .arg(MaxRawValues);
    if (entry.truncated())
        lines << QStringLiteral("truncated:%1 of %2").arg(entry.keptCount).arg(entry.reportedCount);
    return lines;
}

} // namespace frameformat
