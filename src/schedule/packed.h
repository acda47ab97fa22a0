#pragma once
// Schedule values and the packed byte forms shared by the schedule file and the meter frames:
// zone records (7 bytes), the holiday table (32 bytes) and the transfer table (64 bytes).
// Pure functions; nothing here keeps state.

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QVector>
#include <cstdint>
#include <optional>

namespace zr::schedule
{

constexpr int kMonths = 12;
constexpr int kDayTypes = 8;
constexpr int kTariffs = 8;
constexpr int kPackedZoneSize = 7;
// The meter addresses its zone records by a one-byte index.
constexpr int kZoneSlots = 256;
constexpr int kMaxHolidays = 16;
constexpr int kMaxTransfers = 16;
constexpr int kHolidayTableSize = 2 * kMaxHolidays;
constexpr int kTransferTableSize = 4 * kMaxTransfers;

// Bit value of month or day type n in a month set or day-type set; 1 for any n <= 1, 0 for
// n > 16 (no bit of a 16-bit set).
uint16_t GetMaska(int n);

// "HH:MM", 00:00 .. 23:59, zero-padded: the only form a zone's start time takes, so that comparing
// the texts orders the times.
bool ValidTime(const QString& time);
QString TimeText(int hour, int minute);

// What a zone record says about one moment: from `time`, `tariff` applies, and above
// `limit` (0 = none) `limitTariff` does.
struct Zone {
    QString time = QStringLiteral("00:00");
    uint8_t tariff = 1;      // 1..8
    uint8_t limit = 0;       // 0..255
    uint8_t limitTariff = 1; // 1..8
    bool operator==(const Zone& o) const
    {
        return time == o.time && tariff == o.tariff && limit == o.limit &&
               limitTariff == o.limitTariff;
    }
    bool operator!=(const Zone& o) const { return !(*this == o); }
    // Time first, then the values: the order of a day profile.
    bool operator<(const Zone& o) const;
};

// A valid time and both tariffs in 1..8: what the model accepts from an edit.
bool ValidZone(const Zone& zone);
// The editor's add rule: no limit and the limit tariff follows the tariff, or a limit with a
// different limit tariff.
bool LimitRuleHolds(const Zone& zone);

// Zone record: the zone applies in every cell (month, day type) of the cross product of its sets.
struct AList {
    Zone zone;
    uint8_t days = 0;    // bit d-1: day type d
    uint16_t months = 0; // bit m-1: month m; bits 12..15 kept as read, never set by an edit
    bool covers(int month, int dayType) const
    {
        return (months & GetMaska(month)) && (days & GetMaska(dayType));
    }
    bool operator==(const AList& o) const
    {
        return zone == o.zone && days == o.days && months == o.months;
    }
};

// An entry of a packed table or record list that cannot be taken: its position (from 0) and
// what is wrong with it, in the program's words.
struct Refusal {
    int index = -1; // -1: nothing refused
    QString reason;
    bool refused() const { return index >= 0; }
};
// The refusal as a sentence naming the item by its number (from 1) and, when offset >= 0, its
// byte offset in a file. `item` is the capitalised noun, e.g. "Запись зоны".
QString RefusalText(const QString& item, const Refusal& refusal, int offset = -1);
QString ZoneRefusalText(const Refusal& refusal, int offset = -1);
QString TransferRefusalText(const Refusal& refusal, int offset = -1);

QByteArray PackZone(const AList& record);
// Bits 3 and 7 of byte 0 are ignored. Empty with *reason set when `packed` is not
// kPackedZoneSize bytes long or its start time is not a time of day.
std::optional<AList> UnpackZone(const QByteArray& packed, QString* reason);
// All or nothing: the records in order, or the first one refused.
QVector<AList> UnpackZones(const QVector<QByteArray>& packed, Refusal* refusal);

// Holiday: a date without a year; 31 February is a valid holiday (days are not checked against
// the month).
struct Holiday {
    int month = 1; // 1..12
    int day = 1;   // 1..31
    bool operator==(const Holiday& o) const { return month == o.month && day == o.day; }
};
bool ValidHoliday(const Holiday& holiday);
// Entry i from bytes 2i (day) and 2i+1 (month), BCD; entries with a day or month out of range
// are skipped. Empty for a table of the wrong size.
QVector<Holiday> UnpackHolidays(const QByteArray& table);
// At most kMaxHolidays entries are packed; the rest of the table is zero.
QByteArray PackHolidays(const QVector<Holiday>& holidays);
// 1, 2, 3, 4, 5, 7 January, 23 February, 8 March, 1 and 9 May, 12 June, 4 November.
QVector<Holiday> DefaultHolidays();

// Transfer: on `date` the profile of `dayType` applies.
struct Transfer {
    QDate date;      // 2000-01-01 .. 2099-12-31
    int dayType = 1; // 1..8
    bool operator==(const Transfer& o) const { return date == o.date && dayType == o.dayType; }
};
bool ValidTransfer(const Transfer& transfer);

// Meaning of one 4-byte transfer entry [day][month][year-2000][day type], BCD except the type.
struct TransferEntry {
    enum Kind { Accepted, Skipped, Invalid };
    Kind kind = Skipped;
    Transfer transfer; // for Accepted
    QString reason;    // for Invalid
    // Invalid only because the date lies after 2099 (the nibbles of the year byte go past 9):
    // the entry is whole otherwise, so a reader may drop just this entry.
    bool late = false;
};
// Skipped when the entry is not 4 bytes long or its day or month is out of range; Invalid when
// they pass but the date does not exist or lies after 2099, or the day type is outside 1..8.
TransferEntry UnpackTransfer(const QByteArray& entry);
// All or nothing: the accepted entries in order, or the first invalid one refused. A table of
// the wrong size gives an empty list and no refusal.
QVector<Transfer> UnpackTransfers(const QByteArray& table, Refusal* refusal);
QByteArray PackTransfers(const QVector<Transfer>& transfers);

} // namespace zr::schedule
