#include "suites.h"

#include "link/password.h"
#include "meter/encodings.h"
#include "sim/meter.h"

#include <QTest>
#include <memory>

using namespace zr;
using namespace zr::sim;
using zr::sim::test::Frame;
using zr::sim::test::Hex;

namespace
{

constexpr uint32_t kClock = 1000000000; // 00 CA 9A 3B
constexpr uint32_t kRunning = 109517;   // CD AB 01 00

QByteArray Float(double v)
{
    QByteArray b;
    meter::AppendU32(b, meter::EncodeMeterFloat(v));
    return b;
}

} // namespace

class TestMeter : public QObject
{
    Q_OBJECT

    qint64 elapsed_ = 0;
    std::unique_ptr<Meter> meter_;

    // The three requests that open every write batch; returns the meter's answer to the entry.
    QByteArray enter(const QString& password)
    {
        const QByteArray number = meter_->answer(Frame("01 02"));
        const QByteArray counters = meter_->answer(Frame("11 02"));
        const QByteArray scrambled = link::ScramblePassword(
            link::PasswordBytes(password), meter::FieldReader::Response(number).u24(2),
            meter::FieldReader::Response(counters).u32(2));
        return meter_->answer(frame::AppendCrc(Hex("14 08") + scrambled));
    }

private slots:
    void init()
    {
        elapsed_ = 0;
        meter_ = std::make_unique<Meter>(kClock, kRunning, [this] { return elapsed_; });
        MeterState& s = meter_->state();
        s.address = 5;
        s.factoryNumber = 123456;
        s.summerTime = true;
        s.tariff = 5;
        s.billingDay = 25;
        s.billingHour = 9;
        s.corrections = 7;
        s.indication = 0x19;
        s.integration = 29;
        s.powerW = 2500;
        s.energy[0][0] = 1000;
        s.energy[1][0] = 200;
        s.energy[2][0] = 34.5;
        s.energy[0][3] = 1;
        s.billingEnergy[1][3] = 1234.5;
        s.peak = {0x01020304, 7000};
        s.yearly[4] = {true, 26, {1, 1, 1, 1, 1, 1, 1, 1}, {0x0A0B0C0D, 5000}, 90061};
        s.events.resize(3);
        s.events[2] = {3, 0x11223344, 0, 1.0, 64, 60};
        s.halfHours[3824] = {true, 130800, 3000};
        s.zones[0] = Hex("21 07 30 05 1F 01 08");
        s.holidays.replace(0, 4, Hex("01 01 23 02"));
        s.transfers.replace(0, 4, Hex("15 01 00 06"));
        s.coefficient = 3;
        s.plcGroup = 70;
        s.plcAddress = 15;
        s.routes[2] = {true, 7, 123456};
        s.ddmNumbers = {1, 256, 65536};
        s.ddmMode = 3;
        s.ddmStatus = {{{1, 0x01020304}, {2, 0}, {0, 0}}};
    }

    void reads_data()
    {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<QByteArray>("response");
        const auto row = [](const char* name, const char* request, const QByteArray& response) {
            QTest::newRow(name) << Hex(request) << response;
        };
        row("version and type", "00 02", Hex("00 07 15 02 01 47 03"));
        row("factory number", "01 02", Hex("01 05 40 E2 01"));
        row("clock and flags", "04 02", Hex("04 07 85 00 CA 9A 3B"));
        row("coefficient", "06 02", Hex("06 03 03"));
        row("zone record", "08 03 00", Hex("08 0A 00 21 07 30 05 1F 01 08"));
        row("no zone record", "08 03 01", Hex("08 03 01"));
        row("plc group and address", "0A 02", Hex("0A 04 46 0F"));
        row("power", "0C 02", Hex("0C 05 C4 09 00"));
        row("indication", "0D 02", Hex("0D 03 19"));
        row("reading, all phases", "0F 03 00", Hex("0F 08 00 00 00 50 1A 89"));
        row("reading, phase A", "0F 03 13", Hex("0F 08 13 00") + Float(1));
        row("reading, phase B billing", "0F 03 2B", Hex("0F 08 2B 00 00 50 1A 89"));
        row("reading, zero", "0F 03 3F", Hex("0F 08 3F 00 00 00 00 00"));
        row("ddm status", "10 02", Hex("10 11 01 04 03 02 01 02 00 00 00 00 00 00 00 00 00"));
        row("counters", "11 02", Hex("11 07 CD AB 01 00 07"));
        row("yearly month", "12 03 04",
            Hex("12 2F 04 26") + Float(1).repeated(8) + Hex("0D 0C 0B 0A 88 13 00 CD 5F 01 00"));
        row("yearly month without record", "12 03 05", Hex("12 03 05"));
        row("event", "13 04 02 00",
            Hex("13 14 02 00 03 00 44 33 22 11 00") + Float(1) + Hex("40 3C 00 00 00"));
        row("empty event slot", "13 04 03 00", Hex("13 04 03 00"));
        row("last event slot", "13 04 3F 06", Hex("13 04 3F 06"));
        row("integration", "1E 02", Hex("1E 03 1D"));
        row("route", "20 03 02", Hex("20 07 02 07 40 E2 01"));
        row("empty route", "20 03 01", Hex("20 03 01"));
        row("billing day and hour", "22 02", Hex("22 04 09 25"));
        row("holiday", "26 03 01", Hex("26 05 01 23 02"));
        row("no holiday", "26 03 02", Hex("26 03 02"));
        row("transfer", "28 03 00", Hex("28 07 00 15 01 00 06"));
        row("no transfer", "28 03 0F", Hex("28 03 0F"));
        row("half-hour", "2A 04 F0 0E", Hex("2A 0A F0 0E F0 FE 01 B8 0B 00"));
        row("half-hour, high slot bits", "2A 04 F0 1E", Hex("2A 0A F0 0E F0 FE 01 B8 0B 00"));
        row("empty half-hour", "2A 04 00 00", Hex("2A 04 00 00"));
        row("peaks", "2B 02", Hex("2B 10 04 03 02 01 58 1B 00 00 00 00 00 00 00 00"));
        row("ddm numbers", "2C 02", Hex("2C 0C 01 00 00 00 01 00 00 00 01 03"));
    }

    void reads()
    {
        QFETCH(QByteArray, request);
        QFETCH(QByteArray, response);
        QCOMPARE(meter_->answer(frame::AppendCrc(request)).toHex(' '),
                 frame::AppendCrc(response).toHex(' '));
    }

    // The worked exchange of the link: the complete response with its checksum.
    void factoryNumberOnTheLine()
    {
        QCOMPARE(meter_->answer(Hex("01 02 81 E1")), Hex("01 05 40 E2 01 91 B8"));
    }

    void writes_data()
    {
        QTest::addColumn<QByteArray>("write");
        QTest::addColumn<QByteArray>("read");
        QTest::addColumn<QByteArray>("response");
        const auto row = [](const char* name, const char* write, const char* read,
                            const char* response) {
            QTest::newRow(name) << Hex(write) << Hex(read) << Hex(response);
        };
        row("clock", "05 07 00 10 00 00 00", "04 02", "04 07 05 10 00 00 00");
        row("coefficient", "07 03 09", "06 02", "06 03 09");
        row("zone record", "09 0A 01 21 07 30 05 1F 01 08", "08 03 01",
            "08 0A 01 21 07 30 05 1F 01 08");
        row("schedule reset", "09 02", "08 03 00", "08 03 00");
        row("plc group and address", "0B 04 64 22", "0A 02", "0A 04 64 22");
        row("indication", "0E 03 1F", "0D 02", "0D 03 1F");
        row("integration", "1F 03 00", "1E 02", "1E 03 00");
        row("route", "21 07 01 07 40 E2 01", "20 03 01", "20 07 01 07 40 E2 01");
        row("route deletion", "21 03 02", "20 03 02", "20 03 02");
        row("billing day and hour", "23 04 23 31", "22 02", "22 04 23 31");
        row("billing readings reset", "24 02", "0F 03 2B", "0F 08 2B 00 00 00 00 00");
        row("holidays cleared", "27 02", "26 03 00", "26 03 00");
        row("holiday", "27 05 05 31 12", "26 03 05", "26 05 05 31 12");
        row("transfers cleared", "29 02", "28 03 00", "28 03 00");
        row("transfer on a leap day", "29 07 03 29 02 24 08", "28 03 03", "28 07 03 29 02 24 08");
        row("ddm numbers and mode", "2D 0C 07 00 00 08 00 00 09 00 00 00", "2C 02",
            "2C 0C 07 00 00 08 00 00 09 00 00 00");
    }

    void writes()
    {
        QFETCH(QByteArray, write);
        QFETCH(QByteArray, read);
        QFETCH(QByteArray, response);
        QCOMPARE(enter(QString()), Frame("14 02"));
        const QByteArray ack = frame::AppendCrc(write.left(1) + Hex("02"));
        QCOMPARE(meter_->answer(frame::AppendCrc(write)).toHex(' '), ack.toHex(' '));
        QCOMPARE(meter_->answer(frame::AppendCrc(read)).toHex(' '),
                 frame::AppendCrc(response).toHex(' '));
    }

    void errors_data()
    {
        QTest::addColumn<bool>("granted");
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<QByteArray>("response");
        const auto row = [](const char* name, bool granted, const char* request,
                            const char* response) {
            QTest::newRow(name) << granted << Hex(request) << Hex(response);
        };
        row("unknown function 22", false, "16 02", "96 03 01");
        row("unknown function 37", false, "25 02", "A5 03 01");
        row("unknown function 46", true, "2E 02", "AE 03 01");
        row("read with a payload", false, "00 03 00", "80 03 02");
        row("schedule read of length 4", false, "08 04 00 00", "88 03 02");
        row("selector 64", false, "0F 03 40", "8F 03 04");
        row("month 12", false, "12 03 0C", "92 03 04");
        row("event slot 1600", false, "13 04 40 06", "93 03 04");
        row("route 4", false, "20 03 04", "A0 03 04");
        row("holiday 16", false, "26 03 10", "A6 03 04");
        row("transfer 16", false, "28 03 10", "A8 03 04");
        row("write without password", false, "05 07 00 00 00 00 00", "85 03 06");
        row("reset without password", false, "24 02", "A4 03 06");
        row("schedule reset without password", false, "09 02", "89 03 06");
        row("number already set", true, "02 05 01 00 00", "82 03 05");
        row("speed index 4", true, "03 04 01 04", "83 03 04");
        row("coefficient 0", true, "07 03 00", "87 03 04");
        row("zone hour 24", true, "09 0A 00 00 24 00 00 01 01 00", "89 03 04");
        row("zone minute not BCD", true, "09 0A 00 00 07 5A 00 01 01 00", "89 03 04");
        row("indication bit 5", true, "0E 03 20", "8E 03 04");
        row("integration 61 minutes", true, "1F 03 3C", "9F 03 04");
        row("route 4 written", true, "21 03 04", "A1 03 04");
        row("billing hour 24", true, "23 04 24 01", "A3 03 04");
        row("billing day 0", true, "23 04 00 00", "A3 03 04");
        row("billing day 32", true, "23 04 00 32", "A3 03 04");
        row("holiday month 13", true, "27 05 00 12 13", "A7 03 04");
        row("holiday index 16", true, "27 05 10 01 01", "A7 03 04");
        row("transfer on 31 April", true, "29 07 00 31 04 26 01", "A9 03 04");
        row("transfer day type 0", true, "29 07 00 15 01 26 00", "A9 03 04");
        row("transfer day type 9", true, "29 07 00 15 01 26 09", "A9 03 04");
        row("tariffing mode FF", true, "2D 0C 00 00 00 00 00 00 00 00 00 FF", "AD 03 04");
    }

    void errors()
    {
        QFETCH(bool, granted);
        QFETCH(QByteArray, request);
        QFETCH(QByteArray, response);
        if (granted)
            QCOMPARE(enter(QString()), Frame("14 02"));
        QCOMPARE(meter_->answer(frame::AppendCrc(request)).toHex(' '),
                 frame::AppendCrc(response).toHex(' '));
    }

    void refusedWriteChangesNothing()
    {
        QCOMPARE(meter_->answer(Frame("05 07 00 10 00 00 00")), Frame("85 03 06"));
        QCOMPARE(meter_->answer(Frame("04 02")), Frame("04 07 85 00 CA 9A 3B"));
        QCOMPARE(meter_->state().corrections, uint8_t(7));
    }

    void wrongChecksum()
    {
        QByteArray request = Frame("00 02");
        request[3] = char(request[3] ^ 1);
        QCOMPARE(meter_->answer(request), Frame("80 03 03"));
    }

    void notAFrame()
    {
        QVERIFY(meter_->answer(Hex("00 00")).isEmpty());
        QVERIFY(meter_->answer(Hex("00 01 00")).isEmpty());
    }

    void numberWrittenOnce()
    {
        meter_->state().factoryNumber = 0;
        QCOMPARE(enter(QString()), Frame("14 02"));
        QCOMPARE(meter_->answer(Frame("02 05 E2 D4 01")), Frame("02 02"));
        QCOMPARE(meter_->answer(Frame("01 02")), Frame("01 05 E2 D4 01"));
        QCOMPARE(enter(QString()), Frame("14 02"));
        QCOMPARE(meter_->answer(Frame("02 05 01 00 00")), Frame("82 03 05"));
    }

    void linkParameters()
    {
        QCOMPARE(enter(QString()), Frame("14 02"));
        QCOMPARE(meter_->answer(Frame("03 04 09 03")), Frame("03 02"));
        QCOMPARE(meter_->state().address, uint8_t(9));
        QCOMPARE(meter_->state().baud, 38400);
    }

    void password_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("empty") << QString() << QString() << true;
        QTest::newRow("same") << "abc"
                              << "abc" << true;
        QTest::newRow("cyrillic") << "пароль"
                                  << "пароль" << true;
        QTest::newRow("one letter off") << "abc"
                                        << "abd" << false;
        QTest::newRow("missing") << "abc" << QString() << false;
        QTest::newRow("case") << "Abc"
                              << "abc" << false;
    }

    void password()
    {
        QFETCH(QString, stored);
        QFETCH(QString, typed);
        QFETCH(bool, accepted);
        meter_->state().password = link::PasswordBytes(stored);
        QCOMPARE(enter(typed), accepted ? Frame("14 02") : Frame("94 03 06"));
        QCOMPARE(meter_->accessGranted(), accepted);
        QCOMPARE(meter_->answer(Frame("07 03 05")), accepted ? Frame("07 02") : Frame("87 03 06"));
    }

    // The worked example of the password insertion, seen from the meter.
    void scrambledEntryOnTheLine()
    {
        meter_ = std::make_unique<Meter>(kClock, kRunning, [this] { return elapsed_; });
        meter_->state().factoryNumber = 1193046;
        meter_->answer(Frame("01 02"));
        meter_->answer(Frame("11 02"));
        QCOMPARE(meter_->answer(Hex("14 08 9B 9F DF FD F9 B9 68 C5")), Frame("14 02"));
    }

    // The PC scrambles with the counter it read; the counter may tick before the entry arrives.
    void entryAfterTheCounterMoved()
    {
        const QByteArray counters = meter_->answer(Frame("11 02"));
        meter_->answer(Frame("01 02"));
        elapsed_ += 1500;
        QVERIFY(meter_->runningTime() != meter::FieldReader::Response(counters).u32(2));
        const QByteArray scrambled = link::ScramblePassword(
            link::PasswordBytes(QString()), 123456, meter::FieldReader::Response(counters).u32(2));
        QCOMPARE(meter_->answer(frame::AppendCrc(Hex("14 08") + scrambled)), Frame("14 02"));
    }

    void accessEndsWithARead()
    {
        QCOMPARE(enter(QString()), Frame("14 02"));
        QCOMPARE(meter_->answer(Frame("07 03 05")), Frame("07 02"));
        QCOMPARE(meter_->answer(Frame("0E 03 01")), Frame("0E 02"));
        QCOMPARE(meter_->answer(Frame("00 02")).left(2), Hex("00 07"));
        QCOMPARE(meter_->answer(Frame("07 03 06")), Frame("87 03 06"));
    }

    void refusedEntryEndsAccess()
    {
        QCOMPARE(enter(QString()), Frame("14 02"));
        QCOMPARE(meter_->answer(Frame("14 08 01 02 03 04 05 06")), Frame("94 03 06"));
        QCOMPARE(meter_->answer(Frame("07 03 05")), Frame("87 03 06"));
    }

    void newPassword()
    {
        QCOMPARE(enter(QString()), Frame("14 02"));
        const QByteArray scrambled =
            link::ScramblePassword(link::PasswordBytes(QStringLiteral("секрет")), 123456, kRunning);
        QCOMPARE(meter_->answer(frame::AppendCrc(Hex("15 08") + scrambled)), Frame("15 02"));
        QCOMPARE(meter_->state().password, link::PasswordBytes(QStringLiteral("секрет")));
        QCOMPARE(enter(QString()), Frame("94 03 06"));
        QCOMPARE(enter(QStringLiteral("секрет")), Frame("14 02"));
    }

    void clockAndRunningTimeAdvance()
    {
        elapsed_ += 61999;
        QCOMPARE(meter_->clock(), kClock + 61);
        QCOMPARE(meter_->runningTime(), kRunning + 61);
        QCOMPARE(enter(QString()), Frame("14 02"));
        QCOMPARE(meter_->answer(Frame("05 07 00 00 01 00 00")), Frame("05 02"));
        elapsed_ += 2000;
        QCOMPARE(meter_->clock(), 258u);
        QCOMPARE(meter_->runningTime(), kRunning + 63);
    }

    void clockNotSet()
    {
        meter_->state().clockFaults = 0x40;
        QCOMPARE(meter_->answer(Frame("04 02")), Frame("04 03 C5"));
        QCOMPARE(enter(QString()), Frame("14 02"));
        QCOMPARE(meter_->answer(Frame("05 07 80 10 00 00 00")), Frame("05 02"));
        QCOMPARE(meter_->answer(Frame("04 02")), Frame("04 07 85 10 00 00 00"));
        QCOMPARE(meter_->answer(Frame("11 02")), Frame("11 07 CD AB 01 00 08"));
    }

    // One hour at 9 kW on tariff 6: 3 kWh per phase, two half-hours recorded, a new peak.
    void consumptionAccumulates()
    {
        MeterState& s = meter_->state();
        s.powerW = 9000;
        s.energy = {};
        elapsed_ += 3600 * 1000;
        QCOMPARE(meter_->answer(Frame("0F 03 05")),
                 frame::AppendCrc(Hex("0F 08 05 00") + Float(9)));
        QCOMPARE(meter_->answer(Frame("0F 03 15")),
                 frame::AppendCrc(Hex("0F 08 15 00") + Float(3)));
        const uint32_t first = kClock / 1800; // the half-hour in progress at the start
        for (uint32_t h : {first, first + 1}) {
            QByteArray request = Hex("2A 04");
            meter::AppendU16(request, uint16_t(h % 4096));
            QByteArray expected = Hex("2A 0A");
            meter::AppendU16(expected, uint16_t(h % 4096));
            meter::AppendU24(expected, h);
            meter::AppendU24(expected, 18000);
            QCOMPARE(meter_->answer(frame::AppendCrc(request)), frame::AppendCrc(expected));
        }
        QCOMPARE(s.halfHours[(first + 2) % 4096].present, false);
        QCOMPARE(s.peak.watts, 9000u);
        QCOMPARE(s.peak.time, kClock + 3600);
    }

    void checksumFollowsTheSchedule()
    {
        const QByteArray before = meter_->answer(Frame("08 02"));
        QCOMPARE(before.left(2), Hex("08 04"));
        QCOMPARE(meter::FieldReader::Response(before).u16(2), meter_->scheduleChecksum());
        QCOMPARE(enter(QString()), Frame("14 02"));
        QCOMPARE(meter_->answer(Frame("09 02")), Frame("09 02"));
        QVERIFY(meter_->answer(Frame("08 02")) != before);
    }
};

int zr::sim::test::RunMeterTests(int argc, char** argv)
{
    TestMeter t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_meter.moc"
