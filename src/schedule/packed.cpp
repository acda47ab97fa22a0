#include "schedule/packed.h"

#include "meter/encodings.h"

#include <tuple>

namespace zr::schedule
{

using meter::FromBcd;
using meter::ToBcd;

uint16_t GetMaska(int n)
{
    if (n <= 1)
        return 1;
    return n > 16 ? 0 : uint16_t(1u << (n - 1));
}

bool ValidTime(const QString& time)
{
    if (time.size() != 5 || time[2] != u':')
        return false;
    for (int i : {0, 1, 3, 4})
        if (!time[i].isDigit() || time[i].unicode() > '9')
            return false;
    return time.left(2).toInt() <= 23 && time.mid(3, 2).toInt() <= 59;
}

QString TimeText(int hour, int minute)
{
    return QStringLiteral("%1:%2").arg(hour, 2, 10, QChar(u'0')).arg(minute, 2, 10, QChar(u'0'));
}

bool Zone::operator<(const Zone& o) const
{
    return std::tie(time, tariff, limit, limitTariff) <
           std::tie(o.time, o.tariff, o.limit, o.limitTariff);
}

bool ValidZone(const Zone& zone)
{
    return ValidTime(zone.time) && zone.tariff >= 1 && zone.tariff <= kTariffs &&
           zone.limitTariff >= 1 && zone.limitTariff <= kTariffs;
}

bool LimitRuleHolds(const Zone& zone)
{
    return zone.limit == 0 ? zone.limitTariff == zone.tariff : zone.limitTariff != zone.tariff;
}

QString RefusalText(const QString& item, const Refusal& refusal, int offset)
{
    const QString where = offset >= 0 ? QStringLiteral(" (смещение %1)").arg(offset) : QString();
    return QStringLiteral("%1 № %2%3: %4.")
        .arg(item)
        .arg(refusal.index + 1)
        .arg(where, refusal.reason);
}

QString ZoneRefusalText(const Refusal& refusal, int offset)
{
    return RefusalText(QStringLiteral("Запись зоны"), refusal, offset);
}

QString TransferRefusalText(const Refusal& refusal, int offset)
{
    return RefusalText(QStringLiteral("Перенос"), refusal, offset);
}

QByteArray PackZone(const AList& record)
{
    const Zone& z = record.zone;
    QByteArray out(kPackedZoneSize, '\0');
    out[0] = char(((z.tariff - 1) & 7) | (((z.limitTariff - 1) & 7) << 4));
    out[1] = char(ToBcd(z.time.left(2).toInt()));
    out[2] = char(ToBcd(z.time.mid(3, 2).toInt()));
    out[3] = char(z.limit);
    out[4] = char(record.days);
    out[5] = char(record.months & 0xFF);
    out[6] = char(record.months >> 8);
    return out;
}

std::optional<AList> UnpackZone(const QByteArray& packed, QString* reason)
{
    if (packed.size() != kPackedZoneSize) {
        *reason = QStringLiteral("%1 байт вместо %2").arg(packed.size()).arg(kPackedZoneSize);
        return std::nullopt;
    }
    auto byte = [&](int i) { return uint8_t(packed[i]); };
    const int hour = FromBcd(byte(1));
    const int minute = FromBcd(byte(2));
    if (hour > 23 || minute > 59) {
        *reason = QStringLiteral("недопустимое время начала %1").arg(TimeText(hour, minute));
        return std::nullopt;
    }
    AList r;
    r.zone.time = TimeText(hour, minute);
    r.zone.tariff = uint8_t((byte(0) & 7) + 1);
    r.zone.limitTariff = uint8_t(((byte(0) >> 4) & 7) + 1);
    r.zone.limit = byte(3);
    r.days = byte(4);
    r.months = uint16_t(byte(5) + 256 * byte(6));
    return r;
}

QVector<AList> UnpackZones(const QVector<QByteArray>& packed, Refusal* refusal)
{
    QVector<AList> records;
    records.reserve(packed.size());
    for (int i = 0; i < packed.size(); ++i) {
        QString reason;
        const std::optional<AList> r = UnpackZone(packed[i], &reason);
        if (!r) {
            *refusal = {i, reason};
            return {};
        }
        records.append(*r);
    }
    *refusal = {};
    return records;
}

bool ValidHoliday(const Holiday& h)
{
    return h.month >= 1 && h.month <= kMonths && h.day >= 1 && h.day <= 31;
}

QVector<Holiday> UnpackHolidays(const QByteArray& table)
{
    QVector<Holiday> list;
    if (table.size() != kHolidayTableSize)
        return list;
    for (int i = 0; i < kMaxHolidays; ++i) {
        const Holiday h{FromBcd(uint8_t(table[2 * i + 1])), FromBcd(uint8_t(table[2 * i]))};
        if (ValidHoliday(h))
            list.append(h);
    }
    return list;
}

QByteArray PackHolidays(const QVector<Holiday>& holidays)
{
    QByteArray table(kHolidayTableSize, '\0');
    for (int i = 0; i < holidays.size() && i < kMaxHolidays; ++i) {
        table[2 * i] = char(ToBcd(holidays[i].day));
        table[2 * i + 1] = char(ToBcd(holidays[i].month));
    }
    return table;
}

QVector<Holiday> DefaultHolidays()
{
    return {{1, 1},  {1, 2}, {1, 3}, {1, 4}, {1, 5},  {1, 7},
            {2, 23}, {3, 8}, {5, 1}, {5, 9}, {6, 12}, {11, 4}};
}

bool ValidTransfer(const Transfer& t)
{
    return t.date.isValid() && t.date.year() >= 2000 && t.date.year() <= 2099 && t.dayType >= 1 &&
           t.dayType <= kDayTypes;
}

TransferEntry UnpackTransfer(const QByteArray& entry)
{
    if (entry.size() != 4)
        return {};
    const int day = FromBcd(uint8_t(entry[0]));
    const int month = FromBcd(uint8_t(entry[1]));
    const int year = 2000 + FromBcd(uint8_t(entry[2]));
    const int dayType = uint8_t(entry[3]);
    TransferEntry e;
    if (day < 1 || day > 31 || month < 1 || month > kMonths)
        return e;
    const QString dateText = QStringLiteral("%1.%2.%3")
                                 .arg(day, 2, 10, QChar(u'0'))
                                 .arg(month, 2, 10, QChar(u'0'))
                                 .arg(year);
    e.transfer = {QDate(year, month, day), dayType};
    if (!e.transfer.date.isValid())
        e.reason = QStringLiteral("несуществующая дата %1").arg(dateText);
    else if (dayType < 1 || dayType > kDayTypes)
        e.reason = QStringLiteral("тип дня %1 вне диапазона 1–8").arg(dayType);
    else if (year > 2099) {
        e.reason = QStringLiteral("дата %1 позже 31.12.2099").arg(dateText);
        e.late = true;
    }
    e.kind = e.reason.isEmpty() ? TransferEntry::Accepted : TransferEntry::Invalid;
    return e;
}

QVector<Transfer> UnpackTransfers(const QByteArray& table, Refusal* refusal)
{
    *refusal = {};
    QVector<Transfer> list;
    if (table.size() != kTransferTableSize)
        return list;
    for (int i = 0; i < kMaxTransfers; ++i) {
        const TransferEntry e = UnpackTransfer(table.mid(4 * i, 4));
        if (e.kind == TransferEntry::Invalid) {
            *refusal = {i, e.reason};
            return {};
        }
        if (e.kind == TransferEntry::Accepted)
            list.append(e.transfer);
    }
    return list;
}

QByteArray PackTransfers(const QVector<Transfer>& transfers)
{
    QByteArray table(kTransferTableSize, '\0');
    for (int i = 0; i < transfers.size() && i < kMaxTransfers; ++i) {
        const QDate& d = transfers[i].date;
        table[4 * i] = char(ToBcd(d.day()));
        table[4 * i + 1] = char(ToBcd(d.month()));
        table[4 * i + 2] = char(ToBcd(d.year() - 2000));
        table[4 * i + 3] = char(transfers[i].dayType);
    }
    return table;
}

} // namespace zr::schedule
