#include "meter/year_journal.h"

#include "meter/decode.h"
#include "meter/encodings.h"
#include "meter/request.h"

namespace zr::meter
{

QList<QByteArray> YearJournalBatch()
{
    QList<QByteArray> batch;
    for (int m = 0; m < kJournalMonths; ++m)
        batch.append(Request(link::ReadYearJournal, QByteArray(1, char(m))));
    return batch;
}

QStringList JournalMonthNames()
{
    return {QStringLiteral("янв."), QStringLiteral("фев."),  QStringLiteral("март"),
            QStringLiteral("апр."), QStringLiteral("май"),   QStringLiteral("июнь"),
            QStringLiteral("июль"), QStringLiteral("авг."),  QStringLiteral("сент."),
            QStringLiteral("окт."), QStringLiteral("нояб."), QStringLiteral("дек.")};
}

YearJournalMonth DecodeYearJournalMonth(const QByteArray& frame, const QLocale& locale)
{
    return Decode<YearJournalMonth>(frame, [&](FieldReader& r, YearJournalMonth& v) {
        const bool recorded = r.u8(1) == 47;
        v.month = r.u8(2);
        // A month the journal cannot hold still moves the progress, but never past the end.
        v.progress = std::min(v.month + 1, kJournalMonths);
        if (v.month >= kJournalMonths) {
            v.trafficLogLine = QStringLiteral("Некорректный месяц журнала");
            return;
        }
        v.row = v.month + 1;
        const QString name = JournalMonthNames().at(v.month);
        if (!recorded) {
            v.cells = QStringList{name};
            return;
        }
        v.year = r.u8(3);
        for (int t = 0; t < 8; ++t)
            v.readings[size_t(t)] = r.meterFloat(4 + 4 * t);
        v.peakTime = r.timestamp(36);
        v.peakWatts = r.u24(40);
        v.runningSeconds = r.u32(43);
        v.recorded = true;
        v.cells = QStringList{
            QStringLiteral("%1 %2").arg(v.year, 2, 16, QLatin1Char('0')).toUpper().arg(name),
            QString::number(v.peakWatts), FormatDate(v.peakTime.date(), locale),
            FormatTime(v.peakTime.time(), locale)};
        for (double reading : v.readings)
            v.cells.append(FormatReading(reading, locale));
        v.cells.append(DurationText(v.runningSeconds));
    });
}

} // namespace zr::meter
