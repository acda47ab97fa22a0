#include "link/password.h"

#include "link/traffic_log.h"

namespace zr::link
{

namespace
{

// Unicode of the codes 0x80-0xBF; 0x98 has no character.
constexpr char16_t kHighHalf[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409,
    0x2039, 0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x0000, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0,
    0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB,
    0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6,
    0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457};

} // namespace

uint8_t Cp1251Code(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80)
        return uint8_t(u);
    if (u >= 0x0410 && u <= 0x044F) // А..я
        return uint8_t(0xC0 + (u - 0x0410));
    for (int i = 0; i < 64; ++i) {
        if (kHighHalf[i] != 0 && kHighHalf[i] == u)
            return uint8_t(0x80 + i);
    }
    return '?';
}

QByteArray PasswordBytes(const QString& text)
{
    QByteArray bytes(kPasswordLength, '\0');
    for (int i = 0; i < kPasswordLength && i < text.size(); ++i)
        bytes[i] = char(Cp1251Code(text.at(i)));
    return bytes;
}

QByteArray ScramblePassword(QByteArray plain6, uint32_t factoryNumber, uint32_t runningTime)
{
    plain6.resize(kPasswordLength, '\0');
    for (int i = 0; i < 3; ++i) {
        const char n = char((factoryNumber >> (8 * i)) & 0xFF);
        plain6[i] = char(plain6[i] ^ n);
        plain6[i + 3] = char(plain6[i + 3] ^ n);
    }
    const char t0 = char(runningTime & 0xFF);
    const char t1 = char((runningTime >> 8) & 0xFF);
    for (int i = 0; i < kPasswordLength; i += 2) {
        plain6[i] = char(plain6[i] ^ t0);
        plain6[i + 1] = char(plain6[i + 1] ^ t1);
    }
    return plain6;
}

QString PasswordHint(const QString& text)
{
    return HexBytes(PasswordBytes(text));
}

} // namespace zr::link
