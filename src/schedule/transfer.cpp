#include "schedule/transfer.h"

#include "link/frame.h"
#include "link/function_code.h"
#include "meter/encodings.h"
#include "meter/write_opening.h"

namespace zr::schedule
{

namespace
{

using namespace zr::link;

QByteArray Request(FunctionCode function, const QByteArray& payload = {})
{
    QByteArray frame;
    frame.append(char(function));
    frame.append(char(2 + payload.size()));
    return frame + payload;
}

QByteArray IndexRequest(FunctionCode function, int index)
{
    return Request(function, QByteArray(1, char(index)));
}

// `count` bytes from `pos` through the reader, so that a short frame is recorded there.
QByteArray Bytes(meter::FieldReader& reader, int pos, int count)
{
    QByteArray out;
    for (int i = 0; i < count; ++i)
        out.append(char(reader.u8(pos + i)));
    return out;
}

// The traffic-log text of an answer that cannot become an entry.
QString SkippedText(const QByteArray& frame, int index, const QString& reason)
{
    const uint8_t code = uint8_t(frame.at(0));
    return QStringLiteral("Отклик на функцию %1 (%2), индекс %3, пропущен: %4")
        .arg(code)
        .arg(zr::frame::FunctionName(code))
        .arg(index)
        .arg(reason);
}

QString RangeText(const QString& field, int value, int last)
{
    return QStringLiteral("%1 %2 вне диапазона 1–%3").arg(field).arg(value).arg(last);
}

} // namespace

ScheduleWrite BuildScheduleWrite(Schedule& schedule)
{
    ScheduleWrite write;
    if (schedule.recordCount() > kZoneSlots) {
        write.refusal = QStringLiteral("Расписание не записано: записей зон в нём %1, а счетчик "
                                       "принимает не более %2 (номер записи занимает один байт). "
                                       "Уменьшите число записей и повторите запись.")
                            .arg(schedule.recordCount())
                            .arg(kZoneSlots);
        return write;
    }
    const QVector<QByteArray> records = schedule.SaveRecords();
    const QByteArray holidays = schedule.GetHolidays();
    const QByteArray transfers = schedule.GetTransfers();

    write.frames = meter::WriteBatchOpening();
    write.frames << Request(WriteHolidays) << Request(WriteTransfers) << Request(WriteSchedule)
                 << Request(WriteLimitCoefficient, QByteArray(1, char(schedule.coefficient())));
    // Without records the meter's holidays and transfers stay empty too.
    if (records.isEmpty())
        return write;
    for (int i = 0; i < kMaxHolidays; ++i) {
        const QByteArray entry = holidays.mid(2 * i, 2);
        if (entry[0] != 0 && entry[1] != 0)
            write.frames << Request(WriteHolidays, char(i) + entry);
    }
    // The year byte is 00 for 2000, so only day, month and day type mark a used entry.
    for (int i = 0; i < kMaxTransfers; ++i) {
        const QByteArray entry = transfers.mid(4 * i, 4);
        if (entry[0] != 0 && entry[1] != 0 && entry[3] != 0)
            write.frames << Request(WriteTransfers, char(i) + entry);
    }
    for (int k = 0; k < records.size(); ++k)
        write.frames << Request(WriteSchedule, char(k) + records[k]);
    return write;
}

QList<QByteArray> BuildScheduleRead()
{
    QList<QByteArray> frames{Request(ReadLimitCoefficient)};
    for (int i = 0; i < kZoneSlots; ++i)
        frames << IndexRequest(ReadSchedule, i);
    for (int i = 0; i < kMaxHolidays; ++i)
        frames << IndexRequest(ReadHolidays, i);
    for (int i = 0; i < kMaxTransfers; ++i)
        frames << IndexRequest(ReadTransfers, i);
    return frames;
}

QString CoefficientWrittenLog(int coefficient)
{
    return QStringLiteral("Коэффициент лимита тарифного расписания=") +
           QString::number(coefficient);
}

CoefficientAnswer DecodeCoefficient(const QByteArray& frame)
{
    meter::FieldReader reader = meter::FieldReader::Response(frame);
    CoefficientAnswer answer;
    answer.coefficient = reader.u8(2);
    if (!reader.ok()) {
        answer.coefficient = 0;
        answer.error = reader.error();
    }
    return answer;
}

ZoneAnswer DecodeZoneAnswer(const QByteArray& frame)
{
    constexpr int kEmptyLength = 3;
    constexpr int kRecordLength = 3 + kPackedZoneSize;
    meter::FieldReader reader = meter::FieldReader::Response(frame);
    ZoneAnswer answer;
    const int length = reader.u8(1);
    answer.counted = length == kEmptyLength || length == kRecordLength;
    if (length == kRecordLength) {
        const int index = reader.u8(2);
        const QByteArray packed = Bytes(reader, 3, kPackedZoneSize);
        QString reason;
        if (!reader.ok())
            answer.error = reader.error();
        else if (!UnpackZone(packed, &reason))
            answer.error = SkippedText(frame, index, reason);
        else {
            answer.present = true;
            answer.packed = packed;
        }
    }
    return answer;
}

HolidayAnswer DecodeHolidayAnswer(const QByteArray& frame)
{
    meter::FieldReader reader = meter::FieldReader::Response(frame);
    HolidayAnswer answer;
    if (reader.u8(1) != 5)
        return answer;
    const int index = reader.u8(2);
    const Holiday holiday{reader.bcd(4), reader.bcd(3)};
    if (!reader.ok())
        answer.error = reader.error();
    else if (holiday.month < 1 || holiday.month > kMonths)
        answer.error = SkippedText(frame, index, RangeText("месяц", holiday.month, kMonths));
    else if (!ValidHoliday(holiday))
        answer.error = SkippedText(frame, index, RangeText("день", holiday.day, 31));
    else {
        answer.present = true;
        answer.holiday = holiday;
    }
    return answer;
}

TransferAnswer DecodeTransferAnswer(const QByteArray& frame)
{
    meter::FieldReader reader = meter::FieldReader::Response(frame);
    TransferAnswer answer;
    if (reader.u8(1) != 7)
        return answer;
    const int index = reader.u8(2);
    const QByteArray entry = Bytes(reader, 3, 4);
    if (!reader.ok()) {
        answer.error = reader.error();
        return answer;
    }
    const TransferEntry e = UnpackTransfer(entry);
    switch (e.kind) {
    case TransferEntry::Accepted:
        answer.present = true;
        answer.transfer = e.transfer;
        break;
    case TransferEntry::Invalid:
        answer.error = SkippedText(frame, index, e.reason);
        break;
    case TransferEntry::Skipped: {
        const int month = meter::FromBcd(uint8_t(entry[1]));
        answer.error = SkippedText(frame, index,
                                   month < 1 || month > kMonths
                                       ? RangeText("месяц", month, kMonths)
                                       : RangeText("день", meter::FromBcd(uint8_t(entry[0])), 31));
        break;
    }
    }
    return answer;
}

void ScheduleRead::Add(const CoefficientAnswer& answer)
{
    if (!answer.ok())
        return;
    coefficientReceived_ = true;
    coefficient_ = answer.coefficient;
}

void ScheduleRead::Add(const ZoneAnswer& answer)
{
    if (answer.counted)
        ++progress_;
    if (answer.present && !recordsClosed_)
        records_.append(answer.packed);
}

void ScheduleRead::Add(const HolidayAnswer& answer)
{
    recordsClosed_ = true;
    ++progress_;
    if (answer.present && holidays_.size() < kMaxHolidays)
        holidays_.append(answer.holiday);
}

void ScheduleRead::Add(const TransferAnswer& answer)
{
    ++progress_;
    if (answer.present && transfers_.size() < kMaxTransfers)
        transfers_.append(answer.transfer);
}

void ScheduleRead::ApplyTo(Schedule& schedule) const
{
    if (coefficientReceived_)
        schedule.SetCoefficient(coefficient_);
    // Every record was unpacked when it arrived, so the load cannot refuse.
    if (recordsClosed_ && !records_.isEmpty())
        schedule.LoadRecords(records_);
    schedule.SetHolidayList(holidays_);
    schedule.SetTransferList(transfers_);
}

} // namespace zr::schedule
