// The simulated meter's current tariff follows its stored schedule, its clock and its load.

#include "suites.h"

#include "meter/encodings.h"
#include "sim/demo.h"
#include "sim/meter.h"

#include <QTest>
#include <memory>

using namespace zr;
using namespace zr::sim;
using zr::sim::test::Frame;
using zr::sim::test::Hex;

namespace
{

uint32_t At(const QDate& date, const QTime& time)
{
    return *meter::EncodeMeterTimestamp(QDateTime(date, time, Qt::UTC));
}

} // namespace

class TestScheduledTariff : public QObject
{
    Q_OBJECT

    qint64 elapsed_ = 0;

    std::unique_ptr<Meter> meterAt(const QDate& date, const QTime& time)
    {
        elapsed_ = 0;
        return std::make_unique<Meter>(At(date, time), 0, [this] { return elapsed_; });
    }

    // Tariff 1..8 of the clock answer.
    static int Tariff(Meter& meter)
    {
        const QByteArray answer = meter.answer(Frame("04 02"));
        return (uint8_t(answer[2]) & 7) + 1;
    }

    // Tariff 1 all day everywhere; from 07:30 tariff 2 on working days of January and December,
    // tariff 3 above 5 kW. The records sit in slots 0 and 7: empty slots between them count for
    // nothing.
    static void FillSchedule(MeterState& s)
    {
        s.zones[0] = Hex("00 00 00 00 FF FF 0F");
        s.zones[7] = Hex("21 07 30 05 1F 01 08");
    }

private slots:
    void tariffOfTheMoment_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QTime>("time");
        QTest::addColumn<uint>("power");
        QTest::addColumn<int>("coefficient");
        QTest::addColumn<QByteArray>("holiday");
        QTest::addColumn<QByteArray>("transfer");
        QTest::addColumn<int>("tariff");
        const QDate monday(2026, 1, 12);
        const QTime morning(8, 0);
        const auto row = [](const char* name, QDate date, QTime time, uint power, int coefficient,
                            const char* holiday, const char* transfer, int tariff) {
            QTest::newRow(name) << date << time << power << coefficient << Hex(holiday)
                                << Hex(transfer) << tariff;
        };
        row("before the zone", monday, QTime(7, 29, 59), 0, 1, "", "", 1);
        row("zone begun", monday, QTime(7, 30), 0, 1, "", "", 2);
        row("load at the limit", monday, morning, 5000, 1, "", "", 2);
        row("load above the limit", monday, morning, 5001, 1, "", "", 3);
        row("limit divided by the coefficient", monday, morning, 2501, 2, "", "", 3);
        row("below the divided limit", monday, morning, 2500, 2, "", "", 2);
        row("saturday", QDate(2026, 1, 17), morning, 0, 1, "", "", 1);
        row("holiday on a monday", monday, morning, 0, 1, "12 01", "", 1);
        row("sunday transferred to tuesday", QDate(2026, 1, 18), morning, 0, 1, "", "18 01 26 02",
            2);
        row("transfer before holiday", monday, morning, 0, 1, "12 01", "12 01 26 03", 2);
        row("tuesday transferred to the holiday type", QDate(2026, 1, 13), morning, 0, 1, "",
            "13 01 26 08", 1);
        row("transfer of another year", monday, morning, 0, 1, "", "12 01 27 07", 2);
        row("february not covered", QDate(2026, 2, 2), morning, 0, 1, "", "", 1);
        row("december", QDate(2026, 12, 7), morning, 0, 1, "", "", 2);
    }
    void tariffOfTheMoment()
    {
        QFETCH(QDate, date);
        QFETCH(QTime, time);
        QFETCH(uint, power);
        QFETCH(int, coefficient);
        QFETCH(QByteArray, holiday);
        QFETCH(QByteArray, transfer);
        QFETCH(int, tariff);
        auto meter = meterAt(date, time);
        MeterState& s = meter->state();
        FillSchedule(s);
        s.powerW = power;
        s.coefficient = uint8_t(coefficient);
        s.holidays.replace(6, holiday.size(), holiday);
        s.transfers.replace(12, transfer.size(), transfer);
        QCOMPARE(Tariff(*meter), tariff);
    }

    // A day whose profile has not begun keeps the tariff in force; as the clock runs on, the
    // first zone takes over when it begins.
    void tariffChangesWhenAZoneBegins()
    {
        auto meter = meterAt(QDate(2026, 1, 12), QTime(7, 29, 50));
        MeterState& s = meter->state();
        s.zones[7] = Hex("21 07 30 05 1F 01 08");
        s.tariff = 5;
        QCOMPARE(Tariff(*meter), 6);
        elapsed_ += 9000;
        QCOMPARE(Tariff(*meter), 6);
        elapsed_ += 1000;
        QCOMPARE(Tariff(*meter), 2);
    }

    // A schedule written over the line is the one followed.
    void writtenScheduleIsFollowed()
    {
        auto meter = meterAt(QDate(2026, 1, 12), QTime(12, 0));
        QCOMPARE(meter->answer(Frame("14 08 00 00 00 00 00 00")), Frame("14 02"));
        QCOMPARE(meter->answer(Frame("09 0A 00 05 11 00 00 01 01 00")), Frame("09 02"));
        QCOMPARE(Tariff(*meter), 6);
        QCOMPARE(meter->answer(Frame("14 08 00 00 00 00 00 00")), Frame("14 02"));
        QCOMPARE(meter->answer(Frame("09 02")), Frame("09 02"));
        QCOMPARE(Tariff(*meter), 6);
    }

    // The demonstration meter moves to the day tariff at 07:00 on a working day.
    void demoMeterChangesTariff()
    {
        elapsed_ = 0;
        auto meter =
            MakeDemoMeter(At(QDate(2026, 1, 12), QTime(6, 59, 30)), [this] { return elapsed_; });
        QCOMPARE(Tariff(*meter), 2);
        elapsed_ += 30000;
        QCOMPARE(Tariff(*meter), 1);
    }
};

int zr::sim::test::RunScheduledTariffTests(int argc, char** argv)
{
    TestScheduledTariff t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_scheduled_tariff.moc"
