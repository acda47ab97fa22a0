// The schedule editor on its own: the tariff colours and the order of the zone list.

#include "schedule/ui/schedule_editor.h"
#include "support.h"

#include <QHeaderView>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>

class TestSchedulePage : public QObject
{
    Q_OBJECT

private slots:
    void tariffColors_data();
    void tariffColors();
    void zoneListKeepsTimeOrder();
};

void TestSchedulePage::tariffColors_data()
{
    QTest::addColumn<int>("tariff");
    QTest::addColumn<QColor>("color");
    QTest::newRow("1 cream") << 1 << QColor(255, 251, 240);
    QTest::newRow("2 sky blue") << 2 << QColor(166, 202, 240);
    QTest::newRow("3 orange") << 3 << QColor(255, 140, 26);
    QTest::newRow("4 medium grey") << 4 << QColor(160, 160, 164);
    QTest::newRow("5 yellow") << 5 << QColor(255, 255, 0);
    QTest::newRow("6 light green") << 6 << QColor(134, 255, 134);
    QTest::newRow("7 teal") << 7 << QColor(0, 128, 128);
    QTest::newRow("8 pink") << 8 << QColor(255, 128, 255);
}

void TestSchedulePage::tariffColors()
{
    QFETCH(int, tariff);
    QFETCH(QColor, color);

    zr::schedule::Schedule model;
    zr::schedule::ScheduleEditor frame(&model);
    // The colour must show on screen, not merely sit in the palette.
    const auto shown = [](QRadioButton* button) {
        return button->grab().toImage().pixelColor(1, 1);
    };
    QCOMPARE(shown(frame.Tariff[tariff - 1]), color);
    QCOMPARE(shown(frame.TariffLimit[tariff - 1]), color);
    QCOMPARE(frame.TariffColor(tariff), color);
    // A new colour reaches both buttons of the tariff and no other.
    frame.SetTariffColor(tariff, Qt::black);
    QCOMPARE(shown(frame.TariffLimit[tariff - 1]), QColor(Qt::black));
    QCOMPARE(frame.TariffColor(tariff), QColor(Qt::black));
    const int other = tariff % 8;
    QVERIFY(frame.TariffColor(other + 1) != QColor(Qt::black));
}

void TestSchedulePage::zoneListKeepsTimeOrder()
{
    zr::schedule::Schedule model;
    zr::schedule::ScheduleEditor frame(&model);
    for (const char* time : {"12:00", "00:00", "23:30", "06:45"})
        new QTreeWidgetItem(frame.ListViewDays, {time, "1", "0", "1"});
    QStringList order;
    for (int i = 0; i < frame.ListViewDays->topLevelItemCount(); ++i)
        order << frame.ListViewDays->topLevelItem(i)->text(0);
    QCOMPARE(order, (QStringList{"00:00", "06:45", "12:00", "23:30"}));
    QVERIFY(!frame.ListViewDays->header()->sectionsClickable());
}

int zr::test::RunSchedulePageTests(int argc, char** argv)
{
    TestSchedulePage test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_schedule_page.moc"
