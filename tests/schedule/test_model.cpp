#include "support.h"

using namespace zr::schedule;
using namespace zr::schedule::test;

namespace
{

const Zone kOld{"07:00", 2, 0, 2};
const Zone kNew{"07:00", 3, 5, 1};
const Zone kNight{"00:00", 1, 0, 1};

using Group = std::pair<QVector<Cell>, QVector<Zone>>;

// Every cell's profile: the cells of each group hold its profile, all other cells are empty.
void CheckProfiles(const Schedule& s, std::initializer_list<Group> groups)
{
    for (int m = 1; m <= kMonths; ++m)
        for (int d = 1; d <= kDayTypes; ++d) {
            QVector<Zone> expected;
            for (const Group& g : groups)
                if (g.first.contains(Cell{m, d}))
                    expected = g.second;
            QVERIFY2(s.profile({m, d}) == expected,
                     qPrintable(QStringLiteral("cell %1/%2").arg(m).arg(d)));
        }
}

QVector<Cell> Rectangle(int m1, int m2, int d1, int d2)
{
    QVector<Cell> cells;
    for (int m = m1; m <= m2; ++m)
        for (int d = d1; d <= d2; ++d)
            cells.append({m, d});
    return cells;
}

// What the editor does after the selection changed.
void ApplySelection(Schedule& s)
{
    s.EquivalentDays();
    s.EditDays();
}

} // namespace

class TestModel : public QObject
{
    Q_OBJECT
private slots:
    void initialState()
    {
        Schedule s;
        QCOMPARE(s.recordCount(), 0);
        QCOMPARE(s.current(), (Cell{1, 1}));
        QVERIFY(!s.pending());
        QCOMPARE(s.holidays(), DefaultHolidays());
        QVERIFY(s.transfers().isEmpty());
        QCOMPARE(s.coefficient(), 1);
        for (const Cell& c : Rectangle(1, 12, 1, 8)) {
            const CellFlags f = s.flags(c);
            QCOMPARE(f.selected, c == (Cell{1, 1}));
            QVERIFY(f.empty && f.noMidnight && f.equivalent && !f.changed);
        }
    }

    void coefficient_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("stored");
        QTest::newRow("0") << 0 << 1;
        QTest::newRow("negative") << -7 << 1;
        QTest::newRow("1") << 1 << 1;
        QTest::newRow("255") << 255 << 255;
        QTest::newRow("256") << 256 << 255;
    }
    void coefficient()
    {
        QFETCH(int, value);
        QFETCH(int, stored);
        Schedule s;
        s.SetCoefficient(value);
        QCOMPARE(s.coefficient(), stored);
    }

    void holidayAndTransferLists()
    {
        Schedule s;
        s.SetHolidays(QByteArray(31, '\0'));
        QCOMPARE(s.holidays(), DefaultHolidays()); // wrong length: nothing happens
        s.SetHolidays(QByteArray(kHolidayTableSize, '\0'));
        QVERIFY(s.holidays().isEmpty());

        QVERIFY(!s.SetHolidayList(QVector<Holiday>(kMaxHolidays + 1, Holiday{1, 1})));
        QVERIFY(!s.SetHolidayList({{1, 1}, {13, 1}}));
        QVERIFY(s.holidays().isEmpty());
        QVERIFY(s.SetHolidayList(QVector<Holiday>(kMaxHolidays, Holiday{2, 29})));
        QCOMPARE(s.GetHolidays(), QByteArray::fromHex(QByteArray("2902").repeated(16)));

        const QVector<Transfer> two{{QDate(2026, 5, 10), 6}, {QDate(2027, 1, 7), 8}};
        QVERIFY(s.SetTransferList(two));
        QVERIFY(!s.SetTransferList({{QDate(2100, 1, 1), 1}}));
        QVERIFY(!s.SetTransferList({{QDate(2026, 1, 1), 9}}));
        QVERIFY(!s.SetTransferList(QVector<Transfer>(kMaxTransfers + 1, two[0])));
        QCOMPARE(s.transfers(), two);

        QVERIFY(!s.SetTransfers(QByteArray(63, '\0')).refused());
        QCOMPARE(s.transfers(), two);
        QByteArray bad = Hex("10052601"
                             "31042601") +
                         QByteArray(56, '\0');
        QCOMPARE(s.SetTransfers(bad).index, 1);
        QCOMPARE(s.transfers(), two); // all or nothing
        QVERIFY(!s.SetTransfers(s.GetTransfers()).refused());
        QCOMPARE(s.transfers(), two);
    }

    void newScheduleKeepsCoefficient()
    {
        Schedule s;
        Load(s, {Rec("00:00", 1, 0, 1, 0xFF, 0x0FFF)});
        s.SetCoefficient(40);
        s.SetHolidayList({{3, 3}});
        s.SetTransferList({{QDate(2026, 5, 10), 6}});
        s.NewSchedule();
        QCOMPARE(s.recordCount(), 0);
        QVERIFY(s.committed().isEmpty());
        QCOMPARE(s.holidays(), DefaultHolidays());
        QVERIFY(s.transfers().isEmpty());
        QCOMPARE(s.coefficient(), 40);
    }

    void loadRecordsRefusesAndKeepsState()
    {
        Schedule s;
        Load(s, {Rec("06:00", 1, 0, 1, 1, 1)});
        s.InsertTZone(kNight);
        const Snapshot before(s);
        const Refusal r =
            s.LoadRecords({PackZone(Rec("06:00", 1, 0, 1, 1, 1)), Hex("00246000010100")});
        QCOMPARE(r.index, 1);
        QVERIFY(Snapshot(s) == before);
    }

    void loadRecordsDropsPendingAndSelection()
    {
        Schedule s;
        s.SetCurrent({2, 2});
        s.SelectRectangle({2, 2}, {3, 3});
        s.InsertTZone(kNight);
        QVERIFY(s.pending());
        const QVector<AList> records{Rec("08:00", 2, 0, 2, 0x1F, 0x0FFF),
                                     Rec("00:00", 1, 0, 1, 0x1F, 0x0FFF)};
        QVERIFY(!s.LoadRecords(Packed(records)).refused());
        QCOMPARE(s.working(), records); // order kept
        QCOMPARE(s.committed(), records);
        QVERIFY(!s.pending());
        QCOMPARE(s.current(), (Cell{2, 2}));
        for (const Cell& c : Rectangle(1, 12, 1, 8)) {
            QCOMPARE(s.flags(c).selected, c == (Cell{2, 2}));
            QCOMPARE(s.flags(c).empty, c.dayType > 5);
            QCOMPARE(s.flags(c).noMidnight, c.dayType > 5);
            QVERIFY(!s.flags(c).changed);
        }
    }

    void invalidZonesRefused_data()
    {
        QTest::addColumn<Zone>("zone");
        QTest::newRow("tariff 0") << Zone{"07:00", 0, 0, 1};
        QTest::newRow("tariff 9") << Zone{"07:00", 9, 0, 9};
        QTest::newRow("limit tariff 0") << Zone{"07:00", 1, 5, 0};
        QTest::newRow("hour 24") << Zone{"24:00", 1, 0, 1};
        QTest::newRow("unpadded") << Zone{"7:00", 1, 0, 1};
    }
    void invalidZonesRefused()
    {
        QFETCH(Zone, zone);
        Schedule s;
        Load(s, {Rec("07:00", 1, 0, 1, 1, 1)});
        const Snapshot before(s);
        QVERIFY(!s.InsertTZone(zone));
        QVERIFY(!s.UpdateTZone(zone));
        QVERIFY(Snapshot(s) == before);
    }

    void insertExtendsMonthSet()
    {
        Schedule s;
        Load(s, {Rec("07:00", 2, 0, 2, Days({1}), Months({1, 2})), Rec("09:00", 1, 0, 1, 2, 4)});
        s.SetCurrent({3, 1});
        s.SelectOnly({3, 1});
        QVERIFY(s.InsertTZone(kOld));
        QCOMPARE(s.recordCount(), 2);
        QCOMPARE(s.working()[0], Rec("07:00", 2, 0, 2, Days({1}), Months({1, 2, 3})));
        QVERIFY(s.pending());
        QVERIFY(s.flags({3, 1}).changed);
    }

    void insertExtendsDaySet()
    {
        Schedule s;
        Load(s, {Rec("07:00", 2, 0, 2, Days({1, 2}), Months({5}))});
        s.SetCurrent({5, 4});
        s.SelectOnly({5, 4});
        QVERIFY(s.InsertTZone(kOld));
        QCOMPARE(s.working(),
                 (QVector<AList>{Rec("07:00", 2, 0, 2, Days({1, 2, 4}), Months({5}))}));
    }

    void insertNewRecordWhenNoSetMatches()
    {
        Schedule s;
        Load(s, {Rec("07:00", 2, 0, 2, Days({1, 2}), Months({1, 2}))});
        s.SetCurrent({3, 3});
        s.SelectOnly({3, 3});
        QVERIFY(s.InsertTZone(kOld));
        QCOMPARE(s.recordCount(), 2);
        QCOMPARE(s.working()[1], Rec("07:00", 2, 0, 2, Days({3}), Months({3})));
    }

    void insertAtExistingTimeChangesZone()
    {
        Schedule s;
        Load(s, {Rec("07:00", 2, 0, 2, 1, 1)});
        QVERIFY(s.InsertTZone(kNew));
        QCOMPARE(s.profile({1, 1}), QVector<Zone>{kNew});
        QCOMPARE(s.recordCount(), 1);
    }

    void updateSplitsBlock()
    {
        Schedule s;
        Load(s, {Rec("07:00", 2, 0, 2, Days({1, 2, 3, 4, 5}), Months({1, 2, 3}))});
        const Cell c{2, 3};
        s.SetCurrent(c);
        s.SelectOnly(c);
        QVERIFY(s.UpdateTZone(kNew));
        QCOMPARE(s.recordCount(), 3);
        QVector<Cell> others = Rectangle(1, 3, 1, 5);
        others.removeOne(c);
        CheckProfiles(s, {{others, {kOld}}, {{c}, {kNew}}});
        QCOMPARE(s.working().last(), Rec("07:00", 3, 5, 1, Days({3}), Months({2})));
    }

    void updateInPlaceForSingleCell()
    {
        Schedule s;
        Load(s, {Rec("06:00", 1, 0, 1, 1, 1), Rec("07:00", 2, 0, 2, 1, 1)});
        QVERIFY(s.UpdateTZone(kNew));
        QCOMPARE(s.working()[1], Rec("07:00", 3, 5, 1, 1, 1));
        QCOMPARE(s.recordCount(), 2);
    }

    void deleteRemovesOnlyCurrentCell()
    {
        Schedule s;
        Load(s, {Rec("07:00", 2, 0, 2, Days({1, 2}), Months({1, 2})), Rec("00:00", 1, 0, 1, 1, 1)});
        QVERIFY(s.DeleteTZone("07:00"));
        const QVector<Cell> rest{{1, 2}, {2, 1}, {2, 2}};
        CheckProfiles(s, {{rest, {kOld}}, {{{1, 1}}, {kNight}}});
        QVERIFY(!s.flags({1, 1}).noMidnight);
        QVERIFY(s.DeleteTZone("00:00"));
        QVERIFY(s.profile({1, 1}).isEmpty());
        QVERIFY(s.flags({1, 1}).empty);
        QVERIFY(s.DeleteTZone("12:00")); // nothing at that time: the schedule stays
        CheckProfiles(s, {{rest, {kOld}}});
        QVERIFY(!s.DeleteTZone("25:00"));
        QVERIFY(!s.DeleteTZone(""));
        CheckProfiles(s, {{rest, {kOld}}});
    }

    // C = (Jan, Mon) alone in its record, the single changed cell (Feb, Tue): a single-cell record,
    // not merged (neither set equal).
    void editDaysSingleCell()
    {
        Schedule s;
        Load(s, {Rec("07:00", 2, 0, 2, 1, 1)});
        s.SetSelected({2, 2}, true);
        s.EquivalentDays();
        QVERIFY(s.flags({2, 2}).changed);
        QVERIFY(s.pending());
        QCOMPARE(s.EditDays(), 2);
        QCOMPARE(s.working()[0], Rec("07:00", 2, 0, 2, Days({2}), Months({2})));
        CheckProfiles(s, {{{{1, 1}, {2, 2}}, {kOld}}});
        QVERIFY(!s.flags({2, 2}).empty);
    }

    // The record order is the file order and the meter's indices. Two changed cells: the walk
    // for (Jan, Wed) inserts at position 0, then narrows, deletes and splits the records behind
    // it; the walk for (Mar, Mon) visits only the records present at its start.
    void editDaysRecordOrder()
    {
        Schedule s;
        Load(s, {Rec("07:00", 2, 0, 2, Days({1, 2}), Months({1, 2})),
                 Rec("09:00", 4, 0, 4, Days({3}), Months({1, 2, 3})),
                 Rec("12:00", 5, 0, 5, Days({3}), Months({1})),
                 Rec("15:00", 6, 0, 6, Days({3, 4}), Months({1, 4}))});
        s.SetSelected({1, 3}, true);
        s.SetSelected({3, 1}, true);
        s.EquivalentDays();
        QCOMPARE(s.EditDays(), 6);
        const QVector<AList> expected{Rec("07:00", 2, 0, 2, Days({1}), Months({3})),
                                      Rec("15:00", 6, 0, 6, Days({4}), Months({1, 4})),
                                      Rec("07:00", 2, 0, 2, Days({3}), Months({1})),
                                      Rec("07:00", 2, 0, 2, Days({1, 2}), Months({1, 2})),
                                      Rec("09:00", 4, 0, 4, Days({3}), Months({2, 3})),
                                      Rec("15:00", 6, 0, 6, Days({3}), Months({4}))};
        QCOMPARE(s.working(), expected);
    }

    // C empty: changed cells lose their profiles, splitting a block; other cells keep theirs.
    void editDaysEmptyCurrent()
    {
        Schedule s;
        Load(s, {Rec("07:00", 2, 0, 2, Days({1, 2, 3}), Months({1, 2, 3})),
                 Rec("00:00", 1, 0, 1, Days({1, 2, 3}), Months({1, 2, 3}))});
        s.SetCurrent({4, 1});
        s.SelectOnly({4, 1});
        s.SetSelected({2, 2}, true);
        s.SetSelected({3, 3}, true);
        ApplySelection(s);
        QVector<Cell> kept = Rectangle(1, 3, 1, 3);
        kept.removeOne({2, 2});
        kept.removeOne({3, 3});
        CheckProfiles(s, {{kept, {kNight, kOld}}});
        QVERIFY(s.flags({2, 2}).empty && s.flags({3, 3}).noMidnight);
        QVERIFY(s.pending());
    }

    // C = (Jan, Mon) with two single-cell zones; the rest of January changed: two records,
    // each covering all of January.
    void editDaysWholeColumn()
    {
        Schedule s;
        Load(s, {Rec("07:00", 2, 0, 2, 1, 1), Rec("00:00", 1, 0, 1, 1, 1)});
        s.SelectRectangle({1, 1}, {1, 8});
        ApplySelection(s);
        QCOMPARE(s.recordCount(), 2);
        for (const AList& r : s.working()) {
            QCOMPARE(int(r.days), 0xFF);
            QCOMPARE(int(r.months), 1);
        }
        CheckProfiles(s, {{Rectangle(1, 1, 1, 8), {kNight, kOld}}});
    }

    // Changed cells lose zones C lacks and gain C's; a rectangle selection merges back into one
    // record per zone.
    void editDaysReplacesDifferentProfiles()
    {
        Schedule s;
        Load(s, {Rec("07:00", 2, 0, 2, 1, 1), Rec("09:00", 4, 0, 4, Days({1, 2}), Months({2})),
                 Rec("07:00", 3, 0, 3, Days({2}), Months({1}))});
        s.SelectRectangle({1, 1}, {2, 2});
        ApplySelection(s);
        CheckProfiles(s, {{Rectangle(1, 2, 1, 2), {kOld}}});
        QCOMPARE(s.working(),
                 (QVector<AList>{Rec("07:00", 2, 0, 2, Days({1, 2}), Months({1, 2}))}));
    }

    void equivalentDays_data()
    {
        QTest::addColumn<QVector<AList>>("records");
        QTest::addColumn<Cell>("current");
        QTest::addColumn<QVector<Cell>>("equivalent");
        const auto everyCell = Rectangle(1, 12, 1, 8);
        QVector<Cell> emptyCells = everyCell;
        for (const Cell& c : Rectangle(1, 2, 1, 2))
            emptyCells.removeOne(c);
        const QVector<AList> block{Rec("07:00", 2, 0, 2, Days({1, 2}), Months({1, 2})),
                                   Rec("00:00", 1, 0, 1, Days({1}), Months({1}))};
        QTest::newRow("empty C: exactly the empty cells") << block << Cell{5, 5} << emptyCells;
        QTest::newRow("C with two zones") << block << Cell{1, 1} << QVector<Cell>{{1, 1}};
        QTest::newRow("C with one zone")
            << block << Cell{2, 2} << QVector<Cell>{{1, 2}, {2, 1}, {2, 2}};
        // Same zone count and one shared zone is not enough.
        QTest::newRow("same size, other zone")
            << QVector<AList>{Rec("07:00", 2, 0, 2, Days({1, 2}), Months({1})),
                              Rec("00:00", 1, 0, 1, Days({1}), Months({1})),
                              Rec("00:00", 3, 0, 3, Days({2}), Months({1}))}
            << Cell{1, 1} << QVector<Cell>{{1, 1}};
        // Records read as they are may repeat a zone in a cell: {A, B} is not {A, A}.
        QTest::newRow("duplicate zone from a file")
            << QVector<AList>{Rec("07:00", 2, 0, 2, Days({1, 2}), Months({1})),
                              Rec("00:00", 1, 0, 1, Days({1}), Months({1})),
                              Rec("07:00", 2, 0, 2, Days({2}), Months({1}))}
            << Cell{1, 1} << QVector<Cell>{{1, 1}};
    }
    void equivalentDays()
    {
        QFETCH(QVector<AList>, records);
        QFETCH(Cell, current);
        QFETCH(QVector<Cell>, equivalent);
        Schedule s;
        Load(s, records);
        s.SetCurrent(current);
        s.SelectOnly(current);
        s.SetSelected({12, 8}, true);
        s.EquivalentDays();
        for (const Cell& c : Rectangle(1, 12, 1, 8))
            QCOMPARE(s.flags(c).equivalent, equivalent.contains(c));
        QCOMPARE(s.flags({12, 8}).changed, !equivalent.contains(Cell{12, 8}));
        QCOMPARE(s.pending(), !equivalent.contains(Cell{12, 8}));
    }

    void commitAndRevert()
    {
        Schedule s;
        Load(s, {Rec("07:00", 2, 0, 2, 1, 1)});
        s.SelectRectangle({1, 1}, {2, 1});
        s.InsertTZone(kNight);
        QVERIFY(s.pending());
        QCOMPARE(s.profile({2, 1}), (QVector<Zone>{kNight, kOld}));
        s.Revert();
        QVERIFY(!s.pending());
        QCOMPARE(s.working(), s.committed());
        QVERIFY(s.profile({2, 1}).isEmpty());
        QVERIFY(!s.flags({2, 1}).selected && s.flags({1, 1}).selected);
        QVERIFY(!s.flags({2, 1}).changed);

        s.InsertTZone(kNight);
        const QVector<QByteArray> packed = s.SaveRecords(); // commits
        QVERIFY(!s.pending());
        QCOMPARE(s.committed(), s.working());
        QCOMPARE(packed, Packed(s.committed()));
        s.DeleteTZone("00:00");
        s.Revert();
        QCOMPARE(s.profile({1, 1}), (QVector<Zone>{kNight, kOld}));
    }

    void selection()
    {
        Schedule s;
        s.SelectRectangle({4, 5}, {1, 1});
        int count = 0;
        for (const Cell& c : Rectangle(1, 12, 1, 8))
            count += s.flags(c).selected;
        QCOMPARE(count, 20);
        s.SetSelected({0, 1}, true);
        s.SetCurrent({13, 1});
        QCOMPARE(s.current(), (Cell{1, 1}));
        QCOMPARE(s.flags({0, 1}).selected, false);
        s.SelectOnly({12, 8});
        QVERIFY(s.flags({12, 8}).selected && !s.flags({1, 1}).selected);
    }
};

QObject* NewModelTest()
{
    return new TestModel;
}

#include "test_model.moc"
