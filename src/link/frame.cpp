#include "frame.h"

namespace zr::frame
{

uint16_t Crc16(const char* data, int size)
{
    uint16_t crc = 0xFFFF;
    for (int i = 0; i < size; ++i) {
        crc ^= static_cast<uint8_t>(data[i]);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? (crc >> 1) ^ 0xA001 : crc >> 1;
    }
    return crc;
}

QByteArray AppendCrc(const QByteArray& frame)
{
    const uint16_t crc = Crc16(frame.constData(), int(frame.size()));
    QByteArray out = frame;
    out.append(char(crc & 0xFF));
    out.append(char(crc >> 8));
    return out;
}

bool CrcValid(const QByteArray& bytes)
{
    const int n = int(bytes.size());
    if (n < 2)
        return false;
    const uint16_t crc = Crc16(bytes.constData(), n - 2);
    return uint8_t(bytes[n - 2]) == (crc & 0xFF) && uint8_t(bytes[n - 1]) == (crc >> 8);
}

QString FunctionName(uint8_t code)
{
    switch (code % 128) {
    case 0:
        return QStringLiteral("чтение версии ПО");
    case 1:
        return QStringLiteral("чтение номера");
    case 2:
        return QStringLiteral("запись номера");
    case 3:
        return QStringLiteral("запись параметров связи");
    case 4:
        return QStringLiteral("чтение времени");
    case 5:
        return QStringLiteral("запись времени");
    case 6:
        return QStringLiteral("чтение коэффициента лимита тарифного расписания");
    case 7:
        return QStringLiteral("запись коэффициента лимита тарифного расписания");
    case 8:
        return QStringLiteral("чтение тарифного расписания");
    case 9:
        return QStringLiteral("запись тарифного расписания");
    case 10:
        return QStringLiteral("чтение Plc-группы и адреса");
    case 11:
        return QStringLiteral("запись Plc-группы и адреса");
    case 12:
        return QStringLiteral("чтение средней мощности нагрузки");
    case 13:
        return QStringLiteral("чтение индикатора");
    case 14:
        return QStringLiteral("запись индикатора");
    case 15:
        return QStringLiteral("чтение показаний");
    case 16:
        return QStringLiteral("чтение статуса ДДМ");
    case 17:
        return QStringLiteral("чтение счетчиков работы и коррекции");
    case 18:
        return QStringLiteral("чтение годового журнала");
    case 19:
        return QStringLiteral("чтение журнала потребления");
    case 20:
        return QStringLiteral("ввод пароля");
    case 21:
        return QStringLiteral("запись нового пароля");
    case 30:
        return QStringLiteral("чтение времени интегрирования пиковой мощности");
    case 31:
        return QStringLiteral("запись времени интегрирования пиковой мощности");
    case 32:
        return QStringLiteral("чтение маршрута ретрансляции");
    case 33:
        return QStringLiteral("запись маршрута ретрансляции");
    case 34:
        return QStringLiteral("чтение расчетного дня и часа");
    case 35:
        return QStringLiteral("запись расчетного дня и часа");
    case 36:
        return QStringLiteral("сброс показаний РЧД");
    case 38:
        return QStringLiteral("чтение праздников");
    case 39:
        return QStringLiteral("запись праздников");
    case 40:
        return QStringLiteral("чтение переносов");
    case 41:
        return QStringLiteral("запись переносов");
    case 42:
        return QStringLiteral("чтение получасовок");
    case 43:
        return QStringLiteral("чтение пиковых мощностей");
    case 44:
        return QStringLiteral("чтение номера ДДМ");
    case 45:
        return QStringLiteral("запись номера ДДМ");
    default:
        return QStringLiteral("неизвестная функция");
    }
}

bool ResponseComplete(const QByteArray& buffer)
{
    return buffer.size() >= 2 && buffer.size() >= uint8_t(buffer[1]) + 2;
}

QString ErrorText(uint8_t errorCode)
{
    switch (errorCode) {
    case 1:
        return QStringLiteral("Ошибка: Неизвестная функция");
    case 2:
        return QStringLiteral("Ошибка: Неверная длина запроса");
    case 3:
        return QStringLiteral("Ошибка: Неверная контрольная сумма");
    case 4:
        return QStringLiteral("Ошибка: Неверные данные запроса");
    case 5:
        return QStringLiteral("Ошибка: Память защищена");
    case 6:
        return QStringLiteral("Ошибка: Доступ запрещен");
    default:
        return QStringLiteral("Неизвестная ошибка");
    }
}

Judgement ClassifyResponse(const QByteArray& request, const QByteArray& buffer)
{
    const auto first = [](const QByteArray& b) { return b.isEmpty() ? -1 : int(uint8_t(b[0])); };
    if (buffer.size() == 5 && first(buffer) - first(request) == 128 && uint8_t(buffer[1]) == 3 &&
        CrcValid(buffer)) {
        const uint8_t code = uint8_t(buffer[2]);
        return {Judgement::Error, code,
                ErrorText(code) + QStringLiteral(" (") + FunctionName(uint8_t(buffer[0])) +
                    QStringLiteral(")")};
    }
    if (first(buffer) != first(request))
        return {Judgement::Invalid, 0, QStringLiteral("Неверный отклик")};
    if (buffer.size() >= 2 && buffer.size() > uint8_t(buffer[1]) + 2)
        return {Judgement::Invalid, 0, QStringLiteral("Отклик длиннее требуемого")};
    if (!CrcValid(buffer))
        return {Judgement::Invalid, 0, QStringLiteral("Ошибка контрольной суммы")};
    return {};
}

} // namespace zr::frame
