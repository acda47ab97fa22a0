#include "support.h"

#include "meter/encodings.h"

using namespace zr::schedule;
using namespace zr::schedule::test;

class TestPacked : public QObject
{
    Q_OBJECT
private slots:
    void maska_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("bit");
        QTest::newRow("negative") << -3 << 1;
        QTest::newRow("0") << 0 << 1;
        QTest::newRow("1") << 1 << 1;
        QTest::newRow("2") << 2 << 2;
        QTest::newRow("day type 8") << 8 << 128;
        QTest::newRow("December") << 12 << 2048;
        QTest::newRow("16") << 16 << 32768;
        QTest::newRow("17: no bit") << 17 << 0;
        QTest::newRow("40: no bit") << 40 << 0;
    }
    void maska()
    {
        QFETCH(int, n);
        QFETCH(int, bit);
        QCOMPARE(int(GetMaska(n)), bit);
    }

    void validTime_data()
    {
        QTest::addColumn<QString>("time");
        QTest::addColumn<bool>("valid");
        QTest::newRow("midnight") << "00:00" << true;
        QTest::newRow("last minute") << "23:59" << true;
        QTest::newRow("hour 24") << "24:00" << false;
        QTest::newRow("minute 60") << "12:60" << false;
        QTest::newRow("unpadded") << "7:30" << false;
        QTest::newRow("seconds") << "07:30:00" << false;
        QTest::newRow("dot") << "07.30" << false;
        QTest::newRow("sign") << "+7:30" << false;
        QTest::newRow("non-ASCII digit") << QString::fromUtf8("0٧:30") << false;
        QTest::newRow("empty") << "" << false;
    }
    void validTime()
    {
        QFETCH(QString, time);
        QFETCH(bool, valid);
        QCOMPARE(ValidTime(time), valid);
    }

    void limitRule_data()
    {
        QTest::addColumn<int>("tariff");
        QTest::addColumn<int>("limit");
        QTest::addColumn<int>("limitTariff");
        QTest::addColumn<bool>("holds");
        QTest::newRow("no limit, same tariff") << 5 << 0 << 5 << true;
        QTest::newRow("no limit, other tariff") << 5 << 0 << 4 << false;
        QTest::newRow("limit, other tariff") << 5 << 3 << 4 << true;
        QTest::newRow("limit, same tariff") << 5 << 3 << 5 << false;
    }
    void limitRule()
    {
        QFETCH(int, tariff);
        QFETCH(int, limit);
        QFETCH(int, limitTariff);
        QFETCH(bool, holds);
        QCOMPARE(
            LimitRuleHolds(Zone{"12:00", uint8_t(tariff), uint8_t(limit), uint8_t(limitTariff)}),
            holds);
    }

    // Records that pack to given bytes and unpack to themselves.
    void zoneRoundTrip_data()
    {
        QTest::addColumn<AList>("record");
        QTest::addColumn<QByteArray>("packed");
        QTest::newRow("07:30 t2 l5 lt3, Mon-Fri, Jan+Dec")
            << Rec("07:30", 2, 5, 3, 0x1F, Months({1, 12}))
            << Hex("21073005"
                   "1F0108");
        QTest::newRow("tariffs 8 and 8") << Rec("23:59", 8, 0, 8, 0xFF, 0x0FFF)
                                         << Hex("77235900"
                                                "FFFF0F");
        QTest::newRow("0D 0A inside: limit 13, day-type set 10")
            << Rec("00:00", 1, 13, 2, 10, Months({1}))
            << Hex("1000000D"
                   "0A0100");
        QTest::newRow("month bits 12-15 kept") << Rec("06:00", 1, 0, 1, 1, 0xF001)
                                               << Hex("00060000"
                                                      "0101F0");
    }
    void zoneRoundTrip()
    {
        QFETCH(AList, record);
        QFETCH(QByteArray, packed);
        QCOMPARE(PackZone(record).toHex(' '), packed.toHex(' '));
        QString reason;
        const auto back = UnpackZone(packed, &reason);
        QVERIFY(back);
        QCOMPARE(*back, record);
    }

    void zoneIgnoredBits_data()
    {
        QTest::addColumn<int>("byte0");
        QTest::addColumn<int>("tariff");
        QTest::addColumn<int>("limitTariff");
        QTest::addColumn<int>("repacked");
        QTest::newRow("FF") << 0xFF << 8 << 8 << 0x77;
        QTest::newRow("bits 3 and 7 only") << 0x88 << 1 << 1 << 0x00;
        QTest::newRow("21") << 0x21 << 2 << 3 << 0x21;
    }
    void zoneIgnoredBits()
    {
        QFETCH(int, byte0);
        QFETCH(int, tariff);
        QFETCH(int, limitTariff);
        QFETCH(int, repacked);
        QByteArray packed = Hex("00120000010100");
        packed[0] = char(byte0);
        QString reason;
        const auto r = UnpackZone(packed, &reason);
        QVERIFY(r);
        QCOMPARE(int(r->zone.tariff), tariff);
        QCOMPARE(int(r->zone.limitTariff), limitTariff);
        QCOMPARE(int(uint8_t(PackZone(*r)[0])), repacked);
    }

    void zoneTime_data()
    {
        QTest::addColumn<QByteArray>("packed");
        QTest::addColumn<QString>("time"); // empty: refused
        QTest::addColumn<QString>("reason");
        QTest::newRow("hour 24") << Hex("00240000010100") << ""
                                 << "недопустимое время начала 24:00";
        QTest::newRow("minute 60") << Hex("00126000010100") << ""
                                   << "недопустимое время начала 12:60";
        QTest::newRow("nibble above 9, hour 40") << Hex("003A0000010100") << ""
                                                 << "недопустимое время начала 40:00";
        QTest::newRow("FF FF") << Hex("00FFFF00010100") << ""
                               << "недопустимое время начала 165:165";
        QTest::newRow("6 bytes") << Hex("001200000101") << ""
                                 << "6 байт вместо 7";
        QTest::newRow("no bytes") << QByteArray() << ""
                                  << "0 байт вместо 7";
        // Nibbles are not checked: 0x1A is 20, a valid hour.
        QTest::newRow("nibble above 9, hour 20") << Hex("001A0000010100") << "20:00"
                                                 << "";
    }
    void zoneTime()
    {
        QFETCH(QByteArray, packed);
        QFETCH(QString, time);
        QFETCH(QString, reason);
        QString why;
        const auto r = UnpackZone(packed, &why);
        QCOMPARE(bool(r), !time.isEmpty());
        if (r)
            QCOMPARE(r->zone.time, time);
        QCOMPARE(why, reason);
    }

    void zonesAllOrNothing_data()
    {
        QTest::addColumn<QVector<QByteArray>>("packed");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("refused");
        QTest::addColumn<QString>("text");
        const QByteArray good = Hex("00120000010100");
        QTest::newRow("all valid") << QVector<QByteArray>{good, good} << 2 << -1 << "";
        QTest::newRow("none") << QVector<QByteArray>{} << 0 << -1 << "";
        QTest::newRow("third bad") << QVector<QByteArray>{good, good, Hex("00245900010100"), good}
                                   << 0 << 2 << "Запись зоны № 3: недопустимое время начала 24:59.";
        QTest::newRow("short record") << QVector<QByteArray>{good, Hex("001200")} << 0 << 1
                                      << "Запись зоны № 2: 3 байт вместо 7.";
    }
    void zonesAllOrNothing()
    {
        QFETCH(QVector<QByteArray>, packed);
        QFETCH(int, count);
        QFETCH(int, refused);
        QFETCH(QString, text);
        Refusal refusal;
        QCOMPARE(UnpackZones(packed, &refusal).size(), count);
        QCOMPARE(refusal.index, refused);
        if (refusal.refused())
            QCOMPARE(ZoneRefusalText(refusal), text);
    }

    void refusalWithOffset()
    {
        QCOMPARE(TransferRefusalText(Refusal{2, "тип дня 9 вне диапазона 1–8"}, 42),
                 QString("Перенос № 3 (смещение 42): тип дня 9 вне диапазона 1–8."));
    }

    void holidays_data()
    {
        QTest::addColumn<QByteArray>("table");
        QTest::addColumn<QVector<Holiday>>("list");
        auto table = [](const char* entries) {
            QByteArray t = Hex(entries);
            return t + QByteArray(kHolidayTableSize - t.size(), '\0');
        };
        QTest::newRow("31 February accepted") << table("3102") << QVector<Holiday>{{2, 31}};
        QTest::newRow("day 0 and month 13 skipped") << table("0005"
                                                             "1213"
                                                             "0803")
                                                    << QVector<Holiday>{{3, 8}};
        QTest::newRow("day 32 skipped") << table("3201") << QVector<Holiday>{};
        QTest::newRow("defaults") << Hex("01010201030104010501070123020803010509051206041100000000"
                                         "00000000")
                                  << DefaultHolidays();
        QByteArray full;
        QVector<Holiday> sixteen;
        for (int i = 1; i <= kMaxHolidays; ++i) {
            full += char(zr::meter::ToBcd(i)) + QByteArray(1, char(0x12));
            sixteen.append({12, i});
        }
        QTest::newRow("sixteen") << full << sixteen;
    }
    void holidays()
    {
        QFETCH(QByteArray, table);
        QFETCH(QVector<Holiday>, list);
        QCOMPARE(UnpackHolidays(table), list);
        QCOMPARE(UnpackHolidays(PackHolidays(list)), list);
    }

    void defaultHolidayTable()
    {
        QCOMPARE(PackHolidays(DefaultHolidays()).toHex(' '),
                 (Hex("010102010301040105010701230208030105090512060411") + QByteArray(8, '\0'))
                     .toHex(' '));
    }

    void holidaysWrongSize() { QVERIFY(UnpackHolidays(QByteArray(31, '\x01')).isEmpty()); }

    void transferEntry_data()
    {
        QTest::addColumn<QByteArray>("entry");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QDate>("date");
        QTest::addColumn<int>("dayType");
        QTest::addColumn<QString>("reason");
        QTest::newRow("15 Jan 2000, holiday")
            << Hex("15010008") << int(TransferEntry::Accepted) << QDate(2000, 1, 15) << 8 << "";
        QTest::newRow("29 Feb 2024")
            << Hex("29022401") << int(TransferEntry::Accepted) << QDate(2024, 2, 29) << 1 << "";
        QTest::newRow("31 Dec 2099")
            << Hex("31129907") << int(TransferEntry::Accepted) << QDate(2099, 12, 31) << 7 << "";
        QTest::newRow("empty entry")
            << Hex("00000000") << int(TransferEntry::Skipped) << QDate() << 0 << "";
        QTest::newRow("3 bytes") << Hex("150100") << int(TransferEntry::Skipped) << QDate() << 0
                                 << "";
        QTest::newRow("month 13") << Hex("01132601") << int(TransferEntry::Skipped) << QDate() << 0
                                  << "";
        QTest::newRow("31 April") << Hex("31042601") << int(TransferEntry::Invalid) << QDate() << 0
                                  << "несуществующая дата 31.04.2026";
        QTest::newRow("29 Feb 2026") << Hex("29022601") << int(TransferEntry::Invalid) << QDate()
                                     << 0 << "несуществующая дата 29.02.2026";
        QTest::newRow("year 2100") << Hex("0101A001") << int(TransferEntry::Invalid) << QDate() << 0
                                   << "дата 01.01.2100 позже 31.12.2099";
        QTest::newRow("year 2100, day type 9") << Hex("0101A009") << int(TransferEntry::Invalid)
                                               << QDate() << 0 << "тип дня 9 вне диапазона 1–8";
        QTest::newRow("day type 0") << Hex("01012600") << int(TransferEntry::Invalid) << QDate()
                                    << 0 << "тип дня 0 вне диапазона 1–8";
        QTest::newRow("day type 9") << Hex("01012609") << int(TransferEntry::Invalid) << QDate()
                                    << 0 << "тип дня 9 вне диапазона 1–8";
    }
    void transferEntry()
    {
        QFETCH(QByteArray, entry);
        QFETCH(int, kind);
        QFETCH(QDate, date);
        QFETCH(int, dayType);
        QFETCH(QString, reason);
        const TransferEntry e = UnpackTransfer(entry);
        QCOMPARE(int(e.kind), kind);
        QCOMPARE(e.reason, reason);
        // Only a whole entry whose one fault is its year may be dropped alone.
        QCOMPARE(e.late, reason.contains(QStringLiteral("позже")));
        if (e.kind == TransferEntry::Accepted) {
            QCOMPARE(e.transfer.date, date);
            QCOMPARE(e.transfer.dayType, dayType);
            QCOMPARE(PackTransfers({e.transfer}).left(4).toHex(), entry.toHex());
        }
    }

    void transferTable()
    {
        QByteArray table = Hex("00000000"
                               "10052606"
                               "01132601"
                               "07012708");
        table += QByteArray(kTransferTableSize - table.size(), '\0');
        Refusal refusal;
        const QVector<Transfer> list = UnpackTransfers(table, &refusal);
        QVERIFY(!refusal.refused());
        const QVector<Transfer> expected{{QDate(2026, 5, 10), 6}, {QDate(2027, 1, 7), 8}};
        QCOMPARE(list, expected);
        // Packing fills entries in list order, without the skipped ones' gaps.
        QCOMPARE(PackTransfers(list).toHex(), (Hex("10052606"
                                                   "07012708") +
                                               QByteArray(56, '\0'))
                                                  .toHex());

        table.replace(20, 4, Hex("31062601"));
        QVERIFY(UnpackTransfers(table, &refusal).isEmpty());
        QCOMPARE(refusal.index, 5);
        QCOMPARE(refusal.reason, QString("несуществующая дата 31.06.2026"));
    }
};

QObject* NewPackedTest()
{
    return new TestPacked;
}

#include "test_packed.moc"
