/*
 * A complete Korvex.dll for the other machine: built for x86-64 when the
 * tests are 32-bit and for x86 when they are 64-bit, it exports all twelve
 * ordinals, yet the test program cannot load it.
 */
#include "korvex_ordinals.h"

#define FOREIGN_OPERATION(name, ordinal)                                                           \
    int standin_##name(void);                                                                      \
    int standin_##name(void)                                                                       \
    {                                                                                              \
        return ordinal;                                                                            \
    }
KORVEX_ORDINALS(FOREIGN_OPERATION)
