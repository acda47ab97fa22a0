#pragma once
// Lines of the traffic log, one per byte chunk sent or received and per time-out.

#include <QByteArray>
#include <QString>
#include <QTime>
#include <cstdint>

namespace zr::link
{

// Every byte as two upper-case hex digits followed by one blank.
QString HexBytes(const QByteArray& bytes);
// "HH:MM:SS.mmm Send 05"
QString SendAddressLine(const QTime& time, uint8_t address);
// "HH:MM:SS.mmm Received: 05 "
QString ReceivedLine(const QTime& time, const QByteArray& bytes);
// "HH:MM:SS.mmm Send 01 02 81 E1 "
QString SendFrameLine(const QTime& time, const QByteArray& frame);
// "HH:MM:SS:mmm Timeout." (a colon before the milliseconds, unlike the other lines)
QString TimeoutLine(const QTime& time);

} // namespace zr::link
