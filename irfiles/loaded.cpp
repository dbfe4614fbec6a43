#include "loaded.h"

namespace irfiles {

std::string Error::text() const
{
    if (line > 0)
        return file + ":" + std::to_string(line) + ": " + message;
    return file + ": " + message;
}

} // namespace irfiles
