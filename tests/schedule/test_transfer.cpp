// The schedule's write and read batches, the decoders of the read, and a round trip through the
// simulated meter.

#include "support.h"

#include "link/frame.h"
#include "link/function_code.h"
#include "link/password.h"
#include "meter/encodings.h"
#include "schedule/transfer.h"
#include "sim/meter.h"

using namespace zr::schedule;
using namespace zr::schedule::test;

namespace
{

QByteArray Response(const char* hex)
{
    return zr::frame::AppendCrc(Hex(hex));
}

QList<QByteArray> HexList(std::initializer_list<const char*> frames)
{
    QList<QByteArray> out;
    for (const char* f : frames)
        out << Hex(f);
    return out;
}

// Three records: a night zone everywhere, a day zone with a limit on working days in winter, and
// one whose month set keeps the bits above December as a meter may hold them.
QVector<AList> ThreeRecords()
{
    return {Rec("00:00", 2, 0, 2, 0xFF, 0x0FFF), Rec("07:30", 1, 5, 3, 0x1F, Months({1, 2, 12})),
            Rec("23:00", 8, 255, 7, Days({6, 7}), 0xF001)};
}

// Feeds one read answer to its decoder, as the page's registered decoders do.
void Feed(ScheduleRead& read, const QByteArray& frame, QStringList* log)
{
    const auto note = [&](const zr::meter::DecodeResult& r) {
        if (!r.ok())
            log->append(r.error);
    };
    switch (uint8_t(frame[0])) {
    case zr::link::ReadLimitCoefficient: {
        const CoefficientAnswer a = DecodeCoefficient(frame);
        note(a);
        read.Add(a);
        break;
    }
    case zr::link::ReadSchedule: {
        const ZoneAnswer a = DecodeZoneAnswer(frame);
        note(a);
        read.Add(a);
        break;
    }
    case zr::link::ReadHolidays: {
        const HolidayAnswer a = DecodeHolidayAnswer(frame);
        note(a);
        read.Add(a);
        break;
    }
    case zr::link::ReadTransfers: {
        const TransferAnswer a = DecodeTransferAnswer(frame);
        note(a);
        read.Add(a);
        break;
    }
    default:
        QFAIL("not an answer of the read");
    }
}

// Sends a batch to the meter as the link does (checksum appended, the password filled in and
// scrambled with the number and running time just read); every answer must be an acceptance.
void Run(zr::sim::Meter& meter, const QList<QByteArray>& frames, QList<QByteArray>* answers)
{
    uint32_t number = 0;
    uint32_t running = 0;
    for (QByteArray request : frames) {
        if (uint8_t(request[0]) == zr::link::EnterPassword)
            request.replace(
                2, 6, zr::link::ScramblePassword(zr::link::PasswordBytes({}), number, running));
        const QByteArray answer = meter.answer(zr::frame::AppendCrc(request));
        QVERIFY2(!answer.isEmpty() && uint8_t(answer[0]) == uint8_t(request[0]),
                 qPrintable(request.toHex(' ') + " -> " + answer.toHex(' ')));
        auto reader = zr::meter::FieldReader::Response(answer);
        if (uint8_t(request[0]) == zr::link::ReadNumber)
            number = reader.u24(2);
        if (uint8_t(request[0]) == zr::link::ReadCounters)
            running = reader.u32(2);
        answers->append(answer);
    }
}

} // namespace

class TestTransfer : public QObject
{
    Q_OBJECT

private slots:
    // Holidays and transfers in the lists are not sent without records.
    void emptyScheduleWritesSevenRequests()
    {
        Schedule s;
        QVERIFY(s.SetTransferList({{QDate(2030, 5, 4), 1}}));
        s.SetCoefficient(3);
        const ScheduleWrite w = BuildScheduleWrite(s);
        QVERIFY(!w.refused());
        QCOMPARE(w.frames, HexList({"01 02", "11 02", "14 08 00 00 00 00 00 00", "27 02", "29 02",
                                    "09 02", "07 03 03"}));
    }

    void holidaysTransfersAndRecordsInOrder()
    {
        Schedule s;
        Load(s, ThreeRecords());
        QVERIFY(s.SetTransferList({{QDate(2000, 1, 15), 6}, {QDate(2099, 12, 31), 8}}));
        s.SetCoefficient(200);
        const ScheduleWrite w = BuildScheduleWrite(s);
        QCOMPARE(w.frames.size(), 7 + 12 + 2 + 3);
        QCOMPARE(w.frames.mid(0, 7), HexList({"01 02", "11 02", "14 08 00 00 00 00 00 00", "27 02",
                                              "29 02", "09 02", "07 03 C8"}));
        QCOMPARE(w.frames.mid(7, 12),
                 HexList({"27 05 00 01 01", "27 05 01 02 01", "27 05 02 03 01", "27 05 03 04 01",
                          "27 05 04 05 01", "27 05 05 07 01", "27 05 06 23 02", "27 05 07 08 03",
                          "27 05 08 01 05", "27 05 09 09 05", "27 05 0A 12 06", "27 05 0B 04 11"}));
        QCOMPARE(w.frames.mid(19, 2), HexList({"29 07 00 15 01 00 06", "29 07 01 31 12 99 08"}));
        QCOMPARE(w.frames.mid(21),
                 HexList({"09 0A 00 11 00 00 00 FF FF 0F", "09 0A 01 20 07 30 05 1F 03 08",
                          "09 0A 02 67 23 00 FF 60 01 F0"}));
    }

    // The default holidays and three records, one of them a pending edit: 7 + 12 + 0 + 3.
    void pendingEditsAreCommittedAndSent()
    {
        Schedule s;
        Load(s, ThreeRecords().mid(0, 2));
        s.SetCurrent({3, 3});
        s.SelectOnly({3, 3});
        QVERIFY(s.InsertTZone(Zone{"12:00", 4, 0, 4}));
        QVERIFY(s.pending());
        const ScheduleWrite w = BuildScheduleWrite(s);
        QVERIFY(!s.pending());
        QCOMPARE(w.frames.size(), 22);
        QCOMPARE(s.committed().size(), 3);
        for (int k = 0; k < 3; ++k)
            QCOMPARE(w.frames[19 + k], Hex("09 0A") + char(k) + PackZone(s.committed()[k]));
    }

    void tooManyRecordsRefusedUntouched_data()
    {
        QTest::addColumn<int>("records");
        QTest::addColumn<bool>("refused");
        QTest::newRow("256 records fit") << 256 << false;
        QTest::newRow("257 records") << 257 << true;
        QTest::newRow("1000 records") << 1000 << true;
    }
    void tooManyRecordsRefusedUntouched()
    {
        QFETCH(int, records);
        QFETCH(bool, refused);
        QVector<AList> list;
        for (int i = 0; i < records - 1; ++i)
            list.append(Rec(qPrintable(TimeText(i / 60 % 24, i % 60)), 1, 0, 1, 1, 1));
        Schedule s;
        Load(s, list);
        s.SetCurrent({2, 2});
        s.SelectOnly({2, 2});
        QVERIFY(s.InsertTZone(Zone{"23:59", 2, 0, 2})); // a pending edit the refusal keeps
        const Snapshot before(s);
        const ScheduleWrite w = BuildScheduleWrite(s);
        QCOMPARE(w.refused(), refused);
        if (refused) {
            QVERIFY(w.frames.isEmpty());
            QVERIFY2(w.refusal.contains(QString::number(records)), qPrintable(w.refusal));
            QVERIFY(w.refusal.contains(QStringLiteral("256")));
            QVERIFY(before == Snapshot(s));
        } else {
            QCOMPARE(w.frames.size(), 7 + 12 + records);
            QCOMPARE(w.frames.last().left(3), Hex("09 0A FF"));
        }
    }

    void readAsksForEverySlot()
    {
        const QList<QByteArray> frames = BuildScheduleRead();
        QCOMPARE(frames.size(), 289);
        QCOMPARE(frames[0], Hex("06 02"));
        for (int i = 0; i < 256; ++i)
            QCOMPARE(frames[1 + i], Hex("08 03") + char(i));
        for (int i = 0; i < 16; ++i) {
            QCOMPARE(frames[257 + i], Hex("26 03") + char(i));
            QCOMPARE(frames[273 + i], Hex("28 03") + char(i));
        }
    }

    void coefficientLogLine()
    {
        QCOMPARE(CoefficientWrittenLog(17),
                 QStringLiteral("Коэффициент лимита тарифного расписания=17"));
    }

    void zoneAnswers_data()
    {
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<bool>("counted");
        QTest::addColumn<QByteArray>("packed"); // empty: no entry
        QTest::addColumn<QString>("error");
        const auto row = [](const char* name, const char* hex, bool counted, const char* packed,
                            const char* error) {
            QTest::newRow(name) << Response(hex) << counted << Hex(packed)
                                << QString::fromUtf8(error);
        };
        row("record", "08 0A 05 21 07 30 05 1F 01 08", true, "21 07 30 05 1F 01 08", "");
        row("empty slot", "08 03 05", true, "", "");
        row("checksum form is not a record", "08 04 34 12", false, "", "");
        row("hour 24", "08 0A 05 21 24 00 05 1F 01 08", true, "",
            "Отклик на функцию 8 (чтение тарифного расписания), индекс 5, пропущен: недопустимое "
            "время начала 24:00");
        row("minute 60", "08 0A 06 21 07 60 05 1F 01 08", true, "", "время начала 07:60");
        row("short", "08 0A 05 21 07", true, "", "Короткий отклик на функцию 8");
    }
    void zoneAnswers()
    {
        QFETCH(QByteArray, frame);
        QFETCH(bool, counted);
        QFETCH(QByteArray, packed);
        QFETCH(QString, error);
        const ZoneAnswer a = DecodeZoneAnswer(frame);
        QCOMPARE(a.counted, counted);
        QCOMPARE(a.present, !packed.isEmpty());
        QCOMPARE(a.packed, packed);
        QVERIFY2(error.isEmpty() ? a.ok() : a.error.contains(error), qPrintable(a.error));
    }

    void holidayAnswers_data()
    {
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<int>("month"); // 0: no entry
        QTest::addColumn<int>("day");
        QTest::addColumn<QString>("error");
        const auto row = [](const char* name, const char* hex, int month, int day,
                            const char* error) {
            QTest::newRow(name) << Response(hex) << month << day << QString::fromUtf8(error);
        };
        row("holiday", "26 05 03 23 02", 2, 23, "");
        row("31 February is a holiday", "26 05 03 31 02", 2, 31, "");
        row("empty slot", "26 03 03", 0, 0, "");
        row("month 13", "26 05 04 01 13", 0, 0,
            "Отклик на функцию 38 (чтение праздников), индекс 4, пропущен: месяц 13 вне "
            "диапазона 1–12");
        row("month 0", "26 05 04 01 00", 0, 0, "месяц 0 вне");
        row("day 0", "26 05 04 00 05", 0, 0, "день 0 вне диапазона 1–31");
        row("day 32", "26 05 04 32 05", 0, 0, "день 32 вне");
        row("short", "26 05 04 01", 0, 0, "Короткий отклик на функцию 38");
    }
    void holidayAnswers()
    {
        QFETCH(QByteArray, frame);
        QFETCH(int, month);
        QFETCH(int, day);
        QFETCH(QString, error);
        const HolidayAnswer a = DecodeHolidayAnswer(frame);
        QCOMPARE(a.present, month != 0);
        if (a.present)
            QCOMPARE(a.holiday, (Holiday{month, day}));
        QVERIFY2(error.isEmpty() ? a.ok() : a.error.contains(error), qPrintable(a.error));
    }

    void transferAnswers_data()
    {
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<QDate>("date"); // null: no entry
        QTest::addColumn<int>("dayType");
        QTest::addColumn<QString>("error");
        const auto row = [](const char* name, const char* hex, QDate date, int dayType,
                            const char* error) {
            QTest::newRow(name) << Response(hex) << date << dayType << QString::fromUtf8(error);
        };
        row("15 January 2000", "28 07 02 15 01 00 06", QDate(2000, 1, 15), 6, "");
        row("31 December 2099", "28 07 02 31 12 99 08", QDate(2099, 12, 31), 8, "");
        row("empty slot", "28 03 02", {}, 0, "");
        row("31 April", "28 07 02 31 04 26 01", {}, 0,
            "Отклик на функцию 40 (чтение переносов), индекс 2, пропущен: несуществующая дата "
            "31.04.2026");
        row("29 February of a common year", "28 07 02 29 02 25 01", {}, 0, "29.02.2025");
        row("day type 0", "28 07 02 15 01 26 00", {}, 0, "тип дня 0 вне диапазона 1–8");
        row("day type 9", "28 07 02 15 01 26 09", {}, 0, "тип дня 9 вне");
        row("month 13", "28 07 02 15 13 26 01", {}, 0, "месяц 13 вне диапазона 1–12");
        row("day 0", "28 07 02 00 01 26 01", {}, 0, "день 0 вне диапазона 1–31");
        row("short", "28 07 02 15 01", {}, 0, "Короткий отклик на функцию 40");
    }
    void transferAnswers()
    {
        QFETCH(QByteArray, frame);
        QFETCH(QDate, date);
        QFETCH(int, dayType);
        QFETCH(QString, error);
        const TransferAnswer a = DecodeTransferAnswer(frame);
        QCOMPARE(a.present, date.isValid());
        if (a.present)
            QCOMPARE(a.transfer, (Transfer{date, dayType}));
        QVERIFY2(error.isEmpty() ? a.ok() : a.error.contains(error), qPrintable(a.error));
    }

    // Entries that cannot be taken are left out and the rest keep their order; each answer still
    // counts on the gauge, the coefficient does not.
    void readCollectsAndSkips()
    {
        Schedule s;
        QVERIFY(s.SetHolidayList({{5, 5}}));
        ScheduleRead read;
        QStringList log;
        for (const char* hex :
             {"06 03 00", "08 0A 00 21 07 30 05 1F 01 08", "08 0A 01 21 25 00 05 1F 01 08",
              "08 03 02", "08 0A 03 00 00 00 00 FF FF 0F", "26 05 00 01 13", "26 05 01 08 03",
              "26 03 02", "28 07 00 31 04 26 01", "28 07 01 05 01 26 06"})
            Feed(read, Response(hex), &log);
        QCOMPARE(read.progress(), 9);
        QCOMPARE(log.size(), 3);
        read.ApplyTo(s);
        QCOMPARE(s.coefficient(), 1);
        QCOMPARE(s.committed(), (QVector<AList>{Rec("07:30", 2, 5, 3, 0x1F, Months({1, 12})),
                                                Rec("00:00", 1, 0, 1, 0xFF, 0x0FFF)}));
        QCOMPARE(s.holidays(), (QVector<Holiday>{{3, 8}}));
        QCOMPARE(s.transfers(), (QVector<Transfer>{{QDate(2026, 1, 5), 6}}));
    }

    // Records reach the schedule only when the holiday answers close them, and only if the
    // meter held some; holidays and transfers are replaced by what came, also by nothing.
    void partialReads_data()
    {
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<bool>("recordsReplaced");
        QTest::addColumn<int>("coefficient");
        QTest::newRow("stopped before the holidays")
            << QStringList{"06 03 09", "08 0A 00 21 07 30 05 1F 01 08"} << false << 9;
        QTest::newRow("stopped at the coefficient") << QStringList{} << false << 4;
        QTest::newRow("meter without records")
            << QStringList{"06 03 09", "08 03 00", "08 03 01", "26 03 00"} << false << 9;
        QTest::newRow("records closed by a holiday answer")
            << QStringList{"06 03 09", "08 0A 00 21 07 30 05 1F 01 08", "26 03 00"} << true << 9;
    }
    void partialReads()
    {
        QFETCH(QStringList, answers);
        QFETCH(bool, recordsReplaced);
        QFETCH(int, coefficient);
        Schedule s;
        Load(s, ThreeRecords());
        s.SetCoefficient(4);
        ScheduleRead read;
        QStringList log;
        for (const QString& hex : answers)
            Feed(read, Response(qPrintable(hex)), &log);
        read.ApplyTo(s);
        QCOMPARE(s.committed().size(), recordsReplaced ? 1 : 3);
        QCOMPARE(s.coefficient(), coefficient);
        QVERIFY(s.holidays().isEmpty());
        QVERIFY(s.transfers().isEmpty());
        QVERIFY(log.isEmpty());
    }

    // Written through the meter and read back into an empty schedule, everything is equal.
    void roundTripThroughTheSimulatedMeter()
    {
        Schedule written;
        Load(written, ThreeRecords());
        QVector<Holiday> holidays = DefaultHolidays();
        holidays << Holiday{2, 31} << Holiday{12, 31};
        QVERIFY(written.SetHolidayList(holidays));
        QVERIFY(written.SetTransferList(
            {{QDate(2000, 1, 15), 6}, {QDate(2026, 3, 9), 8}, {QDate(2099, 12, 31), 1}}));
        written.SetCoefficient(7);

        zr::sim::Meter meter(0, 1000, [] { return qint64(0); });
        QList<QByteArray> answers;
        Run(meter, BuildScheduleWrite(written).frames, &answers);
        QCOMPARE(answers.size(), 7 + 14 + 3 + 3);

        answers.clear();
        Run(meter, BuildScheduleRead(), &answers);
        Schedule read;
        read.NewSchedule();
        ScheduleRead collected;
        QStringList log;
        for (const QByteArray& a : answers)
            Feed(collected, a, &log);
        QVERIFY2(log.isEmpty(), qPrintable(log.join('\n')));
        QCOMPARE(collected.progress(), kReadGaugeMaximum);
        collected.ApplyTo(read);
        QCOMPARE(read.committed(), written.committed());
        QCOMPARE(read.holidays(), written.holidays());
        QCOMPARE(read.transfers(), written.transfers());
        QCOMPARE(read.coefficient(), 7);
    }
};

QObject* NewTransferTest()
{
    return new TestTransfer;
}

#include "test_transfer.moc"
