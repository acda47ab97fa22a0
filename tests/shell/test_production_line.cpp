// The window in production mode against the in-process demonstration meter and a PostgreSQL
// server of the test's own, reached through psqlODBC: identification, the number proposal, the
// records after a settings batch and by hand, the drift, and the barcode scanner on a
// pseudo-terminal.
#include "../production/db_server.h"
#include "link/meter_link.h"
#include "meter/settings_write.h"
#include "meter/ui/about_page.h"
#include "meter/ui/settings_page.h"
#include "platform/system_clock.h"
#include "platform/system_names.h"
#include "production/identification.h"
#include "production/scanner.h"
#include "shell/application.h"
#include "shell/main_window.h"
#include "shell/production_line.h"
#include "shell/protocol_page.h"
#include "sim/sim_port.h"
#include "support.h"
#include "support/pty.h"

#include <QCheckBox>
#include <QComboBox>
#include <QSpinBox>
#include <QTimer>
#include <QtTest>

using namespace zr;
using production::test::DbServer;
using shell::MainWindow;

namespace
{

const QString kNotRegistered = QStringLiteral("Номер прибора не описан в БД. Установите его.");
constexpr uint32_t kDemoNumber = 347015; // the demonstration meter's own number

meter::Modes Production()
{
    meter::Modes modes;
    modes.production = true;
    modes.master = true;
    return modes;
}

shell::PortOptions DemoPorts(const QStringList& extra = {})
{
    shell::PortOptions ports;
    ports.demo = true;
    ports.extraPorts = extra;
    return ports;
}

// The production window on the demonstration meter, identified, with short time-outs.
struct Line {
    test::MessageCatcher catcher;
    MainWindow window;
    explicit Line(uint32_t factoryNumber, const QStringList& extraPorts = {})
        : window(Production(), DemoPorts(extraPorts))
    {
        window.Connection()->SpinTimer->setValue(200);
        window.DemoPort()->meter().state().factoryNumber = factoryNumber;
    }
    QSpinBox* spin(const char* name) const
    {
        return window.Settings()->findChild<QSpinBox*>(QLatin1String(name));
    }
    QSpinBox* number() const { return spin("SpinEdit_Number"); }
    void connect()
    {
        window.ActionConnect->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(!window.About()->EditNumber->text().isEmpty(), 5000);
        QTRY_VERIFY_WITH_TIMEOUT(!window.About()->EditVersion->text().isEmpty(), 5000);
    }
    // What the settings write does with the batch built from the tab: the clock first, then the
    // batch with the write mark. The link parameters keep address 0 and 4800 bit/s, so the PC
    // side needs no switch.
    void writeSettings()
    {
        QVERIFY(window.Production()->SetClockFromServer());
        meter::SettingsWriteInput input;
        input.writeLink = true;
        input.newAddress = 0;
        input.newBaudIndex = 0;
        input.writeClock = true;
        input.date = QDate::currentDate();
        input.time = QTime::currentTime();
        input.writeIndication = true;
        input.indication = {true, false, false, true, true};
        input.writeDdm = true;
        input.ddmNumbers = {11, 12, 13};
        input.ddmModeIndex = 2;
        input.factoryNumber = number()->value();
        input.reportedNumber = window.About()->EditNumber->text();
        const meter::RequestBatch batch = meter::BuildSettingsBatch(input);
        QVERIFY2(batch.ok(), qPrintable(batch.refusal));
        window.Settings()->setLastBatchInput(input);
        window.Link()->setSettingsWriteMark();
        for (const QByteArray& frame : batch.frames)
            window.Link()->Enqueue(frame);
    }
};

} // namespace

class TestProductionLine : public QObject
{
    Q_OBJECT

    DbServer server;
    platform::ClockSetter systemClock;
    QList<QDateTime> clockSet;

    int count(const QString& table) { return server.value("SELECT COUNT(*) FROM " + table); }
    int operationsOf(int number)
    {
        return server.value(QStringLiteral("SELECT COUNT(*) FROM operation JOIN electrometer "
                                           "USING (electro_id) WHERE number = %1")
                                .arg(number));
    }
    // The newest set_zur row: the columns a manual record leaves out, and secperday.
    QStringList lastSetZur()
    {
        const auto rows = server.rows(
            "SELECT address, baud, indicator, (date_time IS NULL)::text, summer::text, pass, "
            "count_day, count_hour, time_integ, ddm_a, ddm_b, ddm_c, mode_tarif, "
            "secperday, version FROM set_zur ORDER BY operation_id DESC LIMIT 1");
        return rows.isEmpty() ? QStringList() : rows.first();
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(server.start(), qPrintable(server.error()));
        const QString login = production::LoginForLookup(platform::LoginName());
        QVERIFY(server.exec({
            "INSERT INTO computer (computer_id, name) VALUES (1, '" + platform::ComputerName() +
                "')",
            "INSERT INTO operator (person_id, login, operating) VALUES (1, '" + login + "', 1)",
            "INSERT INTO plant (plant_id, type_id, computer_id) VALUES (1, 3, 1)",
            "INSERT INTO electrometer (number, type_id) VALUES (120000, 37), (123456, 37), "
            "(347015, 37)",
        }));
        systemClock = platform::SetClockSetter([this](const QDateTime& t) {
            clockSet << t;
            return false; // tests never change the machine's clock
        });
    }
    void cleanupTestCase()
    {
        platform::SetClockSetter(systemClock);
        QVERIFY2(server.stop(), qPrintable(server.error()));
    }
    void init()
    {
        QVERIFY(
            server.exec({"DELETE FROM set_pk", "DELETE FROM set_zur", "DELETE FROM operation"}));
        clockSet.clear();
    }

    void activationIdentifiesAndSetsTheClock()
    {
        Line line(0);
        line.window.show();
        line.window.activateWindow();
        QTRY_VERIFY2(line.window.Production()->identity().plantId == 1,
                     qPrintable(line.catcher.messages.value(0).text));
        QCOMPARE(line.window.Production()->identity().computerId, 1);
        QCOMPARE(line.window.Production()->identity().personId, 1);
        QCOMPARE(clockSet.size(), 1);
        QVERIFY(qAbs(clockSet.first().secsTo(QDateTime::currentDateTime())) < 60);
        QVERIFY(line.catcher.messages.isEmpty());
    }

    void unknownWorkstationStopsTheProgram()
    {
        QVERIFY(server.exec({"UPDATE computer SET name = 'elsewhere'"}));
        Line line(0);
        QSignalSpy stop(line.window.Production(), &shell::ProductionLine::stopRequested);
        line.window.Production()->Identify();
        QVERIFY(server.exec({"UPDATE computer SET name = '" + platform::ComputerName() + "'"}));
        QCOMPARE(stop.size(), 1);
        QCOMPARE(line.catcher.messages.size(), 1);
        const shell::Message& message = line.catcher.messages.first();
        QCOMPARE(message.caption, QStringLiteral("Приложение остановлено"));
        QCOMPARE(message.text,
                 QStringLiteral("Компьютер \"%1\" не описан в БД.").arg(platform::ComputerName()));
        QCOMPARE(message.icon, QMessageBox::Warning);
    }

    // A server out of reach is reported once, not at each activation after its box closes, and
    // the program goes on; once the server is back the identification succeeds.
    void unreachableServerIsReportedOnce()
    {
        Line line(0);
        QVERIFY2(server.stop(), qPrintable(server.error()));
        QSignalSpy stop(line.window.Production(), &shell::ProductionLine::stopRequested);
        line.window.Production()->Identify();
        line.window.Production()->Identify();
        QVERIFY2(server.start(), qPrintable(server.error()));
        QCOMPARE(line.catcher.messages.size(), 1);
        QCOMPARE(line.catcher.messages.first().caption, shell::ProgramTitle());
        QVERIFY(!line.catcher.messages.first().text.isEmpty());
        QCOMPARE(stop.size(), 0);
        QCOMPARE(line.window.Production()->identity().plantId, 0);
        line.window.Production()->Identify();
        QCOMPARE(line.window.Production()->identity().plantId, 1);
        QCOMPARE(line.catcher.messages.size(), 1);
    }

    void newMeterTakesTheProposedNumber_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<int>("number");
        QTest::addColumn<int>("group");
        QTest::addColumn<int>("address");
        QTest::newRow("120000: group and address 0 stored as 100")
            << QStringList() << 120000 << 100 << 100;
        QTest::newRow("123456, after 120000 was programmed")
            << QStringList{"INSERT INTO operation (type_id, electro_id, plant_id, person_id, "
                           "success) SELECT 3, electro_id, 1, 1, true FROM electrometer "
                           "WHERE number = 120000"}
            << 123456 << 34 << 56;
    }
    void newMeterTakesTheProposedNumber()
    {
        QFETCH(QStringList, before);
        QFETCH(int, number);
        QFETCH(int, group);
        QFETCH(int, address);
        QVERIFY(before.isEmpty() || server.exec(before));
        Line line(0);
        line.window.Production()->Identify();
        line.connect();
        QCOMPARE(line.window.About()->EditNumber->text(), QStringLiteral("0"));
        line.window.Settings()->findChild<QAbstractButton*>("BitBtn1")->click();
        QCOMPARE(line.number()->value(), number);
        QCOMPARE(line.spin("SpinNewAddr")->value(), number % 100); // the address follows

        clockSet.clear();
        line.writeSettings();
        QCOMPARE(clockSet.size(), 1); // the clock came from the server before the batch
        QTRY_COMPARE_WITH_TIMEOUT(operationsOf(number), 1, 10000);
        QCOMPARE(line.window.DemoPort()->meter().state().factoryNumber, uint32_t(number));
        QVERIFY2(line.catcher.messages.isEmpty(), qPrintable(line.catcher.messages.value(0).text));
        QCOMPARE(server.value("SELECT COUNT(*) FROM operation WHERE success"), before.size() + 1);
        // A full record; no earlier programming, so no drift and success.
        QCOMPARE(count("set_zur"), 1);
        QCOMPARE(lastSetZur(),
                 (QStringList{"0", "4800", "25", "false", "false", "NULL", "NULL", "NULL", "NULL",
                              "11", "12", "13", "2", "NULL", "2.15"})); // the demo meter's version
        QCOMPARE(server.rows("SELECT plm_group, plm_address, plm_number FROM set_pk"),
                 (QList<QStringList>{
                     {QString::number(group), QString::number(address), QString::number(number)}}));
    }

    void meterWithANumberMeasuresDriftAndGetsNoModemRow()
    {
        // Programmed two days ago with a clock that has kept time since.
        const QString twoDaysAgo = QDateTime::currentDateTime().addDays(-2).toString(Qt::ISODate);
        QVERIFY(server.exec({
            "INSERT INTO operation (type_id, electro_id, plant_id, person_id, success) "
            "SELECT 3, electro_id, 1, 1, true FROM electrometer WHERE number = 347015",
            "INSERT INTO set_zur (operation_id, date_time) SELECT MAX(operation_id), '" +
                twoDaysAgo + "' FROM operation",
        }));
        Line line(kDemoNumber);
        line.window.Production()->Identify();
        line.connect();
        QCOMPARE(line.number()->value(), int(kDemoNumber)); // the lookup shows the number read
        QTRY_VERIFY_WITH_TIMEOUT(!line.window.About()->EditDelta->text().isEmpty(), 5000);
        line.writeSettings();
        QTRY_COMPARE_WITH_TIMEOUT(operationsOf(kDemoNumber), 2, 10000);
        QVERIFY(line.catcher.messages.isEmpty());
        QCOMPARE(count("set_pk"), 0);
        const QStringList row = lastSetZur();
        QVERIFY(row.value(13) != QLatin1String("NULL"));
        QVERIFY(qAbs(row.value(13).toDouble()) < 1.0); // the demo meter keeps the PC's time
        QCOMPARE(server.value("SELECT COUNT(*) FROM operation WHERE success"), 2);
    }

    void manualRecordLeavesTheSettingsNull()
    {
        Line line(kDemoNumber);
        line.window.Production()->Identify();
        line.connect();
        line.window.Production()->ActionFixDbExecute();
        QCOMPARE(operationsOf(kDemoNumber), 1);
        QVERIFY(line.catcher.messages.isEmpty());
        QCOMPARE(count("set_pk"), 0);
        const QStringList row = lastSetZur();
        QCOMPARE(row.mid(0, 14),
                 (QStringList{"NULL", "NULL", "NULL", "true", "NULL", "NULL", "NULL", "NULL",
                              "NULL", "NULL", "NULL", "NULL", "NULL", "NULL"}));
        QVERIFY(line.window.TimerShape->isActive()); // the indicator shown green
    }

    void unregisteredNumberWritesNothing()
    {
        Line line(0);
        line.window.Production()->Identify();
        line.connect();
        line.number()->setValue(555555);
        line.writeSettings();
        QTRY_COMPARE_WITH_TIMEOUT(line.catcher.messages.size(), 1, 10000);
        QCOMPARE(line.catcher.messages.first().caption, QStringLiteral("Ошибка записи в БД"));
        QCOMPARE(line.catcher.messages.first().text, kNotRegistered);
        QCOMPARE(line.catcher.messages.first().icon, QMessageBox::Critical);
        QCOMPARE(count("operation"), 0);
        QCOMPARE(count("set_zur"), 0);
    }

    void scannerFillsTheNumber()
    {
        test::Pty pty;
        QVERIFY(!pty.slave.isEmpty());
        Line line(0, {pty.slave});
        QComboBox* combo = line.window.Connection()->ComboScaner;
        QVERIFY(line.window.Connection()->PanelScaner->isVisibleTo(&line.window));
        const int entry = combo->findText(pty.slave);
        QVERIFY(entry >= 0);
        combo->setCurrentIndex(entry);
        emit combo->activated(entry); // the user's choice opens the port
        QVERIFY(line.window.Production()->scanner()->isOpen());
        // Read-only and disabled, as for a meter that reported its number.
        line.number()->setReadOnly(true);
        line.number()->setEnabled(false);
        QVERIFY(pty.write("0045"));
        QVERIFY(pty.write("12\r\n"));
        QTRY_COMPARE(line.number()->value(), 4512);
        QVERIFY(pty.write("A-17\r"));
        QTRY_COMPARE(line.number()->value(), 0);
        // Enabled in production mode with the link parameters ticked: the address follows.
        line.number()->setEnabled(true);
        QVERIFY(pty.write("123456\r"));
        QTRY_COMPARE(line.number()->value(), 123456);
        QCOMPARE(line.spin("SpinNewAddr")->value(), 56);
        line.window.Connection()->CheckScaner->click(); // checked: stays open
        QVERIFY(line.window.Production()->scanner()->isOpen());
        line.window.Connection()->CheckScaner->click(); // cleared: closed
        QVERIFY(!line.window.Production()->scanner()->isOpen());
    }
};

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    TestProductionLine suite;
    return QTest::qExec(&suite, argc, argv);
}

#include "test_production_line.moc"
