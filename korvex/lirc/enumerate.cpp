#include "enumerate.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <optional>
#include <tuple>

namespace korvex_lirc {

namespace fs = std::filesystem;

namespace {

constexpr const char *kRcPrefix = "rc";
constexpr const char *kLircPrefix = "lirc";

// The number of a name made of `prefix` and decimal digits.
std::optional<long> numberAfter(const std::string &name, const std::string &prefix)
{
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0)
        return std::nullopt;
    const std::string digits = name.substr(prefix.size());
    constexpr size_t kMaxDigits = 9;
    if (digits.size() > kMaxDigits
        || !std::all_of(
            digits.begin(), digits.end(), [](unsigned char c) { return std::isdigit(c) != 0; }))
        return std::nullopt;
    return std::stol(digits);
}

struct Found
{
    long rc;
    long lirc;
    std::string name;
};

} // namespace

std::vector<std::string> findDevices(const std::string &sysfsRoot, const std::string &devRoot)
{
    std::vector<Found> found;
    std::error_code error;
    for (const auto &rc : fs::directory_iterator(sysfsRoot, error)) {
        const auto rcNumber = numberAfter(rc.path().filename().string(), kRcPrefix);
        if (!rcNumber)
            continue;
        std::error_code childError;
        for (const auto &child : fs::directory_iterator(rc.path(), childError)) {
            const std::string name = child.path().filename().string();
            if (const auto lircNumber = numberAfter(name, kLircPrefix))
                found.push_back({*rcNumber, *lircNumber, name});
        }
    }
    std::sort(found.begin(), found.end(), [](const Found &a, const Found &b) {
        return std::tie(a.rc, a.lirc) < std::tie(b.rc, b.lirc);
    });
    std::vector<std::string> paths;
    for (const Found &device : found)
        paths.push_back(devRoot + "/" + device.name);
    return paths;
}

} // namespace korvex_lirc
