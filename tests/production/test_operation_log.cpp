#include "production/operation_log.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace zr::production;

namespace
{

QByteArray FileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestOperationLog : public QObject
{
    Q_OBJECT

    QTemporaryDir dir_;

    QString path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }

private slots:
    void lineFormat()
    {
        const QDateTime now(QDate(2026, 3, 5), QTime(14, 7, 9));
        const QLocale ru(QLocale::Russian);
        QCOMPARE(OperationLogLine("004512", now, "Номер=4512", ru),
                 QStringLiteral("004512[05.03.2026 14:07:09] Номер=4512"));
        QCOMPARE(OperationLogLine("0", now, "Plc-Маршрут=3 удален", ru),
                 QStringLiteral("0[05.03.2026 14:07:09] Plc-Маршрут=3 удален"));
        QCOMPARE(OperationLogLine("", now, "x", ru), QStringLiteral("[05.03.2026 14:07:09] x"));
    }

    // Windows-1251, CR LF, behind whatever the file held (even without a final line end).
    void appendsInTheCodePage()
    {
        const QString file = path("append.log");
        {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("old line\r\nunfinished");
        }
        QCOMPARE(AppendOperationLog(file, QStringLiteral("000001[д] Пароль=Ёж№")), QString());
        QCOMPARE(AppendOperationLog(file, QStringLiteral("0[t] ДДМ=1,2,3")), QString());
        QCOMPARE(FileBytes(file),
                 QByteArray("old line\r\nunfinished000001[\xE4] \xCF\xE0\xF0\xEE"
                            "\xEB\xFC=\xA8\xE6\xB9\r\n0[t] \xC4\xC4\xCC=1,2,3\r\n"));
    }

    void createsTheFile()
    {
        const QString file = path("new.log");
        QCOMPARE(AppendOperationLog(file, QStringLiteral("a")), QString());
        QCOMPARE(FileBytes(file), QByteArray("a\r\n"));
    }

    void unwritableDirectoryIsReported()
    {
        // A path below a regular file cannot be created by anyone.
        QVERIFY(!AppendOperationLog(path("new.log/Setting_Zr_347.log"), "a").isEmpty());

        const QString locked = path("locked");
        QVERIFY(QDir().mkdir(locked));
        QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner);
        const QString file = locked + QStringLiteral("/Setting_Zr_347.log");
        const QString error = AppendOperationLog(file, "a");
        QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        if (error.isEmpty() && QFile::exists(file))
            QSKIP("this user writes into read-only directories");
        QVERIFY(!QFile::exists(file));
    }

    void filter_data()
    {
        QTest::addColumn<int>("filter");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("zero-filled") << 4512 << QStringList{"[1] a", "[4] Время=д"};
        QTest::newRow("0 is six zeros, not an unnumbered meter") << 0 << QStringList{"[3] c"};
        QTest::newRow("six digits, shown from the seventh character")
            << 120034 << QStringList{"5[5] e"};
        QTest::newRow("seven digits match nothing") << 1200345 << QStringList{};
        QTest::newRow("no lines") << 777 << QStringList{};
    }

    void filter()
    {
        QFETCH(int, filter);
        QFETCH(QStringList, shown);
        const QByteArray bytes("004512[1] a\r\n0[2] b\r\n000000[3] c\r\n004512[4] \xC2\xF0\xE5\xEC"
                               "\xFF=\xE4\r\n1200345[5] e\n00451");
        QCOMPARE(FilterOperationLog(bytes, filter), shown);
    }

    void readsTheFile()
    {
        QString error;
        QVERIFY(ReadOperationLog(path("missing.log"), 0, &error).isEmpty());
        QVERIFY(error.isEmpty());

        const QString file = path("read.log");
        QCOMPARE(AppendOperationLog(file, QStringLiteral("000042[x] Номер=42")), QString());
        QCOMPARE(AppendOperationLog(file, QStringLiteral("000043[y] Номер=43")), QString());
        QCOMPARE(ReadOperationLog(file, 42, &error), QStringList{QStringLiteral("[x] Номер=42")});
        QVERIFY(error.isEmpty());

        QVERIFY(ReadOperationLog(dir_.path(), 42, &error).isEmpty());
        QVERIFY(!error.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestOperationLog)
#include "test_operation_log.moc"
