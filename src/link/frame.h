#pragma once
// Request and response frames: function code, length L, payload, CRC-16/MODBUS (low byte first).
// Pure functions over byte strings; nothing here keeps state.

#include <QByteArray>
#include <QString>
#include <cstdint>

namespace zr::frame
{

constexpr int kMaxFrame = 257;

uint16_t Crc16(const char* data, int size);
// Frame without checksum -> frame with checksum appended (low byte first).
QByteArray AppendCrc(const QByteArray& frame);
// True when the last two bytes are the checksum of all bytes before them. Needs at least two bytes.
bool CrcValid(const QByteArray& bytes);
// Operation name of code modulo 128, or "неизвестная функция".
QString FunctionName(uint8_t code);
// At least two bytes and at least (second byte + 2) of them.
bool ResponseComplete(const QByteArray& buffer);
QString ErrorText(uint8_t errorCode);

struct Judgement {
    enum Kind { Valid, Error, Invalid };
    Kind kind = Valid;
    uint8_t errorCode = 0; // meaningful for Error
    QString message;       // empty for Valid
};
// Judges a complete receive buffer against the request that was sent.
Judgement ClassifyResponse(const QByteArray& request, const QByteArray& buffer);

} // namespace zr::frame
