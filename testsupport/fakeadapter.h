#ifndef FAKEADAPTER_H
#define FAKEADAPTER_H

#include "korvex.h"

#include <chrono>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// A recording stand-in for the adapter library. It implements the twelve C
// operations of korvex.h, records every call with its arguments, the time
// and the calling thread, and answers with scripted results.
namespace fake {

struct Call
{
    std::string op;              // operation name, e.g. "IR_NEC_Send"
    std::vector<long long> args; // scalar arguments in order, bytes zero-extended
    IRSendData sendData{};       // IR_SendProtocol only
    std::vector<int> timings;    // IR_SendRaw only: the Count values passed
    std::chrono::steady_clock::time_point time;
    std::thread::id thread;
};

class Adapter
{
public:
    static Adapter &instance();

    // Back to one attached adapter that opens, every operation succeeding,
    // no calls recorded and no callback stored.
    void reset();

    // Device_Scan's answer. Device_Open succeeds for indices below it.
    void setScanCount(int count);
    // Overrides Device_Open's answer for every index.
    void setOpenResult(bool opened);
    // The answer of every later call of op, until changed.
    void setResult(const std::string &op, int result);
    // Answers for the next calls of op, used before the standing result.
    void queueResults(const std::string &op, std::deque<int> results);
    // Runs while the call of op is recorded, before it answers (on the
    // caller's thread); for tests that act in the middle of a call.
    void setHook(const std::string &op, std::function<void()> hook);

    std::vector<Call> calls() const;
    std::vector<Call> calls(const std::string &op) const;
    int count(const std::string &op) const;
    void clearCalls();

    IRReceiveCallback callback() const;
    // Calls the stored receive callback as the library would; 0 and no call
    // when reception is not running.
    int deliver(int deviceIndex, int channelIndex, IRResults *results);

    // Called by the C operations.
    int record(
        Call call, IRReceiveCallback callback = nullptr, bool start = false, bool stop = false);
    int scanCount() const;
    bool openAnswer(int deviceIndex) const;

private:
    Adapter() = default;
    int answerLocked(const std::string &op);

    mutable std::mutex mutex;
    std::vector<Call> log;
    std::map<std::string, int> results;
    std::map<std::string, std::deque<int>> queued;
    std::map<std::string, std::function<void()>> hooks;
    int scan = 1;
    int openOverride = -1; // -1: by index; 0 or 1: fixed answer
    IRReceiveCallback storedCallback = nullptr;
};

} // namespace fake

#endif // FAKEADAPTER_H
