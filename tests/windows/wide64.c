/*
 * A complete Korvex.dll for the wrong machine: built for x86-64, it exports
 * all twelve ordinals, yet a 32-bit program cannot load it.
 */
#include "korvex_ordinals.h"

#define WIDE64_OPERATION(name, ordinal)                                                            \
    int standin_##name(void);                                                                      \
    int standin_##name(void)                                                                       \
    {                                                                                              \
        return ordinal;                                                                            \
    }
KORVEX_ORDINALS(WIDE64_OPERATION)
