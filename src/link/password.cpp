#include "link/password.h"

#include "link/cp1251.h"
#include "link/traffic_log.h"

namespace zr::link
{

QByteArray PasswordBytes(const QString& text)
{
    QByteArray bytes = Cp1251Bytes(text.left(kPasswordLength));
    bytes.resize(kPasswordLength, '\0');
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
