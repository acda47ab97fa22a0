#pragma once
// Bytes written as hex text, both ways.

#include <QByteArray>
#include <QString>

namespace zr::test
{

// Blanks between the digit pairs are allowed.
inline QByteArray Hex(const char* text)
{
    return QByteArray::fromHex(text);
}
inline QByteArray Hex(const QString& text)
{
    return QByteArray::fromHex(text.toLatin1());
}
// Upper-case digits without blanks.
inline QString HexText(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex().toUpper());
}

} // namespace zr::test
