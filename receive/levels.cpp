#include "levels.h"

#include <QStringList>

#include <algorithm>

namespace levels {

namespace {
constexpr double High = 1.0;
constexpr double Low = 0.0;

int partLength(const QString &part)
{
    bool ok = false;
    const int n = part.toInt(&ok, 10);
    return ok && n > 0 ? n : 0;
}
} // namespace

std::vector<double> build(const QString &rawList)
{
    std::vector<int> lengths;
    lengths.push_back(IdleRunSamples);
    // split() keeps empty parts unless told otherwise, in every Qt version.
    for (const QString &part : rawList.split(QLatin1Char(',')))
        lengths.push_back(partLength(part));
    lengths.push_back(IdleRunSamples);

    long long total = 0;
    for (int n : lengths)
        total += n;
    std::vector<double> samples;
    samples.reserve(static_cast<size_t>(std::min<long long>(total, MaxSamples)));
    for (size_t j = 0; j < lengths.size() && samples.size() < MaxSamples; ++j) {
        const size_t room = MaxSamples - samples.size();
        const size_t n = std::min(static_cast<size_t>(lengths[j]), room);
        samples.insert(samples.end(), n, j % 2 == 0 ? High : Low);
    }
    return samples;
}

} // namespace levels
