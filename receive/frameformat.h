#ifndef FRAMEFORMAT_H
#define FRAMEFORMAT_H

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <vector>

struct IRResultsEntry;

// The texts of the received-frame table and of the details view.
namespace frameformat {

enum Column { RowNumber, Type, Data, Address, Bits, RawData, ColumnCount };

// Header labels in column order.
QStringList headers();
// Column widths in pixels, in column order.
extern const std::array<int, ColumnCount> columnWidths;

// The raw values from the second on, each in decimal, separated by commas;
// empty for one value or none.
QString rawTimingList(const IRResultsEntry &entry);

// The text of a cell of the row at position row (from 0). A null text means
// that the cell is empty: the address of frames that show none, or a column
// outside the table.
QString cellText(int row, const IRResultsEntry &entry, int column);

// The cells of the row at position row, in column order.
std::array<QString, ColumnCount> rowTexts(int row, const IRResultsEntry &entry);

// The details lines of a frame whose row holds rawList in its raw data column:
// type, address (only where the table shows one), bits and raw data; then for
// a frame longer than the values shown how many it has, and for a frame cut
// at the queue's limit how many of its values were kept.
QStringList detailsLines(const IRResultsEntry &entry, const QString &rawList);

// The details' first line (after an opened frame's name): the program's own
// reading of the frame's durations in microseconds, named or generic.
QString readingLine(const std::vector<int32_t> &durations);

} // namespace frameformat

#endif // FRAMEFORMAT_H
