// The Windows binding of the adapter library: the twelve operations of
// korvex.h, forwarded to the vendor's Korvex.dll in the program's own folder.
#ifndef KORVEX_DLL_H
#define KORVEX_DLL_H

// Receives the binding's diagnostic line (UTF-8, no line end), written once
// when Korvex.dll cannot be used, saying why.
using KorvexDllLog = void (*)(const char *line);

// Sends the diagnostic line to `log` instead of the debugger output and
// standard error; nullptr restores that default. Call before the first
// adapter operation.
void korvexDllSetLog(KorvexDllLog log);

#endif // KORVEX_DLL_H
