// The "Показания" and "Журналы" tabs against the in-process simulated meter (its clock frozen,
// so every value can be compared with what it stores), their exports read back by xlrd and
// their printouts as PDF.

#include "link/function_code.h"
#include "link/meter_link.h"
#include "meter/device_state.h"
#include "meter/encodings.h"
#include "meter/event_journal.h"
#include "meter/half_hours.h"
#include "meter/ui/bar_chart.h"
#include "meter/ui/journal_page.h"
#include "meter/ui/readings_page.h"
#include "meter/ui/table_output.h"
#include "meter/year_journal.h"
#include "sim/demo.h"
#include "sim/sim_port.h"
#include "support/child.h"

#include <QDateEdit>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>
#include <cmath>

using zr::link::MeterLink;
using zr::meter::JournalPage;
using zr::meter::ReadingsPage;
using zr::test::Child;

namespace
{

// 2026-03-18 12:00 on the meter's clock, which stands still.
const QDateTime kNow(QDate(2026, 3, 18), QTime(12, 0));

uint32_t MeterTime(const QDateTime& time)
{
    return uint32_t(QDateTime(QDate(2000, 1, 1), QTime(0, 0)).secsTo(time));
}

// The two tabs on a link to a demonstration meter whose clock stands still.
struct Rig {
    zr::sim::SimPort port{zr::sim::MakeDemoMeter(MeterTime(kNow), [] { return qint64(0); })};
    MeterLink link{port};
    zr::meter::DeviceState device;
    ReadingsPage readings;
    JournalPage journal;
    QSignalSpy failures{&link, &MeterLink::failureMessage};
    QStringList log;

    Rig()
    {
        device.attach(link);
        readings.attach(link, device);
        journal.attach(link, device);
        link.setTrafficLog(true);
        QObject::connect(&link, &MeterLink::trafficLine, [this](const QString& l) { log << l; });
        // The meter answers at once; a short send period keeps 1600 exchanges quick.
        Child<QTimer>(&link, "Timer1")->setInterval(1);
        link.ActionConnectExecute(zr::sim::kDemoPortName);
        QTRY_VERIFY(link.exchangeCount() > 3);
    }
    zr::sim::MeterState& meter() { return port.meter().state(); }
    // Clicks `button` and waits until no request of function `code` is left in the queue (a
    // decoder runs before its request leaves).
    bool readAll(QPushButton* button, zr::link::FunctionCode code, int timeoutMs = 120000)
    {
        button->click();
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < timeoutMs) {
            QTest::qWait(20);
            const QList<QByteArray> queue = link.queue();
            if (std::none_of(queue.begin(), queue.end(),
                             [code](const QByteArray& f) { return uint8_t(f[0]) == code; }))
                return true;
        }
        return false;
    }
};

double Number(const QString& text)
{
    bool ok = false;
    const double value = QLocale().toDouble(text, &ok);
    return ok ? value : NAN;
}

// A reading passed as a meter float and shown with 3 decimals.
bool Near(const QString& text, double expected)
{
    return std::abs(Number(text) - expected) <= 0.0006 + std::abs(expected) * 1e-6;
}

QJsonObject ReadBack(const QString& path)
{
    QProcess python;
    // Debian's interpreter, which has python3-xlrd.
    python.start(QFile::exists("/usr/bin/python3") ? "/usr/bin/python3" : "python3",
                 {ZR_SOURCE_DIR "/tests/report/read_xls.py", path});
    if (!python.waitForFinished(60000) || python.exitCode() != 0) {
        qWarning().noquote() << python.readAllStandardError();
        return {};
    }
    return QJsonDocument::fromJson(python.readAllStandardOutput()).object();
}

int PdfPages(const QString& path)
{
    QProcess info;
    info.start("pdfinfo", {path});
    info.waitForFinished(60000);
    return QRegularExpression("Pages:\\s+(\\d+)")
        .match(QString::fromUtf8(info.readAllStandardOutput()))
        .captured(1)
        .toInt();
}

QString PdfText(const QString& path)
{
    QProcess text;
    text.start("pdftotext", {"-layout", path, "-"});
    text.waitForFinished(60000);
    return QString::fromUtf8(text.readAllStandardOutput());
}

} // namespace

class TestPages : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void readingsFillEveryCell();
    void resetOfBillingReadingsIsLogged();
    void yearJournalFillsEveryMonth();
    void eventJournalListsEveryRecordInOrder();
    void halfHoursFillListAndChart();
    void failureMidReadKeepsWhatWasShown();
    void exportedWorkbookHoldsThePage();
    void failedExportWarnsAndKeepsTheOldFile();
    void longEventJournalPrintsOnManyPages();
    void chartPrintsInLandscape();

private:
    QTemporaryDir dir_;
    QString exportPath_;
    QStringList opened_;
    QStringList warnings_;
    int printerChoices_ = 0;
    QString pdfPath_;
};

void TestPages::initTestCase()
{
    // Readings arrive with the decimal comma of a Russian desktop.
    QLocale::setDefault(QLocale(QLocale::Russian));
    zr::meter::OutputHooks& hooks = zr::meter::Output();
    hooks.chooseExportPath = [this](QWidget*) { return exportPath_; };
    hooks.openFile = [this](const QString& path) { opened_ << path; };
    hooks.warn = [this](QWidget*, const QString& caption, const QString& text) {
        warnings_ << caption + ": " + text;
    };
    hooks.choosePrinter = [this](QWidget*, QPrinter& printer) {
        ++printerChoices_;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdfPath_);
        return true;
    };
    hooks.numberField = [] { return 347015; };
}

void TestPages::readingsFillEveryCell()
{
    Rig rig;
    QVERIFY(rig.readAll(Child<QPushButton>(&rig.readings, "BtnReadCounter"), zr::link::ReadPeaks));
    const auto& s = rig.meter();
    auto* tariffs = Child<QTableWidget>(&rig.readings, "GridValueTarif");
    for (int t = 0; t < 8; ++t) {
        double now = 0, billing = 0;
        for (int p = 0; p < 3; ++p) {
            now += s.energy[p][t];
            billing += s.billingEnergy[p][t];
        }
        QVERIFY2(Near(tariffs->item(t + 1, 1)->text(), now),
                 qPrintable(tariffs->item(t + 1, 1)->text()));
        QVERIFY(Near(tariffs->item(t + 1, 2)->text(), billing));
    }
    auto* phases = Child<QTableWidget>(&rig.readings, "GridActive");
    for (int p = 0; p < 3; ++p) {
        double now = 0, billing = 0;
        for (int t = 0; t < 8; ++t) {
            now += s.energy[p][t];
            billing += s.billingEnergy[p][t];
        }
        QVERIFY2(Near(phases->item(1, p + 1)->text(), now),
                 qPrintable(phases->item(1, p + 1)->text()));
        QVERIFY(Near(phases->item(1, p + 4)->text(), billing));
    }
    QCOMPARE(Child<QLineEdit>(&rig.readings, "EditPeak")->text().toUInt(), s.peak.watts);
    QCOMPARE(Child<QLineEdit>(&rig.readings, "EditPeak_1")->text().toUInt(), s.billingPeak.watts);
    for (const char* name : {"EditTimePeak", "EditTimePeak_1"})
        QVERIFY(!Child<QLineEdit>(&rig.readings, name)->text().isEmpty());

    // A second read starts from empty cells: the phase sums do not double.
    const QString phaseA = phases->item(1, 1)->text();
    QVERIFY(rig.readAll(Child<QPushButton>(&rig.readings, "BtnReadCounter"), zr::link::ReadPeaks));
    QCOMPARE(phases->item(1, 1)->text(), phaseA);
    QCOMPARE(rig.failures.size(), 0);
}

void TestPages::resetOfBillingReadingsIsLogged()
{
    Rig rig;
    QSignalSpy logged(&rig.readings, &ReadingsPage::operationLogged);
    QVERIFY(rig.readAll(Child<QPushButton>(&rig.readings, "BtnResetDayHour"),
                        zr::link::ResetBillingReadings));
    QCOMPARE(logged.size(), 1);
    QCOMPARE(logged[0][0].toString(), QString("Сброс показаний на РЧД"));
    // Refused by the meter (wrong password): nothing is logged.
    rig.port.faults().errorFor[zr::link::ResetBillingReadings] = 6;
    QVERIFY(rig.readAll(Child<QPushButton>(&rig.readings, "BtnResetDayHour"),
                        zr::link::ResetBillingReadings));
    QCOMPARE(logged.size(), 1);
}

void TestPages::yearJournalFillsEveryMonth()
{
    Rig rig;
    QVERIFY(rig.readAll(Child<QPushButton>(&rig.journal, "BtnReadJournalYear"),
                        zr::link::ReadYearJournal));
    auto* grid = Child<QTableWidget>(&rig.journal, "GridJournal");
    const QStringList names = zr::meter::JournalMonthNames();
    for (int m = 0; m < 12; ++m) {
        const zr::sim::MonthRecord& record = rig.meter().yearly[m];
        QVERIFY(record.present); // the demonstration meter holds a full year
        // The year byte is BCD: shown as its two hexadecimal digits, it reads as the year.
        QCOMPARE(grid->item(m + 1, 0)->text(),
                 QString("%1 ").arg(record.year, 2, 10, QChar('0')) + names[m]);
        QCOMPARE(grid->item(m + 1, 1)->text().toUInt(), record.peak.watts);
        for (int t = 0; t < 8; ++t)
            QVERIFY(Near(grid->item(m + 1, 4 + t)->text(), record.readings[t]));
        for (int column : {2, 3, 12})
            QVERIFY(!grid->item(m + 1, column)->text().isEmpty());
    }
    QCOMPARE(Child<QProgressBar>(&rig.journal, "GaugeJournal")->value(), 12);
    QCOMPARE(rig.failures.size(), 0);
}

void TestPages::eventJournalListsEveryRecordInOrder()
{
    Rig rig;
    auto* gauge = Child<QProgressBar>(&rig.journal, "GaugeJournal");
    QSignalSpy visible(&rig.link, &MeterLink::gaugeJournalVisible);
    QVERIFY(
        rig.readAll(Child<QPushButton>(&rig.journal, "BtnReadDiary"), zr::link::ReadEventJournal));
    QTRY_VERIFY(!gauge->isVisibleTo(&rig.journal)); // hidden by the next idle answer

    QList<uint16_t> numbers;
    for (const zr::sim::Event& e : rig.meter().events)
        if (e.present)
            numbers << e.number;
    QVERIFY(numbers.size() < zr::meter::kEventRecords); // some records are empty
    std::sort(numbers.begin(), numbers.end());
    auto* list = Child<QTreeWidget>(&rig.journal, "ListDiary");
    QCOMPARE(list->topLevelItemCount(), numbers.size());
    for (int i = 0; i < numbers.size(); ++i)
        QCOMPARE(list->topLevelItem(i)->text(0).toInt(), int(numbers[i]));
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = list->topLevelItem(i);
        QCOMPARE(item->toolTip(zr::meter::EventColumnStatus),
                 zr::meter::StatusHint(item->text(zr::meter::EventColumnStatus)));
        for (int column = 0; column < list->columnCount(); ++column)
            QVERIFY(!item->text(column).isEmpty());
    }
    // The gauge showed while the journal answers arrived and went with the first idle answer.
    QVERIFY(visible.size() > zr::meter::kEventRecords);
    QCOMPARE(visible.last()[0].toBool(), false);
    QCOMPARE(gauge->value(), zr::meter::kEventRecords - 1);
}

void TestPages::halfHoursFillListAndChart()
{
    Rig rig;
    Child<QDateEdit>(&rig.journal, "DTPHalf")->setDate(kNow.date());
    QVERIFY(rig.readAll(Child<QPushButton>(&rig.journal, "BtnReadHalf"), zr::link::ReadHalfHours));
    auto* list = Child<QTreeWidget>(&rig.journal, "ListHalf");
    auto* chart = Child<zr::meter::BarChart>(&rig.journal, "ChartHalf");
    QCOMPARE(list->topLevelItemCount(), zr::meter::kHalfHoursPerDay);
    QCOMPARE(chart->Bars().size(), zr::meter::kHalfHoursPerDay);
    QCOMPARE(chart->Title(), QLocale().toString(kNow.date(), QLocale::ShortFormat));

    const qint64 h0 =
        QDateTime(QDate(2000, 1, 1), QTime(0, 0)).daysTo(QDateTime(kNow.date(), QTime(0, 0))) * 48;
    int current = 0, stale = 0, empty = 0;
    for (int i = 0; i < zr::meter::kHalfHoursPerDay; ++i) {
        const zr::sim::HalfHour& stored = rig.meter().halfHours[(h0 + i) % 4096];
        const QTreeWidgetItem* item = list->topLevelItem(i);
        const QDateTime start = kNow.date().startOfDay().addSecs(i * 1800);
        QCOMPARE(chart->Bars()[i].start, start);
        QCOMPARE(chart->Bars()[i].label, start.toString("hh:mm"));
        QVERIFY2(item->text(0).endsWith(start.addSecs(1800).toString("hh:mm")),
                 qPrintable(item->text(0)));
        if (stored.present && stored.number == h0 + i) {
            ++current;
            QVERIFY(Near(item->text(1), stored.value / 2000.0));
            QCOMPARE(chart->Bars()[i].value, stored.value / 2000.0);
        } else {
            stored.present ? ++stale : ++empty;
            QCOMPARE(item->text(1), QString());
            QCOMPARE(chart->Bars()[i].value, 0.0);
        }
    }
    // Up to noon the day holds records; the demonstration meter's outage leaves stale and empty
    // slots.
    QVERIFY(current > 0);
    QVERIFY(stale + empty > 0);
    QCOMPARE(rig.failures.size(), 0);
}

void TestPages::failureMidReadKeepsWhatWasShown()
{
    Rig rig;
    auto* list = Child<QTreeWidget>(&rig.journal, "ListDiary");
    auto* gauge = Child<QProgressBar>(&rig.journal, "GaugeJournal");
    // The meter refuses from the 100th record on.
    QObject::connect(gauge, &QProgressBar::valueChanged, [&rig](int value) {
        if (value == 99)
            rig.port.faults().errorFor[zr::link::ReadEventJournal] = 4;
    });
    QVERIFY(
        rig.readAll(Child<QPushButton>(&rig.journal, "BtnReadDiary"), zr::link::ReadEventJournal));
    const int shown = list->topLevelItemCount();
    QVERIFY(shown > 50 && shown <= 100);
    QCOMPARE(gauge->value(), 99);
    QTRY_VERIFY(!gauge->isVisibleTo(&rig.journal));
    QCOMPARE(rig.failures.size(), 0); // no message box
    QVERIFY(rig.link.connected());
    QTest::qWait(50);
    QCOMPARE(list->topLevelItemCount(), shown);
}

void TestPages::exportedWorkbookHoldsThePage()
{
    Rig rig;
    QVERIFY(rig.readAll(Child<QPushButton>(&rig.journal, "BtnReadJournalYear"),
                        zr::link::ReadYearJournal));
    exportPath_ = dir_.filePath("year.xls");
    opened_.clear();
    Child<QPushButton>(&rig.journal, "BtnExportJournalYear")->click();
    QCOMPARE(opened_, QStringList{exportPath_});
    const QJsonObject book = ReadBack(exportPath_);
    QCOMPARE(book["sheets"].toArray().size(), 3);
    const QJsonArray cells = book["cells"].toArray();
    QCOMPARE(cells[0].toArray()[0].toArray()[1].toString(),
             QString("Счетчик № 347015, Годовой журнал"));
    QCOMPARE(cells[1].toArray()[0].toArray()[1].toString(), QString("месяц"));
    QCOMPARE(cells[1].toArray()[12].toArray()[1].toString(), QString("наработка"));
    auto* grid = Child<QTableWidget>(&rig.journal, "GridJournal");
    for (int m = 1; m <= 12; ++m) {
        const QJsonArray row = cells[m + 1].toArray();
        QCOMPARE(row[0].toArray()[1].toString(), grid->item(m, 0)->text()); // Cyrillic intact
        QCOMPARE(row[4].toArray()[0].toInt(), 2);                           // a number
        QVERIFY(Near(grid->item(m, 4)->text(), row[4].toArray()[1].toDouble()));
        QCOMPARE(row[2].toArray()[0].toInt(), 1); // the date stays text
        QCOMPARE(row[2].toArray()[1].toString(), grid->item(m, 2)->text());
    }

    // The readings table: title without a comma, tariffs as numbers.
    QVERIFY(rig.readAll(Child<QPushButton>(&rig.readings, "BtnReadCounter"), zr::link::ReadPeaks));
    exportPath_ = dir_.filePath("readings.xls");
    Child<QPushButton>(&rig.readings, "BtnExport")->click();
    const QJsonArray readings = ReadBack(exportPath_)["cells"].toArray();
    QCOMPARE(readings[0].toArray()[0].toArray()[1].toString(), QString("Счетчик № 347015"));
    QCOMPARE(readings[1].toArray()[2].toArray()[1].toString(), QString("на РЧД"));
    QCOMPARE(readings[9].toArray()[0].toArray()[1].toString(), QString("8 тариф"));
    QCOMPARE(readings[9].toArray()[1].toArray()[0].toInt(), 2);
    QVERIFY(warnings_.isEmpty());
}

void TestPages::failedExportWarnsAndKeepsTheOldFile()
{
    Rig rig;
    exportPath_ = dir_.filePath("missing/half.xls");
    opened_.clear();
    warnings_.clear();
    Child<QPushButton>(&rig.journal, "BtnExportHalf")->click();
    QCOMPARE(warnings_.size(), 1);
    QVERIFY(warnings_[0].startsWith("Warning: Файл не может быть создан"));
    QVERIFY(opened_.isEmpty());
    warnings_.clear();
}

void TestPages::longEventJournalPrintsOnManyPages()
{
    Rig rig;
    QVERIFY(
        rig.readAll(Child<QPushButton>(&rig.journal, "BtnReadDiary"), zr::link::ReadEventJournal));
    const int items = Child<QTreeWidget>(&rig.journal, "ListDiary")->topLevelItemCount();
    pdfPath_ = dir_.filePath("diary.pdf");
    printerChoices_ = 0;
    Child<QPushButton>(&rig.journal, "BtnPrintDiary")->setEnabled(true);
    Child<QPushButton>(&rig.journal, "BtnPrintDiary")->click();
    QCOMPARE(printerChoices_, 1);
    const int pages = PdfPages(pdfPath_);
    // One job: every page is in the file, about fifty rows to an A4 page.
    QVERIFY2(pages >= items / 80 && pages <= items / 20, qPrintable(QString::number(pages)));
    const QStringList texts = PdfText(pdfPath_).split('\f');
    QVERIFY(texts[0].contains("Счетчик № 347015, Журнал потребления"));
    for (int page = 0; page < pages; ++page)
        QVERIFY2(texts[page].contains("Наработка"), qPrintable(QString::number(page)));
    QVERIFY(texts[1].contains(QRegularExpression("-\\s*2\\s*-"))); // the page number
}

void TestPages::chartPrintsInLandscape()
{
    Rig rig;
    Child<QDateEdit>(&rig.journal, "DTPHalf")->setDate(kNow.date());
    QVERIFY(rig.readAll(Child<QPushButton>(&rig.journal, "BtnReadHalf"), zr::link::ReadHalfHours));
    pdfPath_ = dir_.filePath("chart.pdf");
    Child<QPushButton>(&rig.journal, "BtnPrintHalf")->setEnabled(true);
    Child<QPushButton>(&rig.journal, "BtnPrintHalf")->click();
    QCOMPARE(PdfPages(pdfPath_), 1);
    const QString text = PdfText(pdfPath_);
    QVERIFY(text.contains(QLocale().toString(kNow.date(), QLocale::ShortFormat)));
    QVERIFY(text.contains("кВт"));
    QVERIFY(text.contains("00:00"));
    QProcess info;
    info.start("pdfinfo", {pdfPath_});
    info.waitForFinished();
    const QRegularExpressionMatch size =
        QRegularExpression("Page size:\\s+([\\d.]+) x ([\\d.]+)")
            .match(QString::fromUtf8(info.readAllStandardOutput()));
    QVERIFY(size.captured(1).toDouble() > size.captured(2).toDouble());
}

QTEST_MAIN(TestPages)
#include "test_pages.moc"
