#pragma once
// Windows-1251, the meter's and the stored files' single-byte code page.

#include <QByteArray>
#include <QChar>
#include <QString>
#include <cstdint>

namespace zr::link
{

// Code of one UTF-16 unit; '?' for characters the code page lacks.
uint8_t Cp1251Code(QChar c);
// The whole text, one byte per UTF-16 unit.
QByteArray Cp1251Bytes(const QString& text);

} // namespace zr::link
