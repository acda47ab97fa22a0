#include "report/list_sort.h"

#include <QtTest>

using zr::report::Compare;

class TestListSort : public QObject
{
    Q_OBJECT
private slots:
    void compare_data()
    {
        QTest::addColumn<QStringList>("item1");
        QTest::addColumn<QStringList>("item2");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("result");
        QTest::newRow("caption greater") << QStringList{"10"} << QStringList{"9"} << 0 << 1;
        QTest::newRow("caption smaller") << QStringList{"9"} << QStringList{"10"} << 0 << -1;
        QTest::newRow("equal gives -1") << QStringList{"7"} << QStringList{"7"} << 0 << -1;
        QTest::newRow("descending") << QStringList{"10"} << QStringList{"9"} << 100 << -1;
        QTest::newRow("descending equal") << QStringList{"7"} << QStringList{"7"} << 100 << 1;
        QTest::newRow("sub-item 2 is column 3")
            << QStringList{"1", "x", "y", "5"} << QStringList{"2", "x", "y", "4"} << 3 << 1;
        QTest::newRow("descending sub-item")
            << QStringList{"1", "5"} << QStringList{"2", "4"} << 201 << -1;
        QTest::newRow("text is -999 below -5")
            << QStringList{"abc"} << QStringList{"-5"} << 0 << -1;
        QTest::newRow("-998 above text") << QStringList{"-998"} << QStringList{"09.12"} << 0 << 1;
        QTest::newRow("-999 ties with text") << QStringList{"-999"} << QStringList{""} << 0 << -1;
        QTest::newRow("missing sub-item is text")
            << QStringList{"1"} << QStringList{"2", "-1000"} << 1 << 1;
        QTest::newRow("fraction is not an integer")
            << QStringList{"1,5"} << QStringList{"-1"} << 0 << -1;
    }
    void compare()
    {
        QFETCH(QStringList, item1);
        QFETCH(QStringList, item2);
        QFETCH(int, key);
        QFETCH(int, result);
        QCOMPARE(Compare(item1, item2, key), result);
    }

    // Sorted by it, texts gather at the start and numbers follow in order.
    void sortsTextsFirst()
    {
        QList<QStringList> items{{"12"}, {"пусто"}, {"3"}, {"-2"}, {""}};
        std::sort(items.begin(), items.end(),
                  [](const QStringList& a, const QStringList& b) { return Compare(b, a, 0) > 0; });
        QCOMPARE(items.at(2), QStringList{"-2"});
        QCOMPARE(items.at(3), QStringList{"3"});
        QCOMPARE(items.at(4), QStringList{"12"});
    }
};

QTEST_GUILESS_MAIN(TestListSort)
#include "test_list_sort.moc"
