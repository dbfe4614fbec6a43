// The frame table as text: a header line, then one line per frame with the
// columns row, type, value, address, bits, the program's reading of the
// frame (in double quotes where it holds a comma) and the durations in
// microseconds, one per column. Comma-separated in .csv files, tab-separated for "copy
// frames" (spreadsheets paste it into cells).
#ifndef IRFILES_TABLEFORMAT_H
#define IRFILES_TABLEFORMAT_H

#include "textreader.h"
#include "textwriter.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace irfiles {

// The frame table's columns that show a decoded result, in table order.
enum class Cell { Type, Value, Address, Bits };

// The text the frame table (and these files) show in one such cell: the
// protocol name; the value as 8 hex digits, "REPEAT" for an NEC repeat
// code; the address as at least 4 hex digits for PANASONIC and SHARP, empty
// for every other protocol; the bit count in decimal.
std::string cellText(const ircodec::Report &decoded, Cell cell);

// The table's text with tabs, as "copy frames" puts it on the clipboard;
// rowNumbers gives the row column (the table's 1-based row numbers).
std::string copyFramesText(const std::vector<Signal> &list, const std::vector<int> &rowNumbers);

// .csv files: the same table, comma-separated, the rows numbered 1, 2, ...
std::unique_ptr<textwriter::FormatWriter> csvWriter();

// Reads such a table, comma- or tab-separated, with or without its header,
// with or without the reading column (tables saved before it existed); the
// reading is not read back, being the frame's durations read again. The type, value, address and
// bits columns are kept as the decoded result (the table shows what the receiver reported); the
// frames have no name and an unknown carrier. A row of an unknown protocol or beyond the limits is
// left out and listed.
void readCsv(textreader::Reader &r);

} // namespace irfiles

#endif // IRFILES_TABLEFORMAT_H
