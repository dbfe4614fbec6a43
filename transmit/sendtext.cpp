#include "sendtext.h"

#include "irlimits.h"

#include <QStringRef>

#include <algorithm>
#include <cstring>

namespace sendtext {

namespace {
constexpr int kDecimal = 10;
constexpr int kAutomaticBase = 0;
} // namespace

QVector<int> parseRawTimings(const QString &text)
{
    const QVector<QStringRef> pieces = text.splitRef(QLatin1Char(','));
    const int count = std::min(pieces.size(), irlimits::kMaxRecordRawValues);
    QVector<int> timings;
    timings.reserve(count);
    for (int i = 0; i < count; ++i)
        timings.append(pieces.at(i).toInt(nullptr, kDecimal));
    return timings;
}

uint32_t parseValue(const QString &text)
{
    // The whole unsigned range first ("0xE0E040BF" is a common code), then
    // negative numbers as their 32-bit pattern.
    bool ok = false;
    const uint32_t value = text.toUInt(&ok, kAutomaticBase);
    if (ok)
        return value;
    return static_cast<uint32_t>(text.toInt(nullptr, kAutomaticBase));
}

IRSendData makeSendData(
    int32_t protocol, bool repeat, uint16_t address, uint32_t value, int32_t bits)
{
    IRSendData data;
    std::memset(&data, 0, sizeof data);
    data.protocol = protocol;
    data.repeat = repeat ? 1 : 0;
    data.address = address;
    data.value = value;
    data.bits = bits;
    return data;
}

} // namespace sendtext
