// LIRC remote definitions (lircd.conf).
#ifndef IRFILES_LIRCFORMAT_H
#define IRFILES_LIRCFORMAT_H

#include "loaded.h"

#include <string>
#include <string_view>
#include <vector>

namespace irfiles {

// Every remote of the file, in order. raw_codes remotes give one signal per
// button; a coded remote gives one signal per button when it is plain
// pulse-distance (SPACE_ENC) or bi-phase (RC5, SHIFT_ENC, RC6): the first
// frame of the button as header, plead, pre_data, pre, code, post,
// post_data, ptrail and foot. Any other kind of remote is refused with its
// name and the reason. A button line with several codes gives one signal
// holding those frames one after the other, the remote's gap between them.
// "include" lines are refused: the file must be complete.
Loaded readLirc(std::string_view data, const std::string &file);

// raw_codes remotes readable by lircd and irsimsend: one remote per run of
// signals with the same carrier and duty cycle ("tavrel", "tavrel_2", ...),
// one button per signal named after it (blanks become '_', and a repeated
// name gets "_2", "_3", ... as LIRC wants every button name once).
std::string writeLirc(const std::vector<Signal> &list);

} // namespace irfiles

#endif // IRFILES_LIRCFORMAT_H
