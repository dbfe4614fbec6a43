// Tests of the Windows adapter binding (korvex_dll) against a Korvex.dll in
// this program's folder. Each scenario runs in a process of its own, since the
// binding loads the DLL once per process:
//   binding_test adapter             the stand-in DLL is there
//   binding_test no-adapter <why>    the DLL is missing, incomplete or not
//                                    loadable; <why> is expected in the
//                                    binding's diagnostic line
#include "korvex.h"
#include "korvex_dll.h"
#include "standin.h"

#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

// ---- checks -----------------------------------------------------------------

int checkCount = 0;
int failureCount = 0;
const char *group = "";

bool check(bool ok, const std::string &what, const char *file, int line)
{
    ++checkCount;
    if (!ok) {
        ++failureCount;
        std::printf("FAIL [%s] %s:%d: %s\n", group, file, line, what.c_str());
    }
    return ok;
}

std::string show(long long value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%lld (0x%llX)", value, value);
    return text;
}

std::string show(const std::string &value)
{
    return "\"" + value + "\"";
}

template <typename A, typename B>
bool checkEqual(const A &actual, const B &expected, const char *what, const char *file, int line)
{
    bool ok = actual == expected;
    if constexpr (std::is_integral_v<A> || std::is_enum_v<A>) {
        return check(ok,
            std::string(what) + ": got " + show(static_cast<long long>(actual)) + ", expected "
                + show(static_cast<long long>(expected)),
            file, line);
    } else {
        return check(ok,
            std::string(what) + ": got " + show(actual) + ", expected " + show(expected), file,
            line);
    }
}

#define CHECK(expr) check((expr), #expr, __FILE__, __LINE__)
#define CHECK_EQ(actual, expected) checkEqual((actual), (expected), #actual, __FILE__, __LINE__)

void runGroup(const char *name, const std::function<void()> &body)
{
    group = name;
    const int failuresBefore = failureCount;
    body();
    std::printf("%s %s\n", failureCount == failuresBefore ? "ok  " : "FAIL", name);
}

// ---- environment ------------------------------------------------------------

constexpr wchar_t dllName[] = L"Korvex.dll";
constexpr auto waitLimit = std::chrono::seconds(10);
constexpr auto quietPeriod = std::chrono::milliseconds(150);

std::string utf8(const std::wstring &text)
{
    const int size
        = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &out[0], size, nullptr, nullptr);
    out.resize(static_cast<size_t>(size) - 1);
    return out;
}

std::wstring moduleFile(HMODULE module)
{
    std::wstring path(MAX_PATH * 4, L'\0');
    const DWORD length = GetModuleFileNameW(module, &path[0], static_cast<DWORD>(path.size()));
    path.resize(length);
    return path;
}

// Where the binding must look for the DLL: beside this program.
std::wstring expectedDllPath()
{
    std::wstring path = moduleFile(nullptr);
    return path.substr(0, path.find_last_of(L'\\') + 1) + dllName;
}

std::mutex logMutex;
std::vector<std::string> logLines;

void captureLog(const char *line)
{
    std::lock_guard<std::mutex> guard(logMutex);
    logLines.emplace_back(line);
}

std::vector<std::string> loggedLines()
{
    std::lock_guard<std::mutex> guard(logMutex);
    return logLines;
}

template <typename Predicate> bool waitFor(Predicate done)
{
    const auto deadline = std::chrono::steady_clock::now() + waitLimit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        Sleep(1);
    }
    return true;
}

// ---- the twelve operations, called with plain arguments ---------------------

int rawTimings[] = {9000, -4500, 560, -560};
constexpr int rawTimingCount = sizeof rawTimings / sizeof rawTimings[0];

std::atomic<int> strayCallbacks{0};

int KORVEX_CALL strayCallback(int, int, IRResults *)
{
    ++strayCallbacks;
    return 0;
}

struct OperationCall
{
    Ordinal ordinal;
    const char *name;
    std::function<int()> call;
};

const std::vector<OperationCall> &operationCalls()
{
    static const std::vector<OperationCall> table = {
        {Ordinal::Device_Scan, "Device_Scan", [] { return Device_Scan(0); }},
        {Ordinal::Device_Open, "Device_Open", [] { return int{Device_Open(0)}; }},
        {Ordinal::IR_NEC_Send, "IR_NEC_Send", [] { return IR_NEC_Send(0, 1, 0x12, 0x34, 1); }},
        {Ordinal::IR_NEC_SendRepeat, "IR_NEC_SendRepeat", [] { return IR_NEC_SendRepeat(0, 1); }},
        {Ordinal::IR_ITT_Send, "IR_ITT_Send", [] { return IR_ITT_Send(0, 1, 0x12, 0x34); }},
        {Ordinal::IR_JVC_Send, "IR_JVC_Send", [] { return IR_JVC_Send(0, 1, 1, 0x12, 0x34); }},
        {Ordinal::IR_NRC17_Send, "IR_NRC17_Send",
            [] { return IR_NRC17_Send(0, 1, 0x12, 0x34, 0x56); }},
        {Ordinal::IR_RCA_Send, "IR_RCA_Send", [] { return IR_RCA_Send(0, 1, 0x12, 0x34); }},
        {Ordinal::IR_SendProtocol, "IR_SendProtocol",
            [] {
                IRSendData data{};
                data.protocol = 3;
                data.bits = 32;
                return IR_SendProtocol(0, 1, 38, data);
            }},
        {Ordinal::IR_SendRaw, "IR_SendRaw",
            [] { return IR_SendRaw(0, 1, 38, rawTimings, rawTimingCount); }},
        {Ordinal::IR_ReceiveStart, "IR_ReceiveStart",
            [] { return IR_ReceiveStart(0, 1, strayCallback); }},
        {Ordinal::IR_ReceiveStop, "IR_ReceiveStop", [] { return IR_ReceiveStop(0); }},
    };
    return table;
}

// ---- the stand-in's controls ------------------------------------------------

struct StandIn
{
    StandInSetResult setResult = nullptr;
    StandInTakeCalls takeCalls = nullptr;
    StandInSetFrames setFrames = nullptr;
    StandInReceiveThreadId receiveThreadId = nullptr;

    std::vector<StandInCall> calls() const
    {
        std::vector<StandInCall> out(64);
        const int32_t count = takeCalls(out.data(), static_cast<int32_t>(out.size()));
        out.resize(static_cast<size_t>(count));
        return out;
    }
};

template <typename Fn> Fn control(HMODULE module, const char *name)
{
    const auto generic = reinterpret_cast<void (*)()>(GetProcAddress(module, name));
    return reinterpret_cast<Fn>(generic);
}

bool bindStandIn(StandIn &standIn)
{
    const HMODULE module = GetModuleHandleW(dllName);
    if (!module) {
        return false;
    }
    standIn.setResult = control<StandInSetResult>(module, "StandIn_SetResult");
    standIn.takeCalls = control<StandInTakeCalls>(module, "StandIn_TakeCalls");
    standIn.setFrames = control<StandInSetFrames>(module, "StandIn_SetFrames");
    standIn.receiveThreadId = control<StandInReceiveThreadId>(module, "StandIn_ReceiveThreadId");
    return standIn.setResult && standIn.takeCalls && standIn.setFrames && standIn.receiveThreadId;
}

StandInWord word(const void *pointer)
{
    return reinterpret_cast<uintptr_t>(pointer);
}

// ---- reception --------------------------------------------------------------

struct Received
{
    int device;
    int channel;
    IRResults record;
    std::vector<int> raw;
    DWORD threadId;
};

struct Receiver
{
    std::mutex mutex;
    std::vector<Received> frames;
    std::atomic<int> count{0};
    std::atomic<bool> inCallback{false};
    std::atomic<bool> stopReturned{false};
    std::atomic<int> late{0};
    std::atomic<int> slowMs{0};

    void reset()
    {
        std::lock_guard<std::mutex> guard(mutex);
        frames.clear();
        count = 0;
        late = 0;
        stopReturned = false;
    }
};

Receiver receiver;

int KORVEX_CALL receiveCallback(int DeviceIndex, int ChannelIndex, IRResults *pIRResults)
{
    receiver.inCallback = true;
    if (receiver.stopReturned) {
        ++receiver.late;
    }
    Received frame{DeviceIndex, ChannelIndex, *pIRResults, {}, GetCurrentThreadId()};
    if (pIRResults->raw_data && pIRResults->raw_count > 0) {
        frame.raw.assign(pIRResults->raw_data, pIRResults->raw_data + pIRResults->raw_count);
    }
    {
        std::lock_guard<std::mutex> guard(receiver.mutex);
        receiver.frames.push_back(std::move(frame));
    }
    ++receiver.count;
    if (const int slow = receiver.slowMs) {
        Sleep(static_cast<DWORD>(slow));
    }
    receiver.inCallback = false;
    return 0;
}

// ---- scenario: the stand-in DLL is in the program's folder -------------------

void testLoading(StandIn &standIn)
{
    CHECK(GetModuleHandleW(dllName) == nullptr); // nothing loaded before the first operation
    CHECK(Device_Scan(0) > 0);
    const HMODULE module = GetModuleHandleW(dllName);
    if (!CHECK(module != nullptr)) {
        return;
    }
    CHECK_EQ(utf8(moduleFile(module)), utf8(expectedDllPath()));
    if (!CHECK(bindStandIn(standIn))) {
        return;
    }
    const std::vector<StandInCall> calls = standIn.calls();
    if (CHECK_EQ(calls.size(), 1u)) {
        CHECK_EQ(calls[0].ordinal, static_cast<int32_t>(Ordinal::Device_Scan));
    }
    // Further operations use the same module.
    Device_Open(0);
    CHECK(GetModuleHandleW(dllName) == module);
    CHECK(loggedLines().empty());
    standIn.calls();
}

struct ArgumentCase
{
    const char *what;
    Ordinal ordinal;
    std::function<void()> call;
    std::vector<StandInWord> words;
    // Per word, the bits that carry meaning (all when empty).
    std::vector<StandInWord> meaningful;
};

void testArguments(const StandIn &standIn)
{
    std::vector<int> fullRaw(standInMaxTimings);
    for (int i = 0; i < standInMaxTimings; ++i) {
        fullRaw[static_cast<size_t>(i)] = (i % 2 ? -1 : 1) * (i * 37 + 1);
    }
    int oneRaw[] = {-2147483647 - 1};

    IRSendData nec{};
    nec.protocol = 3;
    nec.repeat = 1;
    nec.address = 0xFFFF;
    nec.value = 0x11223344;
    nec.bits = 32;
    IRSendData lego{};
    lego.protocol = 17;
    lego.repeat = 0;
    lego.address = 0;
    lego.value = 0xFFFFFFFF;
    lego.bits = 0;
    // Byte 5 of IRSendData is padding; byte 4 is the repeat flag and bytes 6-7
    // the address.
    const StandInWord all = ~StandInWord{0};
    const StandInWord noPadding = 0xFFFF00FF;
    const std::vector<StandInWord> recordMask = {all, all, all, all, noPadding, all, all};

    const std::vector<ArgumentCase> cases = {
        {"Device_Scan", Ordinal::Device_Scan, [] { Device_Scan(0); }, {0}, {}},
        {"Device_Open 9", Ordinal::Device_Open, [] { Device_Open(9); }, {9}, {}},
        {"IR_NEC_Send bytes 0,255,1", Ordinal::IR_NEC_Send,
            [] { IR_NEC_Send(9, 1 << 15, 0, 255, 1); }, {9, 0x8000, 0, 255, 1}, {}},
        {"IR_NEC_Send bytes 255,0,0", Ordinal::IR_NEC_Send, [] { IR_NEC_Send(0, 1, 255, 0, 0); },
            {0, 1, 255, 0, 0}, {}},
        {"IR_NEC_SendRepeat", Ordinal::IR_NEC_SendRepeat, [] { IR_NEC_SendRepeat(3, 1 << 4); },
            {3, 0x10}, {}},
        {"IR_ITT_Send", Ordinal::IR_ITT_Send, [] { IR_ITT_Send(1, 1 << 2, 255, 0); },
            {1, 4, 255, 0}, {}},
        {"IR_JVC_Send first frame", Ordinal::IR_JVC_Send, [] { IR_JVC_Send(2, 1 << 1, 1, 0, 255); },
            {2, 2, 1, 0, 255}, {}},
        {"IR_JVC_Send repeat", Ordinal::IR_JVC_Send, [] { IR_JVC_Send(2, 1, 0, 255, 0); },
            {2, 1, 0, 255, 0}, {}},
        {"IR_NRC17_Send start/stop frame", Ordinal::IR_NRC17_Send,
            [] { IR_NRC17_Send(4, 1 << 3, 254, 255, 255); }, {4, 8, 254, 255, 255}, {}},
        {"IR_NRC17_Send zero bytes", Ordinal::IR_NRC17_Send, [] { IR_NRC17_Send(4, 1, 0, 0, 0); },
            {4, 1, 0, 0, 0}, {}},
        {"IR_RCA_Send", Ordinal::IR_RCA_Send, [] { IR_RCA_Send(5, 1 << 14, 255, 255); },
            {5, 0x4000, 255, 255}, {}},
        {"IR_SendProtocol NEC record", Ordinal::IR_SendProtocol,
            [&] { IR_SendProtocol(6, 1 << 5, 38, nec); },
            {6, 0x20, 38, 3, 0xFFFF0001, 0x11223344, 32}, recordMask},
        {"IR_SendProtocol LEGO_PF record", Ordinal::IR_SendProtocol,
            [&] { IR_SendProtocol(7, 1, 56, lego); }, {7, 1, 56, 17, 0, 0xFFFFFFFF, 0}, recordMask},
        {"IR_SendRaw 256 timings", Ordinal::IR_SendRaw,
            [&] { IR_SendRaw(8, 1 << 15, 40, fullRaw.data(), standInMaxTimings); },
            {8, 0x8000, 40, word(fullRaw.data()), standInMaxTimings}, {}},
        {"IR_SendRaw one timing", Ordinal::IR_SendRaw, [&] { IR_SendRaw(0, 1, 36, oneRaw, 1); },
            {0, 1, 36, word(oneRaw), 1}, {}},
        {"IR_ReceiveStart D7", Ordinal::IR_ReceiveStart,
            [] { IR_ReceiveStart(9, 0x80, receiveCallback); },
            {9, 0x80, word(reinterpret_cast<const void *>(&receiveCallback))}, {}},
        {"IR_ReceiveStop", Ordinal::IR_ReceiveStop, [] { IR_ReceiveStop(9); }, {9}, {}},
    };

    for (const ArgumentCase &c : cases) {
        standIn.calls();
        c.call();
        const std::vector<StandInCall> calls = standIn.calls();
        const std::string what = std::string(c.what) + ": ";
        if (!check(calls.size() == 1, what + "one call reaches the DLL", __FILE__, __LINE__)) {
            continue;
        }
        const StandInCall &call = calls[0];
        check(
            call.ordinal == static_cast<int32_t>(c.ordinal), what + "ordinal", __FILE__, __LINE__);
        check(call.threadId == GetCurrentThreadId(), what + "caller's thread", __FILE__, __LINE__);
        if (!check(call.wordCount == static_cast<int32_t>(c.words.size()), what + "word count",
                __FILE__, __LINE__)) {
            continue;
        }
        for (size_t i = 0; i < c.words.size(); ++i) {
            const StandInWord mask = c.meaningful.empty() ? all : c.meaningful[i];
            char detail[96];
            std::snprintf(detail, sizeof detail, "word %u: got 0x%08llX, expected 0x%08llX",
                static_cast<unsigned>(i), static_cast<unsigned long long>(call.words[i]),
                static_cast<unsigned long long>(c.words[i]));
            check((call.words[i] & mask) == (c.words[i] & mask), what + detail, __FILE__, __LINE__);
        }
        if (c.ordinal == Ordinal::IR_SendRaw) {
            const int count = static_cast<int>(c.words[4]);
            const int *sent = reinterpret_cast<const int *>(static_cast<uintptr_t>(c.words[3]));
            check(call.timingCount == count
                    && std::memcmp(call.timings, sent, sizeof(int) * static_cast<size_t>(count))
                        == 0,
                what + "the DLL reads the exact timings", __FILE__, __LINE__);
        }
    }
}

void testResults(const StandIn &standIn)
{
    struct ResultCase
    {
        Ordinal ordinal;
        uint32_t scripted;
        int expected;
    };
    const std::vector<ResultCase> cases = {
        {Ordinal::Device_Scan, 0, 0},
        {Ordinal::Device_Scan, 10, 10},
        {Ordinal::Device_Scan, 0xFFFFFFFF, -1},
        // Device_Open answers a byte: only the low eight bits of the register count.
        {Ordinal::Device_Open, 0, 0},
        {Ordinal::Device_Open, 1, 1},
        {Ordinal::Device_Open, 0xABCD0100, 0},
        {Ordinal::Device_Open, 0xABCD01FF, 0xFF},
    };
    for (const ResultCase &c : cases) {
        standIn.setResult(static_cast<int32_t>(c.ordinal), c.scripted);
        for (const OperationCall &op : operationCalls()) {
            if (op.ordinal == c.ordinal) {
                checkEqual(op.call(), c.expected, op.name, __FILE__, __LINE__);
            }
        }
    }
    // Status results of the other ten pass through unchanged.
    const uint32_t statuses[] = {0, 7, 0xFFFFFFFF};
    for (const uint32_t status : statuses) {
        for (const OperationCall &op : operationCalls()) {
            if (op.ordinal == Ordinal::Device_Scan || op.ordinal == Ordinal::Device_Open) {
                continue;
            }
            standIn.setResult(static_cast<int32_t>(op.ordinal), status);
            checkEqual(op.call(), static_cast<int>(status), op.name, __FILE__, __LINE__);
        }
    }
    // Whatever IR_ReceiveStart answered, no reception may be left running.
    standIn.setResult(static_cast<int32_t>(Ordinal::IR_ReceiveStop), 0);
    IR_ReceiveStop(0);
    for (const OperationCall &op : operationCalls()) {
        standIn.setResult(static_cast<int32_t>(op.ordinal), 0);
    }
    standIn.setResult(static_cast<int32_t>(Ordinal::Device_Scan), 1);
    standIn.setResult(static_cast<int32_t>(Ordinal::Device_Open), 1);
    standIn.calls();
}

bool sameFrame(const Received &got, const IRResults &sent, const std::vector<int> &raw)
{
    return got.record.decode_type == sent.decode_type && got.record.address == sent.address
        && got.record.value == sent.value && got.record.bits == sent.bits
        && got.record.raw_count == sent.raw_count && got.record.extra == sent.extra
        && got.raw == raw;
}

void testReception(const StandIn &standIn)
{
    std::vector<int> longRaw(standInMaxTimings);
    for (int i = 0; i < standInMaxTimings; ++i) {
        longRaw[static_cast<size_t>(i)] = (i % 2 ? -1 : 1) * (560 + i);
    }
    std::vector<int> shortRaw = {9000, -4500, 560, -560, 560};
    IRResults scripted[3] = {};
    scripted[0] = {3, 0x00FF, 0xFFFFFFFF, 0, nullptr, 0, 0};
    scripted[1] = {-1, 0x12345678, 0x89ABCDEF, 32, longRaw.data(), standInMaxTimings, -7};
    scripted[2] = {17, 0xFFFFFFFF, 0, 16, shortRaw.data(), 5, 0x7FFFFFFF};
    const std::vector<int> raws[3] = {{}, longRaw, shortRaw};
    standIn.setFrames(scripted, 3);

    const int device = 2;
    const int channel = 3;
    const int wanted = 12;
    receiver.reset();
    CHECK_EQ(IR_ReceiveStart(device, static_cast<unsigned char>(1 << channel), receiveCallback), 0);
    CHECK(waitFor([&] { return receiver.count >= wanted; }));
    CHECK_EQ(IR_ReceiveStop(device), 0);
    receiver.stopReturned = true;
    CHECK(!receiver.inCallback);
    const int atStop = receiver.count;
    Sleep(static_cast<DWORD>(std::chrono::milliseconds(quietPeriod).count()));
    CHECK_EQ(receiver.count.load(), atStop);
    CHECK_EQ(receiver.late.load(), 0);

    const DWORD dllThread = standIn.receiveThreadId();
    CHECK(dllThread != 0);
    CHECK(dllThread != GetCurrentThreadId());
    std::lock_guard<std::mutex> guard(receiver.mutex);
    CHECK(receiver.frames.size() >= static_cast<size_t>(wanted));
    for (size_t i = 0; i < receiver.frames.size(); ++i) {
        const Received &got = receiver.frames[i];
        const std::string which = "frame " + std::to_string(i) + ": ";
        check(got.threadId == dllThread, which + "arrives on the DLL's thread", __FILE__, __LINE__);
        check(got.device == device && got.channel == channel, which + "device and channel",
            __FILE__, __LINE__);
        check(sameFrame(got, scripted[i % 3], raws[i % 3]), which + "record and raw timings",
            __FILE__, __LINE__);
    }
}

// Stopping while a callback runs: IR_ReceiveStop waits for it, and nothing
// arrives once it has returned; over and over.
void testStopDuringCallback(const StandIn &standIn)
{
    IRResults frame = {3, 1, 2, 32, nullptr, 0, 0};
    standIn.setFrames(&frame, 1);
    const int cycles = 20;
    const int slowMs = 20;
    receiver.slowMs = slowMs;
    for (int cycle = 0; cycle < cycles; ++cycle) {
        receiver.reset();
        if (!CHECK_EQ(IR_ReceiveStart(1, 1, receiveCallback), 0)) {
            break;
        }
        CHECK(waitFor([] { return receiver.inCallback.load(); }));
        CHECK_EQ(IR_ReceiveStop(1), 0);
        receiver.stopReturned = true;
        CHECK(!receiver.inCallback);
        Sleep(static_cast<DWORD>(slowMs * 2));
        CHECK_EQ(receiver.late.load(), 0);
    }
    receiver.slowMs = 0;
    standIn.setFrames(nullptr, 0);
}

void runAdapter()
{
    korvexDllSetLog(captureLog);
    StandIn standIn;
    runGroup("loading from the program's folder", [&] { testLoading(standIn); });
    if (!standIn.takeCalls) {
        return;
    }
    runGroup("exact arguments", [&] { testArguments(standIn); });
    runGroup("results", [&] { testResults(standIn); });
    runGroup("reception", [&] { testReception(standIn); });
    runGroup("stop during a callback", [&] { testStopDuringCallback(standIn); });
    runGroup("no diagnostics", [] { CHECK(loggedLines().empty()); });
}

// ---- scenario: no usable Korvex.dll ------------------------------------------

void runNoAdapter(const std::string &why)
{
    korvexDllSetLog(captureLog);
    runGroup("every operation fails", [] {
        const int rounds = 2;
        for (int round = 0; round < rounds; ++round) {
            for (const OperationCall &op : operationCalls()) {
                const int result = op.call();
                const bool noAdapter
                    = op.ordinal == Ordinal::Device_Scan || op.ordinal == Ordinal::Device_Open
                    ? result == 0
                    : result != 0;
                check(noAdapter, std::string(op.name) + " answers no adapter, got " + show(result),
                    __FILE__, __LINE__);
            }
        }
        Sleep(static_cast<DWORD>(std::chrono::milliseconds(quietPeriod).count()));
        CHECK_EQ(strayCallbacks.load(), 0);
    });
    runGroup("one diagnostic line says why", [&] {
        const std::vector<std::string> lines = loggedLines();
        if (CHECK_EQ(lines.size(), 1u)) {
            const std::string path = utf8(expectedDllPath());
            check(lines[0].find(path) != std::string::npos, "\"" + lines[0] + "\" names " + path,
                __FILE__, __LINE__);
            check(lines[0].find(why) != std::string::npos, "\"" + lines[0] + "\" says " + why,
                __FILE__, __LINE__);
        }
    });
    runGroup("nothing stays loaded", [] { CHECK(GetModuleHandleW(dllName) == nullptr); });
}

} // namespace

int main(int argc, char **argv)
{
    const std::string scenario = argc > 1 ? argv[1] : "";
    if (scenario == "adapter" && argc == 2) {
        runAdapter();
    } else if (scenario == "no-adapter" && argc == 3) {
        runNoAdapter(argv[2]);
    } else {
        std::fprintf(stderr, "usage: %s adapter | no-adapter <expected reason>\n", argv[0]);
        return 2;
    }
    std::printf("%s: %d checks, %d failed\n", scenario.c_str(), checkCount, failureCount);
    return failureCount == 0 && checkCount > 0 ? 0 : 1;
}
