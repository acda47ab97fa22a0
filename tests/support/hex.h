#pragma once
// Bytes written as hex text, both ways.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

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

// Every frame as spaced upper-case digit pairs, frames separated by " | ".
inline QString FramesText(const QList<QByteArray>& frames)
{
    QStringList parts;
    for (const QByteArray& f : frames)
        parts.append(QString::fromLatin1(f.toHex(' ')).toUpper());
    return parts.join(QStringLiteral(" | "));
}

} // namespace zr::test
