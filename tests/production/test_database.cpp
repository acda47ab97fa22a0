// The production records against a real PostgreSQL server through the real psqlODBC driver.

#include "db_server.h"

#include "platform/system_clock.h"
#include "production/identification.h"
#include "production/production_db.h"
#include "production/record.h"

#include <QCoreApplication>
#include <QtTest>
#include <memory>

using namespace zr::production;
using zr::production::test::DbServer;

namespace
{

const Identity kLine{1, 1, 1};
const QString kLongLogin = QString(31, 'o');

const QStringList kSetZurColumns{
    "operation_id", "version",    "el_type",    "address",   "baud",       "turn_on",
    "status",       "date_time",  "summer",     "check_sum", "pass",       "t",
    "count_day",    "count_hour", "ncorrect",   "indicator", "time_integ", "ddm_a",
    "ddm_b",        "ddm_c",      "mode_tarif", "secperday"};

// A settings batch that wrote everything, as the settings page would pass it.
RecordInput FullInput(int numberRead, int numberField)
{
    RecordInput in;
    in.numberRead = numberRead;
    in.numberField = numberField;
    in.version = QStringLiteral("ЗР-347 в.1.2");
    in.elType = QStringLiteral("ZR-347.1");
    in.turnOn = QStringLiteral("12 д. 3 ч.");
    in.status = 0x61;
    in.ncorrect = 3;
    in.checkSum = 4660;
    in.t = 1234.5;
    in.address = numberField % 100;
    in.baud = QStringLiteral("9600");
    in.indicator = 31;
    in.dateTime = QDateTime(QDate(2026, 3, 10), QTime(12, 0, 5));
    in.summer = true;
    in.pass = QStringLiteral("123456");
    in.countDay = 1;
    in.countHour = 0;
    in.timeInteg = 30;
    in.ddmA = 11;
    in.ddmB = 12;
    in.ddmC = 13;
    in.modeTarif = 2;
    return in;
}

// The set_zur columns of FullInput after operation_id, as the server renders them.
QStringList FullRow(int address, const QString& secPerDay)
{
    return {"ЗР-347 в.1.2",
            "ZR-347.1",
            QString::number(address),
            "9600",
            "12 д. 3 ч.",
            "97",
            "2026-03-10 12:00:05",
            "true",
            "4660",
            "123456",
            "1234.5",
            "1",
            "0",
            "3",
            "31",
            "30",
            "11",
            "12",
            "13",
            "2",
            secPerDay};
}

QString Text(const QStringList& columns)
{
    QStringList fields;
    for (const QString& c : columns)
        fields << QStringLiteral("coalesce(%1::text, 'NULL')").arg(c);
    return fields.join(", ");
}

} // namespace

Q_DECLARE_METATYPE(zr::production::RecordInput)

class TestDatabase : public QObject
{
    Q_OBJECT

    DbServer server;
    std::unique_ptr<ProductionDb> db;
    QList<QDateTime> clockSet;
    zr::platform::ClockSetter systemClock;

    int ElectroId(int number)
    {
        return server.value(
            QStringLiteral("SELECT electro_id FROM electrometer WHERE number = %1 AND type_id = 37")
                .arg(number));
    }
    int Count(const QString& table)
    {
        return server.value(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table));
    }
    QList<QStringList> Operations()
    {
        return server.rows(
            QStringLiteral("SELECT %1 FROM operation ORDER BY operation_id")
                .arg(Text({"type_id", "electro_id", "plant_id", "person_id", "success"})));
    }
    QList<QStringList> SetZur()
    {
        return server.rows(QStringLiteral("SELECT %1 FROM set_zur ORDER BY operation_id")
                               .arg(Text(kSetZurColumns)));
    }
    QList<QStringList> SetPk()
    {
        return server.rows(
            QStringLiteral("SELECT %1 FROM set_pk ORDER BY operation_id")
                .arg(Text({"operation_id", "version", "plm_group", "plm_address", "plm_number"})));
    }
    QString LastOperation()
    {
        return QString::number(server.value("SELECT MAX(operation_id) FROM operation"));
    }
    void VerifyNothingWritten()
    {
        QCOMPARE(Count("operation"), 0);
        QCOMPARE(Count("set_zur"), 0);
        QCOMPARE(Count("set_pk"), 0);
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(server.start(), qPrintable(server.error()));
        QVERIFY(server.exec({
            "INSERT INTO computer (computer_id, name) VALUES (1, 'ws-line-1'), (2, 'ws-office')",
            "INSERT INTO operator (person_id, login, operating) VALUES (1, 'ivanov', 1), "
            "(2, 'retired', 0), (3, '" +
                kLongLogin + "', 1), (4, '', 0)",
            "INSERT INTO plant (plant_id, type_id, computer_id) VALUES (1, 3, 1), (2, 1, 2)",
            "INSERT INTO electrometer (number, type_id) VALUES (100000, 38), (100001, 37), "
            "(100002, 37), (120000, 37), (123456, 37)",
        }));
        systemClock = zr::platform::SetClockSetter([this](const QDateTime& t) {
            clockSet << t;
            return false; // the system refuses: nothing may depend on it
        });
        db = std::make_unique<ProductionDb>();
    }
    void cleanupTestCase()
    {
        db.reset();
        zr::platform::SetClockSetter(systemClock);
        QVERIFY2(server.stop(), qPrintable(server.error()));
    }
    void init()
    {
        QVERIFY(
            server.exec({"DELETE FROM set_pk", "DELETE FROM set_zur", "DELETE FROM operation"}));
        clockSet.clear();
    }

    void selectingStatements()
    {
        int id = -1;
        QVERIFY(db->QueryComputer("ws-line-1", &id));
        QCOMPARE(id, 1);
        QVERIFY(db->QueryComputer("nobody", &id));
        QCOMPARE(id, 0);
        QVERIFY(db->QueryPerson("ivanov", &id));
        QCOMPARE(id, 1);
        QVERIFY(db->QueryPerson("retired", &id)); // not operating
        QCOMPARE(id, 0);
        QVERIFY(db->QueryPlant(1, &id));
        QCOMPARE(id, 1);
        QVERIFY(db->QueryPlant(2, &id)); // an installation of another type
        QCOMPARE(id, 0);
        QVERIFY(db->QueryCheckNumber(123456, 37, &id));
        QCOMPARE(id, ElectroId(123456));
        QVERIFY(db->QueryCheckNumber(100000, 37, &id)); // registered for another kind
        QCOMPARE(id, 0);
        QVERIFY(db->QueryMaxSql(37, &id));
        QCOMPARE(id, 100001);
        QVERIFY(db->QueryMaxSql(99, &id)); // NULL reads as 0
        QCOMPARE(id, 0);
        QVERIFY(db->QueryDoubleNumber(123456, &id));
        QCOMPARE(id, 0);
        QVERIFY(db->QueryMaxOper(1, &id)); // NULL of an empty table
        QCOMPARE(id, 0);

        QDateTime time;
        QVERIFY(db->QueryTime(&time));
        QVERIFY(qAbs(time.secsTo(QDateTime::currentDateTime())) < 60);
        QVERIFY(db->QueryDelta(123456, 37, &time));
        QVERIFY(!time.isValid());
    }

    void writingStatements()
    {
        QVERIFY(db->QueryOperation(3, ElectroId(100001), 1, 1, false));
        int operationId = 0;
        QVERIFY(db->QueryMaxOper(1, &operationId));
        QCOMPARE(QString::number(operationId), LastOperation());
        QCOMPARE(Operations(), (QList<QStringList>{
                                   {"3", QString::number(ElectroId(100001)), "1", "1", "false"}}));

        SetZurRow row;
        row.operationId = operationId;
        row.version = QStringLiteral("в.1");
        row.dateTime = QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5));
        row.summer = false;
        row.t = 0.25;
        row.secPerDay = -1.5;
        row.status = 200;
        QVERIFY(db->QueryIns(row));
        QStringList expected(kSetZurColumns.size(), "NULL");
        expected[0] = QString::number(operationId);
        expected[1] = "в.1";
        expected[6] = "200";
        expected[7] = "2026-01-02 03:04:05";
        expected[8] = "false";
        expected[11] = "0.25";
        expected[21] = "-1.5";
        QCOMPARE(SetZur(), QList<QStringList>{expected});

        QVERIFY(db->QueryInsPlm(operationId, "в.1", 34, 56, 123456));
        QCOMPARE(SetPk(),
                 (QList<QStringList>{{QString::number(operationId), "в.1", "34", "56", "123456"}}));

        // What the other statements see of it.
        int value = 0;
        QVERIFY(db->QueryDoubleNumber(123456, &value));
        QCOMPARE(value, 1);
        QVERIFY(db->QueryMaxSql(37, &value)); // 100001 is programmed now
        QCOMPARE(value, 100002);
        QDateTime last;
        QVERIFY(db->QueryDelta(100001, 37, &last));
        QCOMPARE(last, QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5)));
    }

    void identification_data()
    {
        QTest::addColumn<QString>("computer");
        QTest::addColumn<QString>("login");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("person");
        QTest::newRow("identified") << "ws-line-1"
                                    << "ivanov"
                                    << "" << 1;
        QTest::newRow("31-character login") << "ws-line-1" << kLongLogin << "" << 3;
        QTest::newRow("unknown workstation") << "ws-x"
                                             << "ivanov"
                                             << "Компьютер \"ws-x\" не описан в БД." << 0;
        QTest::newRow("operator not operating") << "ws-line-1"
                                                << "retired"
                                                << "Пользователь \"retired\" не описан в БД." << 0;
        // Does not fit the 32-character buffer: looked up as the empty text, which finds nobody.
        QTest::newRow("32-character login") << "ws-line-1" << kLongLogin + "o"
                                            << "Пользователь \"\" не описан в БД." << 0;
        QTest::newRow("no installation") << "ws-office"
                                         << "ivanov"
                                         << "Установка не описана в БД." << 1;
    }
    void identification()
    {
        QFETCH(QString, computer);
        QFETCH(QString, login);
        QFETCH(QString, message);
        QFETCH(int, person);
        const Identification result = Identify(*db, computer, login);
        QCOMPARE(result.notice.text, message);
        QCOMPARE(result.identity.personId, person);
        if (message.isEmpty()) {
            QCOMPARE(result.identity.computerId, 1);
            QCOMPARE(result.identity.plantId, 1);
            // The clock is set from the server once, and a refusal changes nothing.
            QCOMPARE(clockSet.size(), 1);
            QVERIFY(qAbs(clockSet.first().secsTo(QDateTime::currentDateTime())) < 60);
        } else {
            QCOMPARE(result.notice.caption, "Приложение остановлено");
            QVERIFY(result.notice.stop);
            QVERIFY(clockSet.isEmpty());
        }
    }

    void proposal()
    {
        Proposal first = ProposeNumber(*db);
        QVERIFY(first.notice.isEmpty());
        QCOMPARE(first.number, std::optional<int>(100001)); // the free number itself, registered
        QCOMPARE(AutomaticRecord(*db, kLine, FullInput(0, *first.number)).text, QString());
        QCOMPARE(ProposeNumber(*db).number, std::optional<int>(100002));
        QVERIFY(server.exec({"INSERT INTO operation (type_id, electro_id, plant_id, person_id, "
                             "success) SELECT 3, electro_id, 1, 1, true FROM electrometer"}));
        const Proposal none = ProposeNumber(*db);
        QVERIFY(none.notice.isEmpty());
        QCOMPARE(none.number, std::nullopt);
    }

    void lastProgrammed()
    {
        QVERIFY(!LookupLastProgrammed(*db, 123456).date.isValid());
        RecordInput in = FullInput(0, 123456);
        QVERIFY(AutomaticRecord(*db, kLine, in).isEmpty());
        in.numberRead = 123456;
        in.dateTime = QDateTime(QDate(2026, 4, 1), QTime(8, 0));
        QVERIFY(AutomaticRecord(*db, kLine, in).isEmpty());
        in.dateTime.reset(); // the time was not written: no date
        QVERIFY(AutomaticRecord(*db, kLine, in).isEmpty());
        QCOMPARE(LookupLastProgrammed(*db, 123456).date, QDateTime(QDate(2026, 4, 1), QTime(8, 0)));
    }

    void records_data()
    {
        QTest::addColumn<RecordInput>("input");
        QTest::addColumn<bool>("full");
        QTest::addColumn<QString>("success");
        QTest::addColumn<QStringList>("setZur"); // without operation_id
        QTest::addColumn<QStringList>("setPk");  // without operation_id; empty: no row

        RecordInput in = FullInput(0, 123456);
        QTest::newRow("new meter 123456, never programmed")
            << in << true << "true" << FullRow(56, "NULL")
            << QStringList{"ЗР-347 в.1.2", "34", "56", "123456"};

        in = FullInput(0, 120000);
        in.secPerDay = 1.0;
        QTest::newRow("new meter 120000, drift 1.00")
            << in << true << "true" << FullRow(0, "1")
            << QStringList{"ЗР-347 в.1.2", "100", "100", "120000"};

        in = FullInput(100001, 100001);
        in.secPerDay = -3.01;
        QTest::newRow("meter with a number, drift -3.01")
            << in << true << "false" << FullRow(1, "-3.01") << QStringList{};

        in = FullInput(100001, 100001);
        in.secPerDay = -3.0;
        in.dateTime.reset();
        in.summer.reset();
        in.pass.reset();
        QStringList row = FullRow(1, "-3");
        row[6] = row[7] = row[9] = "NULL";
        QTest::newRow("boxes clear, drift -3.00") << in << true << "true" << row << QStringList{};

        in = FullInput(100002, 100002);
        in.secPerDay = 1.01;
        QStringList manual(kSetZurColumns.size() - 1, "NULL");
        manual[0] = "ЗР-347 в.1.2";
        manual[1] = "ZR-347.1";
        manual[4] = "12 д. 3 ч.";
        manual[5] = "97";
        manual[8] = "4660";
        manual[10] = "1234.5";
        manual[13] = "3";
        manual[20] = "1.01";
        QTest::newRow("manual record, drift 1.01")
            << in << false << "false" << manual << QStringList{};
    }
    void records()
    {
        QFETCH(RecordInput, input);
        QFETCH(bool, full);
        QFETCH(QString, success);
        QFETCH(QStringList, setZur);
        QFETCH(QStringList, setPk);
        const Notice notice =
            full ? AutomaticRecord(*db, kLine, input) : ManualRecord(*db, kLine, input);
        QCOMPARE(notice.text, QString());
        const int number = input.numberRead ? input.numberRead : input.numberField;
        QCOMPARE(Operations(), (QList<QStringList>{
                                   {"3", QString::number(ElectroId(number)), "1", "1", success}}));
        QCOMPARE(SetZur(), QList<QStringList>{QStringList{LastOperation()} + setZur});
        QCOMPARE(SetPk(), setPk.isEmpty()
                              ? QList<QStringList>{}
                              : QList<QStringList>{QStringList{LastOperation()} + setPk});
    }

    void unregisteredNumberWritesNothing()
    {
        for (bool full : {true, false}) {
            const RecordInput in = FullInput(0, 777777);
            const Notice notice =
                full ? AutomaticRecord(*db, kLine, in) : ManualRecord(*db, kLine, in);
            QCOMPARE(notice.caption, "Ошибка записи в БД");
            QCOMPARE(notice.text, "Номер прибора не описан в БД. Установите его.");
            VerifyNothingWritten();
        }
        // Registered meanwhile: the next batch of the same meter is recorded.
        QVERIFY(server.exec({"INSERT INTO electrometer (number, type_id) VALUES (777777, 37)"}));
        QCOMPARE(AutomaticRecord(*db, kLine, FullInput(0, 777777)).text, QString());
        QCOMPARE(Count("set_pk"), 1);
        QVERIFY(server.exec({"DELETE FROM set_pk", "DELETE FROM set_zur", "DELETE FROM operation",
                             "DELETE FROM electrometer WHERE number = 777777"}));
    }

    void modemNumberGivenOnce()
    {
        QVERIFY(AutomaticRecord(*db, kLine, FullInput(0, 123456)).isEmpty());
        // Another new meter given the same number is refused...
        const Notice refused = AutomaticRecord(*db, kLine, FullInput(0, 123456));
        QCOMPARE(refused.caption, "Ошибка записи в БД");
        QCOMPARE(refused.text, "Счетчик с таким Plm-номером уже существует. Обратитесь к главному "
                               "конструктору прибора.");
        QCOMPARE(Count("operation"), 1);
        QCOMPARE(Count("set_zur"), 1);
        // ...while the meter that has the number is recorded again, without a set_pk row.
        QVERIFY(AutomaticRecord(*db, kLine, FullInput(123456, 123456)).isEmpty());
        QCOMPARE(Count("operation"), 2);
        QCOMPARE(Count("set_zur"), 2);
        QCOMPARE(Count("set_pk"), 1);
    }

    void failedModemRowRollsBackTheRecord()
    {
        QVERIFY(server.exec({"ALTER TABLE set_pk ADD CONSTRAINT no_group_100 "
                             "CHECK (plm_group <> 100)"}));
        const Notice notice = AutomaticRecord(*db, kLine, FullInput(0, 120000));
        QVERIFY(server.exec({"ALTER TABLE set_pk DROP CONSTRAINT no_group_100"}));
        QCOMPARE(notice.caption, "Ошибка БД");
        QVERIFY2(notice.text.startsWith("Ошибка записи в БД: ") &&
                     notice.text.contains("no_group_100"),
                 qPrintable(notice.text));
        VerifyNothingWritten();
        QVERIFY(AutomaticRecord(*db, kLine, FullInput(0, 120000)).isEmpty());
        QCOMPARE(Count("set_pk"), 1);
    }

    void connectionLostInsideTheRecord()
    {
        QVERIFY(server.exec(
            {"CREATE FUNCTION drop_connection() RETURNS trigger LANGUAGE plpgsql AS "
             "$$ BEGIN PERFORM pg_terminate_backend(pg_backend_pid()); RETURN NEW; END $$",
             "CREATE TRIGGER lose_connection BEFORE INSERT ON set_zur "
             "FOR EACH ROW EXECUTE FUNCTION drop_connection()"}));
        const Notice notice = AutomaticRecord(*db, kLine, FullInput(0, 123456));
        QVERIFY(server.exec(
            {"DROP TRIGGER lose_connection ON set_zur", "DROP FUNCTION drop_connection()"}));
        QCOMPARE(notice.caption, "Ошибка БД");
        QVERIFY2(notice.text.size() > QString("Ошибка записи в БД: ").size(),
                 qPrintable(notice.text));
        VerifyNothingWritten();
        // The next record reconnects.
        QCOMPARE(AutomaticRecord(*db, kLine, FullInput(0, 123456)).text, QString());
        QCOMPARE(Count("set_pk"), 1);
    }

    void serverStoppedAndBack()
    {
        QVERIFY(AutomaticRecord(*db, kLine, FullInput(0, 123456)).isEmpty());
        QVERIFY2(server.stop(), qPrintable(server.error()));
        const Notice down = AutomaticRecord(*db, kLine, FullInput(0, 120000));
        const Proposal proposal = ProposeNumber(*db);
        const Identification identification = Identify(*db, "ws-line-1", "ivanov");
        QVERIFY2(server.start(), qPrintable(server.error()));
        QVERIFY2(!down.text.isEmpty(), "a lost server must be reported");
        QVERIFY(!proposal.notice.isEmpty());
        QVERIFY(!identification.notice.isEmpty());
        QVERIFY(!identification.notice.stop); // a database error is no reason to stop
        QCOMPARE(Count("operation"), 1);
        QCOMPARE(Count("set_zur"), 1);
        // Back: the next record works on a new connection.
        QCOMPARE(AutomaticRecord(*db, kLine, FullInput(0, 120000)).text, QString());
        QCOMPARE(Count("operation"), 2);
        QCOMPARE(Count("set_zur"), 2);
        QCOMPARE(Count("set_pk"), 2);
    }
};

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    TestDatabase test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_database.moc"
