#include "meter/readings.h"

#include "meter/decode.h"
#include "meter/encodings.h"
#include "meter/request.h"
#include "meter/write_opening.h"

namespace zr::meter
{

QList<QByteArray> ReadingsBatch()
{
    QList<QByteArray> batch;
    // The selector's bit layout (phase in 4..5, billing date in 3, tariff in 0..2) makes the
    // required order the plain count.
    for (int selector = 0; selector < kReadingRequests; ++selector)
        batch.append(Request(link::ReadReading, QByteArray(1, char(selector))));
    batch.append(Request(link::ReadPeaks));
    return batch;
}

GridReading DecodeGridReading(const QByteArray& frame, const QLocale& locale)
{
    return Decode<GridReading>(frame, [&](FieldReader& r, GridReading& v) {
        if (r.u8(1) != 8)
            return;
        const uint8_t s = r.u8(2);
        const double value = r.meterFloat(4);
        if (s >= kReadingRequests)
            return;
        v.selector = s;
        v.value = value;
        v.text = FormatReading(value, locale);
        const bool billing = s & 8;
        if (s < 16) {
            v.target = ReadingTarget::Tariff;
            v.column = billing ? 2 : 1;
            v.row = (s & 7) + 1;
        } else {
            v.target = ReadingTarget::Phase;
            v.column = (s >> 4) + (billing ? 3 : 0);
            v.row = 1;
        }
    });
}

void PhaseSums::clear()
{
    sums_.fill(0.0);
    filled_.fill(false);
}

QString PhaseSums::add(const GridReading& reading, const QLocale& locale)
{
    if (!reading.ok() || reading.target != ReadingTarget::Phase)
        return {};
    const size_t i = size_t(reading.column - 1);
    sums_[i] += reading.value;
    filled_[i] = true;
    return FormatReading(sums_[i], locale);
}

double PhaseSums::sum(int column) const
{
    return column >= 1 && column <= 6 ? sums_[size_t(column - 1)] : 0.0;
}

bool PhaseSums::filled(int column) const
{
    return column >= 1 && column <= 6 && filled_[size_t(column - 1)];
}

PeaksInfo DecodePeaks(const QByteArray& frame, const QLocale& locale)
{
    return Decode<PeaksInfo>(frame, [&](FieldReader& r, PeaksInfo& v) {
        if (r.u8(1) != 16)
            return;
        v.shown = true;
        v.peakTime = r.timestamp(2);
        v.peakWatts = r.u24(6);
        v.billingPeakTime = r.timestamp(9);
        v.billingPeakWatts = r.u24(13);
        v.peakText = QString::number(v.peakWatts);
        v.peakTimeText = FormatDateTime(v.peakTime, locale);
        v.billingPeakText = QString::number(v.billingPeakWatts);
        v.billingPeakTimeText = FormatDateTime(v.billingPeakTime, locale);
    });
}

QList<QByteArray> ResetBillingReadingsBatch()
{
    return WriteBatchOpening() << Request(link::ResetBillingReadings);
}

QString ResetBillingReadingsLogText()
{
    return QStringLiteral("Сброс показаний на РЧД");
}

} // namespace zr::meter
