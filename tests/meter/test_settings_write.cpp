#include "meter/settings_write.h"

#include "link/function_code.h"

#include "support/hex.h"

#include <QtTest>
#include <functional>

using namespace zr::meter;
using zr::test::FramesText;
using Edit = std::function<void(SettingsWriteInput&)>;
Q_DECLARE_METATYPE(Edit)

namespace
{

const QString kOpening = QStringLiteral("01 02 | 11 02 | 14 08 00 00 00 00 00 00");

// Nothing ticked, the meter reports number 0 and the number field is empty.
SettingsWriteInput Base()
{
    SettingsWriteInput in;
    in.writeClock = false;
    in.date = QDate(2000, 1, 1);
    in.time = QTime(0, 0);
    in.reportedNumber = QStringLiteral("0");
    return in;
}

SettingsWriteInput Edited(const Edit& edit)
{
    SettingsWriteInput in = Base();
    edit(in);
    return in;
}

} // namespace

class TestSettingsWrite : public QObject
{
    Q_OBJECT

private slots:
    void batch_data()
    {
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<QString>("after"); // the frames behind the opening requests
        const auto row = [](const char* name, Edit edit, const char* after) {
            QTest::newRow(name) << edit << QString::fromLatin1(after);
        };
        row(
            "nothing ticked", [](SettingsWriteInput&) {}, "");
        row(
            "clock with daylight saving, plus 3 s",
            [](SettingsWriteInput& in) {
                in.writeClock = true;
                in.daylightSaving = true;
            },
            "05 07 80 03 00 00 00");
        row(
            "clock without daylight saving",
            [](SettingsWriteInput& in) {
                in.writeClock = true;
                in.time = QTime(0, 0, 57, 999);
            },
            "05 07 00 3C 00 00 00");
        row(
            "new password, filled in by the link",
            [](SettingsWriteInput& in) {
                in.writePassword = true;
                in.newPassword = QStringLiteral("секрет");
            },
            "15 08 00 00 00 00 00 00");
        row(
            "number with group 0 sent as 100",
            [](SettingsWriteInput& in) { in.factoryNumber = 120034; },
            "02 05 E2 D4 01 | 0B 04 64 22");
        row(
            "number with group and address 0",
            [](SettingsWriteInput& in) { in.factoryNumber = 130000; },
            "02 05 D0 FB 01 | 0B 04 64 64");
        row(
            "number with group 1", [](SettingsWriteInput& in) { in.factoryNumber = 120134; },
            "02 05 46 D5 01 | 0B 04 01 22");
        row(
            "number 0", [](SettingsWriteInput& in) { in.factoryNumber = 0; }, "");
        row(
            "meter already numbered",
            [](SettingsWriteInput& in) {
                in.factoryNumber = 120034;
                in.reportedNumber = QStringLiteral("000007");
            },
            "");
        row(
            "number not read yet",
            [](SettingsWriteInput& in) {
                in.factoryNumber = 120034;
                in.reportedNumber.clear();
            },
            "");
        row(
            "billing day and hour in BCD",
            [](SettingsWriteInput& in) {
                in.writeBilling = true;
                in.billingDay = 25;
                in.billingHour = 9;
            },
            "23 04 09 25");
        row(
            "indication mask",
            [](SettingsWriteInput& in) {
                in.writeIndication = true;
                in.indication = {true, false, false, true, true};
            },
            "0E 03 19");
        row(
            "integration time minus 1",
            [](SettingsWriteInput& in) {
                in.writeIntegration = true;
                in.integrationMinutes = 30;
            },
            "1F 03 1D");
        row(
            "ddm automatic",
            [](SettingsWriteInput& in) {
                in.writeDdm = true;
                in.ddmNumbers = {1, 256, 16777215};
            },
            "2D 0C 01 00 00 00 01 00 FF FF FF 00");
        row(
            "ddm tariff 8",
            [](SettingsWriteInput& in) {
                in.writeDdm = true;
                in.ddmModeIndex = 8;
            },
            "2D 0C 00 00 00 00 00 00 00 00 00 08");
        row(
            "ddm typed text matching no item",
            [](SettingsWriteInput& in) {
                in.writeDdm = true;
                in.ddmModeIndex = -1;
            },
            "2D 0C 00 00 00 00 00 00 00 00 00 FF");
        row(
            "schedule reset", [](SettingsWriteInput& in) { in.resetSchedule = true; }, "09 02");
        row(
            "link parameters",
            [](SettingsWriteInput& in) {
                in.writeLink = true;
                in.newAddress = 255;
                in.newBaudIndex = 3;
            },
            "03 04 FF 03");
        row(
            "everything, link parameters last",
            [](SettingsWriteInput& in) {
                in.writeLink = in.writeClock = in.writeBilling = in.writeIndication = true;
                in.writeIntegration = in.writePassword = in.writeDdm = in.resetSchedule = true;
                in.factoryNumber = 120034;
                in.newAddress = 34;
            },
            "05 07 00 03 00 00 00 | 15 08 00 00 00 00 00 00 | 02 05 E2 D4 01 | 0B 04 64 22 | "
            "23 04 00 01 | 0E 03 00 | 1F 03 00 | 2D 0C 00 00 00 00 00 00 00 00 00 00 | 09 02 | "
            "03 04 22 00");
    }

    void batch()
    {
        QFETCH(Edit, edit);
        QFETCH(QString, after);
        const RequestBatch batch = BuildSettingsBatch(Edited(edit));
        QVERIFY2(batch.ok(), qPrintable(batch.refusal));
        QCOMPARE(FramesText(batch.frames), after.isEmpty() ? kOpening : kOpening + " | " + after);
    }

    void refusals_data()
    {
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<QString>("message"); // a part of the refusal; empty: accepted
        const auto row = [](const char* name, Edit edit, const QString& message) {
            QTest::newRow(name) << edit << message;
        };
        const QString clock = QStringLiteral("Время счетчика");
        row(
            "clock before 2000",
            [](SettingsWriteInput& in) {
                in.writeClock = true;
                in.date = QDate(1999, 12, 31);
                in.time = QTime(23, 59, 59);
            },
            clock);
        row(
            "clock past the counter with its 3 s",
            [](SettingsWriteInput& in) {
                in.writeClock = true;
                in.date = QDate(2136, 2, 7);
                in.time = QTime(6, 28, 13);
            },
            clock);
        row(
            "last clock value",
            [](SettingsWriteInput& in) {
                in.writeClock = true;
                in.date = QDate(2136, 2, 7);
                in.time = QTime(6, 28, 12);
            },
            QString());
        row(
            "no date",
            [](SettingsWriteInput& in) {
                in.writeClock = true;
                in.date = QDate();
            },
            clock);
        row(
            "password of 7 characters",
            [](SettingsWriteInput& in) {
                in.writePassword = true;
                in.newPassword = QStringLiteral("1234567");
            },
            QStringLiteral("6 символов"));
        row(
            "password outside the code page",
            [](SettingsWriteInput& in) {
                in.writePassword = true;
                in.newPassword = QStringLiteral("ab密");
            },
            QStringLiteral("«密»"));
        row(
            "password with a question mark",
            [](SettingsWriteInput& in) {
                in.writePassword = true;
                in.newPassword = QStringLiteral("Ё?№");
            },
            QString());
        row(
            "number of 7 digits", [](SettingsWriteInput& in) { in.factoryNumber = 1000000; },
            QStringLiteral("6 цифр"));
        row(
            "number of 7 digits, not written",
            [](SettingsWriteInput& in) {
                in.factoryNumber = 1000000;
                in.reportedNumber = QStringLiteral("000001");
            },
            QString());
        row(
            "billing day 0",
            [](SettingsWriteInput& in) {
                in.writeBilling = true;
                in.billingDay = 0;
            },
            QStringLiteral("Расчетный день"));
        row(
            "billing hour 24",
            [](SettingsWriteInput& in) {
                in.writeBilling = true;
                in.billingHour = 24;
            },
            QStringLiteral("Расчетный час"));
        row(
            "integration 61",
            [](SettingsWriteInput& in) {
                in.writeIntegration = true;
                in.integrationMinutes = 61;
            },
            QStringLiteral("от 1 до 60"));
        row(
            "integration 0 unticked", [](SettingsWriteInput& in) { in.integrationMinutes = 0; },
            QString());
        row(
            "ddm number above 24 bits",
            [](SettingsWriteInput& in) {
                in.writeDdm = true;
                in.ddmNumbers[2] = 16777216;
            },
            QStringLiteral("16777215"));
        row(
            "ddm number negative",
            [](SettingsWriteInput& in) {
                in.writeDdm = true;
                in.ddmNumbers[0] = -1;
            },
            QStringLiteral("16777215"));
        row(
            "address 256",
            [](SettingsWriteInput& in) {
                in.writeLink = true;
                in.newAddress = 256;
            },
            QStringLiteral("адрес"));
        row(
            "no speed selected",
            [](SettingsWriteInput& in) {
                in.writeLink = true;
                in.newBaudIndex = -1;
            },
            QStringLiteral("скорость"));
    }

    // A refusal comes before anything is queued: no frames, not even the opening.
    void refusals()
    {
        QFETCH(Edit, edit);
        QFETCH(QString, message);
        const RequestBatch batch = BuildSettingsBatch(Edited(edit));
        if (message.isEmpty()) {
            QVERIFY2(batch.ok(), qPrintable(batch.refusal));
            return;
        }
        QVERIFY(!batch.ok());
        QVERIFY(batch.frames.isEmpty());
        QVERIFY2(batch.refusal.contains(message), qPrintable(batch.refusal));
    }

    void acknowledgements_data()
    {
        QTest::addColumn<int>("function");
        QTest::addColumn<QString>("log");
        using namespace zr::link;
        QTest::newRow("number") << int(WriteNumber) << QStringLiteral("Номер=120034");
        QTest::newRow("link") << int(WriteLinkParameters)
                              << QStringLiteral("Адрес=34 Скорость=19200");
        QTest::newRow("clock, without the added 3 s")
            << int(WriteClock)
            << QStringLiteral("Время=05.03.2026 14:07:09 Автопереход на летнее время");
        QTest::newRow("indication")
            << int(WriteIndication)
            << QStringLiteral("Режим индикации=Суммарное потребление Мощность "
                              "Автопереключение индикации ");
        QTest::newRow("password") << int(WritePassword) << QStringLiteral("Пароль=секрет");
        QTest::newRow("integration")
            << int(WriteIntegrationTime)
            << QStringLiteral("Время интегрирования детектора пиковой можщности=30");
        QTest::newRow("billing") << int(WriteBillingDay)
                                 << QStringLiteral("Расчетный день=25 Расчетный час=9");
        QTest::newRow("ddm") << int(WriteDdmNumbers)
                             << QStringLiteral("ДДМ=1,256,65536 Режим тарификации=  8");
        QTest::newRow("schedule reset, not logged") << int(WriteSchedule) << QString();
        QTest::newRow("plc, logged by its tab") << int(WritePlcAddress) << QString();
    }

    void acknowledgements()
    {
        QFETCH(int, function);
        QFETCH(QString, log);
        SettingsWriteInput in = Base();
        in.date = QDate(2026, 3, 5);
        in.time = QTime(14, 7, 9);
        in.daylightSaving = true;
        in.factoryNumber = 120034;
        in.newAddress = 34;
        in.newBaudIndex = 2;
        in.indication = {true, false, false, true, true};
        in.newPassword = QStringLiteral("секрет");
        in.integrationMinutes = 30;
        in.billingDay = 25;
        in.billingHour = 9;
        in.ddmNumbers = {1, 256, 65536};
        in.ddmModeIndex = 8;
        in.ddmModeText = QStringLiteral("  8");
        const SettingsAcknowledgement ack =
            AcknowledgeSettingsWrite(uint8_t(function), in, QLocale(QLocale::Russian));
        QCOMPARE(ack.logText, log);
        QCOMPARE(ack.newAddress.has_value(), function == zr::link::WriteLinkParameters);
        QCOMPARE(ack.newAccessPassword.has_value(), function == zr::link::WritePassword);
        if (ack.newAddress) {
            QCOMPARE(*ack.newAddress, 34);
            QCOMPARE(ack.newBaudIndex.value_or(-1), 2);
        }
        if (ack.newAccessPassword)
            QCOMPARE(*ack.newAccessPassword, QStringLiteral("секрет"));
    }
};

QTEST_GUILESS_MAIN(TestSettingsWrite)
#include "test_settings_write.moc"
