#include "meter/event_journal.h"
#include "meter/half_hours.h"
#include "meter/year_journal.h"

#include "link/frame.h"
#include "link/function_code.h"
#include "meter/encodings.h"
#include "sim/demo.h"

#include "support/hex.h"
#include "support/response.h"

#include <QtTest>
#include <algorithm>
#include <cmath>
#include <random>

using namespace zr::meter;
using namespace zr::test;

namespace
{

QByteArray u16(uint32_t v)
{
    QByteArray out;
    AppendU16(out, v);
    return out;
}
QByteArray u24(uint32_t v)
{
    QByteArray out;
    AppendU24(out, v);
    return out;
}
QByteArray u32(uint32_t v)
{
    QByteArray out;
    AppendU32(out, v);
    return out;
}
QByteArray real(double v)
{
    return u32(EncodeMeterFloat(v));
}
QDateTime at(int y, int mo, int d, int h, int mi, int s = 0)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s), Qt::UTC);
}
uint32_t stamp(const QDateTime& t)
{
    return *EncodeMeterTimestamp(t);
}

// A yearly-journal record of month m, year byte y: tariff t reads t + 0.5.
QByteArray monthRecord(int m, int y, uint32_t peakTime, uint32_t peakWatts, uint32_t running)
{
    QByteArray p;
    p.append(char(m));
    p.append(char(y));
    for (int t = 1; t <= 8; ++t)
        p += real(t + 0.5);
    return Response(zr::link::ReadYearJournal, p + u32(peakTime) + u24(peakWatts) + u32(running));
}

QByteArray eventFrame(int index, int number, uint32_t time, int tariff, double reading, int status,
                      uint32_t running)
{
    return Response(zr::link::ReadEventJournal, u16(index) + u16(number) + u32(time) +
                                                    QByteArray(1, char(tariff)) + real(reading) +
                                                    QByteArray(1, char(status)) + u32(running));
}

QByteArray halfHour(uint32_t slot, uint32_t number, uint32_t value)
{
    return Response(zr::link::ReadHalfHours, u16(slot) + u24(number) + u24(value));
}

const QLocale kRussian(QLocale::Russian, QLocale::Russia);

// The demonstration meter with its clock at 2026-03-05 14:10, standing still.
std::unique_ptr<zr::sim::Meter> demoMeter()
{
    return zr::sim::MakeDemoMeter(stamp(at(2026, 3, 5, 14, 10)), [] { return qint64(0); });
}

} // namespace

class TestJournals : public QObject
{
    Q_OBJECT
private slots:
    void batches()
    {
        const QList<QByteArray> year = YearJournalBatch();
        QCOMPARE(year.size(), 12);
        QCOMPARE(year.first(), Hex("12 03 00"));
        QCOMPARE(year.last(), Hex("12 03 0B"));
        const QList<QByteArray> events = EventJournalBatch();
        QCOMPARE(events.size(), 1600);
        QCOMPARE(events[0], Hex("13 04 00 00"));
        QCOMPARE(events[258], Hex("13 04 02 01"));
        QCOMPARE(events.last(), Hex("13 04 3F 06"));
    }

    void yearMonth_data()
    {
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("column0");
        QTest::addColumn<int>("cellCount");
        QTest::addColumn<int>("progress");
        QTest::addColumn<QString>("logLine");
        const uint32_t t = stamp(at(2008, 12, 24, 19, 5, 7));
        const QString bad = QStringLiteral("Некорректный месяц журнала");
        QTest::newRow("december 2008")
            << monthRecord(11, 0x08, t, 5000, 60) << 12 << "08 дек." << 13 << 12 << "";
        QTest::newRow("january 2007")
            << monthRecord(0, 0x07, t, 5000, 60) << 1 << "07 янв." << 13 << 1 << "";
        QTest::newRow("year byte not BCD")
            << monthRecord(2, 0x1A, t, 0, 0) << 3 << "1A март" << 13 << 3 << "";
        QTest::newRow("may without record")
            << Response(18, Hex("04")) << 5 << "май" << 1 << 5 << "";
        QTest::newRow("month 12 with a record")
            << monthRecord(12, 0x08, t, 1, 1) << -1 << "" << 0 << 12 << bad;
        QTest::newRow("month 200 without record")
            << Response(18, Hex("C8")) << -1 << "" << 0 << 12 << bad;
    }

    void yearMonth()
    {
        QFETCH(QByteArray, frame);
        QFETCH(int, cellCount);
        const YearJournalMonth m = DecodeYearJournalMonth(frame, kRussian);
        QVERIFY(m.ok());
        QTEST(m.row, "row");
        QCOMPARE(m.cells.size(), cellCount);
        QCOMPARE(m.recorded, cellCount == 13);
        if (cellCount)
            QTEST(m.cells[0], "column0");
        QTEST(m.progress, "progress");
        QTEST(m.trafficLogLine, "logLine");
    }

    void yearMonthCells()
    {
        const YearJournalMonth m = DecodeYearJournalMonth(
            monthRecord(11, 0x08, stamp(at(2008, 12, 24, 19, 5, 7)), 5432, 90061), kRussian);
        QCOMPARE(m.cells[1], QStringLiteral("5432"));
        QCOMPARE(m.cells[2], FormatDate(QDate(2008, 12, 24), kRussian));
        QCOMPARE(m.cells[3], FormatTime(QTime(19, 5, 7), kRussian));
        QCOMPARE(m.cells[4], QStringLiteral("1,500"));
        QCOMPARE(m.cells[11], QStringLiteral("8,500"));
        QCOMPARE(m.cells[12], QStringLiteral("1д.01:01:01"));
        QVERIFY(!DecodeYearJournalMonth(ResponseWithLength(18, 47, Hex("0B 08 00"))).ok());
    }

    void eventRecord_data()
    {
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<int>("index");
        QTest::addColumn<QStringList>("columns");
        const uint32_t t = stamp(at(2026, 3, 5, 14, 7, 9));
        QTest::newRow("single tariff")
            << eventFrame(2, 3, t, 0, 1.0, 64, 60) << 2
            << QStringList{"3", "05.03.26 14:07:09", "64", "однот.", "1,000", "00:01:00"};
        QTest::newRow("tariff 5") << eventFrame(1599, 65535, t, 5, 1234.5, 255, 90061) << 1599
                                  << QStringList{"65535", "05.03.26 14:07:09", "255",
                                                 "5",     "1234,500",          "1д.01:01:01"};
        QTest::newRow("empty record") << Response(19, Hex("3F 06")) << 1599 << QStringList();
    }

    void eventRecord()
    {
        QFETCH(QByteArray, frame);
        QFETCH(QStringList, columns);
        const EventRecord e = DecodeEventRecord(frame, kRussian);
        QVERIFY(e.ok());
        QTEST(e.index, "index");
        QCOMPARE(e.present, !columns.isEmpty());
        QCOMPARE(e.columns, columns);
    }

    void shortEventRecordIsAnError()
    {
        QVERIFY(!DecodeEventRecord(ResponseWithLength(19, 20, Hex("02 00 03 00"))).ok());
    }

    void statusHint_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("hint");
        QTest::newRow("timer not set") << "64"
                                       << "Дата и время таймера не установлены.";
        QTest::newRow("two phases") << "9"
                                    << "Фаза A: потребление ДДМ > ББ.\nФаза B: потребление ДДМ "
                                       "< ББ.";
        QTest::newRow("power off") << "255"
                                   << "Выключение питания";
        QTest::newRow("not a number") << "абв"
                                      << "";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("beyond a byte") << "256"
                                       << "";
    }

    void statusHint()
    {
        QFETCH(QString, text);
        QTEST(StatusHint(text), "hint");
    }

    void sortKey()
    {
        QCOMPARE(EventSortKey(QStringLiteral("1850")), 1850);
        QCOMPARE(EventSortKey(QStringLiteral("-3")), -3);
        QCOMPARE(EventSortKey(QString()), -999);
        QCOMPARE(EventSortKey(QStringLiteral("12a")), -999);
    }

    void insertionOfRecords5_3_4()
    {
        QList<int> list;
        for (int key : {5, 3, 4})
            list.insert(SortedInsertPosition(int(list.size()), key, [&](int i) { return list[i]; }),
                        key);
        QCOMPARE(list, (QList<int>{3, 4, 5}));
    }

    // Items inserted one by one end up in the order a stable sort by key gives: ascending keys,
    // items of equal keys in arrival order. Each insertion costs a binary search.
    void insertionMatchesStableSort()
    {
        std::mt19937 random(347);
        for (int round = 0; round < 20; ++round) {
            const int n = 1 + int(random() % 1700);
            const int range = round % 2 ? 20 : 5000; // many equal keys, or few
            QList<std::pair<int, int>> arrivals;     // (key, arrival number)
            for (int i = 0; i < n; ++i)
                arrivals.append({random() % 7 == 0 ? -999 : int(random() % range) - 3, i});

            QList<std::pair<int, int>> inserted;
            for (const auto& item : arrivals) {
                int calls = 0;
                const int pos = SortedInsertPosition(int(inserted.size()), item.first, [&](int i) {
                    ++calls;
                    return inserted[i].first;
                });
                QVERIFY(calls <= int(std::ceil(std::log2(inserted.size() + 1))));
                inserted.insert(pos, item);
            }
            QList<std::pair<int, int>> sorted = arrivals;
            std::stable_sort(sorted.begin(), sorted.end(),
                             [](const auto& a, const auto& b) { return a.first < b.first; });
            QCOMPARE(inserted, sorted);
        }
    }

    // 2007-06-18 is 2725 days after 2000-01-01.
    void halfHourBatch()
    {
        const HalfHourRead read = HalfHourBatch(QDate(2007, 6, 18), kRussian);
        QVERIFY(read.ok());
        QCOMPARE(read.h0, 130800);
        QCOMPARE(read.requests.size(), 48);
        QCOMPARE(read.requests.first(), Hex("2A 04 F0 0E"));
        QCOMPARE(read.requests[16], Hex("2A 04 00 0F"));
        QCOMPARE(read.requests.last(), Hex("2A 04 1F 0F"));
        QCOMPARE(read.title, FormatDate(QDate(2007, 6, 18), kRussian));
        // Slots wrap at 4096.
        const HalfHourRead wrapping = HalfHourBatch(QDate(2000, 3, 26));
        QCOMPARE(wrapping.h0, 4080);
        QCOMPARE(wrapping.requests[15], Hex("2A 04 FF 0F"));
        QCOMPARE(wrapping.requests[16], Hex("2A 04 00 00"));

        const HalfHourRead early = HalfHourBatch(QDate(1999, 12, 31));
        QVERIFY(!early.ok());
        QVERIFY(early.requests.isEmpty());
        QVERIFY(!HalfHourBatch(QDate()).ok());
    }

    void halfHourItem_data()
    {
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<bool>("current");
        QTest::addColumn<QDateTime>("start");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("power");
        QTest::addColumn<double>("kilowatts");
        const qint64 h0 = 130800; // 2007-06-18
        const uint32_t s5 = (h0 + 5) % 4096;
        const QDateTime at5 = at(2007, 6, 18, 2, 30);
        const QString caption5 = QStringLiteral("18-Jun-07  02:30 - 03:00");
        QTest::newRow("current record")
            << halfHour(s5, h0 + 5, 3000) << true << at5 << caption5 << "1,500" << 1.5;
        QTest::newRow("last half-hour of the day")
            << halfHour((h0 + 47) % 4096, h0 + 47, 1) << true << at(2007, 6, 18, 23, 30)
            << "18-Jun-07  23:30 - 00:00"
            << "0,001" << 0.0005;
        QTest::newRow("record 4096 half-hours older")
            << halfHour(s5, h0 + 5 - 4096, 3000) << false << at5 << caption5 << "" << 0.0;
        QTest::newRow("record of a later day")
            << halfHour(s5, h0 + 5 + 4096, 3000) << false << at5 << caption5 << "" << 0.0;
        QTest::newRow("empty slot")
            << Response(42, u16(s5)) << false << at5 << caption5 << "" << 0.0;
        // Only the low 12 bits of an echo name the slot, so the search ends.
        QTest::newRow("echo above 4095")
            << Response(42, u16(s5 + 4096)) << false << at5 << caption5 << "" << 0.0;
        // A slot the read did not ask for lies past the day: 4095 is 271 half-hours after h0's.
        QTest::newRow("echo 65535") << Response(42, u16(65535)) << false << at(2007, 6, 23, 15, 30)
                                    << "23-Jun-07  15:30 - 16:00"
                                    << "" << 0.0;
    }

    void halfHourItem()
    {
        QFETCH(QByteArray, frame);
        QFETCH(QDateTime, start);
        QFETCH(QString, caption);
        QFETCH(QString, power);
        const HalfHourItem c = DecodeHalfHour(frame, 130800, QLocale::c());
        const HalfHourItem r = DecodeHalfHour(frame, 130800, kRussian);
        QVERIFY(c.ok());
        QTEST(c.current, "current");
        QCOMPARE(c.start, start);
        QCOMPARE(c.caption, caption);
        QCOMPARE(c.label, caption.mid(11, 5));
        QCOMPARE(r.power, power);
        QTEST(c.kilowatts, "kilowatts");
    }

    void shortHalfHourIsAnError()
    {
        QVERIFY(!DecodeHalfHour(ResponseWithLength(42, 10, Hex("F0 0E F0")), 130800).ok());
    }

    // The demonstration meter's year: twelve months, each from the year it belongs to.
    void simulatedYearJournal()
    {
        auto meter = demoMeter();
        QStringList column0;
        for (const QByteArray& request : YearJournalBatch()) {
            const YearJournalMonth m =
                DecodeYearJournalMonth(meter->answer(zr::frame::AppendCrc(request)), kRussian);
            QVERIFY(m.ok() && m.recorded);
            QCOMPARE(m.row, m.progress);
            QCOMPARE(m.readings[0], meter->state().yearly[size_t(m.month)].readings[0]);
            column0 << m.cells[0];
        }
        QCOMPARE(column0.first(), QStringLiteral("26 янв."));
        QCOMPARE(column0[2], QStringLiteral("25 март"));
        QCOMPARE(column0.last(), QStringLiteral("25 дек."));
    }

    // The whole event journal of the demonstration meter, listed by record number.
    void simulatedEventJournal()
    {
        auto meter = demoMeter();
        QStringList captions;
        int empty = 0;
        int lastIndex = -1;
        for (const QByteArray& request : EventJournalBatch()) {
            const EventRecord e =
                DecodeEventRecord(meter->answer(zr::frame::AppendCrc(request)), kRussian);
            QVERIFY(e.ok());
            QCOMPARE(e.index, lastIndex + 1);
            lastIndex = e.index;
            if (!e.present) {
                ++empty;
                continue;
            }
            const int key = EventSortKey(e.columns[EventColumnNumber]);
            captions.insert(SortedInsertPosition(int(captions.size()), key,
                                                 [&](int i) { return EventSortKey(captions[i]); }),
                            e.columns[EventColumnNumber]);
        }
        QCOMPARE(empty, 8);
        QCOMPARE(captions.size(), 1592);
        // The ring holds records 251 to 1850; the newest overwrote the oldest slots.
        QCOMPARE(captions.first(), QStringLiteral("251"));
        QCOMPARE(captions.last(), QStringLiteral("1850"));
        for (int i = 1; i < captions.size(); ++i)
            QVERIFY(captions[i - 1].toInt() < captions[i].toInt());
        QVERIFY(!captions.contains(QStringLiteral("337")));
    }

    // The day of the demonstration meter's clock: recorded half-hours, the stale ones of a power
    // cut and of the rest of the day, and one erased.
    void simulatedHalfHours()
    {
        auto meter = demoMeter();
        const HalfHourRead read = HalfHourBatch(QDate(2026, 3, 5), kRussian);
        QList<HalfHourItem> items;
        for (const QByteArray& request : read.requests)
            items << DecodeHalfHour(meter->answer(zr::frame::AppendCrc(request)), read.h0,
                                    kRussian);
        QCOMPARE(items.size(), 48);
        int current = 0, stale = 0, empty = 0;
        for (int i = 0; i < items.size(); ++i) {
            const HalfHourItem& item = items[i];
            QVERIFY(item.ok());
            QCOMPARE(item.start, at(2026, 3, 5, 0, 0).addSecs(1800 * i));
            QCOMPARE(item.power.isEmpty(), !item.current);
            if (item.current) {
                ++current;
                QVERIFY(item.kilowatts > 0);
            } else {
                QCOMPARE(item.kilowatts, 0.0);
                ++(item.stored ? stale : empty);
            }
        }
        // 14:10 is in half-hour 28; the cut left 21 erased and 22..24 stale.
        QCOMPARE(current, 24);
        QCOMPARE(stale, 23);
        QCOMPARE(empty, 1);
        QVERIFY(!items[21].stored);
        QVERIFY(items[22].stored && !items[22].current);
        QVERIFY(items[20].current && items[25].current);
    }
};

QTEST_GUILESS_MAIN(TestJournals)
#include "test_journals.moc"
