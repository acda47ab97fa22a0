#include "frame.h"

#include "link/function_code.h"

namespace zr::frame
{

using namespace zr::link;

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
    switch (code & ~kErrorFlag) {
    case ReadVersion:
        return QStringLiteral("чтение версии ПО");
    case ReadNumber:
        return QStringLiteral("чтение номера");
    case WriteNumber:
        return QStringLiteral("запись номера");
    case WriteLinkParameters:
        return QStringLiteral("запись параметров связи");
    case ReadClock:
        return QStringLiteral("чтение времени");
    case WriteClock:
        return QStringLiteral("запись времени");
    case ReadLimitCoefficient:
        return QStringLiteral("чтение коэффициента лимита тарифного расписания");
    case WriteLimitCoefficient:
        return QStringLiteral("запись коэффициента лимита тарифного расписания");
    case ReadSchedule:
        return QStringLiteral("чтение тарифного расписания");
    case WriteSchedule:
        return QStringLiteral("запись тарифного расписания");
    case ReadPlcAddress:
        return QStringLiteral("чтение Plc-группы и адреса");
    case WritePlcAddress:
        return QStringLiteral("запись Plc-группы и адреса");
    case ReadPower:
        return QStringLiteral("чтение средней мощности нагрузки");
    case ReadIndication:
        return QStringLiteral("чтение индикатора");
    case WriteIndication:
        return QStringLiteral("запись индикатора");
    case ReadReading:
        return QStringLiteral("чтение показаний");
    case ReadDdmStatus:
        return QStringLiteral("чтение статуса ДДМ");
    case ReadCounters:
        return QStringLiteral("чтение счетчиков работы и коррекции");
    case ReadYearJournal:
        return QStringLiteral("чтение годового журнала");
    case ReadEventJournal:
        return QStringLiteral("чтение журнала потребления");
    case EnterPassword:
        return QStringLiteral("ввод пароля");
    case WritePassword:
        return QStringLiteral("запись нового пароля");
    case ReadIntegrationTime:
        return QStringLiteral("чтение времени интегрирования пиковой мощности");
    case WriteIntegrationTime:
        return QStringLiteral("запись времени интегрирования пиковой мощности");
    case ReadRoute:
        return QStringLiteral("чтение маршрута ретрансляции");
    case WriteRoute:
        return QStringLiteral("запись маршрута ретрансляции");
    case ReadBillingDay:
        return QStringLiteral("чтение расчетного дня и часа");
    case WriteBillingDay:
        return QStringLiteral("запись расчетного дня и часа");
    case ResetBillingReadings:
        return QStringLiteral("сброс показаний РЧД");
    case ReadHolidays:
        return QStringLiteral("чтение праздников");
    case WriteHolidays:
        return QStringLiteral("запись праздников");
    case ReadTransfers:
        return QStringLiteral("чтение переносов");
    case WriteTransfers:
        return QStringLiteral("запись переносов");
    case ReadHalfHours:
        return QStringLiteral("чтение получасовок");
    case ReadPeaks:
        return QStringLiteral("чтение пиковых мощностей");
    case ReadDdmNumbers:
        return QStringLiteral("чтение номера ДДМ");
    case WriteDdmNumbers:
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
    case ReadNumber:
        return QStringLiteral("Ошибка: Неизвестная функция");
    case WriteNumber:
        return QStringLiteral("Ошибка: Неверная длина запроса");
    case WriteLinkParameters:
        return QStringLiteral("Ошибка: Неверная контрольная сумма");
    case ReadClock:
        return QStringLiteral("Ошибка: Неверные данные запроса");
    case WriteClock:
        return QStringLiteral("Ошибка: Память защищена");
    case ReadLimitCoefficient:
        return QStringLiteral("Ошибка: Доступ запрещен");
    default:
        return QStringLiteral("Неизвестная ошибка");
    }
}

Judgement ClassifyResponse(const QByteArray& request, const QByteArray& buffer)
{
    const auto first = [](const QByteArray& b) { return b.isEmpty() ? -1 : int(uint8_t(b[0])); };
    if (buffer.size() == 5 && first(buffer) - first(request) == kErrorFlag &&
        uint8_t(buffer[1]) == 3 && CrcValid(buffer)) {
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
