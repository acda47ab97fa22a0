#include "meter/encodings.h"
#include "support/hex.h"

#include <QtTest>
#include <cmath>

using namespace zr::meter;
using zr::test::Hex;

static QDateTime at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s, ms), Qt::UTC);
}

class TestEncodings : public QObject
{
    Q_OBJECT
private slots:
    void integers_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("width");
        QTest::addColumn<quint32>("value");
        QTest::newRow("u8 max") << Hex("FF") << 1 << quint32(255);
        QTest::newRow("u16 low byte first") << Hex("3412") << 2 << quint32(0x1234);
        QTest::newRow("u24 123456") << Hex("40E201") << 3 << quint32(123456);
        QTest::newRow("u24 max") << Hex("FFFFFF") << 3 << quint32(16777215);
        QTest::newRow("u32 max") << Hex("FFFFFFFF") << 4 << quint32(4294967295u);
        QTest::newRow("u32 high byte") << Hex("00000080") << 4 << quint32(0x80000000u);
    }
    void integers()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, width);
        QFETCH(quint32, value);
        FieldReader reader(bytes);
        const quint32 read = width == 1   ? reader.u8(0)
                             : width == 2 ? reader.u16(0)
                             : width == 3 ? reader.u24(0)
                                          : reader.u32(0);
        QCOMPARE(read, value);
        QVERIFY(reader.ok());
        if (width > 1) {
            QByteArray encoded;
            (width == 2 ? AppendU16 : width == 3 ? AppendU24 : AppendU32)(encoded, value);
            QCOMPARE(encoded, bytes);
        }
    }
    void appendWrapsToWidth()
    {
        QByteArray out = Hex("AA");
        AppendU24(out, 0x01123456);
        AppendU16(out, 0x10002);
        QCOMPARE(out, Hex("AA56341202 00"));
    }

    void bcd_data()
    {
        QTest::addColumn<int>("byte");
        QTest::addColumn<int>("value");
        QTest::newRow("00") << 0x00 << 0;
        QTest::newRow("09") << 0x09 << 9;
        QTest::newRow("10") << 0x10 << 10;
        QTest::newRow("47") << 0x47 << 47;
        QTest::newRow("99") << 0x99 << 99;
    }
    void bcd()
    {
        QFETCH(int, byte);
        QFETCH(int, value);
        QCOMPARE(FromBcd(uint8_t(byte)), value);
        QCOMPARE(int(ToBcd(value)), byte);
    }
    void bcdNibblesNotValidated_data()
    {
        QTest::addColumn<int>("byte");
        QTest::addColumn<int>("value");
        QTest::newRow("1A") << 0x1A << 20;
        QTest::newRow("A0") << 0xA0 << 100;
        QTest::newRow("FF") << 0xFF << 165;
    }
    void bcdNibblesNotValidated()
    {
        QFETCH(int, byte);
        QFETCH(int, value);
        QCOMPARE(FromBcd(uint8_t(byte)), value);
        QCOMPARE(FieldReader(QByteArray(1, char(byte))).bcd(0), value);
    }
    void bcdNumber_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<qint64>("value");
        QTest::newRow("034701") << Hex("014703") << qint64(34701);
        QTest::newRow("123456") << Hex("563412") << qint64(123456);
        QTest::newRow("999999") << Hex("999999") << qint64(999999);
        QTest::newRow("000000") << Hex("000000") << qint64(0);
    }
    void bcdNumber()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(qint64, value);
        QCOMPARE(FieldReader(bytes).bcdNumber(0, 3), value);
    }

    void meterFloat_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<double>("value");
        QTest::newRow("zero word") << Hex("00000000") << 0.0;
        QTest::newRow("1234.5") << Hex("00501A89") << 1234.5;
        QTest::newRow("-1.0") << Hex("0000807F") << -1.0;
        QTest::newRow("1.0") << Hex("0000007F") << 1.0;
        QTest::newRow("only bit 23: tiny negative") << Hex("00008000") << -std::ldexp(1.0, -127);
        QTest::newRow("word 1") << Hex("01000000")
                                << std::ldexp(1.0, -127) * (1.0 + std::ldexp(1.0, -23));
        QTest::newRow("exponent FF, all fraction bits")
            << Hex("FFFF7FFF") << std::ldexp(2.0 - std::ldexp(1.0, -23), 128);
        QTest::newRow("-0.5") << Hex("0000807E") << -0.5;
    }
    void meterFloat()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(double, value);
        FieldReader reader(bytes);
        const double decoded = reader.meterFloat(0);
        QVERIFY(std::isfinite(decoded));
        QCOMPARE(decoded, value); // exact: every meter word is a double
        if (value != 0.0)
            QVERIFY(decoded != 0.0);
        QCOMPARE(EncodeMeterFloat(value), reader.u32(0));
    }
    void meterFloatRoundTripsEveryExponent()
    {
        for (uint32_t exponent = 0; exponent < 256; ++exponent) {
            for (uint32_t low :
                 {0x000000u, 0x000001u, 0x3FFFFFu, 0x7FFFFFu, 0x800000u, 0xFFFFFFu}) {
                const uint32_t word = (exponent << 24) | low;
                if (word == 0)
                    continue;
                QCOMPARE(EncodeMeterFloat(DecodeMeterFloat(word)), word);
            }
        }
    }
    void meterFloatEncodeLimits_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<quint32>("word");
        QTest::newRow("zero") << 0.0 << quint32(0);
        QTest::newRow("negative zero") << -0.0 << quint32(0);
        QTest::newRow("NaN") << std::nan("") << quint32(0);
        QTest::newRow("below smallest") << std::ldexp(1.0, -130) << quint32(0);
        QTest::newRow("above largest") << std::ldexp(1.0, 130) << quint32(0xFF7FFFFFu);
        QTest::newRow("-infinity") << -HUGE_VAL << quint32(0xFFFFFFFFu);
        QTest::newRow("rounds up to next power")
            << (2.0 - std::ldexp(1.0, -30)) << quint32(0x80000000u);
        QTest::newRow("0.1 to nearest") << 0.1 << quint32(0x7B4CCCCDu);
    }
    void meterFloatEncodeLimits()
    {
        QFETCH(double, value);
        QFETCH(quint32, word);
        QCOMPARE(EncodeMeterFloat(value), word);
    }

    void timestamp_data()
    {
        QTest::addColumn<quint32>("seconds");
        QTest::addColumn<QDateTime>("dateTime");
        QTest::newRow("0") << quint32(0) << at(2000, 1, 1);
        QTest::newRow("one day less a second") << quint32(86399) << at(2000, 1, 1, 23, 59, 59);
        QTest::newRow("leap day 2000") << quint32(59 * 86400 + 3661) << at(2000, 2, 29, 1, 1, 1);
        QTest::newRow("2026-03-29 02:30, a DST gap in Europe")
            << quint32(QDate(2000, 1, 1).daysTo(QDate(2026, 3, 29)) * 86400 + 9000)
            << at(2026, 3, 29, 2, 30);
        QTest::newRow("largest") << quint32(4294967295u) << at(2136, 2, 7, 6, 28, 15);
    }
    void timestamp()
    {
        QFETCH(quint32, seconds);
        QFETCH(QDateTime, dateTime);
        QByteArray bytes;
        AppendU32(bytes, seconds);
        const QDateTime decoded = FieldReader(bytes).timestamp(0);
        QCOMPARE(decoded.date(), dateTime.date());
        QCOMPARE(decoded.time(), dateTime.time());
        QCOMPARE(EncodeMeterTimestamp(dateTime), std::optional<uint32_t>(seconds));
        // Only the calendar fields count: a local-time value encodes the same.
        const QDateTime local(dateTime.date(), dateTime.time(), Qt::LocalTime);
        if (local.time() == dateTime.time())
            QCOMPARE(EncodeMeterTimestamp(local), std::optional<uint32_t>(seconds));
        const QDateTime offset(dateTime.date(), dateTime.time(), Qt::OffsetFromUTC, 3 * 3600);
        QCOMPARE(EncodeMeterTimestamp(offset), std::optional<uint32_t>(seconds));
    }
    void timestampEncodeLimits_data()
    {
        QTest::addColumn<QDateTime>("dateTime");
        QTest::addColumn<qint64>("seconds"); // -1: not encodable
        QTest::newRow("fraction dropped") << at(2000, 1, 1, 0, 0, 1, 999) << qint64(1);
        QTest::newRow("before 2000") << at(1999, 12, 31, 23, 59, 59) << qint64(-1);
        QTest::newRow("past the largest") << at(2136, 2, 7, 6, 28, 16) << qint64(-1);
        QTest::newRow("invalid") << QDateTime() << qint64(-1);
    }
    void timestampEncodeLimits()
    {
        QFETCH(QDateTime, dateTime);
        QFETCH(qint64, seconds);
        const auto encoded = EncodeMeterTimestamp(dateTime);
        if (seconds < 0)
            QVERIFY(!encoded.has_value());
        else
            QCOMPARE(encoded, std::optional<uint32_t>(uint32_t(seconds)));
    }

    void halfHour_data()
    {
        QTest::addColumn<QDate>("day");
        QTest::addColumn<qint64>("first");
        QTest::addColumn<int>("slot");
        QTest::newRow("epoch") << QDate(2000, 1, 1) << qint64(0) << 0;
        QTest::newRow("second day") << QDate(2000, 1, 2) << qint64(48) << 48;
        QTest::newRow("2026-12-10")
            << QDate(2026, 12, 10) << qint64(QDate(2000, 1, 1).daysTo(QDate(2026, 12, 10)) * 48)
            << int(QDate(2000, 1, 1).daysTo(QDate(2026, 12, 10)) * 48 % 4096);
        QTest::newRow("day 1 before epoch") << QDate(1999, 12, 31) << qint64(-48) << 4048;
    }
    void halfHour()
    {
        QFETCH(QDate, day);
        QFETCH(qint64, first);
        QFETCH(int, slot);
        QCOMPARE(FirstHalfHour(day), first);
        QCOMPARE(int(HalfHourSlot(first)), slot);
        if (first >= 0) {
            QCOMPARE(HalfHourStart(uint32_t(first)), QDateTime(day, QTime(0, 0), Qt::UTC));
            QCOMPARE(HalfHourStart(uint32_t(first + 47)), QDateTime(day, QTime(23, 30), Qt::UTC));
        }
    }
    void halfHourSlotWraps()
    {
        QCOMPARE(int(HalfHourSlot(4095)), 4095);
        QCOMPARE(int(HalfHourSlot(4096)), 0);
        QCOMPARE(int(HalfHourSlot(16777215)), 4095);
    }

    void duration_data()
    {
        QTest::addColumn<quint32>("seconds");
        QTest::addColumn<QString>("text");
        QTest::newRow("0") << quint32(0) << "00:00:00";
        QTest::newRow("3661") << quint32(3661) << "01:01:01";
        QTest::newRow("one day less a second") << quint32(86399) << "23:59:59";
        QTest::newRow("one day") << quint32(86400) << "1д.00:00:00";
        QTest::newRow("90061") << quint32(90061) << "1д.01:01:01";
        QTest::newRow("largest") << quint32(4294967295u) << "49710д.06:28:15";
    }
    void duration()
    {
        QFETCH(quint32, seconds);
        QFETCH(QString, text);
        QCOMPARE(DurationText(seconds), text);
    }

    void fixed_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<int>("digits");
        QTest::addColumn<QString>("c");
        QTest::addColumn<QString>("ru");
        QTest::newRow("reading") << 1234.5 << 3 << 8 << "1234.500"
                                 << "1234,500";
        QTest::newRow("zero") << 0.0 << 3 << 8 << "0.000"
                              << "0,000";
        QTest::newRow("negative") << -1.0 << 3 << 8 << "-1.000"
                                  << "-1,000";
        QTest::newRow("rounds to 3 decimals") << 2.0005 << 3 << 8 << "2.001"
                                              << "2,001";
        QTest::newRow("tiny negative shows no sign") << -0.0004 << 3 << 8 << "0.000"
                                                     << "0,000";
        QTest::newRow("exactly 8 digits") << 12345.678 << 3 << 8 << "12345.678"
                                          << "12345,678";
        QTest::newRow("9th digit rounded once") << 123456.7895 << 3 << 8 << "123456.790"
                                                << "123456,790";
        QTest::newRow("integer digits beyond 8 are zeros")
            << 123456789.0 << 3 << 8 << "123456790.000"
            << "123456790,000";
        QTest::newRow("carry into a new digit") << 99999999.9 << 3 << 8 << "100000000.000"
                                                << "100000000,000";
        QTest::newRow("largest meter float") << std::ldexp(2.0 - std::ldexp(1.0, -23), 128) << 3
                                             << 8 << "680564690000000000000000000000000000000.000"
                                             << "680564690000000000000000000000000000000,000";
        QTest::newRow("no group separator") << 1234567.0 << 3 << 12 << "1234567.000"
                                            << "1234567,000";
        QTest::newRow("drift") << -12.345 << 2 << 5 << "-12.35"
                               << "-12,35";
        QTest::newRow("drift beyond 5 digits") << 123456.0 << 2 << 5 << "123460.00"
                                               << "123460,00";
        QTest::newRow("significant digits after the point") << 0.0012345 << 6 << 3 << "0.001230"
                                                            << "0,001230";
    }
    void fixed()
    {
        QFETCH(double, value);
        QFETCH(int, decimals);
        QFETCH(int, digits);
        QFETCH(QString, c);
        QFETCH(QString, ru);
        const QLocale russian(QLocale::Russian, QLocale::Russia);
        QCOMPARE(FormatFixed(value, decimals, digits, QLocale::c()), c);
        QCOMPARE(FormatFixed(value, decimals, digits, russian), ru);
        QCOMPARE(ParseFixed(ru, russian), std::optional<double>(c.toDouble()));
    }
    void displayForms()
    {
        const QLocale c = QLocale::c();
        QCOMPARE(FormatReading(1234.5, c), QString("1234.500"));
        QCOMPARE(FormatHalfHourPower(3, c), QString("0.002"));
        QCOMPARE(FormatHalfHourPower(16777215, c), QString("8388.608"));
        QCOMPARE(FormatDrift(1.005, c), QString("1.00")); // 1.005 is just below in binary
        QVERIFY(!ParseFixed("1.5", QLocale(QLocale::Russian, QLocale::Russia)).has_value());
    }

    void dates()
    {
        const QLocale russian(QLocale::Russian, QLocale::Russia);
        const QLocale us(QLocale::English, QLocale::UnitedStates);
        const QDateTime t = at(2026, 3, 5, 14, 7, 9);
        QCOMPARE(FormatDate(t.date(), russian), QString("05.03.2026"));
        QCOMPARE(FormatTime(t.time(), russian), QString("14:07:09"));
        QCOMPARE(FormatDateTime(t, russian), QString("05.03.2026 14:07:09"));
        QCOMPARE(FormatTime(t.time(), us), QString("2:07:09 PM"));
        QCOMPARE(FormatJournalDateTime(t, russian), QString("05.03.26 14:07:09"));
        QCOMPARE(FormatJournalDateTime(at(2009, 11, 25, 3, 4, 5), us),
                 QString("25.11.09 03:04:05"));
        QCOMPARE(FormatIntervalStart(t, us), QString("5-Mar-26  14:07"));
        QCOMPARE(FormatIntervalStart(t, russian),
                 "5-" + russian.monthName(3, QLocale::ShortFormat) + "-26  14:07");
        QCOMPARE(FormatHourMinute(QTime(9, 30), us), QString("09:30"));
        QCOMPARE(FormatHourMinute(QTime(0, 0), russian), QString("00:00"));
    }

    void readerBounds_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("pos");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("missing");
        QTest::newRow("fits exactly") << Hex("01020304") << 0 << 4 << -1;
        QTest::newRow("last byte missing") << Hex("010203") << 0 << 4 << 3;
        QTest::newRow("starts past the end") << Hex("0102") << 5 << 2 << 5;
        QTest::newRow("empty buffer") << QByteArray() << 0 << 1 << 0;
    }
    void readerBounds()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, pos);
        QFETCH(int, width);
        QFETCH(int, missing);
        FieldReader reader(bytes);
        const uint32_t value = width == 1   ? reader.u8(pos)
                               : width == 2 ? reader.u16(pos)
                                            : reader.u32(pos);
        QCOMPARE(reader.missing(), missing);
        QCOMPARE(reader.ok(), missing < 0);
        if (missing >= 0)
            QCOMPARE(value, 0u);
    }
    void readerKeepsFirstMissing()
    {
        FieldReader reader(Hex("0003AA"));
        QCOMPARE(reader.u32(1), 0u);
        QCOMPARE(reader.missing(), 3);
        QCOMPARE(reader.u8(2), quint8(0xAA)); // later good reads still work
        QCOMPARE(reader.u16(5), quint16(0));
        QCOMPARE(reader.bcdNumber(1, 3), qint64(0));
        QCOMPARE(reader.missing(), 3);
    }
    void responseReaderStopsAtChecksum_data()
    {
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<int>("readable");
        QTest::newRow("length byte matches") << Hex("010540E201CCCC") << 5;
        QTest::newRow("length byte says less") << Hex("010340E201CCCC") << 3;
        QTest::newRow("length byte says more") << Hex("010940E201CCCC") << 5;
        QTest::newRow("one byte") << Hex("01") << 0;
        QTest::newRow("empty") << QByteArray() << 0;
    }
    void responseReaderStopsAtChecksum()
    {
        QFETCH(QByteArray, frame);
        QFETCH(int, readable);
        FieldReader reader = FieldReader::Response(frame);
        QCOMPARE(reader.size(), readable);
        if (readable > 0)
            QCOMPARE(reader.u8(readable - 1), quint8(frame[readable - 1]));
        QVERIFY(reader.ok());
        reader.u8(readable);
        QCOMPARE(reader.missing(), readable);
    }
    void readerErrorNamesFunctionAndByte()
    {
        FieldReader reader = FieldReader::Response(Hex("0103AABBCC"));
        QVERIFY(reader.error().isEmpty());
        reader.u24(2);
        QCOMPARE(reader.error(),
                 QString("Короткий отклик на функцию 1 (чтение номера): нет байта 3"));
    }
};

QTEST_GUILESS_MAIN(TestEncodings)
#include "test_encodings.moc"
