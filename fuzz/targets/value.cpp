// The general sender's data value: any text parses without harm, and every
// int written in decimal, hexadecimal or octal comes back as its 32-bit
// pattern.
#include "fuzzinput.h"
#include "fuzztarget.h"
#include "sendtext.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput input(data, size);
    const int32_t number = input.take<int32_t>();
    const uint32_t pattern = static_cast<uint32_t>(number);
    FUZZ_CHECK(sendtext::parseValue(QString::number(number)) == pattern);
    if (number >= 0) {
        FUZZ_CHECK(
            sendtext::parseValue(QStringLiteral("0x") + QString::number(number, 16)) == pattern);
        FUZZ_CHECK(
            sendtext::parseValue(QStringLiteral("0") + QString::number(number, 8)) == pattern);
    }
    const std::string rest = input.rest();
    sendtext::parseValue(QString::fromUtf8(rest.data(), static_cast<int>(rest.size())));
    return 0;
}
