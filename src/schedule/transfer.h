#pragma once
// The schedule's transfer to and from the meter: the request batches of the write and the read,
// the decoders of the read's answers, and the collection of those answers that replaces the
// schedule's values when the read ends. Everything travels in the packed forms; no widgets.

#include "meter/device_info.h"
#include "schedule/model.h"

#include <QList>

namespace zr::schedule
{

// A read asks for every record slot, holiday and transfer, then counts them on the gauge.
constexpr int kReadRequests = 1 + kZoneSlots + kMaxHolidays + kMaxTransfers;
constexpr int kReadGaugeMaximum = kZoneSlots + kMaxHolidays + kMaxTransfers;

// The write batch (frames without checksum), or the reason it cannot be sent.
struct ScheduleWrite {
    QList<QByteArray> frames;
    QString refusal; // non-empty: nothing may be queued; the text for the user
    bool refused() const { return !refusal.isEmpty(); }
};

// The write opening, the empty holiday and transfer forms, the schedule reset, the coefficient;
// then, only when there is at least one record, the holidays, the transfers and the records,
// each indexed by its position. Commits pending edits (the records sent are the committed ones),
// except when refused: a schedule with more records than the meter's one-byte index can address
// is refused untouched.
ScheduleWrite BuildScheduleWrite(Schedule& schedule);

// The coefficient, every record slot, every holiday, every transfer: kReadRequests frames.
QList<QByteArray> BuildScheduleRead();

// The operation-log line of an acknowledged coefficient write.
QString CoefficientWrittenLog(int coefficient);

// Answers of the read. A result with an error gave no entry: the error is the traffic-log text
// and the read goes on. `present` is false for a slot the meter holds nothing in.

// Function 6. The value as the meter sent it; the schedule clamps it when applied.
struct CoefficientAnswer : meter::DecodeResult {
    int coefficient = 0;
};
CoefficientAnswer DecodeCoefficient(const QByteArray& frame);

// Function 8 with a record index: length 3 (empty slot) or 10 (a record). Any other length is
// not a record answer (`counted` false); the checksum form has its own decoder.
struct ZoneAnswer : meter::DecodeResult {
    bool counted = false;
    bool present = false;
    QByteArray packed; // kPackedZoneSize bytes, a record that unpacks
};
ZoneAnswer DecodeZoneAnswer(const QByteArray& frame);

// Function 38: length 5 carries a holiday, any other length an empty slot.
struct HolidayAnswer : meter::DecodeResult {
    bool present = false;
    Holiday holiday;
};
HolidayAnswer DecodeHolidayAnswer(const QByteArray& frame);

// Function 40: length 7 carries a transfer, any other length an empty slot.
struct TransferAnswer : meter::DecodeResult {
    bool present = false;
    Transfer transfer;
};
TransferAnswer DecodeTransferAnswer(const QByteArray& frame);

// What a read has collected, in arrival order. Records, holidays and transfers each advance the
// gauge (`progress`, up to kReadGaugeMaximum), entries or not; the coefficient does not.
class ScheduleRead
{
public:
    void Add(const CoefficientAnswer& answer);
    void Add(const ZoneAnswer& answer);
    void Add(const HolidayAnswer& answer);
    void Add(const TransferAnswer& answer);

    int progress() const { return progress_; }

    // Gives the schedule what the read brought, also when the read stopped part way: the
    // coefficient if it arrived; the holiday and transfer lists as received (a read starts by
    // emptying them); the records once the first holiday answer closed them, and only when the
    // meter held at least one, so a meter without records leaves the schedule's records alone.
    void ApplyTo(Schedule& schedule) const;

private:
    bool coefficientReceived_ = false;
    int coefficient_ = 1;
    QVector<QByteArray> records_;
    bool recordsClosed_ = false;
    QVector<Holiday> holidays_;
    QVector<Transfer> transfers_;
    int progress_ = 0;
};

} // namespace zr::schedule
