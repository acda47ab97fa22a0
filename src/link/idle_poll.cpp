#include "link/idle_poll.h"

#include "link/function_code.h"

namespace zr::link
{

QByteArray IdleRequest(unsigned step, const QString& tariffText)
{
    static const char* const kFrames[kIdleSteps] = {
        "0002", "0102", "0402", "2202", "0802",   "1102",   "1E02",   "0F03",  "0C02",
        "2C02", "1002", "0D02", "0A02", "200300", "200301", "200302", "200303"};
    QByteArray frame = QByteArray::fromHex(kFrames[step % kIdleSteps]);
    if (uint8_t(frame[0]) == ReadReading) {
        bool ok = false;
        const int tariff = tariffText.trimmed().toInt(&ok);
        frame.append(char(ok ? tariff - 1 : 0));
    }
    return frame;
}

} // namespace zr::link
