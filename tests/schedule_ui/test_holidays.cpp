#include "schedule/ui/holidays_page.h"

#include <QtTest>

using namespace zr::schedule;

namespace
{

struct Fixture {
    Schedule model;
    HolidaysPage page{&model};
    Ui::HolidaysPage& ui = page.ui;

    QStringList Holidays() const
    {
        QStringList rows;
        for (int i = 0; i < ui.ListCel->topLevelItemCount(); ++i)
            rows << ui.ListCel->topLevelItem(i)->text(0) + ' ' +
                        ui.ListCel->topLevelItem(i)->text(1);
        return rows;
    }
    void AddHoliday(int month, int day)
    {
        ui.ComboM->setCurrentIndex(month - 1);
        ui.SpinD->setValue(day);
        ui.BtnInsCel->click();
    }
};

} // namespace

class TestHolidays : public QObject
{
    Q_OBJECT
private slots:
    void startsWithDefaults()
    {
        Fixture f;
        QCOMPARE(f.ui.ListCel->topLevelItemCount(), 12);
        QCOMPARE(f.model.holidays(), DefaultHolidays());
        QVERIFY(!f.ui.BtnDelCel->isEnabled());
        QVERIFY(!f.ui.BtnDelTrans->isEnabled());
        QCOMPARE(f.ui.SpinLimit->value(), 1);
    }

    // Whatever path fills the list, the add button stops at 16 rows.
    void sixteenRowLimit()
    {
        Fixture f;
        for (int day = 10; day < 14; ++day)
            f.AddHoliday(12, day);
        QCOMPARE(f.model.holidays().size(), 16);
        QVERIFY(!f.ui.BtnInsCel->isEnabled());
        f.ui.ListCel->topLevelItem(3)->setSelected(true);
        QVERIFY(f.ui.BtnDelCel->isEnabled());
        f.ui.BtnDelCel->click();
        QVERIFY(f.ui.BtnInsCel->isEnabled());
        f.ui.BtnTemplet->click();
        QCOMPARE(f.ui.ListCel->topLevelItemCount(), 12);
        QVERIFY(f.ui.BtnInsCel->isEnabled());

        QVector<Holiday> full(16, Holiday{3, 3});
        QVector<Transfer> transfers(16, Transfer{QDate(2030, 1, 1), 2});
        QVERIFY(f.model.SetHolidayList(full));
        QVERIFY(f.model.SetTransferList(transfers));
        f.page.ShowSchedule();
        QVERIFY(!f.ui.BtnInsCel->isEnabled());
        QVERIFY(!f.ui.BtnInsTrans->isEnabled());
        QCOMPARE(f.ui.ListTransfer->topLevelItemCount(), 16);
    }

    void orderedInsertion()
    {
        Fixture f;
        f.AddHoliday(3, 8);
        QStringList expected{"январь 1", "январь 2",   "январь 3", "январь 4", "январь 5",
                             "январь 7", "февраль 23", "март 8",   "март 8",   "май 1",
                             "май 9",    "июнь 12",    "ноябрь 4"};
        QCOMPARE(f.Holidays(), expected);
        f.AddHoliday(2, 29);
        QCOMPARE(f.Holidays().at(7), QStringLiteral("февраль 29"));
        QCOMPARE(f.model.holidays().at(7), (Holiday{2, 29}));
    }

    void dayFollowsMonth()
    {
        Fixture f;
        f.ui.SpinD->setValue(31);
        f.ui.ComboM->setCurrentIndex(1);
        QCOMPARE(f.ui.SpinD->value(), 29);
        f.ui.ComboM->setCurrentIndex(3);
        QCOMPARE(f.ui.SpinD->maximum(), 30);
        f.ui.ComboM->setCurrentIndex(0);
        QCOMPARE(f.ui.SpinD->maximum(), 31);
    }

    void multipleDeletion()
    {
        Fixture f;
        for (int row : {1, 4, 6})
            f.ui.ListCel->topLevelItem(row)->setSelected(true);
        f.ui.BtnDelCel->click();
        QCOMPARE(f.Holidays(), (QStringList{"январь 1", "январь 3", "январь 4", "январь 7",
                                            "март 8", "май 1", "май 9", "июнь 12", "ноябрь 4"}));
        QVERIFY(!f.ui.BtnDelCel->isEnabled());
    }

    void transferDates()
    {
        Fixture f;
        const QDate today = QDate::currentDate();
        f.ui.DTPTrans->setDate(today.addDays(-1));
        QCOMPARE(f.ui.DTPTrans->date(), today);
        f.ui.DTPTrans->setDate(QDate(2100, 1, 1));
        QCOMPARE(f.ui.DTPTrans->date(), QDate(2099, 12, 31));

        const int year = today.year() + 1;
        f.ui.DTPTrans->setDate(QDate(year, 5, 10));
        f.ui.ComboTrans->setCurrentIndex(5);
        f.ui.BtnInsTrans->click();
        f.ui.DTPTrans->setDate(QDate(year, 5, 1));
        f.ui.ComboTrans->setCurrentIndex(7);
        f.ui.BtnInsTrans->click();
        // Same date again: after the entry already listed.
        f.ui.ComboTrans->setCurrentIndex(0);
        f.ui.BtnInsTrans->click();
        QCOMPARE(f.model.transfers(),
                 (QVector<Transfer>{
                     {QDate(year, 5, 1), 8}, {QDate(year, 5, 1), 1}, {QDate(year, 5, 10), 6}}));
        QCOMPARE(f.ui.ListTransfer->topLevelItem(0)->text(0),
                 QDate(year, 5, 1).toString("dd.MM.yyyy"));
        QCOMPARE(f.ui.ListTransfer->topLevelItem(0)->text(1), QStringLiteral("праздник"));

        f.ui.ListTransfer->topLevelItem(0)->setSelected(true);
        f.ui.ListTransfer->topLevelItem(2)->setSelected(true);
        f.ui.BtnDelTrans->click();
        QCOMPARE(f.model.transfers(), (QVector<Transfer>{{QDate(year, 5, 1), 1}}));
    }

    void coefficientClamped()
    {
        Fixture f;
        f.ui.SpinLimit->setValue(0);
        QCOMPARE(f.model.coefficient(), 1);
        f.ui.SpinLimit->setValue(300);
        QCOMPARE(f.ui.SpinLimit->value(), 255);
        QCOMPARE(f.model.coefficient(), 255);
        f.model.SetCoefficient(7);
        f.page.ShowSchedule();
        QCOMPARE(f.ui.SpinLimit->value(), 7);
    }
};

QObject* NewHolidaysTest()
{
    return new TestHolidays;
}

#include "test_holidays.moc"
