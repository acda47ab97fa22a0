// The settings page on its own: the clock pickers, and the tints of its groups and of the
// connection panel beside it.

#include "meter/ui/settings_page.h"
#include "meter/ui/widgets.h"
#include "shell/main_window.h"
#include "support.h"
#include "support/child.h"

#include <QDateEdit>
#include <QGroupBox>
#include <QTest>
#include <algorithm>

using zr::shell::MainWindow;
using zr::shell::Modes;
using zr::test::Child;

class TestSettingsPage : public QObject
{
    Q_OBJECT

private slots:
    void pickersFollowClockUntilEdited();
    void adjustColor_data();
    void adjustColor();
    void tintedGroups();
};

void TestSettingsPage::pickersFollowClockUntilEdited()
{
    zr::meter::SettingsPage page;
    const QDateTime clock(QDate(2026, 12, 10), QTime(8, 30, 15));
    page.FollowClock(clock);
    QCOMPARE(Child<QDateEdit>(&page, "DatePicker")->date(), clock.date());
    QCOMPARE(Child<QTimeEdit>(&page, "TimePicker")->time(), clock.time());
    QVERIFY(!page.DateEdited());
    QVERIFY(!page.TimeEdited());

    Child<QTimeEdit>(&page, "TimePicker")->setTime(QTime(9, 0));
    page.FollowClock(clock.addDays(1));
    QCOMPARE(Child<QDateEdit>(&page, "DatePicker")->date(), clock.date().addDays(1));
    QCOMPARE(Child<QTimeEdit>(&page, "TimePicker")->time(), QTime(9, 0));

    page.ClearEditedMarks();
    page.FollowClock(clock);
    QCOMPARE(Child<QTimeEdit>(&page, "TimePicker")->time(), clock.time());
}

void TestSettingsPage::adjustColor_data()
{
    QTest::addColumn<QColor>("color");
    QTest::addColumn<int>("red");
    QTest::addColumn<int>("green");
    QTest::addColumn<int>("blue");
    QTest::addColumn<QColor>("adjusted");
    // 240 - 4.8 and 240 - 2.4 truncate toward zero: 236 and 238, not 235 and 237.
    QTest::newRow("connection panel")
        << QColor(240, 240, 240) << -2 << -2 << -1 << QColor(236, 236, 238);
    QTest::newRow("settings group")
        << QColor(240, 240, 240) << 2 << 0 << 0 << QColor(244, 240, 240);
    QTest::newRow("clamped above") << QColor(253, 10, 0) << 2 << 2 << 2 << QColor(255, 10, 0);
    QTest::newRow("small channels") << QColor(49, 1, 99) << -2 << 2 << 1 << QColor(49, 1, 99);
    QTest::newRow("clamped below") << QColor(100, 200, 50) << -150 << -100 << 0 << QColor(0, 0, 50);
}

void TestSettingsPage::adjustColor()
{
    QFETCH(QColor, color);
    QFETCH(int, red);
    QFETCH(int, green);
    QFETCH(int, blue);
    QFETCH(QColor, adjusted);

    QCOMPARE(zr::meter::AdjustColor(color, red, green, blue), adjusted);
}

void TestSettingsPage::tintedGroups()
{
    MainWindow window{Modes{}};
    QGroupBox* group = Child<QGroupBox>(window.Settings(), "GroupTask");
    const QColor face = group->palette().color(QPalette::Button);
    const QColor warmer(std::min(face.red() + face.red() * 2 / 100, 255), face.green(),
                        face.blue());
    QCOMPARE(group->grab().toImage().pixelColor(1, 1), warmer);
    const QColor cooler(face.red() - face.red() * 2 / 100, face.green() - face.green() * 2 / 100,
                        face.blue() - face.blue() / 100);
    QCOMPARE(window.Connection()->grab().toImage().pixelColor(1, 1), cooler);
}

int zr::test::RunSettingsPageTests(int argc, char** argv)
{
    TestSettingsPage test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_settings_page.moc"
