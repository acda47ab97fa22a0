#include "support.h"

#include "schedule/file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <random>

using namespace zr::schedule;
using namespace zr::schedule::test;

namespace
{

// A schedule with something in every part, its records committed.
Schedule Filled()
{
    Schedule s;
    Load(s, {Rec("07:30", 2, 5, 3, 0x1F, Months({1, 12})), Rec("00:00", 1, 13, 2, 10, Months({1})),
             Rec("22:00", 8, 0, 8, 0xFF, 0x0FFF)});
    s.SetHolidayList({{1, 1}, {2, 31}, {5, 9}});
    s.SetTransferList({{QDate(2000, 1, 15), 8}, {QDate(2099, 12, 31), 1}});
    s.SetCoefficient(200);
    return s;
}

bool SameContent(const Schedule& a, const Schedule& b)
{
    return a.committed() == b.committed() && a.working() == b.working() &&
           a.holidays() == b.holidays() && a.transfers() == b.transfers() &&
           a.coefficient() == b.coefficient();
}

QByteArray FilledImage()
{
    Schedule s = Filled();
    return BuildFileImage(s);
}

} // namespace

class TestFile : public QObject
{
    Q_OBJECT
private slots:
    void emptyScheduleIs103Bytes()
    {
        Schedule s;
        s.SetHolidayList({{3, 8}});
        s.SetTransferList({{QDate(2026, 5, 10), 6}});
        s.SetCoefficient(7);
        const QByteArray image = BuildFileImage(s);
        QByteArray expected = Hex("0803") + QByteArray(30, '\0') + "\r\n";
        expected += Hex("10052606") + QByteArray(60, '\0') + "\r\n";
        expected += Hex("07") + "\r\n";
        QCOMPARE(image.toHex(' '), expected.toHex(' '));

        Schedule loaded = Filled();
        QString error;
        QVERIFY2(LoadFileImage(loaded, image, &error), qPrintable(error));
        QVERIFY(loaded.working().isEmpty() && loaded.committed().isEmpty());
        QCOMPARE(loaded.holidays(), s.holidays());
        QCOMPARE(loaded.transfers(), s.transfers());
        QCOMPARE(loaded.coefficient(), 7);
    }

    void recordsLayout()
    {
        const QByteArray image = FilledImage();
        QCOMPARE(image.size(), kFileHeaderSize + 3 * kFileRecordSize);
        QCOMPARE(image.mid(103).toHex(' '), Hex("21073005"
                                                "1F0108"
                                                "0D0A"
                                                "1000000D"
                                                "0A0100"
                                                "0D0A"
                                                "77220000"
                                                "FFFF0F"
                                                "0D0A")
                                                .toHex(' '));
        QCOMPARE(int(uint8_t(image[100])), 200);
    }

    void roundTrip()
    {
        Schedule source = Filled();
        const QByteArray image = BuildFileImage(source);
        Schedule loaded;
        QString error;
        QVERIFY2(LoadFileImage(loaded, image, &error), qPrintable(error));
        QVERIFY(SameContent(loaded, source));
        QVERIFY(!loaded.pending());
        QCOMPARE(BuildFileImage(loaded), image);
    }

    void saveCommitsPendingChanges()
    {
        Schedule s = Filled();
        s.InsertTZone(Zone{"12:00", 4, 0, 4});
        QVERIFY(s.pending());
        const QByteArray image = BuildFileImage(s);
        QVERIFY(!s.pending());
        QCOMPARE(image.size(), kFileHeaderSize + s.recordCount() * kFileRecordSize);
        QCOMPARE(s.committed(), s.working());
    }

    void moreThan256Records()
    {
        QVector<AList> records;
        for (int i = 0; i < 300; ++i)
            records.append(Rec("00:00", 1 + i % 8, i % 256, 1 + i % 8, uint8_t(1 + i % 255), 1));
        Schedule s;
        Load(s, records);
        const QByteArray image = BuildFileImage(s);
        QCOMPARE(image.size(), kFileHeaderSize + 300 * kFileRecordSize);
        Schedule loaded;
        QString error;
        QVERIFY2(LoadFileImage(loaded, image, &error), qPrintable(error));
        QCOMPARE(loaded.committed(), records);
    }

    void coefficientZeroReadAsOne()
    {
        QByteArray image = FilledImage();
        image[100] = 0;
        Schedule s;
        QString error;
        QVERIFY(LoadFileImage(s, image, &error));
        QCOMPARE(s.coefficient(), 1);
    }

    // A transfer after 2099 cannot be kept, but the rest of the file is sound: only that entry
    // is left out, the others keep their order, and the caller learns which one it was.
    void transferAfter2099Dropped()
    {
        QByteArray image = FilledImage();
        image.replace(34 + 4 * 2, 4, Hex("0101A001"));
        image.replace(34 + 4 * 3, 4, Hex("10052606"));
        image.replace(34 + 4 * 4, 4, Hex("3112A503"));
        Schedule s;
        QString error;
        QStringList dropped;
        QVERIFY2(LoadFileImage(s, image, &error, &dropped), qPrintable(error));
        const Schedule filled = Filled();
        const QVector<Transfer> expected =
            filled.transfers() + QVector<Transfer>{{QDate(2026, 5, 10), 6}};
        QCOMPARE(s.transfers(), expected);
        QCOMPARE(s.committed(), filled.committed());
        QCOMPARE(s.holidays(), filled.holidays());
        QCOMPARE(s.coefficient(), filled.coefficient());
        QCOMPARE(dropped,
                 QStringList({"Перенос № 3 (смещение 42): дата 01.01.2100 позже 31.12.2099.",
                              "Перенос № 5 (смещение 50): дата 31.12.2105 позже 31.12.2099."}));

        // A late entry that is also faulty otherwise still refuses the file.
        image.replace(34 + 4 * 2, 4, Hex("0101A009"));
        QVERIFY(!LoadFileImage(s, image, &error, &dropped));
        QCOMPARE(error, QStringLiteral("Перенос № 3 (смещение 42): тип дня 9 вне диапазона 1–8."));
    }

    // Images that differ from a valid one in one place, and what loading them says.
    void refusedImages_data()
    {
        QTest::addColumn<QByteArray>("image");
        QTest::addColumn<QString>("error");
        const QByteArray valid = FilledImage();
        QTest::newRow("empty") << QByteArray()
                               << "Файл слишком короткий: 0 байт, а таблицы праздников и переносов "
                                  "с коэффициентом лимита занимают 103 байта.";
        QTest::newRow("102 bytes") << valid.left(102)
                                   << "Файл слишком короткий: 102 байт, а таблицы праздников и "
                                      "переносов с коэффициентом лимита занимают 103 байта.";
        QTest::newRow("1-byte fragment")
            << valid.left(104)
            << "Неполная запись зоны № 1 в конце файла (смещение 103): 1 байт вместо 7.";
        QTest::newRow("6-byte fragment after a record")
            << valid.left(103 + 9 + 6)
            << "Неполная запись зоны № 2 в конце файла (смещение 112): 6 байт вместо 7.";
        QByteArray badTime = valid;
        badTime[112 + 1] = 0x24;
        QTest::newRow("hour 24 in record 2")
            << badTime << "Запись зоны № 2 (смещение 112): недопустимое время начала 24:00.";
        QByteArray badMinute = valid;
        badMinute[121 + 2] = char(0x9A);
        QTest::newRow("minute 100 in record 3")
            << badMinute << "Запись зоны № 3 (смещение 121): недопустимое время начала 22:100.";
        QByteArray badDate = valid;
        badDate.replace(34 + 4, 4, Hex("31042601"));
        QTest::newRow("31 April") << badDate
                                  << "Перенос № 2 (смещение 38): несуществующая дата 31.04.2026.";
        QByteArray badType = valid;
        badType[34 + 4 * 15 + 3] = 9;
        badType.replace(34 + 4 * 15, 3, Hex("010126"));
        QTest::newRow("day type 9 in the last entry")
            << badType << "Перенос № 16 (смещение 94): тип дня 9 вне диапазона 1–8.";
    }
    void refusedImages()
    {
        QFETCH(QByteArray, image);
        QFETCH(QString, error);
        Schedule s;
        Load(s, {Rec("05:00", 3, 0, 3, 0x7F, 0x0FFF)});
        s.SetTransferList({{QDate(2026, 3, 9), 1}});
        s.SetCoefficient(9);
        s.SetCurrent({6, 6});
        s.InsertTZone(Zone{"06:00", 2, 0, 2});
        const Snapshot before(s);
        QString message;
        QVERIFY(!LoadFileImage(s, image, &message));
        QCOMPARE(message, error);
        QVERIFY(Snapshot(s) == before);
    }

    // A last record without its separator, or with half of it, is still a whole record.
    void lastSeparatorMissing_data()
    {
        QTest::addColumn<int>("cut");
        QTest::newRow("0D 0A missing") << 2;
        QTest::newRow("0A missing") << 1;
    }
    void lastSeparatorMissing()
    {
        QFETCH(int, cut);
        const QByteArray image = FilledImage();
        Schedule s;
        QString error;
        QVERIFY2(LoadFileImage(s, image.left(image.size() - cut), &error), qPrintable(error));
        QVERIFY(SameContent(s, Filled()));
    }

    // Separator bytes are not checked: the reader goes by fixed sizes.
    void separatorsNotRead()
    {
        QByteArray image = FilledImage();
        for (int pos : {32, 33, 98, 99, 101, 102, 110, 111})
            image[pos] = 'x';
        Schedule s;
        QString error;
        QVERIFY2(LoadFileImage(s, image, &error), qPrintable(error));
        QVERIFY(SameContent(s, Filled()));
    }

    void everyPrefix()
    {
        const QByteArray valid = FilledImage();
        for (int n = 0; n <= valid.size(); ++n) {
            Schedule s;
            Load(s, {Rec("05:00", 3, 0, 3, 0x7F, 0x0FFF)});
            const Snapshot before(s);
            QString error;
            const bool loaded = LoadFileImage(s, valid.left(n), &error);
            const int tail = (n - kFileHeaderSize) % kFileRecordSize;
            const bool whole = n >= kFileHeaderSize && (tail == 0 || tail >= kPackedZoneSize);
            QVERIFY2(loaded == whole, qPrintable(QString::number(n)));
            if (loaded)
                QCOMPARE(s.committed().size(), (n - kFileHeaderSize + 2) / kFileRecordSize);
            else
                QVERIFY2(Snapshot(s) == before && !error.isEmpty(), qPrintable(QString::number(n)));
        }
    }

    void randomBytes()
    {
        std::mt19937 rng(347);
        for (int round = 0; round < 2000; ++round) {
            const int size = int(rng() % 400);
            QByteArray image(size, '\0');
            for (char& c : image)
                c = char(rng());
            Schedule s;
            Load(s, {Rec("05:00", 3, 0, 3, 0x7F, 0x0FFF)});
            const Snapshot before(s);
            QString error;
            if (!LoadFileImage(s, image, &error)) {
                QVERIFY2(Snapshot(s) == before, qPrintable(QString::number(round)));
                QVERIFY(!error.isEmpty());
            } else {
                QCOMPARE(s.committed().size(), (size - kFileHeaderSize + 2) / kFileRecordSize);
            }
        }
    }

    void writeAndReadFile()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath("график.tsc");
        {
            QFile old(path);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write(QByteArray(5000, 'z')); // a longer previous file is replaced whole
        }
        const QByteArray image = FilledImage();
        QString error;
        QVERIFY2(WriteFileImage(path, image, &error), qPrintable(error));
        QFile written(path);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), image);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"график.tsc"});

        Schedule s;
        QVERIFY2(LoadScheduleFile(s, path, &error), qPrintable(error));
        QVERIFY(SameContent(s, Filled()));
    }

    void writeFailureKeepsNothingHalfDone()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("нет/график.tsc");
        QString error;
        QVERIFY(!WriteFileImage(path, FilledImage(), &error));
        QVERIFY2(error.startsWith("Не удалось сохранить файл «график.tsc»: "), qPrintable(error));
        QVERIFY(
            QDir(dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot).isEmpty());
    }

    void readFailures()
    {
        QTemporaryDir dir;
        Schedule s = Filled();
        const Snapshot before(s);
        QString error;
        QVERIFY(!LoadScheduleFile(s, dir.filePath("нет.tsc"), &error));
        QVERIFY2(error.startsWith("Не удалось открыть файл «нет.tsc»: "), qPrintable(error));
        QVERIFY(Snapshot(s) == before);

        const QString path = dir.filePath("короткий.tsc");
        QVERIFY(WriteFileImage(path, QByteArray(50, '\0'), &error));
        QVERIFY(!LoadScheduleFile(s, path, &error));
        QCOMPARE(error, QString("Файл «короткий.tsc» не загружен.\nФайл слишком короткий: 50 байт, "
                                "а таблицы праздников и переносов с коэффициентом лимита "
                                "занимают 103 байта."));
        QVERIFY(Snapshot(s) == before);

        const QString huge = dir.filePath("большой.tsc");
        QFile big(huge);
        QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(kMaxFileSize + 1));
        big.close();
        QVERIFY(!LoadScheduleFile(s, huge, &error));
        QCOMPARE(error, QString("Файл «большой.tsc» не загружен.\nФайл слишком велик для "
                                "тарифного расписания: %1 байт.")
                            .arg(kMaxFileSize + 1));
        QVERIFY(Snapshot(s) == before);
    }
};

QObject* NewFileTest()
{
    return new TestFile;
}

#include "test_file.moc"
