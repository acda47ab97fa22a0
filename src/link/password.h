#pragma once
// The password bytes of functions 20 and 21: single-byte codes of the typed text, scrambled with
// the meter's factory number and running-time counter just before the request goes on the line.

#include <QByteArray>
#include <QString>
#include <cstdint>

namespace zr::link
{

constexpr int kPasswordLength = 6;

// The first six characters as Windows-1251 codes, zero-padded to six bytes.
QByteArray PasswordBytes(const QString& text);
// XORs the factory number's three low bytes and the running time's two low bytes into the six
// plain bytes (see the password insertion of the command queue).
QByteArray ScramblePassword(QByteArray plain6, uint32_t factoryNumber, uint32_t runningTime);
// Tool tip of a password edit: each of the six bytes as two hex digits and a blank.
QString PasswordHint(const QString& text);
// The tool tip before the first change of either edit.
inline const QString kInitialPasswordHint = QStringLiteral("00 00 00 00 00 00");

} // namespace zr::link
