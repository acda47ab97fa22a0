#pragma once
// Valid meter responses built from their parts, checksum included.

#include "link/frame.h"

#include <QByteArray>
#include <cstdint>

namespace zr::test
{

// The function code, the length byte (payload and checksum), the payload, the checksum.
inline QByteArray Response(uint8_t code, const QByteArray& payload = {})
{
    return frame::AppendCrc(QByteArray(1, char(code)) + char(payload.size() + 2) + payload);
}
// A response whose length byte says `length` whatever the payload holds: short and odd answers.
inline QByteArray ResponseWithLength(uint8_t code, int length, const QByteArray& payload)
{
    return frame::AppendCrc(QByteArray(1, char(code)) + char(length) + payload);
}
// The shortest valid answer to a request (with or without its checksum): its code and L = 2.
inline QByteArray Ack(const QByteArray& request)
{
    return Response(uint8_t(request[0]));
}

} // namespace zr::test
