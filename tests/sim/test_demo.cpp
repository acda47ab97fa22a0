#include "suites.h"

#include "link/password.h"
#include "meter/encodings.h"
#include "sim/demo.h"

#include <QTest>
#include <memory>

using namespace zr;
using namespace zr::sim;
using zr::sim::test::Frame;
using zr::sim::test::Hex;

namespace
{

// 2026-03-05 14:10, in half-hour 28 of its day.
uint32_t Clock()
{
    return *meter::EncodeMeterTimestamp(QDateTime(QDate(2026, 3, 5), QTime(14, 10), Qt::UTC));
}

} // namespace

// What the demonstration meter holds for the readings and journal pages, request by request.
class TestDemo : public QObject
{
    Q_OBJECT

    std::unique_ptr<Meter> meter_;

    QByteArray ask(const QByteArray& request) { return meter_->answer(frame::AppendCrc(request)); }
    QByteArray askU16(uint8_t function, uint32_t value)
    {
        QByteArray request(1, char(function));
        request.append(char(4));
        meter::AppendU16(request, value);
        return ask(request);
    }

private slots:
    void init()
    {
        meter_ = MakeDemoMeter(Clock(), [] { return qint64(0); });
    }

    void readingsAndPeaks()
    {
        for (int selector = 0; selector < 64; ++selector) {
            const QByteArray answer = ask(Hex("0F 03") + char(selector));
            QCOMPARE(answer.size(), 10);
            QVERIFY(meter::FieldReader::Response(answer).meterFloat(4) > 0);
        }
        meter::FieldReader peaks = meter::FieldReader::Response(ask(Hex("2B 02")));
        QCOMPARE(peaks.size(), 16);
        QVERIFY(peaks.u24(6) > 0 && peaks.u24(13) > 0);
        QVERIFY(peaks.u32(2) > peaks.u32(9));
    }

    // After the password entry function 36 clears the readings and the peak of the billing date.
    void billingReset()
    {
        const QByteArray number = ask(Hex("01 02"));
        const QByteArray counters = ask(Hex("11 02"));
        const QByteArray scrambled =
            link::ScramblePassword(QByteArray(6, '\0'), meter::FieldReader::Response(number).u24(2),
                                   meter::FieldReader::Response(counters).u32(2));
        QCOMPARE(ask(Hex("14 08") + scrambled), Frame("14 02"));
        QCOMPARE(ask(Hex("24 02")), Frame("24 02"));
        QCOMPARE(ask(Hex("0F 03 2D")), Frame("0F 08 2D 00 00 00 00 00"));
        QVERIFY(meter::FieldReader::Response(ask(Hex("0F 03 05"))).meterFloat(4) > 0);
        QCOMPARE(ask(Hex("2B 02")).mid(9, 7), QByteArray(7, '\0'));
    }

    // Twelve months, those from March on of the year before.
    void yearJournal()
    {
        for (int m = 0; m < 12; ++m) {
            const QByteArray answer = ask(Hex("12 03") + char(m));
            QCOMPARE(answer.size(), 49);
            QCOMPARE(uint8_t(answer[3]), uint8_t(m < 2 ? 0x26 : 0x25));
        }
    }

    // The ring has wrapped: slot 0 holds record 1601, slot 250 record 251; a few slots are empty.
    void eventJournal()
    {
        QCOMPARE(meter::FieldReader::Response(askU16(19, 0)).u16(4), 1601);
        QCOMPARE(meter::FieldReader::Response(askU16(19, 249)).u16(4), 1850);
        QCOMPARE(meter::FieldReader::Response(askU16(19, 250)).u16(4), 251);
        int empty = 0;
        for (int i = 0; i < kEventSlots; ++i)
            empty += askU16(19, uint32_t(i)).size() == 6;
        QCOMPARE(empty, 8);
        QCOMPARE(askU16(19, 336), Frame("13 04 50 01"));
    }

    // The day of the clock: recorded half-hours up to the current one, a power cut that left
    // one slot erased and three holding the records of 4096 half-hours before, and the rest of
    // the day still holding old records.
    void halfHours()
    {
        const qint64 h0 = meter::FirstHalfHour(QDate(2026, 3, 5));
        QString kinds;
        for (int i = 0; i < 48; ++i) {
            const QByteArray answer = askU16(42, meter::HalfHourSlot(h0 + i));
            if (answer.size() == 6) {
                kinds += QLatin1Char('-');
                continue;
            }
            const qint64 number = meter::FieldReader::Response(answer).u24(4);
            kinds += number == h0 + i ? QLatin1Char('c') : QLatin1Char('o');
            QCOMPARE(number % 4096, (h0 + i) % 4096);
        }
        QCOMPARE(kinds, QString(21, 'c') + "-ooo" + "ccc" + QString(20, 'o'));
    }
};

int zr::sim::test::RunDemoTests(int argc, char** argv)
{
    TestDemo t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_demo.moc"
