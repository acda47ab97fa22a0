// The journal page on its own: its print and export buttons, and its half-hour chart.

#include "meter/ui/bar_chart.h"
#include "meter/ui/journal_page.h"
#include "support.h"

#include <QDateTime>
#include <QPushButton>
#include <QTest>

class TestJournalPage : public QObject
{
    Q_OBJECT

private slots:
    void printButtonsNeedPrinter();
    void chartBars();
};

void TestJournalPage::printButtonsNeedPrinter()
{
    zr::meter::JournalPage page;
    const QList<QPushButton*> print = {page.BtnPrintJournalYear, page.BtnPrintDiary,
                                       page.BtnPrintHalf};
    const QList<QPushButton*> exports = {page.BtnExportJournalYear, page.BtnExportDiary,
                                         page.BtnExportHalf};
    for (bool installed : {true, false}) {
        page.SetPrintersInstalled(installed);
        for (QPushButton* button : print)
            QCOMPARE(button->isEnabled(), installed);
        for (QPushButton* button : exports)
            QVERIFY(button->isEnabled());
    }
}

void TestJournalPage::chartBars()
{
    zr::meter::BarChart chart;
    const QDateTime start(QDate(2026, 12, 10), QTime(0, 0));
    chart.AddBar(start, 1.25);
    chart.AddBar(start.addSecs(1800), 0.5);
    QCOMPARE(chart.Bars().size(), 2);
    QCOMPARE(chart.Bars()[1].value, 0.5);
    chart.resize(300, 150);
    QVERIFY(!chart.grab().isNull());
    chart.Clear();
    QVERIFY(chart.Bars().isEmpty());
}

int zr::test::RunJournalPageTests(int argc, char** argv)
{
    TestJournalPage test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_journal_page.moc"
