#include "meter/device_info.h"

#include "link/frame.h"
#include "meter/encodings.h"
#include "support/hex.h"
#include "support/response.h"

#include <QtTest>

using namespace zr::meter;
using namespace zr::test;
using zr::test::Hex;

namespace
{

QByteArray oneByte(int b)
{
    return QByteArray(1, char(b));
}
QByteArray u32(uint32_t v)
{
    QByteArray out;
    AppendU32(out, v);
    return out;
}

const QLocale kRussian(QLocale::Russian, QLocale::Russia);

} // namespace

class TestDeviceInfo : public QObject
{
    Q_OBJECT
private slots:
    void version_data()
    {
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("label");
        QTest::newRow("ZR-347.01, 2.15") << Hex("1502014703") << 34701 << "2.15"
                                         << "ЗуР347.01";
        QTest::newRow("other type") << Hex("1502563412") << 123456 << "неизвест."
                                    << "123456";
        QTest::newRow("minor and major without leading zeros")
            << Hex("0501994703") << 34799 << "1.5"
            << "ЗуР347.99";
        QTest::newRow("model 1347 passes the model test") << Hex("1002004713") << 134700 << "2.10"
                                                          << "ЗуР1347.00";
        QTest::newRow("type 0") << Hex("0000000000") << 0 << "неизвест."
                                << "0";
    }
    void version()
    {
        QFETCH(QByteArray, payload);
        QFETCH(int, type);
        QFETCH(QString, version);
        QFETCH(QString, label);
        const VersionInfo info = DecodeVersion(Response(0, payload));
        QVERIFY(info.ok());
        QCOMPARE(info.deviceType, type);
        QCOMPARE(info.version, version);
        QCOMPARE(info.type, label);
    }

    void factoryNumber_data()
    {
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<quint32>("number");
        QTest::addColumn<QString>("text");
        QTest::newRow("0: not assigned") << Hex("000000") << 0u << "0";
        QTest::newRow("7") << Hex("070000") << 7u << "000007";
        QTest::newRow("42") << Hex("2A0000") << 42u << "000042";
        QTest::newRow("123456") << Hex("40E201") << 123456u << "123456";
        QTest::newRow("largest") << Hex("FFFFFF") << 16777215u << "16777215";
    }
    void factoryNumber()
    {
        QFETCH(QByteArray, payload);
        QFETCH(quint32, number);
        QFETCH(QString, text);
        const FactoryNumberInfo info = DecodeFactoryNumber(Response(1, payload));
        QVERIFY(info.ok());
        QCOMPARE(info.number, number);
        QCOMPARE(info.text, text);
        QCOMPARE(info.assignable, number == 0);
    }

    void clock_data()
    {
        const QByteArray at2026 =
            u32(*EncodeMeterTimestamp(QDateTime(QDate(2026, 12, 10), QTime(14, 7, 9), Qt::UTC)));
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<int>("timerFlags");
        QTest::addColumn<QString>("summer");
        QTest::addColumn<QString>("tariff");
        QTest::addColumn<QString>("test");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("time");
        QTest::newRow("0x85 with clock") << Response(4, oneByte(0x85) + at2026) << 0 << "да"
                                         << "6"
                                         << "Ok"
                                         << "10.12.2026"
                                         << "14:07:09";
        QTest::newRow("0x85 without clock (length 3)") << Response(4, Hex("85")) << 0 << "да"
                                                       << "6"
                                                       << "Ok" << QString() << QString();
        QTest::newRow("length neither 3 nor 7 carries no clock")
            << Response(4, Hex("07") + at2026.left(2)) << 0 << "нет"
            << "8"
            << "Ok" << QString() << QString();
        QTest::newRow("0x60: timer fault wins")
            << Response(4, oneByte(0x60) + at2026) << 0x60 << "нет"
            << "1"
            << "Неисправность таймера." << QString() << QString();
        QTest::newRow("0x40: timer not set")
            << Response(4, oneByte(0x40) + at2026) << 0x40 << "нет"
            << "1"
            << "Дата и время таймера не установлены." << QString() << QString();
        QTest::newRow("0x10 alone: empty test text")
            << Response(4, oneByte(0x10) + at2026) << 0 << "нет"
            << "1" << QString() << QString() << QString();
        QTest::newRow("0xFF") << Response(4, oneByte(0xFF) + at2026) << 0x60 << "да"
                              << "8"
                              << "Неисправность таймера." << QString() << QString();
    }
    void clock()
    {
        QFETCH(QByteArray, frame);
        QFETCH(int, timerFlags);
        QFETCH(QString, summer);
        QFETCH(QString, tariff);
        QFETCH(QString, test);
        QFETCH(QString, date);
        QFETCH(QString, time);
        const ClockInfo info = DecodeClock(frame, kRussian);
        QVERIFY(info.ok());
        QCOMPARE(int(info.timerFlags), timerFlags);
        QCOMPARE(info.summer, summer);
        QCOMPARE(info.tariffText, tariff);
        QCOMPARE(info.tariff, tariff.toInt());
        QCOMPARE(info.test, test);
        QCOMPARE(info.date, date);
        QCOMPARE(info.time, time);
        QCOMPARE(info.clockShown, !date.isEmpty());
        if (info.clockShown)
            QCOMPARE(info.clock, QDateTime(QDate(2026, 12, 10), QTime(14, 7, 9), Qt::UTC));
    }

    void simpleFields()
    {
        const PowerInfo power = DecodePower(Response(12, Hex("40E201")));
        QVERIFY(power.ok());
        QCOMPARE(power.watts, 123456u);
        QCOMPARE(power.text, QString("123456"));

        const RunningTimeInfo running = DecodeRunningTime(Response(17, Hex("4D600100FF")));
        QVERIFY(running.ok());
        QCOMPARE(running.runningSeconds, 90189u);
        QCOMPARE(running.work, QString("1д.01:03:09"));
        QCOMPARE(running.corrections, quint8(255));
        QCOMPARE(running.correctionText, QString("255"));
        QCOMPARE(DecodeRunningTime(Response(17, Hex("CD5F010003"))).work, QString("1д.01:01:01"));

        const BillingInfo billing = DecodeBilling(Response(34, Hex("2331")));
        QVERIFY(billing.ok());
        QCOMPARE(billing.hour, 23);
        QCOMPARE(billing.hourText, QString("23"));
        QCOMPARE(billing.day, 31);
        QCOMPARE(billing.dayText, QString("31"));
    }
    void integration_data()
    {
        QTest::addColumn<int>("byte");
        QTest::addColumn<QString>("text");
        QTest::newRow("0 is one minute") << 0 << "1";
        QTest::newRow("59 is sixty") << 59 << "60";
        QTest::newRow("255 shown as is") << 255 << "256";
    }
    void integration()
    {
        QFETCH(int, byte);
        QFETCH(QString, text);
        const IntegrationInfo info = DecodeIntegration(Response(30, oneByte(byte)));
        QVERIFY(info.ok());
        QCOMPARE(info.minutes, byte + 1);
        QCOMPARE(info.text, text);
    }

    void indication_data()
    {
        QTest::addColumn<int>("mask");
        QTest::addColumn<QList<bool>>("checked");
        QTest::newRow("none") << 0x00 << QList<bool>{false, false, false, false, false};
        QTest::newRow("bits 0, 2, 4") << 0x15 << QList<bool>{true, false, true, false, true};
        QTest::newRow("bits above 4 ignored")
            << 0xEA << QList<bool>{false, true, false, true, false};
        QTest::newRow("all") << 0xFF << QList<bool>{true, true, true, true, true};
    }
    void indication()
    {
        QFETCH(int, mask);
        QFETCH(QList<bool>, checked);
        const IndicationInfo info = DecodeIndication(Response(13, oneByte(mask)));
        QVERIFY(info.ok());
        QCOMPARE(QList<bool>(info.checked.begin(), info.checked.end()), checked);
        QCOMPARE(IndicationItems().size(), 5);
        QCOMPARE(IndicationItems().first(), QString("Суммарное потребление"));
        QCOMPARE(IndicationItems().last(), QString("Автопереключение индикации"));
    }

    void idleReading_data()
    {
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<QString>("text");
        QTest::newRow("tariff 1") << Response(15, Hex("000000501A89")) << "1234,500";
        QTest::newRow("selector 7") << Response(15, Hex("0700 0000807F")) << "-1,000";
        QTest::newRow("selector 8 clears") << Response(15, Hex("0800000000 7F")) << QString();
        QTest::newRow("length 7 clears") << Response(15, Hex("0000000000")) << QString();
        QTest::newRow("length 2 clears") << Response(15, QByteArray()) << QString();
    }
    void idleReading()
    {
        QFETCH(QByteArray, frame);
        QFETCH(QString, text);
        const TariffReadingInfo info = DecodeIdleReading(frame, kRussian);
        QVERIFY(info.ok());
        QCOMPARE(info.text, text);
        QCOMPARE(info.shown, !text.isEmpty());
    }

    // Function 8 carries the checksum only in its short form; zone records are not a checksum.
    void scheduleChecksum_data()
    {
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<QString>("text");
        QTest::newRow("checksum") << Response(8, Hex("3412")) << "4660";
        QTest::newRow("zone record") << Response(8, Hex("002100000AFFFF0F")) << QString();
        QTest::newRow("no record") << Response(8, Hex("00")) << QString();
    }
    void scheduleChecksum()
    {
        QFETCH(QByteArray, frame);
        QFETCH(QString, text);
        const ScheduleChecksumInfo info = DecodeScheduleChecksum(frame);
        QVERIFY(info.ok());
        QCOMPARE(info.present, !text.isEmpty());
        QCOMPARE(info.text, text);
    }

    void ddmStatus()
    {
        const QDateTime t(QDate(2026, 1, 2), QTime(3, 4, 5), Qt::UTC);
        const QByteArray seen = u32(*EncodeMeterTimestamp(t));
        // A: in order; B: no session although its status byte is set; C: code 3 (status & 3).
        const QByteArray frame =
            Response(16, oneByte(0x00) + seen + oneByte(0x02) + u32(0) + oneByte(0xFF) + seen);
        const DdmStatusInfo info = DecodeDdmStatus(frame, kRussian);
        QVERIFY(info.ok());
        QCOMPARE(int(info.phases[0].code), 0);
        QCOMPARE(info.phases[0].status, QString("в норме"));
        QCOMPARE(info.phases[0].lastSession, QString("02.01.2026 03:04:05"));
        QCOMPARE(int(info.phases[1].code), int(kDdmNoSession));
        QVERIFY(info.phases[1].status.isEmpty());
        QVERIFY(info.phases[1].lastSession.isEmpty());
        QCOMPARE(int(info.phases[2].code), 3);
        QVERIFY(info.phases[2].status.isEmpty());
        QCOMPARE(info.phases[2].lastSession, QString("02.01.2026 03:04:05"));
    }
    void ddmStatusTexts_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("text");
        QTest::newRow("1") << 1 << "ДДМ > ББ";
        QTest::newRow("2") << 2 << "ДДМ < ББ";
        QTest::newRow("0x82: only the low bits count") << 0x82 << "ДДМ < ББ";
    }
    void ddmStatusTexts()
    {
        QFETCH(int, status);
        QFETCH(QString, text);
        const QByteArray record = oneByte(status) + u32(1);
        const DdmStatusInfo info = DecodeDdmStatus(Response(16, record + record + record));
        QVERIFY(info.ok());
        for (const DdmPhaseStatus& phase : info.phases) {
            QCOMPARE(int(phase.code), status & 3);
            QCOMPARE(phase.status, text);
        }
    }

    void ddmNumbers_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("modeText");
        QTest::newRow("auto") << 0 << "авто";
        QTest::newRow("3") << 3 << "3";
        QTest::newRow("255") << 255 << "255";
    }
    void ddmNumbers()
    {
        QFETCH(int, mode);
        QFETCH(QString, modeText);
        const DdmNumbersInfo info =
            DecodeDdmNumbers(Response(44, Hex("010000 40E201 FFFFFF") + char(mode)));
        QVERIFY(info.ok());
        QCOMPARE(info.numbers, (std::array<uint32_t, 3>{1, 123456, 16777215}));
        QCOMPARE(info.numberTexts, (std::array<QString, 3>{"1", "123456", "16777215"}));
        QCOMPARE(int(info.mode), mode);
        QCOMPARE(info.modeText, modeText);
    }

    void shortResponses_data()
    {
        QTest::addColumn<int>("function");
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<int>("missing");
        QTest::newRow("0 without type code") << 0 << Response(0, Hex("1502")) << 4;
        QTest::newRow("0, last type byte") << 0 << Response(0, Hex("15020147")) << 6;
        QTest::newRow("1, two bytes") << 1 << Response(1, Hex("4000")) << 4;
        QTest::newRow("4 without flag byte") << 4 << Response(4, QByteArray()) << 2;
        QTest::newRow("12 empty") << 12 << Response(12, QByteArray()) << 2;
        QTest::newRow("13 empty") << 13 << Response(13, QByteArray()) << 2;
        QTest::newRow("15 says 8, holds less") << 15 << ResponseWithLength(15, 8, Hex("0000")) << 4;
        QTest::newRow("16, phase C cut") << 16 << Response(16, QByteArray(12, '\1')) << 14;
        QTest::newRow("17 without counter") << 17 << Response(17, Hex("00000000")) << 6;
        QTest::newRow("30 empty") << 30 << Response(30, QByteArray()) << 2;
        QTest::newRow("34 without day") << 34 << Response(34, Hex("12")) << 3;
        QTest::newRow("44 without mode") << 44 << Response(44, QByteArray(9, '\1')) << 11;
        QTest::newRow("checksum is not data") << 1 << ResponseWithLength(1, 3, Hex("4000")) << 3;
    }
    void shortResponses()
    {
        QFETCH(int, function);
        QFETCH(QByteArray, frame);
        QFETCH(int, missing);
        DecodeResult result;
        switch (function) {
        case 0: {
            const VersionInfo v = DecodeVersion(frame);
            QVERIFY(v.version.isEmpty() && v.type.isEmpty() && v.deviceType == 0);
            result = v;
            break;
        }
        case 1: {
            const FactoryNumberInfo v = DecodeFactoryNumber(frame);
            QVERIFY(v.text.isEmpty() && v.number == 0 && !v.assignable);
            result = v;
            break;
        }
        case 4: {
            const ClockInfo v = DecodeClock(frame);
            QVERIFY(v.summer.isEmpty() && v.tariffText.isEmpty() && v.test.isEmpty());
            result = v;
            break;
        }
        case 12:
            result = DecodePower(frame);
            break;
        case 13:
            result = DecodeIndication(frame);
            break;
        case 15: {
            const TariffReadingInfo v = DecodeIdleReading(frame);
            QVERIFY(!v.shown && v.text.isEmpty());
            result = v;
            break;
        }
        case 16: {
            const DdmStatusInfo v = DecodeDdmStatus(frame);
            for (const DdmPhaseStatus& phase : v.phases)
                QVERIFY(phase.code == 0 && phase.status.isEmpty());
            result = v;
            break;
        }
        case 17:
            result = DecodeRunningTime(frame);
            break;
        case 30:
            result = DecodeIntegration(frame);
            break;
        case 34:
            result = DecodeBilling(frame);
            break;
        case 44: {
            const DdmNumbersInfo v = DecodeDdmNumbers(frame);
            QVERIFY(v.modeText.isEmpty() && v.numberTexts[0].isEmpty());
            result = v;
            break;
        }
        }
        QVERIFY(!result.ok());
        QVERIFY2(result.error.contains(QString::number(function)), qPrintable(result.error));
        QVERIFY2(result.error.contains(zr::frame::FunctionName(uint8_t(function))),
                 qPrintable(result.error));
        QVERIFY2(result.error.endsWith(QStringLiteral("нет байта %1").arg(missing)),
                 qPrintable(result.error));
    }

    void stateAppliesOnlyDecodedValues()
    {
        MeterState state;
        state.apply(DecodeVersion(Response(0, Hex("1502014703"))));
        state.apply(DecodeFactoryNumber(Response(1, Hex("563412"))));
        state.apply(DecodeClock(Response(4, Hex("E5"))));
        state.apply(DecodeRunningTime(Response(17, Hex("CDAB010000"))));
        state.apply(DecodeDdmStatus(Response(16, oneByte(0x01) + u32(5) + oneByte(0x02) + u32(0) +
                                                     oneByte(0x03) + u32(5))));
        QCOMPARE(state.deviceType, 34701);
        QCOMPARE(state.factoryNumber, 0x123456u);
        QCOMPARE(int(state.timerFlags), 0x60);
        QCOMPARE(state.runningSeconds, 109517u);
        QCOMPARE(state.ddmStatus, (std::array<uint8_t, 3>{1, kDdmNoSession, 3}));

        // Short responses leave every kept value as it was.
        state.apply(DecodeFactoryNumber(Response(1, Hex("00"))));
        state.apply(DecodeRunningTime(Response(17, Hex("00"))));
        state.apply(DecodeClock(Response(4, QByteArray())));
        state.apply(DecodeDdmStatus(Response(16, Hex("00"))));
        state.apply(DecodeVersion(Response(0, Hex("00"))));
        QCOMPARE(state.factoryNumber, 0x123456u);
        QCOMPARE(state.runningSeconds, 109517u);
        QCOMPARE(int(state.timerFlags), 0x60);
        QCOMPARE(state.ddmStatus[1], kDdmNoSession);
        QCOMPARE(state.deviceType, 34701);

        state.reset();
        QCOMPARE(state.deviceType, 0);
        QCOMPARE(state.factoryNumber, 0u);
        QCOMPARE(int(state.timerFlags), 0);
        QCOMPARE(state.ddmStatus, (std::array<uint8_t, 3>{0, 0, 0}));
        QCOMPARE(state.runningSeconds, 109517u); // the display reset keeps the counter
    }

    void gridCaptions()
    {
        QCOMPARE(DdmPhaseCaptions(), (QStringList{"Фаза A", "Фаза B", "Фаза C"}));
        QCOMPARE(DdmRowCaptions(),
                 (QStringList{"№ ДДМ", "Тарификация", "Статус", "Последний сеанс"}));
        QCOMPARE(DdmRowCaptions().at(DdmRowSession - 1), QString("Последний сеанс"));
    }
};

QTEST_GUILESS_MAIN(TestDeviceInfo)
#include "test_device_info.moc"
