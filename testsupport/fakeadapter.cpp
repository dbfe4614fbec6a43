#include "fakeadapter.h"

namespace fake {

Adapter &Adapter::instance()
{
    static Adapter adapter;
    return adapter;
}

void Adapter::reset()
{
    std::lock_guard<std::mutex> lock(mutex);
    log.clear();
    results.clear();
    queued.clear();
    hooks.clear();
    scan = 1;
    openOverride = -1;
    storedCallback = nullptr;
}

void Adapter::setScanCount(int count)
{
    std::lock_guard<std::mutex> lock(mutex);
    scan = count;
}

void Adapter::setOpenResult(bool opened)
{
    std::lock_guard<std::mutex> lock(mutex);
    openOverride = opened ? 1 : 0;
}

void Adapter::setResult(const std::string &op, int result)
{
    std::lock_guard<std::mutex> lock(mutex);
    results[op] = result;
}

void Adapter::queueResults(const std::string &op, std::deque<int> answers)
{
    std::lock_guard<std::mutex> lock(mutex);
    queued[op] = std::move(answers);
}

void Adapter::setHook(const std::string &op, std::function<void()> hook)
{
    std::lock_guard<std::mutex> lock(mutex);
    hooks[op] = std::move(hook);
}

std::vector<Call> Adapter::calls() const
{
    std::lock_guard<std::mutex> lock(mutex);
    return log;
}

std::vector<Call> Adapter::calls(const std::string &op) const
{
    std::lock_guard<std::mutex> lock(mutex);
    std::vector<Call> matching;
    for (const Call &call : log) {
        if (call.op == op)
            matching.push_back(call);
    }
    return matching;
}

int Adapter::count(const std::string &op) const
{
    return static_cast<int>(calls(op).size());
}

void Adapter::clearCalls()
{
    std::lock_guard<std::mutex> lock(mutex);
    log.clear();
}

IRReceiveCallback Adapter::callback() const
{
    std::lock_guard<std::mutex> lock(mutex);
    return storedCallback;
}

int Adapter::deliver(int deviceIndex, int channelIndex, IRResults *results)
{
    IRReceiveCallback cb = callback();
    return cb ? cb(deviceIndex, channelIndex, results) : 0;
}

int Adapter::scanCount() const
{
    std::lock_guard<std::mutex> lock(mutex);
    return scan;
}

bool Adapter::openAnswer(int deviceIndex) const
{
    std::lock_guard<std::mutex> lock(mutex);
    if (openOverride >= 0)
        return openOverride == 1;
    return deviceIndex >= 0 && deviceIndex < scan;
}

int Adapter::answerLocked(const std::string &op)
{
    auto q = queued.find(op);
    if (q != queued.end() && !q->second.empty()) {
        const int answer = q->second.front();
        q->second.pop_front();
        return answer;
    }
    auto r = results.find(op);
    return r == results.end() ? 0 : r->second;
}

int Adapter::record(Call call, IRReceiveCallback callback, bool start, bool stop)
{
    call.time = std::chrono::steady_clock::now();
    call.thread = std::this_thread::get_id();
    std::function<void()> hook;
    int answer;
    {
        std::lock_guard<std::mutex> lock(mutex);
        const std::string op = call.op;
        log.push_back(std::move(call));
        answer = answerLocked(op);
        if (start && answer == 0)
            storedCallback = callback;
        if (stop)
            storedCallback = nullptr;
        auto h = hooks.find(op);
        if (h != hooks.end())
            hook = h->second;
    }
    if (hook)
        hook();
    return answer;
}

} // namespace fake

// The C operations, recording into the one fake adapter.
using fake::Adapter;
using fake::Call;

namespace {
Call makeCall(const char *op, std::vector<long long> args)
{
    Call call;
    call.op = op;
    call.args = std::move(args);
    return call;
}
} // namespace

extern "C" {

int KORVEX_CALL Device_Scan(int reserved)
{
    Adapter &a = Adapter::instance();
    a.record(makeCall("Device_Scan", {reserved}));
    return a.scanCount();
}

unsigned char KORVEX_CALL Device_Open(int deviceIndex)
{
    Adapter &a = Adapter::instance();
    a.record(makeCall("Device_Open", {deviceIndex}));
    return a.openAnswer(deviceIndex) ? 1 : 0;
}

int KORVEX_CALL IR_NEC_Send(int deviceIndex, int channelMask, unsigned char address,
    unsigned char command, unsigned char haveNot)
{
    return Adapter::instance().record(
        makeCall("IR_NEC_Send", {deviceIndex, channelMask, address, command, haveNot}));
}

int KORVEX_CALL IR_NEC_SendRepeat(int deviceIndex, int channelMask)
{
    return Adapter::instance().record(makeCall("IR_NEC_SendRepeat", {deviceIndex, channelMask}));
}

int KORVEX_CALL IR_ITT_Send(
    int deviceIndex, int channelMask, unsigned char address, unsigned char command)
{
    return Adapter::instance().record(
        makeCall("IR_ITT_Send", {deviceIndex, channelMask, address, command}));
}

int KORVEX_CALL IR_JVC_Send(
    int deviceIndex, int channelMask, int firstFrame, unsigned char address, unsigned char command)
{
    return Adapter::instance().record(
        makeCall("IR_JVC_Send", {deviceIndex, channelMask, firstFrame, address, command}));
}

int KORVEX_CALL IR_NRC17_Send(int deviceIndex, int channelMask, unsigned char address,
    unsigned char command, unsigned char subCode)
{
    return Adapter::instance().record(
        makeCall("IR_NRC17_Send", {deviceIndex, channelMask, address, command, subCode}));
}

int KORVEX_CALL IR_RCA_Send(
    int deviceIndex, int channelMask, unsigned char address, unsigned char command)
{
    return Adapter::instance().record(
        makeCall("IR_RCA_Send", {deviceIndex, channelMask, address, command}));
}

int KORVEX_CALL IR_SendProtocol(int deviceIndex, int channelMask, int freqKHz, IRSendData data)
{
    Call call = makeCall("IR_SendProtocol", {deviceIndex, channelMask, freqKHz});
    call.sendData = data;
    return Adapter::instance().record(std::move(call));
}

int KORVEX_CALL IR_SendRaw(int deviceIndex, int channelMask, int freqKHz, int *timings, int count)
{
    Call call = makeCall("IR_SendRaw", {deviceIndex, channelMask, freqKHz, count});
    if (timings && count > 0)
        call.timings.assign(timings, timings + count);
    return Adapter::instance().record(std::move(call));
}

int KORVEX_CALL IR_ReceiveStart(
    int deviceIndex, unsigned char channelMask, IRReceiveCallback callback)
{
    return Adapter::instance().record(
        makeCall("IR_ReceiveStart", {deviceIndex, channelMask}), callback, true, false);
}

int KORVEX_CALL IR_ReceiveStop(int deviceIndex)
{
    return Adapter::instance().record(
        makeCall("IR_ReceiveStop", {deviceIndex}), nullptr, false, true);
}

} // extern "C"
