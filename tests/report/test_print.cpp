#include "report/landscape_print.h"
#include "report/listing_printer.h"

#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using namespace zr::report;

namespace
{

const QDateTime kPrintedAt(QDate(2026, 12, 9), QTime(8, 5, 3));

struct Pdf {
    int pages = 0;
    QSizeF pageSize; // points
    QStringList pageTexts;
};

QString Run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

Pdf ReadPdf(const QString& path)
{
    Pdf pdf;
    const QString info = Run("pdfinfo", {path});
    pdf.pages = QRegularExpression("Pages:\\s+(\\d+)").match(info).captured(1).toInt();
    const QRegularExpressionMatch size =
        QRegularExpression("Page size:\\s+([\\d.]+) x ([\\d.]+)").match(info);
    pdf.pageSize = QSizeF(size.captured(1).toDouble(), size.captured(2).toDouble());
    pdf.pageTexts = Run("pdftotext", {"-layout", path, "-"}).split('\f');
    pdf.pageTexts.removeLast(); // after the last form feed
    return pdf;
}

void PdfPrinter(QPrinter& printer, const QString& path)
{
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
}

ReportTable Journal(int records)
{
    ReportTable table;
    table.title = "Счетчик № 123, Журнал потребления";
    table.captions = {"Номер", "Дата", "Время", "Статус"};
    for (int i = 1; i <= records; ++i)
        table.rows.append({QString("N%1").arg(i), "09.12.26", "12:30:15", "Включение питания"});
    return table;
}

} // namespace

class TestPrint : public QObject
{
    Q_OBJECT
private slots:
    void longListingIsOneJobWithHeadOnEveryPage()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("journal.pdf");
        QPrinter printer(QPrinter::HighResolution);
        PdfPrinter(printer, path);
        const ReportTable table = Journal(1600);
        QVERIFY(PrintListing(printer, table, kPrintedAt));

        const Pdf pdf = ReadPdf(path);
        QVERIFY2(pdf.pages > 20 && pdf.pages < 60, qPrintable(QString::number(pdf.pages)));
        QCOMPARE(pdf.pageTexts.size(), pdf.pages);
        QCOMPARE(printer.pageLayout().orientation(), QPageLayout::Portrait);
        const QRegularExpression record("\\bN(\\d+)\\b");
        int next = 1;
        for (int page = 0; page < pdf.pages; ++page) {
            const QString& text = pdf.pageTexts[page];
            QVERIFY2(text.contains(table.title), qPrintable(QString::number(page + 1)));
            QVERIFY(QRegularExpression("Номер\\s+Дата\\s+Время\\s+Статус").match(text).hasMatch());
            QCOMPARE(text.contains("9 декабря 2026 г. 08:05:03"), page == 0);
            // pdftotext may drop the blanks of "- N -".
            const QRegularExpression number(QString("^\\s*-\\s*%1\\s*-\\s*$").arg(page + 1),
                                            QRegularExpression::MultilineOption);
            QCOMPARE(number.match(text).hasMatch(), page > 0);
            // Every record once, in order, none lost at a page break.
            auto matches = record.globalMatch(text);
            int onPage = 0;
            while (matches.hasNext()) {
                QCOMPARE(matches.next().captured(1).toInt(), next++);
                ++onPage;
            }
            if (page + 1 < pdf.pages)
                QVERIFY2(onPage > 30, qPrintable(QString::number(onPage)));
        }
        QCOMPARE(next, 1601);
    }

    void untitledListingHasNoTitleLine()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("untitled.pdf");
        QPrinter printer(QPrinter::HighResolution);
        PdfPrinter(printer, path);
        ReportTable table = Journal(3);
        table.title.clear();
        QVERIFY(PrintListing(printer, table, kPrintedAt));
        const Pdf pdf = ReadPdf(path);
        QCOMPARE(pdf.pages, 1);
        QVERIFY(!pdf.pageTexts[0].contains("Журнал"));
        QVERIFY(pdf.pageTexts[0].contains("N3"));
    }

    // A narrow table is widened to at least four fifths of the page, centred.
    void narrowTableIsWidened()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("narrow.pdf");
        QPrinter printer(QPrinter::HighResolution);
        PdfPrinter(printer, path);
        printer.setFullPage(true);
        ReportTable table;
        table.captions = {"A", "Last"};
        table.rows = {{"1", "2"}};
        QVERIFY(PrintListing(printer, table, kPrintedAt));
        const QString boxes = Run("pdftotext", {"-bbox", path, "-"});
        const QRegularExpressionMatch last =
            QRegularExpression("xMin=\"([\\d.]+)\"[^>]*xMax=\"([\\d.]+)\"[^>]*>Last<").match(boxes);
        QVERIFY(last.hasMatch());
        const double pageWidth = ReadPdf(path).pageSize.width();
        // The last caption ends 8 units before the right rule, at (width + table) / 2 or beyond.
        QVERIFY2(last.captured(2).toDouble() > 0.87 * pageWidth, qPrintable(last.captured(0)));
    }

    // Wider than the page: landscape, and the printer stays so for later printouts.
    void wideTableSwitchesToLandscape()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("wide.pdf");
        QPrinter printer(QPrinter::HighResolution);
        PdfPrinter(printer, path);
        ReportTable table;
        for (int c = 0; c < 12; ++c)
            table.captions.append(QString("Столбец %1").arg(c));
        table.rows = {table.captions};
        QVERIFY(PrintListing(printer, table, kPrintedAt));
        QCOMPARE(printer.pageLayout().orientation(), QPageLayout::Landscape);
        const Pdf pdf = ReadPdf(path);
        QVERIFY(pdf.pageSize.width() > pdf.pageSize.height());
    }

    void chartPrintsInLandscapeAndRestores()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("chart.pdf");
        QPrinter printer(QPrinter::HighResolution);
        PdfPrinter(printer, path);
        QRect painted;
        QVERIFY(PrintInLandscape(printer, [&](QPainter& painter, QRect rect) {
            painted = rect;
            painter.drawText(rect, Qt::AlignCenter, "Получасовки");
        }));
        QCOMPARE(printer.pageLayout().orientation(), QPageLayout::Portrait);
        QVERIFY(painted.width() > painted.height());
        const Pdf pdf = ReadPdf(path);
        QCOMPARE(pdf.pages, 1);
        QVERIFY(pdf.pageSize.width() > pdf.pageSize.height());
        QVERIFY(pdf.pageTexts[0].contains("Получасовки"));
    }
};

QTEST_MAIN(TestPrint)
#include "test_print.moc"
