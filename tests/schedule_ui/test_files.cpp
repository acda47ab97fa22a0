#include "schedule/file.h"
#include "schedule/ui/schedule_files.h"
#include "schedule/ui/schedule_message.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace zr::schedule;

namespace
{

// Messages shown while it lives, as "caption|text".
struct Messages {
    QStringList shown;
    ScheduleMessageHandler previous =
        SetScheduleMessageHandler([this](QWidget*, QMessageBox::Icon, const QString& caption,
                                         const QString& text, QMessageBox::StandardButtons) {
            shown << caption + QLatin1Char('|') + text;
            return QMessageBox::Ok;
        });
    ~Messages() { SetScheduleMessageHandler(previous); }
};

Schedule Filled()
{
    Schedule s;
    s.InsertTZone(Zone{QStringLiteral("07:00"), 2, 0, 2});
    s.SetTransferList({{QDate(2031, 3, 9), 1}});
    s.SetCoefficient(9);
    return s;
}

} // namespace

class TestFiles : public QObject
{
    Q_OBJECT
private slots:
    void saveAndLoad()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("расписание.tsc"));
        Messages messages;
        Schedule saved = Filled();
        QVERIFY(SaveTariffFile(nullptr, saved, path));
        QVERIFY(!saved.pending());
        Schedule loaded;
        QVERIFY(LoadTariffFile(nullptr, loaded, path));
        QCOMPARE(loaded.committed(), saved.committed());
        QCOMPARE(loaded.transfers(), saved.transfers());
        QCOMPARE(loaded.coefficient(), 9);
        QVERIFY(messages.shown.isEmpty());
    }

    // A refused file says why and leaves the schedule as it was.
    void refusedFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("плохой.tsc"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(50, '\0'));
        file.close();
        Messages messages;
        Schedule s = Filled();
        s.Commit();
        QVERIFY(!LoadTariffFile(nullptr, s, path));
        QCOMPARE(messages.shown.size(), 1);
        QVERIFY(
            messages.shown[0].startsWith(QStringLiteral("Ошибка|Файл «плохой.tsc» не загружен.")));
        QCOMPARE(s.committed(), Filled().working());
        QCOMPARE(s.coefficient(), 9);
    }

    // A transfer after 2099 is left out; the rest loads and the user is told which entry.
    void transferAfter2099()
    {
        Schedule source = Filled();
        QByteArray image = BuildFileImage(source);
        image.replace(34 + 4, 4, QByteArray::fromHex("0101A001"));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("поздний.tsc"));
        QVERIFY(WriteFileImage(path, image, nullptr));
        Messages messages;
        Schedule s;
        QVERIFY(LoadTariffFile(nullptr, s, path));
        QCOMPARE(s.transfers(), source.transfers());
        QCOMPARE(s.committed(), source.committed());
        QCOMPARE(messages.shown,
                 QStringList{"Внимание|Файл «поздний.tsc» загружен без переносов, даты которых "
                             "позже 31.12.2099 и не могут храниться в счетчике:\nПеренос № 2 "
                             "(смещение 38): дата 01.01.2100 позже 31.12.2099."});
    }
};

QObject* NewFilesTest()
{
    return new TestFiles;
}

#include "test_files.moc"
