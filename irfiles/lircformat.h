// LIRC remote definitions (lircd.conf), read as LIRC reads them (keywords
// and flags in any case, a parameter given twice taking its last value,
// numbers in C's notation, SPACE_ENC when no encoding is named).
#ifndef IRFILES_LIRCFORMAT_H
#define IRFILES_LIRCFORMAT_H

#include "textreader.h"
#include "textwriter.h"

#include <memory>

namespace irfiles {

// Every remote of the file, in order. raw_codes remotes give one signal per
// button; a coded remote gives one signal per button when it is
// pulse-distance (SPACE_ENC) or bi-phase (RC5, SHIFT_ENC, RC6): the first
// frame of the button as header, plead, pre_data, pre, code, post,
// post_data, ptrail and foot. A button line with several codes gives one
// signal holding those frames one after the other, the remote's gap between
// them. A remote that cannot be rendered (no timings, another encoding) or
// has no buttons is left out with its reason, as is a button whose frame is
// beyond the limits; the other remotes load. A malformed file (an unclosed
// remote, a value that is not a number, "include", which needs the other
// file) fails whole.
void readLirc(textreader::Reader &r);

// raw_codes remotes readable by lircd and irsimsend: one remote per run of
// signals with the same carrier and duty cycle ("tavrel", "tavrel_2", ...),
// one button per signal named after it (blanks become '_', and a repeated
// name gets "_2", "_3", ... as LIRC wants every button name once).
std::unique_ptr<textwriter::FormatWriter> lircWriter();

} // namespace irfiles

#endif // IRFILES_LIRCFORMAT_H
