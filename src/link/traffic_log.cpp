#include "link/traffic_log.h"

namespace zr::link
{

namespace
{

QString Stamp(const QTime& time)
{
    return time.toString(QStringLiteral("HH:mm:ss.zzz"));
}

} // namespace

QString HexBytes(const QByteArray& bytes)
{
    QString text;
    text.reserve(bytes.size() * 3);
    for (const char byte : bytes)
        text += QStringLiteral("%1 ").arg(uint8_t(byte), 2, 16, QLatin1Char('0')).toUpper();
    return text;
}

QString SendAddressLine(const QTime& time, uint8_t address)
{
    return Stamp(time) + QStringLiteral(" Send ") +
           HexBytes(QByteArray(1, char(address))).trimmed();
}

QString ReceivedLine(const QTime& time, const QByteArray& bytes)
{
    return Stamp(time) + QStringLiteral(" Received: ") + HexBytes(bytes);
}

QString SendFrameLine(const QTime& time, const QByteArray& frame)
{
    return Stamp(time) + QStringLiteral(" Send ") + HexBytes(frame);
}

QString TimeoutLine(const QTime& time)
{
    return time.toString(QStringLiteral("HH:mm:ss:zzz")) + QStringLiteral(" Timeout.");
}

} // namespace zr::link
