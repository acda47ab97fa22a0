#include "meter/event_journal.h"

#include "meter/decode.h"
#include "meter/encodings.h"
#include "meter/request.h"
#include "meter/status.h"

namespace zr::meter
{

QList<QByteArray> EventJournalBatch()
{
    QList<QByteArray> batch;
    batch.reserve(kEventRecords);
    for (int i = 0; i < kEventRecords; ++i) {
        QByteArray index;
        AppendU16(index, uint32_t(i));
        batch.append(Request(link::ReadEventJournal, index));
    }
    return batch;
}

EventRecord DecodeEventRecord(const QByteArray& frame, const QLocale& locale)
{
    return Decode<EventRecord>(frame, [&](FieldReader& r, EventRecord& v) {
        const bool present = r.u8(1) == 20;
        v.index = r.u16(2);
        if (!present)
            return;
        v.present = true;
        v.number = r.u16(4);
        v.time = r.timestamp(6);
        v.tariff = r.u8(10);
        v.reading = r.meterFloat(11);
        v.status = r.u8(15);
        v.runningSeconds = r.u32(16);
        v.columns = QStringList{
            QString::number(v.number),
            FormatJournalDateTime(v.time, locale),
            QString::number(v.status),
            v.tariff == 0 ? QStringLiteral("однот.") : QString::number(v.tariff),
            FormatReading(v.reading, locale),
            DurationText(v.runningSeconds),
        };
    });
}

int EventSortKey(const QString& caption)
{
    bool ok = false;
    const int key = caption.toInt(&ok);
    return ok ? key : -999;
}

QString StatusHint(const QString& statusText)
{
    bool ok = false;
    const int status = statusText.toInt(&ok);
    if (!ok || status < 0 || status > 255)
        return {};
    return DecodeStatus(uint8_t(status)).join(QLatin1Char('\n'));
}

} // namespace zr::meter
