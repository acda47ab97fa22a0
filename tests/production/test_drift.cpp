// The pure parts of a record: drift, success, status column, modem numbering, login rule.

#include "production/drift.h"
#include "production/identification.h"
#include "production/record.h"

#include <QtTest>

using namespace zr::production;

namespace
{

const QDateTime kNow(QDate(2026, 3, 10), QTime(12, 0));

} // namespace

class TestDrift : public QObject
{
    Q_OBJECT
private slots:
    void measurement_data()
    {
        QTest::addColumn<QDateTime>("last");
        QTest::addColumn<qint64>("meterAheadMs");
        QTest::addColumn<bool>("taken");
        QTest::addColumn<QString>("text");
        // 10 days since programming and the meter 20 s fast: 2 s per day.
        QTest::newRow("fast") << kNow.addDays(-10) << qint64(20000) << true << "2.00";
        QTest::newRow("slow") << kNow.addDays(-4) << qint64(-10000) << true << "-2.50";
        QTest::newRow("exact") << kNow.addDays(-1) << qint64(0) << true << "0.00";
        QTest::newRow("never programmed") << QDateTime() << qint64(5000) << false << "";
        QTest::newRow("half a day is too recent")
            << kNow.addSecs(-43200) << qint64(5000) << false << "";
        QTest::newRow("just over half a day")
            << kNow.addSecs(-43201) << qint64(0) << true << "0.00";
        QTest::newRow("programmed in the future") << kNow.addDays(1) << qint64(0) << false << "";
        QTest::newRow("five significant digits")
            << kNow.addDays(-1) << qint64(1234567) << true << "1234.60";
    }
    void measurement()
    {
        QFETCH(QDateTime, last);
        QFETCH(qint64, meterAheadMs);
        QFETCH(bool, taken);
        QFETCH(QString, text);
        Drift drift;
        QCOMPARE(drift.Measure(kNow.addMSecs(meterAheadMs), kNow, last), taken);
        QCOMPARE(drift.count(), taken ? 1 : 0);
        QCOMPARE(drift.text(QLocale::c()), text);
    }

    void averageOverMeasurementsUntilReset()
    {
        Drift drift;
        const QDateTime last = kNow.addDays(-10);
        QVERIFY(drift.Measure(kNow.addSecs(10), kNow, last));                         // 1 s/day
        QVERIFY(drift.Measure(kNow.addSecs(40).addSecs(60), kNow.addSecs(60), last)); // ~4 s/day
        QCOMPARE(drift.count(), 2);
        QCOMPARE(drift.text(QLocale::c()), "2.50");
        QCOMPARE(drift.text(QLocale(QLocale::Russian)), "2,50");
        drift.reset();
        QCOMPARE(drift.text(QLocale::c()), QString());
    }

    void success_data()
    {
        QTest::addColumn<QString>("delta");
        QTest::addColumn<bool>("success");
        QTest::newRow("empty counts as 0") << "" << true;
        QTest::newRow("not a number counts as 0") << "abc" << true;
        QTest::newRow("1.00") << "1.00" << true;
        QTest::newRow("1.01") << "1.01" << false;
        QTest::newRow("-3.00") << "-3.00" << true;
        QTest::newRow("-3.01") << "-3.01" << false;
        QTest::newRow("0.50") << "0.50" << true;
    }
    void success()
    {
        QFETCH(QString, delta);
        QFETCH(bool, success);
        QCOMPARE(DriftSuccess(DeltaValue(delta, QLocale::c())), success);
    }

    void deltaReadInTheLocale()
    {
        QCOMPARE(DeltaValue("-2,75", QLocale(QLocale::Russian)), std::optional<double>(-2.75));
        QCOMPARE(DeltaValue("", QLocale::c()), std::nullopt);
        QCOMPARE(DeltaValue("inf", QLocale::c()), std::nullopt);
    }

    void statusColumn_data()
    {
        QTest::addColumn<int>("flags");
        QTest::addColumn<int>("a");
        QTest::addColumn<int>("b");
        QTest::addColumn<int>("c");
        QTest::addColumn<int>("status");
        QTest::newRow("all zero") << 0 << 0 << 0 << 0 << 0;
        QTest::newRow("codes") << 0x20 << 1 << 2 << 3 << 0x20 + 1 + 8 + 48;
        QTest::newRow("flags 0x60 and all 3") << 0x60 << 3 << 3 << 3 << (0x60 + 3 + 12 + 48);
        // A zero timestamp's code 128 adds 128 for phase A and nothing for B and C.
        QTest::newRow("128 on A") << 0 << 128 << 0 << 0 << 128;
        QTest::newRow("128 on B and C") << 0 << 0 << 128 << 128 << 0;
        QTest::newRow("sum wraps") << 0x60 << 128 << 3 << 3 << (0x60 + 128 + 12 + 48) % 256;
    }
    void statusColumn()
    {
        QFETCH(int, flags);
        QFETCH(int, a);
        QFETCH(int, b);
        QFETCH(int, c);
        QFETCH(int, status);
        QCOMPARE(StatusColumn(flags, a, b, c), status);
    }

    void modemNumbering_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<int>("group");
        QTest::addColumn<int>("address");
        QTest::newRow("123456") << 123456 << 34 << 56;
        QTest::newRow("120000") << 120000 << 100 << 100;
        QTest::newRow("1200") << 1200 << 12 << 100;
        QTest::newRow("7") << 7 << 100 << 7;
    }
    void modemNumbering()
    {
        QFETCH(int, number);
        QFETCH(int, group);
        QFETCH(int, address);
        QCOMPARE(PlmGroup(number), group);
        QCOMPARE(PlmAddress(number), address);
    }

    void loginThatDoesNotFitIsEmpty()
    {
        QCOMPARE(LoginForLookup(QString(31, 'a')), QString(31, 'a'));
        QCOMPARE(LoginForLookup(QString(32, 'a')), QString());
        QCOMPARE(LoginForLookup(QStringLiteral("оператор")), QStringLiteral("оператор"));
    }
};

QObject* NewDriftTest()
{
    return new TestDrift;
}

#include "test_drift.moc"
