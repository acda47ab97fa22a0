#pragma once
// Helpers shared by the schedule tests.

#include "schedule/model.h"
#include "support/hex.h"

#include <QtTest>

namespace zr::schedule::test
{

using zr::test::Hex;

inline uint16_t Months(std::initializer_list<int> months)
{
    uint16_t set = 0;
    for (int m : months)
        set |= GetMaska(m);
    return set;
}

inline uint8_t Days(std::initializer_list<int> days)
{
    return uint8_t(Months(days));
}

inline AList Rec(const char* time, int tariff, int limit, int limitTariff, uint8_t days,
                 uint16_t months)
{
    return AList{
        Zone{QString::fromLatin1(time), uint8_t(tariff), uint8_t(limit), uint8_t(limitTariff)},
        days, months};
}

inline QVector<QByteArray> Packed(const QVector<AList>& records)
{
    QVector<QByteArray> out;
    for (const AList& r : records)
        out.append(PackZone(r));
    return out;
}

// A schedule holding exactly these records, committed, with (1, 1) current.
inline void Load(Schedule& s, const QVector<AList>& records)
{
    QVERIFY(!s.LoadRecords(Packed(records)).refused());
}

// Everything a refused operation must leave as it was.
struct Snapshot {
    QVector<AList> working, committed;
    QVector<Holiday> holidays;
    QVector<Transfer> transfers;
    int coefficient;
    bool pending;
    Cell current;
    QVector<bool> selected;

    explicit Snapshot(const Schedule& s)
        : working(s.working()), committed(s.committed()), holidays(s.holidays()),
          transfers(s.transfers()), coefficient(s.coefficient()), pending(s.pending()),
          current(s.current())
    {
        for (int m = 1; m <= kMonths; ++m)
            for (int d = 1; d <= kDayTypes; ++d)
                selected.append(s.flags({m, d}).selected);
    }
    bool operator==(const Snapshot& o) const
    {
        return working == o.working && committed == o.committed && holidays == o.holidays &&
               transfers == o.transfers && coefficient == o.coefficient && pending == o.pending &&
               current == o.current && selected == o.selected;
    }
};

} // namespace zr::schedule::test

Q_DECLARE_METATYPE(zr::schedule::AList)
Q_DECLARE_METATYPE(zr::schedule::Zone)
Q_DECLARE_METATYPE(zr::schedule::Cell)
Q_DECLARE_METATYPE(zr::schedule::Holiday)
