#include "meter/status.h"

#include <QtTest>

using zr::meter::DecodeStatus;

class TestStatus : public QObject
{
    Q_OBJECT
private slots:
    void decode_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QStringList>("lines");
        const QString timer = "Дата и время таймера не установлены.";
        QTest::newRow("0: nothing") << 0 << QStringList();
        QTest::newRow("128: bit 7 has no line") << 128 << QStringList();
        QTest::newRow("64: timer only") << 64 << QStringList{timer};
        QTest::newRow("0x39: A>, B<, C absent")
            << 0x39
            << QStringList{"Фаза A: потребление ДДМ > ББ.", "Фаза B: потребление ДДМ < ББ.",
                           "Отсутствует фаза C."};
        QTest::newRow("0x0C: B absent only") << 0x0C << QStringList{"Отсутствует фаза B."};
        QTest::newRow("0x10: C greater only")
            << 0x10 << QStringList{"Фаза C: потребление ДДМ > ББ."};
        QTest::newRow("255: power off overrides all") << 255 << QStringList{"Выключение питания"};
        QTest::newRow("254: timer, then phases")
            << 254
            << QStringList{timer, "Фаза A: потребление ДДМ < ББ.", "Отсутствует фаза B.",
                           "Отсутствует фаза C."};
        QTest::newRow("127: all but bit 7")
            << 127
            << QStringList{timer, "Отсутствует фаза A.", "Отсутствует фаза B.",
                           "Отсутствует фаза C."};
    }
    void decode()
    {
        QFETCH(int, status);
        QFETCH(QStringList, lines);
        QCOMPARE(DecodeStatus(uint8_t(status)), lines);
    }
};

QTEST_GUILESS_MAIN(TestStatus)
#include "test_status.moc"
