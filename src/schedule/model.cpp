#include "schedule/model.h"

#include <algorithm>

namespace zr::schedule
{

namespace
{

int IndexOf(Cell c)
{
    return (c.month - 1) * kDayTypes + (c.dayType - 1);
}

template <class F> void ForEachCell(F f)
{
    for (int m = 1; m <= kMonths; ++m)
        for (int d = 1; d <= kDayTypes; ++d)
            f(Cell{m, d});
}

uint8_t DayBit(Cell c)
{
    return uint8_t(GetMaska(c.dayType));
}
uint16_t MonthBit(Cell c)
{
    return GetMaska(c.month);
}

bool Covers(const AList& r, Cell c)
{
    return r.covers(c.month, c.dayType);
}
bool CoversOnly(const AList& r, Cell c)
{
    return r.days == DayBit(c) && r.months == MonthBit(c);
}

AList SingleCell(const Zone& zone, Cell c)
{
    return AList{zone, DayBit(c), MonthBit(c)};
}

// What a visit did to the list, so that the walk can find the next record.
enum class Step { Kept, Deleted, InsertedFront };

// Walks by index from position 0: after a deletion the index stays, after an insertion at
// position 0 it moves on by one more. Each record present at the start is visited once; records
// inserted during the walk are not.
template <class Visit> void Walk(QVector<AList>& list, Visit visit)
{
    for (int i = 0; i < list.size();) {
        switch (visit(i)) {
        case Step::Kept:
            ++i;
            break;
        case Step::Deleted:
            break;
        case Step::InsertedFront:
            i += 2;
            break;
        }
    }
}

// Takes cell x out of list[i], which covers it, so that nothing else it covers is lost.
Step RemoveCell(QVector<AList>& list, int i, Cell x)
{
    AList& r = list[i];
    if (CoversOnly(r, x)) {
        list.removeAt(i);
        return Step::Deleted;
    }
    if (r.days == DayBit(x)) {
        r.months &= uint16_t(~MonthBit(x));
        return Step::Kept;
    }
    if (r.months == MonthBit(x)) {
        r.days &= uint8_t(~DayBit(x));
        return Step::Kept;
    }
    // Split: the other day types in every month, and x's day type in the other months.
    const AList others{r.zone, uint8_t(r.days & ~DayBit(x)), r.months};
    r.days = DayBit(x);
    r.months &= uint16_t(~MonthBit(x));
    list.prepend(others);
    return Step::InsertedFront;
}

// Makes the zone of list[i], which covers c, present in x as well. A set is widened only when
// the other set is c's alone, so exactly x is added; otherwise x gets a record of its own.
Step Extend(QVector<AList>& list, int i, Cell c, Cell x)
{
    AList& r = list[i];
    const bool monthOfC = r.months == MonthBit(c);
    const bool dayOfC = r.days == DayBit(c);
    if (dayOfC && x.dayType == c.dayType) {
        r.months |= MonthBit(x);
        return Step::Kept;
    }
    if (monthOfC && x.month == c.month) {
        r.days |= DayBit(x);
        return Step::Kept;
    }
    if (Covers(r, x))
        return Step::Kept;
    list.prepend(SingleCell(r.zone, x));
    return Step::InsertedFront;
}

// Joins records of one zone that share a day-type set or a month set, until nothing joins.
void Merge(QVector<AList>& list)
{
    bool deleted = true;
    while (deleted) {
        deleted = false;
        for (int a = 0; a < list.size() - 1; ++a) {
            for (int b = a + 1; b < list.size();) {
                AList& ra = list[a];
                const AList& rb = list[b];
                if (ra.zone == rb.zone && ra.days == rb.days)
                    ra.months |= rb.months;
                else if (ra.zone == rb.zone && ra.months == rb.months)
                    ra.days |= rb.days;
                else {
                    ++b;
                    continue;
                }
                list.removeAt(b);
                deleted = true;
            }
        }
    }
}

} // namespace

QVector<Zone> ProfileOf(const QVector<AList>& records, Cell cell)
{
    QVector<Zone> zones;
    for (const AList& r : records)
        if (Covers(r, cell))
            zones.append(r.zone);
    std::sort(zones.begin(), zones.end());
    return zones;
}

Schedule::Schedule() : holidays_(DefaultHolidays())
{
    flag(current_).selected = true;
}

CellFlags& Schedule::flag(Cell cell)
{
    return flags_[IndexOf(cell)];
}

CellFlags Schedule::flags(Cell cell) const
{
    return cell.valid() ? flags_[IndexOf(cell)] : CellFlags{};
}

void Schedule::SetCurrent(Cell cell)
{
    if (cell.valid())
        current_ = cell;
}

void Schedule::SetSelected(Cell cell, bool selected)
{
    if (cell.valid())
        flag(cell).selected = selected;
}

void Schedule::SelectOnly(Cell cell)
{
    SelectRectangle(cell, cell);
}

void Schedule::SelectRectangle(Cell a, Cell b)
{
    if (!a.valid() || !b.valid())
        return;
    ForEachCell([&](Cell c) {
        flag(c).selected = c.month >= std::min(a.month, b.month) &&
                           c.month <= std::max(a.month, b.month) &&
                           c.dayType >= std::min(a.dayType, b.dayType) &&
                           c.dayType <= std::max(a.dayType, b.dayType);
    });
}

void Schedule::EmptyDays()
{
    for (CellFlags& f : flags_)
        f.empty = f.noMidnight = true;
    for (const AList& r : working_)
        ForEachCell([&](Cell c) {
            if (!Covers(r, c))
                return;
            flag(c).empty = false;
            if (r.zone.time == QLatin1String("00:00"))
                flag(c).noMidnight = false;
        });
}

void Schedule::EquivalentDays()
{
    EmptyDays();
    // Profiles are compared as a whole rather than by counting shared records, so that records
    // taken from a file or the meter as they are cannot make differing cells look equal.
    const QVector<Zone> reference = profile(current_);
    bool anyChanged = false;
    ForEachCell([&](Cell c) {
        CellFlags& f = flag(c);
        f.equivalent = profile(c) == reference;
        f.changed = f.selected && !f.equivalent;
        anyChanged = anyChanged || f.changed;
    });
    if (anyChanged)
        pending_ = true;
}

bool Schedule::InsertTZone(const Zone& zone)
{
    if (!ValidZone(zone))
        return false;
    const Cell c = current_;
    // A second zone at the same start time would make the cell's tariff ambiguous.
    for (const Zone& z : profile(c))
        if (z.time == zone.time)
            return UpdateTZone(zone);
    auto same = std::find_if(working_.begin(), working_.end(), [&](const AList& r) {
        return r.zone == zone && (r.days == DayBit(c) || r.months == MonthBit(c));
    });
    if (same != working_.end()) {
        same->days |= DayBit(c);
        same->months |= MonthBit(c);
    } else {
        working_.append(SingleCell(zone, c));
    }
    ZoneEditTail();
    return true;
}

bool Schedule::UpdateTZone(const Zone& zone)
{
    if (!ValidZone(zone))
        return false;
    const Cell c = current_;
    const auto found = std::find_if(working_.begin(), working_.end(), [&](const AList& r) {
        return r.zone.time == zone.time && Covers(r, c);
    });
    if (found != working_.end() && CoversOnly(*found, c)) {
        found->zone = zone;
    } else {
        if (found != working_.end())
            RemoveCell(working_, int(found - working_.begin()), c);
        working_.append(SingleCell(zone, c));
    }
    ZoneEditTail();
    return true;
}

bool Schedule::DeleteTZone(const QString& time)
{
    if (!ValidTime(time))
        return false;
    const Cell c = current_;
    const auto found = std::find_if(working_.begin(), working_.end(), [&](const AList& r) {
        return r.zone.time == time && Covers(r, c);
    });
    if (found != working_.end())
        RemoveCell(working_, int(found - working_.begin()), c);
    ZoneEditTail();
    return true;
}

void Schedule::ZoneEditTail()
{
    EquivalentDays();
    flag(current_).changed = true;
    pending_ = true;
    EditDays();
}

int Schedule::EditDays()
{
    const Cell c = current_;
    if (profile(c).isEmpty()) {
        ForEachCell([&](Cell x) {
            if (!flag(x).changed)
                return;
            Walk(working_, [&](int i) {
                return Covers(working_[i], x) ? RemoveCell(working_, i, x) : Step::Kept;
            });
        });
    } else {
        ForEachCell([&](Cell x) {
            if (x == c || !flag(x).changed)
                return;
            Walk(working_, [&](int i) {
                if (Covers(working_[i], c))
                    return Extend(working_, i, c, x);
                return Covers(working_[i], x) ? RemoveCell(working_, i, x) : Step::Kept;
            });
        });
    }
    // Only changed cells took a new profile, and they now have the current cell's: refreshing
    // the empty and no-midnight flags of all cells gives every selected cell the current cell's.
    EmptyDays();
    Merge(working_);
    return recordCount();
}

void Schedule::Commit()
{
    committed_ = working_;
    pending_ = false;
    EquivalentDays();
}

void Schedule::Revert()
{
    SelectOnly(current_);
    pending_ = false;
    working_ = committed_;
    EquivalentDays();
}

Refusal Schedule::LoadRecords(const QVector<QByteArray>& packed)
{
    Refusal refusal;
    QVector<AList> records = UnpackZones(packed, &refusal);
    if (refusal.refused())
        return refusal;
    committed_ = std::move(records);
    Revert();
    return refusal;
}

QVector<QByteArray> Schedule::SaveRecords()
{
    Commit();
    QVector<QByteArray> packed;
    packed.reserve(committed_.size());
    for (const AList& r : committed_)
        packed.append(PackZone(r));
    return packed;
}

void Schedule::NewSchedule()
{
    LoadRecords({});
    holidays_ = DefaultHolidays();
    transfers_.clear();
}

bool Schedule::SetHolidayList(const QVector<Holiday>& holidays)
{
    if (holidays.size() > kMaxHolidays ||
        !std::all_of(holidays.begin(), holidays.end(), ValidHoliday))
        return false;
    holidays_ = holidays;
    return true;
}

void Schedule::SetHolidays(const QByteArray& table)
{
    if (table.size() == kHolidayTableSize)
        holidays_ = UnpackHolidays(table);
}

bool Schedule::SetTransferList(const QVector<Transfer>& transfers)
{
    if (transfers.size() > kMaxTransfers ||
        !std::all_of(transfers.begin(), transfers.end(), ValidTransfer))
        return false;
    transfers_ = transfers;
    return true;
}

Refusal Schedule::SetTransfers(const QByteArray& table)
{
    Refusal refusal;
    if (table.size() != kTransferTableSize)
        return refusal;
    QVector<Transfer> list = UnpackTransfers(table, &refusal);
    if (!refusal.refused())
        transfers_ = std::move(list);
    return refusal;
}

void Schedule::SetCoefficient(int value)
{
    coefficient_ = std::clamp(value, 1, 255);
}

} // namespace zr::schedule
