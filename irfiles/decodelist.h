// `tavrel --decode FILE...`: every frame of every record of the files, read
// by the program's readers, one line each on standard output, without a
// display. Tab-separated: file, record index (from 0, in file order), frame
// index within the record (from 0; a record is cut into frames where
// reception would cut it), protocol (UNKNOWN when nothing reads it,
// PULSE_DISTANCE, PULSE_WIDTH or BIPHASE for a generic reading), bits, data
// in hex (a catalogue protocol's value as 8 digits, an air conditioner's
// state bytes, otherwise the bits in on-air order, the first most
// significant), then the fields, repeats, blocks and timing in words.
#ifndef IRFILES_DECODELIST_H
#define IRFILES_DECODELIST_H

#include "irsignal.h"

#include <ostream>
#include <string>
#include <vector>

namespace irfiles {

// The lines of one file's records.
std::string decodeLines(const std::string &file, const std::vector<Signal> &records);

// Reads each file (its format by its extension) and writes its lines to out;
// a file that cannot be read is named on err with the line at fault, and
// the others are still read. Answers 0, or 2 when a file could not be read.
int decodeFiles(const std::vector<std::string> &files, std::ostream &out, std::ostream &err);

// The mode's option, its synopsis (after the program name) and its
// description, for the program's --help.
extern const char kDecodeOption[];
extern const char kDecodeSynopsis[];
extern const char kDecodeDescription[];

// Runs the mode: args holds kDecodeOption and the files. Returns the exit
// status (2 also for bad arguments, with the usage on err).
int decodeMain(const std::vector<std::string> &args, std::ostream &out, std::ostream &err);

} // namespace irfiles

#endif // IRFILES_DECODELIST_H
