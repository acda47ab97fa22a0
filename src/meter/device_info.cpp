#include "meter/device_info.h"

#include "meter/decode.h"
#include "meter/encodings.h"

namespace zr::meter
{

VersionInfo DecodeVersion(const QByteArray& frame)
{
    return Decode<VersionInfo>(frame, [](FieldReader& r, VersionInfo& v) {
        const int minor = r.bcd(2);
        const int major = r.bcd(3);
        v.deviceType = int(r.bcdNumber(4, 3));
        const int model = v.deviceType / 100;
        if (model % 1000 == 347) {
            v.version = QStringLiteral("%1.%2").arg(major).arg(minor);
            v.type = QStringLiteral("ЗуР%1.%2")
                         .arg(model)
                         .arg(v.deviceType % 100, 2, 10, QLatin1Char('0'));
        } else {
            v.version = QStringLiteral("неизвест.");
            v.type = QString::number(v.deviceType);
        }
    });
}

FactoryNumberInfo DecodeFactoryNumber(const QByteArray& frame)
{
    return Decode<FactoryNumberInfo>(frame, [](FieldReader& r, FactoryNumberInfo& v) {
        v.number = r.u24(2);
        v.assignable = v.number == 0;
        v.text = v.number ? QStringLiteral("%1").arg(v.number, 6, 10, QLatin1Char('0'))
                          : QStringLiteral("0");
    });
}

ClockInfo DecodeClock(const QByteArray& frame, const QLocale& locale)
{
    return Decode<ClockInfo>(frame, [&](FieldReader& r, ClockInfo& v) {
        const bool carriesClock = r.u8(1) == 7;
        v.flags = r.u8(2);
        v.timerFlags = v.flags & 0x60;
        v.tariff = (v.flags & 7) + 1;
        v.tariffText = QString::number(v.tariff);
        v.summer = (v.flags & 0x80) ? QStringLiteral("да") : QStringLiteral("нет");
        if (v.flags & 0x70) {
            // Bit 4 alone has no text of its own.
            if (v.flags & 0x20)
                v.test = QStringLiteral("Неисправность таймера.");
            else if (v.flags & 0x40)
                v.test = QStringLiteral("Дата и время таймера не установлены.");
            return;
        }
        v.test = QStringLiteral("Ok");
        if (!carriesClock)
            return;
        v.clockShown = true;
        v.clockSeconds = r.u32(3);
        v.clock = DecodeMeterTimestamp(v.clockSeconds);
        v.date = FormatDate(v.clock.date(), locale);
        v.time = FormatTime(v.clock.time(), locale);
    });
}

PowerInfo DecodePower(const QByteArray& frame)
{
    return Decode<PowerInfo>(frame, [](FieldReader& r, PowerInfo& v) {
        v.watts = r.u24(2);
        v.text = QString::number(v.watts);
    });
}

IndicationInfo DecodeIndication(const QByteArray& frame)
{
    return Decode<IndicationInfo>(frame, [](FieldReader& r, IndicationInfo& v) {
        v.mask = r.u8(2);
        for (size_t i = 0; i < v.checked.size(); ++i)
            v.checked[i] = (v.mask >> i) & 1;
    });
}

QStringList IndicationItems()
{
    return {QStringLiteral("Суммарное потребление"), QStringLiteral("Потребление на РДЧ"),
            QStringLiteral("Дата"), QStringLiteral("Мощность"),
            QStringLiteral("Автопереключение индикации")};
}

TariffReadingInfo DecodeIdleReading(const QByteArray& frame, const QLocale& locale)
{
    return Decode<TariffReadingInfo>(frame, [&](FieldReader& r, TariffReadingInfo& v) {
        if (r.u8(1) != 8)
            return;
        const uint8_t selector = r.u8(2);
        const double value = r.meterFloat(4);
        if (selector >= 8)
            return;
        v.shown = true;
        v.value = value;
        v.text = FormatReading(value, locale);
    });
}

ScheduleChecksumInfo DecodeScheduleChecksum(const QByteArray& frame)
{
    return Decode<ScheduleChecksumInfo>(frame, [](FieldReader& r, ScheduleChecksumInfo& v) {
        if (r.u8(1) != 4)
            return;
        v.present = true;
        v.checksum = r.u16(2);
        v.text = QString::number(v.checksum);
    });
}

DdmStatusInfo DecodeDdmStatus(const QByteArray& frame, const QLocale& locale)
{
    return Decode<DdmStatusInfo>(frame, [&](FieldReader& r, DdmStatusInfo& v) {
        for (int i = 0; i < 3; ++i) {
            DdmPhaseStatus& phase = v.phases[size_t(i)];
            const uint8_t status = r.u8(2 + 5 * i);
            const uint32_t session = r.u32(3 + 5 * i);
            if (session == 0) { // no session recorded: the status byte means nothing
                phase.code = kDdmNoSession;
                continue;
            }
            phase.code = status & 3;
            static const char* const kTexts[] = {"в норме", "ДДМ > ББ", "ДДМ < ББ", ""};
            phase.status = QString::fromUtf8(kTexts[phase.code]);
            phase.lastSession = FormatDateTime(DecodeMeterTimestamp(session), locale);
        }
    });
}

RunningTimeInfo DecodeRunningTime(const QByteArray& frame)
{
    return Decode<RunningTimeInfo>(frame, [](FieldReader& r, RunningTimeInfo& v) {
        v.runningSeconds = r.u32(2);
        v.corrections = r.u8(6);
        v.work = DurationText(v.runningSeconds);
        v.correctionText = QString::number(v.corrections);
    });
}

IntegrationInfo DecodeIntegration(const QByteArray& frame)
{
    return Decode<IntegrationInfo>(frame, [](FieldReader& r, IntegrationInfo& v) {
        v.minutes = r.u8(2) + 1;
        v.text = QString::number(v.minutes);
    });
}

BillingInfo DecodeBilling(const QByteArray& frame)
{
    return Decode<BillingInfo>(frame, [](FieldReader& r, BillingInfo& v) {
        v.hour = r.bcd(2);
        v.day = r.bcd(3);
        v.hourText = QString::number(v.hour);
        v.dayText = QString::number(v.day);
    });
}

DdmNumbersInfo DecodeDdmNumbers(const QByteArray& frame)
{
    return Decode<DdmNumbersInfo>(frame, [](FieldReader& r, DdmNumbersInfo& v) {
        for (size_t i = 0; i < v.numbers.size(); ++i) {
            v.numbers[i] = r.u24(2 + 3 * int(i));
            v.numberTexts[i] = QString::number(v.numbers[i]);
        }
        v.mode = r.u8(11);
        v.modeText = v.mode ? QString::number(v.mode) : QStringLiteral("авто");
    });
}

QStringList DdmPhaseCaptions()
{
    return {QStringLiteral("Фаза A"), QStringLiteral("Фаза B"), QStringLiteral("Фаза C")};
}

QStringList DdmRowCaptions()
{
    return {QStringLiteral("№ ДДМ"), QStringLiteral("Тарификация"), QStringLiteral("Статус"),
            QStringLiteral("Последний сеанс")};
}

void MeterState::apply(const VersionInfo& info)
{
    if (info.ok())
        deviceType = info.deviceType;
}

void MeterState::apply(const FactoryNumberInfo& info)
{
    if (info.ok())
        factoryNumber = info.number;
}

void MeterState::apply(const ClockInfo& info)
{
    if (info.ok())
        timerFlags = info.timerFlags;
}

void MeterState::apply(const DdmStatusInfo& info)
{
    if (!info.ok())
        return;
    for (size_t i = 0; i < ddmStatus.size(); ++i)
        ddmStatus[i] = info.phases[i].code;
}

void MeterState::apply(const RunningTimeInfo& info)
{
    if (info.ok())
        runningSeconds = info.runningSeconds;
}

void MeterState::reset()
{
    const uint32_t keptRunning = runningSeconds;
    *this = MeterState();
    runningSeconds = keptRunning;
}

} // namespace zr::meter
