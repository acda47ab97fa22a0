#include "report/csv_table.h"
#include "report/table_export.h"
#include "report/xls_workbook.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace zr::report;

namespace
{

const QLocale kRussian(QLocale::Russian);

// xlrd's cell types.
constexpr int kEmpty = 0;
constexpr int kText = 1;
constexpr int kNumber = 2;

ReportTable Journal()
{
    ReportTable table;
    table.title = "Счетчик № 123, Журнал потребления";
    table.captions = {"№", "Дата", "Время", "Показание, кВт·ч", "Статус"};
    table.rows = {{"1", "09.12.26", "12:30:15", "1234,567", "Включение питания"},
                  {"2", "", "", "-0,5"},
                  {"3", "31.01.27", "00:00:00", "1 234,5", "1A"}};
    return table;
}

// The workbook as the independent reader sees it.
QJsonObject ReadBack(const QString& path)
{
    QProcess python;
    const QString program = QFile::exists("/usr/bin/python3") ? "/usr/bin/python3" : "python3";
    python.start(program, {ZR_SOURCE_DIR "/tests/report/read_xls.py", path});
    if (!python.waitForFinished(60000) || python.exitCode() != 0) {
        qWarning().noquote() << python.readAllStandardError();
        return {};
    }
    return QJsonDocument::fromJson(python.readAllStandardOutput()).object();
}

QJsonArray Cell(const QJsonObject& book, int row, int column)
{
    return book["cells"].toArray()[row].toArray()[column].toArray();
}

// Makes a file or directory unwritable even for root (immutable), else read-only; undone on exit.
class Locked
{
public:
    explicit Locked(const QString& path) : path_(path)
    {
        immutable_ = QProcess::execute("chattr", {"+i", path}) == 0;
        if (!immutable_) {
            permissions_ = QFile::permissions(path);
            QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner);
        }
    }
    ~Locked()
    {
        if (immutable_)
            QProcess::execute("chattr", {"-i", path_});
        else
            QFile::setPermissions(path_, permissions_);
    }

private:
    QString path_;
    bool immutable_ = false;
    QFile::Permissions permissions_;
};

QByteArray Contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestExport : public QObject
{
    Q_OBJECT
private slots:
    void workbookReadsBack()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("journal.xls");
        QCOMPARE(ExportTable(path, Journal(), ExportFormat::Xls, kRussian), QString());
        const QJsonObject book = ReadBack(path);
        QVERIFY(!book.isEmpty());
        QCOMPARE(book["warnings"].toString(), QString());
        QCOMPARE(book["sheets"].toArray(), (QJsonArray{"Лист1", "Лист2", "Лист3"}));
        QCOMPARE(book["font"].toArray(), (QJsonArray{"Arial", 200, 204}));
        const QJsonArray pages = book["pages"].toArray();
        QCOMPARE(pages.size(), 3);
        for (const QJsonValue& page : pages) {
            QCOMPARE(page["header"].toString(), "&C&\"Times New Roman,Regular\"&12&A");
            QCOMPARE(page["footer"].toString(), "&C&\"Times New Roman,Regular\"&12Страница &P");
        }

        QCOMPARE(Cell(book, 0, 0), (QJsonArray{kText, "Счетчик № 123, Журнал потребления"}));
        QCOMPARE(Cell(book, 0, 1)[0].toInt(), kEmpty);
        QCOMPARE(Cell(book, 1, 0), (QJsonArray{kText, "№"}));
        QCOMPARE(Cell(book, 1, 3), (QJsonArray{kText, "Показание, кВт·ч"}));
        QCOMPARE(Cell(book, 2, 0), (QJsonArray{kNumber, 1}));
        QCOMPARE(Cell(book, 2, 1), (QJsonArray{kText, "09.12.26"}));
        QCOMPARE(Cell(book, 2, 2), (QJsonArray{kText, "12:30:15"}));
        QCOMPARE(Cell(book, 2, 3), (QJsonArray{kNumber, 1234.567}));
        QCOMPARE(Cell(book, 2, 4), (QJsonArray{kText, "Включение питания"}));
        QCOMPARE(Cell(book, 3, 1)[0].toInt(), kEmpty);
        QCOMPARE(Cell(book, 3, 3), (QJsonArray{kNumber, -0.5}));
        QCOMPARE(Cell(book, 4, 3), (QJsonArray{kText, "1 234,5"}));
        QCOMPARE(Cell(book, 4, 4), (QJsonArray{kText, "1A"}));
        QCOMPARE(book["cells"].toArray().size(), 5);
    }

    void emptyJournalHasTitleAndCaptions()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("empty.xls");
        ReportTable table = Journal();
        table.rows.clear();
        QCOMPARE(ExportTable(path, table, ExportFormat::Xls, kRussian), QString());
        const QJsonArray cells = ReadBack(path)["cells"].toArray();
        QCOMPARE(cells.size(), 2);
        QCOMPARE(cells[0].toArray()[0].toArray()[1].toString(), table.title);
        QCOMPARE(cells[1].toArray()[4].toArray()[1].toString(), "Статус");
    }

    // 1600 records need a stream of many sectors and a FAT of more than one sector.
    void longJournalReadsBack()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("long.xls");
        ReportTable table = Journal();
        table.rows.clear();
        for (int i = 1; i <= 1600; ++i)
            table.rows.append({QString::number(i), "09.12.26", "12:30:15",
                               kRussian.toString(i * 0.125, 'f', 3), "Включение питания"});
        QCOMPARE(ExportTable(path, table, ExportFormat::Xls, kRussian), QString());
        QVERIFY(QFileInfo(path).size() > 128 * 512);
        const QJsonObject book = ReadBack(path);
        QCOMPARE(book["warnings"].toString(), QString());
        QCOMPARE(book["cells"].toArray().size(), 1602);
        QCOMPARE(Cell(book, 1601, 0), (QJsonArray{kNumber, 1600}));
        QCOMPARE(Cell(book, 1601, 3), (QJsonArray{kNumber, 200}));
        QCOMPARE(Cell(book, 1601, 4), (QJsonArray{kText, "Включение питания"}));
    }

    void cellNumber_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("isNumber");
        QTest::addColumn<double>("value");
        QTest::newRow("reading") << "ru_RU"
                                 << "1234,567" << true << 1234.567;
        QTest::newRow("negative") << "ru_RU"
                                  << "-0,5" << true << -0.5;
        QTest::newRow("integer") << "ru_RU"
                                 << "42" << true << 42.0;
        QTest::newRow("date") << "ru_RU"
                              << "09.12.26" << false << 0.0;
        QTest::newRow("time") << "ru_RU"
                              << "12:30" << false << 0.0;
        QTest::newRow("point is no decimal") << "ru_RU"
                                             << "1.5" << false << 0.0;
        QTest::newRow("group separator") << "ru_RU"
                                         << "1 234,5" << false << 0.0;
        QTest::newRow("hexadecimal") << "ru_RU"
                                     << "1A" << false << 0.0;
        QTest::newRow("empty") << "ru_RU"
                               << "" << false << 0.0;
        QTest::newRow("infinity") << "C"
                                  << "inf" << false << 0.0;
        QTest::newRow("not a number") << "C"
                                      << "nan" << false << 0.0;
        QTest::newRow("English decimal") << "en_US"
                                         << "1234.567" << true << 1234.567;
        QTest::newRow("English comma") << "en_US"
                                       << "1234,567" << false << 0.0;
    }
    void cellNumber()
    {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QFETCH(bool, isNumber);
        QFETCH(double, value);
        const std::optional<double> number = CellNumber(text, QLocale(locale));
        QCOMPARE(number.has_value(), isNumber);
        if (isNumber)
            QCOMPARE(*number, value);
    }

    void csvQuotesWhatNeedsIt()
    {
        ReportTable table;
        table.title = "Счетчик № 5, Получасовки 09.12.2026\r\n";
        table.captions = {"Время", "Мощность; кВт"};
        table.rows = {{"00:00", "1,5"}, {"он сказал \"да\""}};
        QCOMPARE(BuildCsv(table), QByteArray("\xEF\xBB\xBF") +
                                      QString("\"Счетчик № 5, Получасовки 09.12.2026\r\n\"\r\n"
                                              "Время;\"Мощность; кВт\"\r\n"
                                              "00:00;1,5\r\n"
                                              "\"он сказал \"\"да\"\"\";\r\n")
                                          .toUtf8());
        QCOMPARE(FormatForPath("/tmp/a.CSV"), ExportFormat::Csv);
        QCOMPARE(FormatForPath("/tmp/a.xls"), ExportFormat::Xls);
    }

    void existingFileIsReplaced()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("journal.xls");
        QCOMPARE(ExportTable(path, Journal(), ExportFormat::Csv, kRussian), QString());
        QCOMPARE(ExportTable(path, Journal(), ExportFormat::Xls, kRussian), QString());
        QCOMPARE(Cell(ReadBack(path), 2, 3), (QJsonArray{kNumber, 1234.567}));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"journal.xls"});
    }

    // A target held by another program (here: a file or folder that cannot be changed) gives the
    // warning and leaves the previous file as it was, with no temporary file beside it.
    void unwritableTargetKeepsOldFile_data()
    {
        QTest::addColumn<bool>("lockFolder");
        QTest::newRow("file") << false;
        QTest::newRow("folder") << true;
    }
    void unwritableTargetKeepsOldFile()
    {
        QFETCH(bool, lockFolder);
        QTemporaryDir dir;
        const QString path = dir.filePath("journal.xls");
        QCOMPARE(ExportTable(path, Journal(), ExportFormat::Xls, kRussian), QString());
        const QByteArray old = Contents(path);
        ReportTable changed = Journal();
        changed.title = "другой";
        {
            Locked lock(lockFolder ? dir.path() : path);
            QFile probe(lockFolder ? dir.filePath("probe") : path);
            if (probe.open(QIODevice::Append))
                QSKIP("cannot make the target unwritable here");
            QCOMPARE(ExportTable(path, changed, ExportFormat::Xls, kRussian), kExportWarning);
            QCOMPARE(ExportTable(path, changed, ExportFormat::Csv, kRussian), kExportWarning);
        }
        QCOMPARE(Contents(path), old);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"journal.xls"});
    }

    void missingFolderGivesWarning()
    {
        QTemporaryDir dir;
        QCOMPARE(ExportTable(dir.filePath("no/such.xls"), Journal(), ExportFormat::Xls),
                 kExportWarning);
    }
};

QTEST_GUILESS_MAIN(TestExport)
#include "test_export.moc"
