#include "meter/status.h"

namespace zr::meter
{

QStringList DecodeStatus(uint8_t status)
{
    if (status == 255)
        return {QStringLiteral("Выключение питания")};
    QStringList lines;
    if (status & 0x40)
        lines << QStringLiteral("Дата и время таймера не установлены.");
    for (int phase = 0; phase < 3; ++phase) {
        const QChar letter(u'A' + phase);
        switch ((status >> (2 * phase)) & 3) {
        case 1:
            lines << QStringLiteral("Фаза %1: потребление ДДМ > ББ.").arg(letter);
            break;
        case 2:
            lines << QStringLiteral("Фаза %1: потребление ДДМ < ББ.").arg(letter);
            break;
        case 3:
            lines << QStringLiteral("Отсутствует фаза %1.").arg(letter);
            break;
        default:
            break;
        }
    }
    return lines;
}

} // namespace zr::meter
