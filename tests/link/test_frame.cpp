#include "link/frame.h"
#include "support/hex.h"

#include <QtTest>

using zr::test::Hex;
using namespace zr::frame;

class TestFrame : public QObject
{
    Q_OBJECT
private slots:
    void crc_data()
    {
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<QByteArray>("withCrc");
        QTest::newRow("read number") << Hex("0102") << Hex("010281E1");
        QTest::newRow("error 6 to password") << Hex("940306") << Hex("940306B0DE");
        QTest::newRow("empty") << QByteArray() << Hex("FFFF");
    }
    void crc()
    {
        QFETCH(QByteArray, frame);
        QFETCH(QByteArray, withCrc);
        QCOMPARE(AppendCrc(frame), withCrc);
        QVERIFY(CrcValid(withCrc));
    }
    void crcByteOrder() { QVERIFY(!CrcValid(Hex("0102E181"))); }

    void functionNames_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("name");
        QTest::newRow("0") << 0 << "чтение версии ПО";
        QTest::newRow("20") << 20 << "ввод пароля";
        QTest::newRow("148 = 20 + 128") << 148 << "ввод пароля";
        QTest::newRow("45") << 45 << "запись номера ДДМ";
        QTest::newRow("22") << 22 << "неизвестная функция";
        QTest::newRow("37") << 37 << "неизвестная функция";
        QTest::newRow("46") << 46 << "неизвестная функция";
        QTest::newRow("127") << 127 << "неизвестная функция";
    }
    void functionNames()
    {
        QFETCH(int, code);
        QFETCH(QString, name);
        QCOMPARE(FunctionName(uint8_t(code)), name);
    }

    void complete_data()
    {
        QTest::addColumn<QByteArray>("buffer");
        QTest::addColumn<bool>("complete");
        QTest::newRow("empty") << QByteArray() << false;
        QTest::newRow("one byte") << Hex("01") << false;
        QTest::newRow("L=5, 6 bytes") << Hex("010540E20191") << false;
        QTest::newRow("L=5, 7 bytes") << Hex("010540E20191B8") << true;
        QTest::newRow("L=5, 8 bytes") << Hex("010540E20191B800") << true;
    }
    void complete()
    {
        QFETCH(QByteArray, buffer);
        QFETCH(bool, complete);
        QCOMPARE(ResponseComplete(buffer), complete);
    }

    void classify_data()
    {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<QByteArray>("buffer");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("message");
        const QByteArray pass = AppendCrc(Hex("140800000000000000"));
        const QByteArray number = Hex("010281E1");
        QTest::newRow("valid") << number << AppendCrc(Hex("010540E201")) << int(Judgement::Valid)
                               << QString();
        QTest::newRow("error 6") << pass << Hex("940306B0DE") << int(Judgement::Error)
                                 << "Ошибка: Доступ запрещен (ввод пароля)";
        QTest::newRow("error 0") << pass << AppendCrc(Hex("940300")) << int(Judgement::Error)
                                 << "Неизвестная ошибка (ввод пароля)";
        QTest::newRow("error 7") << pass << AppendCrc(Hex("940307")) << int(Judgement::Error)
                                 << "Неизвестная ошибка (ввод пароля)";
        QTest::newRow("error 255") << pass << AppendCrc(Hex("9403FF")) << int(Judgement::Error)
                                   << "Неизвестная ошибка (ввод пароля)";
        QTest::newRow("error, bad crc")
            << pass << Hex("940306B0DF") << int(Judgement::Invalid) << "Неверный отклик";
        QTest::newRow("error, length not 3") << pass << AppendCrc(Hex("9404060000")).left(5)
                                             << int(Judgement::Invalid) << "Неверный отклик";
        QTest::newRow("error plus surplus byte")
            << pass << Hex("940306B0DE00") << int(Judgement::Invalid) << "Неверный отклик";
        QTest::newRow("other code") << number << AppendCrc(Hex("040540E201"))
                                    << int(Judgement::Invalid) << "Неверный отклик";
        QTest::newRow("surplus byte, crc right")
            << number << AppendCrc(Hex("010540E201")) + '\0' << int(Judgement::Invalid)
            << "Отклик длиннее требуемого";
        QTest::newRow("one byte, never read past")
            << number << Hex("01") << int(Judgement::Invalid) << "Ошибка контрольной суммы";
        QTest::newRow("bad crc") << number << Hex("010540E20191B9") << int(Judgement::Invalid)
                                 << "Ошибка контрольной суммы";
    }
    void classify()
    {
        QFETCH(QByteArray, request);
        QFETCH(QByteArray, buffer);
        QFETCH(int, kind);
        QFETCH(QString, message);
        const Judgement j = ClassifyResponse(request, buffer);
        QCOMPARE(int(j.kind), kind);
        QCOMPARE(j.message, message);
    }
};

QTEST_APPLESS_MAIN(TestFrame)
#include "test_frame.moc"
