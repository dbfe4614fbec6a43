// The frame table as text: a header line, then one line per frame with the
// columns row, type, value, address, bits and the durations in microseconds,
// one per column. Comma-separated in .csv files, tab-separated for "copy
// frames" (spreadsheets paste it into cells).
#ifndef IRFILES_TABLEFORMAT_H
#define IRFILES_TABLEFORMAT_H

#include "loaded.h"

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

// rowNumbers gives the row column (the table's 1-based row numbers); when it
// is empty the rows are numbered 1, 2, ...
std::string writeTable(
    const std::vector<Signal> &list, char separator, const std::vector<int> &rowNumbers = {});
std::string writeCsv(const std::vector<Signal> &list);
std::string copyFramesText(const std::vector<Signal> &list, const std::vector<int> &rowNumbers);

// Reads such a table, comma- or tab-separated, with or without its header.
// The type, value, address and bits columns are kept as the decoded result
// (the table shows what the receiver reported); the frames have no name and
// an unknown carrier.
Loaded readCsv(std::string_view data, const std::string &file);

} // namespace irfiles

#endif // IRFILES_TABLEFORMAT_H
