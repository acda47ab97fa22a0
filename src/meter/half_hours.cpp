#include "meter/half_hours.h"

#include "meter/decode.h"
#include "meter/encodings.h"
#include "meter/request.h"

namespace zr::meter
{

namespace
{

constexpr int kSlots = 4096;
constexpr int kSecondsPerHalfHour = 1800;

// The first half-hour number h >= h0 with h mod 4096 == slot mod 4096.
qint64 FirstInSlot(qint64 h0, qint64 slot)
{
    return h0 + (HalfHourSlot(slot) - HalfHourSlot(h0) + kSlots) % kSlots;
}

} // namespace

HalfHourRead HalfHourBatch(const QDate& day, const QLocale& locale)
{
    HalfHourRead read;
    if (!day.isValid() || day < QDate(2000, 1, 1)) {
        read.error = QStringLiteral("Получасовки хранятся только с 01.01.2000");
        return read;
    }
    read.h0 = FirstHalfHour(day);
    for (int i = 0; i < kHalfHoursPerDay; ++i) {
        QByteArray slot;
        AppendU16(slot, HalfHourSlot(read.h0 + i));
        read.requests.append(Request(link::ReadHalfHours, slot));
    }
    read.title = FormatDate(day, locale);
    return read;
}

HalfHourItem DecodeHalfHour(const QByteArray& frame, qint64 h0, const QLocale& locale)
{
    return Decode<HalfHourItem>(frame, [&](FieldReader& r, HalfHourItem& v) {
        v.stored = r.u8(1) == 10;
        v.slot = r.u16(2);
        if (v.stored) {
            v.number = r.u24(4);
            v.value = r.u24(7);
        }
        v.current = v.stored && v.number >= h0 && v.number < h0 + kHalfHoursPerDay;
        v.halfHour = v.current ? qint64(v.number) : FirstInSlot(h0, v.stored ? v.number : v.slot);
        v.start = HalfHourStart(uint32_t(v.halfHour));
        v.caption = FormatIntervalStart(v.start, locale) + QStringLiteral(" - ") +
                    FormatHourMinute(v.start.addSecs(kSecondsPerHalfHour).time(), locale);
        v.label = FormatHourMinute(v.start.time(), locale);
        if (v.current) {
            v.power = FormatHalfHourPower(v.value, locale);
            v.kilowatts = v.value / 2000.0;
        }
    });
}

} // namespace zr::meter
