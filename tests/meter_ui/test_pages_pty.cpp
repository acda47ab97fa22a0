// The readings and yearly journal read over a real serial port driver from zr347-sim, whose
// meter runs on its own clock: every cell filled with a plausible value.

#include "meter/event_journal.h"
#include "sim_line.h"
#include "support/child.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>

using zr::test::Child;

class TestPagesPty : public QObject
{
    Q_OBJECT
private slots:
    void readingsAndYearJournal();
};

void TestPagesPty::readingsAndYearJournal()
{
    zr::test::SimLine line;
    QSignalSpy failures(&line.link, &zr::link::MeterLink::failureMessage);
    QVERIFY(line.start());

    Child<QPushButton>(&line.readings, "BtnReadCounter")->click();
    QVERIFY(line.drained(zr::link::ReadPeaks, 60000));
    auto* tariffs = Child<QTableWidget>(&line.readings, "GridValueTarif");
    auto* phases = Child<QTableWidget>(&line.readings, "GridActive");
    double tariffSum = 0, phaseSum = 0;
    for (int t = 1; t <= 8; ++t)
        for (int c = 1; c <= 2; ++c) {
            bool ok = false;
            const double value = QLocale().toDouble(tariffs->item(t, c)->text(), &ok);
            QVERIFY2(ok && value > 0, qPrintable(tariffs->item(t, c)->text()));
            if (c == 1)
                tariffSum += value;
        }
    for (int c = 1; c <= 6; ++c) {
        bool ok = false;
        const double value = QLocale().toDouble(phases->item(1, c)->text(), &ok);
        QVERIFY2(ok && value > 0, qPrintable(phases->item(1, c)->text()));
        if (c <= 3)
            phaseSum += value;
    }
    // All tariffs over all phases, summed either way (the meter's readings grow meanwhile).
    QVERIFY2(std::abs(tariffSum - phaseSum) < 1.0,
             qPrintable(QString("%1 %2").arg(tariffSum).arg(phaseSum)));
    for (const char* name : {"EditPeak", "EditTimePeak", "EditPeak_1", "EditTimePeak_1"})
        QVERIFY(!Child<QLineEdit>(&line.readings, name)->text().isEmpty());

    Child<QPushButton>(&line.journal, "BtnReadJournalYear")->click();
    QVERIFY(line.drained(zr::link::ReadYearJournal, 60000));
    auto* grid = Child<QTableWidget>(&line.journal, "GridJournal");
    for (int row = 1; row <= 12; ++row)
        for (int column = 0; column < 13; ++column)
            QVERIFY2(!grid->item(row, column)->text().isEmpty(),
                     qPrintable(QString("%1 %2").arg(row).arg(column)));
    QCOMPARE(failures.size(), 0);
}

QTEST_MAIN(TestPagesPty)
#include "test_pages_pty.moc"
