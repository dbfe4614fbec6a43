#ifndef SENDTEXT_H
#define SENDTEXT_H

#include "korvex.h"

#include <QString>
#include <QVector>

#include <cstdint>

// The general sender's text parsing and record filling, kept free of the
// window so that they can be checked on their own.
namespace sendtext {

// Raw timings typed as decimal numbers separated by commas. Empty pieces are
// kept, a piece that is not a decimal int gives 0, pieces after the 256th
// are dropped (irlimits::kMaxRecordRawValues). Never empty: an empty text gives one 0.
QVector<int> parseRawTimings(const QString &text);

// The data value, with automatic base ("0x" hex, leading "0" octal, else
// decimal): any unsigned 32-bit number, or a negative int as its 32-bit
// pattern; 0 when the text is neither.
uint32_t parseValue(const QString &text);

// The record for IR_SendProtocol; its padding byte is 0.
IRSendData makeSendData(
    int32_t protocol, bool repeat, uint16_t address, uint32_t value, int32_t bits);

} // namespace sendtext

#endif // SENDTEXT_H
