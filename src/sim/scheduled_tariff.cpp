#include "sim/scheduled_tariff.h"

#include <algorithm>

namespace zr::sim
{

using namespace zr::schedule;

int DayTypeOn(const QDate& date, const QByteArray& holidays, const QByteArray& transfers)
{
    for (int i = 0; i < kMaxTransfers; ++i) {
        const TransferEntry e = UnpackTransfer(transfers.mid(4 * i, 4));
        if (e.kind == TransferEntry::Accepted && e.transfer.date == date)
            return e.transfer.dayType;
    }
    const QVector<Holiday> list = UnpackHolidays(holidays);
    if (list.contains(Holiday{date.month(), date.day()}))
        return kDayTypes;
    return date.dayOfWeek();
}

std::optional<Zone> ZoneInForce(const MeterState& state, const QDateTime& time)
{
    QVector<AList> records;
    for (const QByteArray& packed : state.zones) {
        QString reason;
        if (const std::optional<AList> r = UnpackZone(packed, &reason))
            records.append(*r);
    }
    const QDate date = time.date();
    const Cell cell{date.month(), DayTypeOn(date, state.holidays, state.transfers)};
    const QVector<Zone> profile = ProfileOf(records, cell);
    const QString now = TimeText(time.time().hour(), time.time().minute());
    const auto begun = std::find_if(profile.rbegin(), profile.rend(),
                                    [&](const Zone& z) { return z.time <= now; });
    if (begun == profile.rend())
        return std::nullopt;
    return *begun;
}

int TariffUnderLoad(const Zone& zone, uint32_t powerW, uint8_t coefficient)
{
    const uint32_t limitW = zone.limit * 1000u / std::max<uint8_t>(coefficient, 1);
    return zone.limit != 0 && powerW > limitW ? zone.limitTariff : zone.tariff;
}

} // namespace zr::sim
