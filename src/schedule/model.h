#pragma once
// The tariff schedule: zone records with the year table they form, the editing algorithms that
// keep the records consistent while day profiles are edited in one cell and copied to others,
// and the holiday list, transfer list and limit coefficient. No user-interface dependency: the
// editor calls the operations and then reads what it draws through the accessors (profile of
// the current cell, cell flags, record count, pending changes).

#include "schedule/packed.h"

#include <array>

namespace zr::schedule
{

// Cell of the year table.
struct Cell {
    int month = 1;   // 1..12
    int dayType = 1; // 1..8
    bool valid() const
    {
        return month >= 1 && month <= kMonths && dayType >= 1 && dayType <= kDayTypes;
    }
    bool operator==(const Cell& o) const { return month == o.month && dayType == o.dayType; }
    bool operator!=(const Cell& o) const { return !(*this == o); }
};

struct CellFlags {
    bool selected = false;
    bool empty = true;      // no record covers the cell
    bool noMidnight = true; // no covering record starts at "00:00" (also for an empty cell)
    bool equivalent = true; // the profile equals the current cell's
    bool changed = false;   // selected but not equivalent: receives the current cell's profile
};

// Zones of the records that cover the cell, ordered by time (ties by the zone values).
QVector<Zone> ProfileOf(const QVector<AList>& records, Cell cell);

class Schedule
{
public:
    // Empty records, current cell (1, 1) alone selected, the default holidays, no transfers,
    // coefficient 1.
    Schedule();

    // --- Records and the year table
    const QVector<AList>& working() const { return working_; }
    const QVector<AList>& committed() const { return committed_; }
    int recordCount() const { return working_.size(); }
    // Profile of a cell in the working list.
    QVector<Zone> profile(Cell cell) const { return ProfileOf(working_, cell); }
    // The working list differs from the committed one (the editor's commit and cancel buttons).
    bool pending() const { return pending_; }

    Cell current() const { return current_; }
    // Cell flags; a cell outside the table reads as default flags.
    CellFlags flags(Cell cell) const;

    // Selection and current cell; invalid cells are ignored. They change no records: the
    // editor follows them with EquivalentDays and EditDays.
    void SetCurrent(Cell cell);
    void SetSelected(Cell cell, bool selected);
    void SelectOnly(Cell cell);
    // Every cell of the rectangle with corners a and b, both included; nothing else.
    void SelectRectangle(Cell a, Cell b);

    void EmptyDays();
    // Compares every cell's profile with the current cell's; changed := selected and not
    // equivalent; any changed cell enters pending changes.
    void EquivalentDays();

    // Zone edits of the current cell. Each ends by giving every selected cell the current
    // cell's new profile (EditDays). They refuse an invalid zone or time (returning false and
    // changing nothing). InsertTZone of a time the cell already has changes that zone.
    bool InsertTZone(const Zone& zone);
    bool UpdateTZone(const Zone& zone);
    bool DeleteTZone(const QString& time);
    // Gives every changed cell the current cell's profile, merges records of one zone that
    // share a day-type set or a month set; returns the record count.
    int EditDays();

    void Commit();
    // Working list back to the committed one; the current cell becomes the only selected one.
    void Revert();

    // Replaces both lists by the unpacked records (an empty list empties the schedule) and
    // reverts. All or nothing: a refused record leaves the schedule as it was.
    Refusal LoadRecords(const QVector<QByteArray>& packed);
    // Commits, then packs the committed list in order.
    QVector<QByteArray> SaveRecords();
    // Empty records, default holidays, no transfers; the coefficient stays.
    void NewSchedule();

    // --- Holidays, transfers, limit coefficient
    const QVector<Holiday>& holidays() const { return holidays_; }
    // False (nothing changes) for more than kMaxHolidays entries or an invalid one.
    bool SetHolidayList(const QVector<Holiday>& holidays);
    QByteArray GetHolidays() const { return PackHolidays(holidays_); }
    // A table that is not kHolidayTableSize bytes long changes nothing.
    void SetHolidays(const QByteArray& table);

    const QVector<Transfer>& transfers() const { return transfers_; }
    bool SetTransferList(const QVector<Transfer>& transfers);
    QByteArray GetTransfers() const { return PackTransfers(transfers_); }
    // A table of the wrong size changes nothing; an invalid entry is refused and the list stays.
    Refusal SetTransfers(const QByteArray& table);

    int coefficient() const { return coefficient_; }
    // Clamped into 1..255.
    void SetCoefficient(int value);

private:
    CellFlags& flag(Cell cell);
    void ZoneEditTail();

    QVector<AList> working_;
    QVector<AList> committed_;
    Cell current_;
    std::array<CellFlags, kMonths * kDayTypes> flags_;
    bool pending_ = false;
    QVector<Holiday> holidays_;
    QVector<Transfer> transfers_;
    int coefficient_ = 1;
};

} // namespace zr::schedule
