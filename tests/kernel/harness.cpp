#include "harness.h"

#include <cstdio>
#include <map>
#include <vector>

namespace harness {

namespace {

struct Count
{
    int sent = 0;
    int agreed = 0;

    void add(bool ok)
    {
        ++sent;
        agreed += ok ? 1 : 0;
    }
};

int passed = 0;
int failed = 0;
// Rows in the order they first appear.
std::vector<std::string> roundTripRows, judgeRows;
std::map<std::string, Count> roundTrips, kernelDecoders, ourDecoders;

void note(std::vector<std::string> &rows, const std::string &row)
{
    for (const std::string &known : rows)
        if (known == row)
            return;
    rows.push_back(row);
}

} // namespace

bool expect(bool ok, const std::string &name, const std::string &detail)
{
    (ok ? passed : failed) += 1;
    if (!ok)
        std::printf("FAIL %s%s%s\n", name.c_str(), detail.empty() ? "" : ": ", detail.c_str());
    std::fflush(stdout);
    return ok;
}

void roundTrip(const std::string &row, bool agreed)
{
    note(roundTripRows, row);
    roundTrips[row].add(agreed);
}

void kernelDecoded(const std::string &row, bool agreed)
{
    note(judgeRows, row);
    kernelDecoders[row].add(agreed);
}

void oursDecoded(const std::string &row, bool agreed)
{
    note(judgeRows, row);
    ourDecoders[row].add(agreed);
}

int finish()
{
    if (!roundTripRows.empty()) {
        std::printf(
            "TABLE round trip through the back end (our encoder, the kernel, our decoder)\n");
        std::printf("TABLE %-14s %6s %6s\n", "protocol", "sent", "agreed");
    }
    for (const std::string &row : roundTripRows)
        std::printf(
            "TABLE %-14s %6d %6d\n", row.c_str(), roundTrips[row].sent, roundTrips[row].agreed);
    if (!judgeRows.empty()) {
        std::printf("TABLE kernel decoders on our frames, our decoders on the kernel's frames\n");
        std::printf("TABLE %-14s %6s %13s %6s %13s\n", "protocol", "sent", "kernel-agreed", "sent",
            "ours-agreed");
    }
    for (const std::string &row : judgeRows) {
        const Count &k = kernelDecoders[row], &o = ourDecoders[row];
        std::printf(
            "TABLE %-14s %6d %13d %6d %13d\n", row.c_str(), k.sent, k.agreed, o.sent, o.agreed);
    }
    std::printf("kernel_check: %d passed, %d failed\n", passed, failed);
    std::fflush(stdout);
    return failed == 0 ? 0 : 1;
}

} // namespace harness
