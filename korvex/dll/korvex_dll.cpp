// Binds the twelve adapter operations to Korvex.dll by ordinal.
//
// The DLL is loaded by full path from the program's own folder, never through
// the DLL search path, so a Korvex.dll planted in the working directory or on
// PATH is never picked up. It is loaded on the first operation and, once all
// twelve ordinals are resolved, stays loaded for the life of the process. A
// missing or unloadable file, or a missing ordinal, leaves the binding without
// an adapter: Device_Scan finds none and every other operation fails.
#include "korvex_dll.h"

#include "korvex.h"
#include "korvex_ordinals.h"

#include <windows.h>

// Declared by every current SDK; older headers lack them although the system
// understands them (Windows 7 with KB2533623 and later).
#ifndef LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR
#define LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR 0x00000100
#endif
#ifndef LOAD_LIBRARY_SEARCH_DEFAULT_DIRS
#define LOAD_LIBRARY_SEARCH_DEFAULT_DIRS 0x00001000
#endif

#include <atomic>
#include <cstdio>
#include <iterator>
#include <string>

namespace {

constexpr wchar_t dllFileName[] = L"Korvex.dll";

// What the operations answer without a bound library.
constexpr int noAdapterCount = 0;
constexpr unsigned char notOpened = 0;
constexpr int noAdapterStatus = -1;

// Longest path GetModuleFileNameW can return, in characters.
constexpr DWORD longestPath = 32768;
constexpr DWORD firstPathGuess = MAX_PATH;

enum class Op {
#define KORVEX_OP_ENUM(name, ordinal) name,
    KORVEX_ORDINALS(KORVEX_OP_ENUM)
#undef KORVEX_OP_ENUM
};

struct Operation
{
    const wchar_t *name;
    WORD ordinal;
};

#define KORVEX_WIDE(text) L##text
constexpr Operation operations[] = {
#define KORVEX_OP_ENTRY(name, ordinal) {KORVEX_WIDE(#name), ordinal},
    KORVEX_ORDINALS(KORVEX_OP_ENTRY)
#undef KORVEX_OP_ENTRY
};
#undef KORVEX_WIDE
constexpr size_t operationCount = std::size(operations);

struct Library
{
    FARPROC procs[operationCount] = {};
    bool bound = false;
};

std::atomic<KorvexDllLog> logSink{nullptr};

std::string utf8(const std::wstring &text)
{
    if (text.empty()) {
        return {};
    }
    const int size = WideCharToMultiByte(
        CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(
        CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], size, nullptr, nullptr);
    return out;
}

void writeLog(const std::wstring &line)
{
    if (KorvexDllLog sink = logSink.load()) {
        sink(utf8(line).c_str());
        return;
    }
    OutputDebugStringW((line + L"\n").c_str());
    std::fprintf(stderr, "%s\n", utf8(line).c_str());
    std::fflush(stderr);
}

std::wstring errorText(DWORD error)
{
    return L"Windows error " + std::to_wstring(error);
}

// The folder of the program's executable, with its trailing backslash.
bool programFolder(std::wstring &folder, DWORD &error)
{
    std::wstring path(firstPathGuess, L'\0');
    for (;;) {
        const DWORD size = static_cast<DWORD>(path.size());
        const DWORD length = GetModuleFileNameW(nullptr, &path[0], size);
        if (length == 0) {
            error = GetLastError();
            return false;
        }
        if (length < size) {
            path.resize(length);
            break;
        }
        if (size >= longestPath) {
            error = ERROR_INSUFFICIENT_BUFFER;
            return false;
        }
        path.resize(size * 2);
    }
    const size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos) {
        error = ERROR_BAD_PATHNAME;
        return false;
    }
    folder = path.substr(0, slash + 1);
    return true;
}

// Loads the file at `path` and nothing else. The DLL's own dependencies are
// looked for in its folder and the system folders only. Error boxes are
// suppressed: a bad file is reported through the return value alone.
HMODULE loadFromPath(const std::wstring &path, DWORD &error)
{
    DWORD oldMode = 0;
    const BOOL modeSet
        = SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &oldMode);
    HMODULE module = LoadLibraryExW(
        path.c_str(), nullptr, LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
    error = module ? ERROR_SUCCESS : GetLastError();
    if (!module && error == ERROR_INVALID_PARAMETER) {
        // Windows without the LOAD_LIBRARY_SEARCH flags (Windows 7 before
        // KB2533623): a full path with the altered search order still loads
        // this file only.
        module = LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
        error = module ? ERROR_SUCCESS : GetLastError();
    }
    if (modeSet) {
        SetThreadErrorMode(oldMode, nullptr);
    }
    return module;
}

// Whether the loaded module's export table has a function at `ordinal`.
// GetProcAddress alone is not enough: for an ordinal inside the table's range
// with no function behind it, it may answer a non-null address.
bool exportsOrdinal(HMODULE module, WORD ordinal)
{
    const auto *image = reinterpret_cast<const BYTE *>(module);
    const auto *dos = reinterpret_cast<const IMAGE_DOS_HEADER *>(image);
    const auto *nt = reinterpret_cast<const IMAGE_NT_HEADERS *>(image + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY &directory
        = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    if (directory.VirtualAddress == 0 || directory.Size == 0) {
        return false;
    }
    const auto *exports
        = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY *>(image + directory.VirtualAddress);
    const DWORD wanted = ordinal;
    if (wanted < exports->Base || wanted - exports->Base >= exports->NumberOfFunctions) {
        return false;
    }
    const auto *functions = reinterpret_cast<const DWORD *>(image + exports->AddressOfFunctions);
    return functions[wanted - exports->Base] != 0;
}

Library load()
{
    Library library;
    std::wstring path;
    DWORD error = ERROR_SUCCESS;
    if (!programFolder(path, error)) {
        writeLog(L"Korvex: cannot find the program's folder (" + errorText(error) + L")");
        return library;
    }
    path += dllFileName;

    const HMODULE module = loadFromPath(path, error);
    if (!module) {
        writeLog(L"Korvex: cannot load " + path + L" (" + errorText(error) + L")");
        return library;
    }

    // All twelve before any is used: an incomplete library is not used at all.
    for (size_t i = 0; i < operationCount; ++i) {
        const Operation &op = operations[i];
        const FARPROC proc = exportsOrdinal(module, op.ordinal)
            ? GetProcAddress(module, MAKEINTRESOURCEA(op.ordinal))
            : nullptr;
        if (!proc) {
            writeLog(L"Korvex: " + path + L" has no ordinal " + std::to_wstring(op.ordinal) + L" ("
                + op.name + L")");
            FreeLibrary(module);
            return library;
        }
        library.procs[i] = proc;
    }
    // The module is never freed: the process keeps it until it ends.
    library.bound = true;
    return library;
}

const Library &library()
{
    static const Library bound = load();
    return bound;
}

// The operation `op` as a pointer of the declared type `Fn` (the
// operation's own declaration in korvex.h, calling convention included), or
// null when the library is not bound.
template <typename Fn> Fn resolve(Op op)
{
    const Library &lib = library();
    if (!lib.bound) {
        return nullptr;
    }
    // Through void(*)(): the one conversion between function pointer types
    // that compilers accept without a cast-function-type warning.
    const auto generic = reinterpret_cast<void (*)()>(lib.procs[static_cast<size_t>(op)]);
    return reinterpret_cast<Fn>(generic);
}

} // namespace

void korvexDllSetLog(KorvexDllLog log)
{
    logSink.store(log);
}

int KORVEX_CALL Device_Scan(int Reserved)
{
    const auto fn = resolve<decltype(&Device_Scan)>(Op::Device_Scan);
    return fn ? fn(Reserved) : noAdapterCount;
}

unsigned char KORVEX_CALL Device_Open(int DeviceIndex)
{
    const auto fn = resolve<decltype(&Device_Open)>(Op::Device_Open);
    return fn ? fn(DeviceIndex) : notOpened;
}

int KORVEX_CALL IR_NEC_Send(int DeviceIndex, int ChannelMask, unsigned char Address,
    unsigned char Command, unsigned char HaveNot)
{
    const auto fn = resolve<decltype(&IR_NEC_Send)>(Op::IR_NEC_Send);
    return fn ? fn(DeviceIndex, ChannelMask, Address, Command, HaveNot) : noAdapterStatus;
}

int KORVEX_CALL IR_NEC_SendRepeat(int DeviceIndex, int ChannelMask)
{
    const auto fn = resolve<decltype(&IR_NEC_SendRepeat)>(Op::IR_NEC_SendRepeat);
    return fn ? fn(DeviceIndex, ChannelMask) : noAdapterStatus;
}

int KORVEX_CALL IR_ITT_Send(
    int DeviceIndex, int ChannelMask, unsigned char Address, unsigned char Command)
{
    const auto fn = resolve<decltype(&IR_ITT_Send)>(Op::IR_ITT_Send);
    return fn ? fn(DeviceIndex, ChannelMask, Address, Command) : noAdapterStatus;
}

int KORVEX_CALL IR_JVC_Send(
    int DeviceIndex, int ChannelMask, int FirstFrame, unsigned char Address, unsigned char Command)
{
    const auto fn = resolve<decltype(&IR_JVC_Send)>(Op::IR_JVC_Send);
    return fn ? fn(DeviceIndex, ChannelMask, FirstFrame, Address, Command) : noAdapterStatus;
}

int KORVEX_CALL IR_NRC17_Send(int DeviceIndex, int ChannelMask, unsigned char Address,
    unsigned char Command, unsigned char SubCode)
{
    const auto fn = resolve<decltype(&IR_NRC17_Send)>(Op::IR_NRC17_Send);
    return fn ? fn(DeviceIndex, ChannelMask, Address, Command, SubCode) : noAdapterStatus;
}

int KORVEX_CALL IR_RCA_Send(
    int DeviceIndex, int ChannelMask, unsigned char Address, unsigned char Command)
{
    const auto fn = resolve<decltype(&IR_RCA_Send)>(Op::IR_RCA_Send);
    return fn ? fn(DeviceIndex, ChannelMask, Address, Command) : noAdapterStatus;
}

int KORVEX_CALL IR_SendProtocol(int DeviceIndex, int ChannelMask, int FreqKHz, IRSendData Data)
{
    const auto fn = resolve<decltype(&IR_SendProtocol)>(Op::IR_SendProtocol);
    return fn ? fn(DeviceIndex, ChannelMask, FreqKHz, Data) : noAdapterStatus;
}

int KORVEX_CALL IR_SendRaw(int DeviceIndex, int ChannelMask, int FreqKHz, int *Timings, int Count)
{
    const auto fn = resolve<decltype(&IR_SendRaw)>(Op::IR_SendRaw);
    return fn ? fn(DeviceIndex, ChannelMask, FreqKHz, Timings, Count) : noAdapterStatus;
}

int KORVEX_CALL IR_ReceiveStart(
    int DeviceIndex, unsigned char ChannelMask, IRReceiveCallback Callback)
{
    const auto fn = resolve<decltype(&IR_ReceiveStart)>(Op::IR_ReceiveStart);
    return fn ? fn(DeviceIndex, ChannelMask, Callback) : noAdapterStatus;
}

int KORVEX_CALL IR_ReceiveStop(int DeviceIndex)
{
    const auto fn = resolve<decltype(&IR_ReceiveStop)>(Op::IR_ReceiveStop);
    return fn ? fn(DeviceIndex) : noAdapterStatus;
}
