// The write batches of the settings and power-line pages, as the program builds them, sent to the
// simulated meter the way the link sends them: the meter ends up holding exactly what was written
// and shows it in its later answers.

#include "suites.h"

#include "link/function_code.h"
#include "link/password.h"
#include "meter/encodings.h"
#include "meter/plc.h"
#include "meter/settings_write.h"
#include "sim/meter.h"

#include <QTest>
#include <memory>

using namespace zr;
using namespace zr::sim;
using zr::sim::test::Frame;
using zr::sim::test::Hex;

class TestWriteBatches : public QObject
{
    Q_OBJECT

    std::unique_ptr<Meter> meter_;
    uint32_t number_ = 0;
    uint32_t running_ = 0;

    // One request as the link puts it on the line: the password bytes of functions 20 and 21
    // scrambled with the last factory number and running time the meter reported, then the CRC.
    QByteArray onTheLine(QByteArray request, const QString& access, const QString& newPassword)
    {
        const uint8_t function = uint8_t(request[0]);
        if (function == link::EnterPassword || function == link::WritePassword) {
            const QString text = function == link::EnterPassword ? access : newPassword;
            request.replace(2, link::kPasswordLength,
                            link::ScramblePassword(link::PasswordBytes(text), number_, running_));
        }
        return frame::AppendCrc(request);
    }

    // Sends the batch until the first answer that is not the request's acknowledgement or data;
    // returns the answers.
    QList<QByteArray> send(const meter::RequestBatch& batch, const QString& access = {},
                           const QString& newPassword = {}, QList<QByteArray>* sent = nullptr)
    {
        QList<QByteArray> answers;
        for (const QByteArray& request : batch.frames) {
            const QByteArray line = onTheLine(request, access, newPassword);
            if (sent)
                sent->append(line);
            const QByteArray answer = meter_->answer(line);
            answers.append(answer);
            if (answer.isEmpty() || answer[0] != request[0])
                break;
            if (request[0] == char(link::ReadNumber))
                number_ = meter::FieldReader::Response(answer).u24(2);
            if (request[0] == char(link::ReadCounters))
                running_ = meter::FieldReader::Response(answer).u32(2);
        }
        return answers;
    }

    QByteArray read(const char* request) { return meter_->answer(Frame(request)); }

private slots:
    void init()
    {
        meter_ = std::make_unique<Meter>(0, 109517, [] { return qint64(0); });
        number_ = running_ = 0;
    }

    // Every box ticked, into a meter without a number: the state holds exactly the values
    // written, the later answers show them, and the link parameters come last.
    void everySetting()
    {
        meter_->state().zones[3] = Hex("21 07 30 05 1F 01 08");
        meter::SettingsWriteInput in;
        in.writeLink = in.writeClock = in.writeBilling = in.writeIndication = true;
        in.writeIntegration = in.writePassword = in.writeDdm = in.resetSchedule = true;
        in.date = QDate(2026, 3, 5);
        in.time = QTime(14, 7, 9);
        in.daylightSaving = true;
        in.billingDay = 25;
        in.billingHour = 9;
        in.indication = {true, false, false, true, true};
        in.integrationMinutes = 30;
        in.newPassword = QStringLiteral("секрет");
        in.factoryNumber = 120034;
        in.reportedNumber = QStringLiteral("0");
        in.ddmNumbers = {1, 256, 16777215};
        in.ddmModeIndex = 8;
        in.newAddress = 34;
        in.newBaudIndex = 2;
        const meter::RequestBatch batch = meter::BuildSettingsBatch(in);
        QVERIFY2(batch.ok(), qPrintable(batch.refusal));

        const QList<QByteArray> answers = send(batch, QString(), in.newPassword);
        QCOMPARE(answers.size(), batch.frames.size());
        for (int i = 3; i < answers.size(); ++i)
            QCOMPARE(answers[i].toHex(' '),
                     frame::AppendCrc(batch.frames[i].left(1) + '\x02').toHex(' '));

        const MeterState& s = meter_->state();
        QCOMPARE(s.factoryNumber, 120034u);
        QCOMPARE(s.plcGroup, uint8_t(100));
        QCOMPARE(s.plcAddress, uint8_t(34));
        QCOMPARE(s.password, link::PasswordBytes(in.newPassword));
        QCOMPARE(s.billingDay, uint8_t(25));
        QCOMPARE(s.billingHour, uint8_t(9));
        QCOMPARE(s.indication, uint8_t(0x19));
        QCOMPARE(s.integration, uint8_t(29));
        QCOMPARE(s.ddmNumbers, (std::array<uint32_t, 3>{1, 256, 16777215}));
        QCOMPARE(s.ddmMode, uint8_t(8));
        QVERIFY(s.zones[3].isEmpty());
        QVERIFY(s.summerTime);
        QCOMPARE(meter::DecodeMeterTimestamp(meter_->clock()),
                 QDateTime(QDate(2026, 3, 5), QTime(14, 7, 12), Qt::UTC));
        QCOMPARE(s.address, uint8_t(34));
        QCOMPARE(s.baud, 19200);

        QCOMPARE(read("01 02"), Frame("01 05 E2 D4 01"));
        QCOMPARE(read("0A 02"), Frame("0A 04 64 22"));
        QCOMPARE(read("22 02"), Frame("22 04 09 25"));
        QCOMPARE(read("0D 02"), Frame("0D 03 19"));
        QCOMPARE(read("1E 02"), Frame("1E 03 1D"));
        QCOMPARE(read("2C 02"), Frame("2C 0C 01 00 00 00 01 00 FF FF FF 08"));

        // The next batch gets in with the new password only.
        meter::SettingsWriteInput clock;
        clock.date = QDate(2026, 1, 1);
        QCOMPARE(send(meter::BuildSettingsBatch(clock)).value(2), Frame("94 03 06"));
        QCOMPARE(send(meter::BuildSettingsBatch(clock), in.newPassword).value(3), Frame("05 02"));
    }

    // Factory number 1193046, running time 109517, empty access password: the entry on the line
    // is the link's worked example, and the new password travels scrambled the same way.
    void passwordBytesOnTheLine()
    {
        meter_->state().factoryNumber = 1193046;
        meter::SettingsWriteInput in;
        in.writeClock = false;
        in.writePassword = true;
        in.newPassword = QStringLiteral("Пар");
        QList<QByteArray> sent;
        send(meter::BuildSettingsBatch(in), QString(), in.newPassword, &sent);
        QCOMPARE(sent.size(), 4);
        QCOMPARE(sent[2].toHex(' '), Hex("14 08 9B 9F DF FD F9 B9 68 C5").toHex(' '));
        QCOMPARE(sent[3].mid(2, 6),
                 link::ScramblePassword(Hex("CF E0 F0 00 00 00"), 1193046, 109517));
        QCOMPARE(meter_->state().password, Hex("CF E0 F0 00 00 00"));
    }

    // A wrong access password stops the batch at the entry and changes nothing.
    void wrongPassword()
    {
        meter_->state().password = link::PasswordBytes(QStringLiteral("верный"));
        meter::SettingsWriteInput in;
        in.writeClock = false;
        in.writeIntegration = true;
        in.integrationMinutes = 60;
        const QList<QByteArray> answers = send(meter::BuildSettingsBatch(in), "ложный");
        QCOMPARE(answers.size(), 3);
        QCOMPARE(answers[2], Frame("94 03 06"));
        QCOMPARE(meter_->state().integration, uint8_t(0));
    }

    void powerLine()
    {
        QCOMPARE(send(meter::BuildPlcAddressWrite(70, 15)).value(3), Frame("0B 02"));
        QCOMPARE(read("0A 02"), Frame("0A 04 46 0F"));

        QCOMPARE(send(meter::BuildRouteWrite(2, 7, "123456")).value(3), Frame("21 02"));
        const meter::PlcRouteInfo route = meter::DecodePlcRoute(read("20 03 02"));
        QCOMPARE(route.addressText, QStringLiteral("7"));
        QCOMPARE(route.numberText, QStringLiteral("123456"));

        QCOMPARE(send(meter::BuildRouteDeletion(2)).value(3), Frame("21 02"));
        QVERIFY(!meter::DecodePlcRoute(read("20 03 02")).present);
    }
};

int zr::sim::test::RunWriteBatchTests(int argc, char** argv)
{
    TestWriteBatches t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_write_batches.moc"
