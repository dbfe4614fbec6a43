#include "frameformat.h"

#include "protocols.h"
#include "receivequeue.h"

namespace frameformat {

QStringList headers()
{
    return {QStringLiteral("行号"), QStringLiteral("类型"), QStringLiteral("数据(HEX)"),
        QStringLiteral("地址(HEX)"), QStringLiteral("位数"), QStringLiteral("原始数据")};
}

const std::array<int, ColumnCount> columnWidths = {50, 80, 90, 70, 50, 200};

QString rawTimingList(const IRResultsEntry &entry)
{
    QString text;
    for (int i = 1; i < entry.raw_count; ++i) {
        text += QString::number(entry.raw_values[i]);
        text += QLatin1Char(',');
    }
    text.chop(1);
    return text;
}

std::array<QString, ColumnCount> rowTexts(int row, const IRResultsEntry &entry)
{
    std::array<QString, ColumnCount> cells;
    cells[RowNumber] = QString::number(row + 1);
    cells[Type] = QLatin1String(protocols::name(entry.decode_type));
    cells[Data] = protocols::isRepeat(entry.decode_type, entry.value)
        ? QStringLiteral("REPEAT")
        : QString::asprintf("%08X", entry.value);
    if (protocols::showsAddress(entry.decode_type))
        cells[Address] = QString::asprintf("%04X", entry.address);
    cells[Bits] = QString::number(entry.bits);
    cells[RawData] = rawTimingList(entry);
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
    return lines;
}

} // namespace frameformat
