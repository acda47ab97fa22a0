#include "meter/plc.h"

#include "link/frame.h"

#include "support/hex.h"

#include <QtTest>

using namespace zr::meter;
using zr::test::FramesText;
Q_DECLARE_METATYPE(RequestBatch)

namespace
{

const QString kOpening = QStringLiteral("01 02 | 11 02 | 14 08 00 00 00 00 00 00 | ");

QByteArray Response(const char* hex)
{
    return zr::frame::AppendCrc(QByteArray::fromHex(hex));
}

} // namespace

class TestPlc : public QObject
{
    Q_OBJECT

private slots:
    void builders_data()
    {
        QTest::addColumn<RequestBatch>("batch");
        QTest::addColumn<QString>("request"); // behind the opening requests
        QTest::newRow("group and address") << BuildPlcAddressWrite(100, 34) << "0B 04 64 22";
        QTest::newRow("route") << BuildRouteWrite(2, 7, QStringLiteral("123456"))
                               << "21 07 02 07 40 E2 01";
        QTest::newRow("route, largest number")
            << BuildRouteWrite(0, 255, QStringLiteral(" 16777215 ")) << "21 07 00 FF FF FF FF";
        QTest::newRow("route deletion") << BuildRouteDeletion(3) << "21 03 03";
    }

    void builders()
    {
        QFETCH(RequestBatch, batch);
        QFETCH(QString, request);
        QVERIFY2(batch.ok(), qPrintable(batch.refusal));
        QCOMPARE(FramesText(batch.frames), kOpening + request);
    }

    void refusals_data()
    {
        QTest::addColumn<RequestBatch>("batch");
        QTest::addColumn<QString>("message");
        const QString number = QStringLiteral("Номер для записи должен быть целым числом от 0 до "
                                              "16777215.");
        QTest::newRow("number not a number") << BuildRouteWrite(1, 7, "12a") << number;
        QTest::newRow("number empty") << BuildRouteWrite(1, 7, "") << number;
        QTest::newRow("number above 24 bits") << BuildRouteWrite(1, 7, "16777216") << number;
        QTest::newRow("number negative") << BuildRouteWrite(1, 7, "-1") << number;
        QTest::newRow("number with a fraction") << BuildRouteWrite(1, 7, "1.5") << number;
        QTest::newRow("route 4") << BuildRouteWrite(4, 7, "1")
                                 << QStringLiteral("Номер маршрута должен быть от 0 до 3.");
        QTest::newRow("deleting route -1")
            << BuildRouteDeletion(-1) << QStringLiteral("Номер маршрута должен быть от 0 до 3.");
        QTest::newRow("repeater address 256")
            << BuildRouteWrite(0, 256, "1")
            << QStringLiteral("Адрес ретранслятора должен быть от 0 до 255.");
        QTest::newRow("group 256")
            << BuildPlcAddressWrite(256, 0)
            << QStringLiteral("Plc-группа и Plc-адрес должны быть от 0 до 255.");
    }

    void refusals()
    {
        QFETCH(RequestBatch, batch);
        QFETCH(QString, message);
        QVERIFY(batch.frames.isEmpty());
        QCOMPARE(batch.refusal, message);
    }

    void groupAndAddress()
    {
        const PlcAddressInfo info = DecodePlcAddress(Response("0A 04 46 0F"));
        QVERIFY(info.ok());
        QCOMPARE(info.groupText, QStringLiteral("70"));
        QCOMPARE(info.addressText, QStringLiteral("15"));
        const PlcAddressInfo shortInfo = DecodePlcAddress(Response("0A 03 46"));
        QVERIFY(!shortInfo.ok());
        QVERIFY(shortInfo.groupText.isEmpty());
    }

    void routes_data()
    {
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("route");
        QTest::addColumn<bool>("hasRow");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("number");
        QTest::newRow("set") << Response("20 07 02 07 40 E2 01") << true << 2 << true << "7"
                             << "123456";
        QTest::newRow("empty clears the row") << Response("20 03 01") << true << 1 << true << ""
                                              << "";
        QTest::newRow("index without a row")
            << Response("20 07 04 07 40 E2 01") << true << 4 << false << "7"
            << "123456";
        QTest::newRow("short") << Response("20 07 02 07 40") << false << 0 << false << ""
                               << "";
    }

    void routes()
    {
        QFETCH(QByteArray, frame);
        QFETCH(bool, ok);
        QFETCH(int, route);
        QFETCH(bool, hasRow);
        QFETCH(QString, address);
        QFETCH(QString, number);
        const PlcRouteInfo info = DecodePlcRoute(frame);
        QCOMPARE(info.ok(), ok);
        QCOMPARE(info.route, route);
        QCOMPARE(info.hasRow, hasRow);
        QCOMPARE(info.present, !address.isEmpty());
        QCOMPARE(info.addressText, address);
        QCOMPARE(info.numberText, number);
    }

    void logLines()
    {
        QCOMPARE(PlcAddressLogText(100, 34), QStringLiteral("Plc-группа=100, Plc-адрес=34"));
        QCOMPARE(RouteWriteLogText(2, 7, QStringLiteral("123456")),
                 QStringLiteral("Plc-Маршрут=2, адрес=7, номер=123456"));
        QCOMPARE(RouteDeletionLogText(3), QStringLiteral("Plc-Маршрут=3 удален"));
    }
};

QTEST_GUILESS_MAIN(TestPlc)
#include "test_plc.moc"
