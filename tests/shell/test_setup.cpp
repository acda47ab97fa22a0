// Setting a meter up from the window: the kept settings and the modes at start-up, the settings
// and power-line writes with their operation log, end to end against the simulated meter.

#include "link/cp1251.h"
#include "link/line_speed.h"
#include "link/meter_link.h"
#include "meter/device_info.h"
#include "meter/device_state.h"
#include "meter/encodings.h"
#include "meter/ui/plc_page.h"
#include "meter/ui/settings_page.h"
#include "platform/serial_port.h"
#include "shell/application.h"
#include "shell/connection_panel.h"
#include "shell/db_page.h"
#include "shell/indicator_shape.h"
#include "shell/main_window.h"
#include "shell/protocol_page.h"
#include "sim/demo.h"
#include "sim/meter.h"
#include "sim/sim_port.h"
#include "support.h"
#include "support/child.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeEdit>
#include <QTreeWidget>
#include <memory>
#include <optional>

using zr::shell::MainWindow;
using zr::shell::StartUp;
using zr::test::Child;
using zr::test::MessageCatcher;

namespace
{

// A settings file and a working directory of the test's own.
struct Place {
    QTemporaryDir dir;
    std::unique_ptr<QSettings> settings;
    Place() { reopen(); }
    QString path(const QString& name) const { return dir.filePath(name); }
    // As a new run of the program finds them.
    QSettings& reopen()
    {
        settings.reset();
        settings = std::make_unique<QSettings>(path("ZR-347.conf"), QSettings::IniFormat);
        return *settings;
    }
    StartUp startUp() const { return {settings.get(), dir.path()}; }
    QString logPath() const { return path("Setting_Zr_347.log"); }
};

zr::shell::PortOptions Ports(const QStringList& extra, bool demo)
{
    zr::shell::PortOptions options;
    options.extraPorts = extra;
    options.demo = demo;
    return options;
}

template <typename T> T* Settings(const MainWindow& window, const char* name)
{
    return Child<T>(window.Settings(), name);
}

template <typename T> T* Plc(const MainWindow& window, const char* name)
{
    return Child<T>(window.Plc(), name);
}

// Unticks the eight items of the settings write.
void UntickAll(const MainWindow& window)
{
    for (const char* name : {"CheckAddr", "CheckTime", "CheckShedule", "CheckIndi", "CheckIntegra",
                             "CheckPassword", "CheckDDM", "CheckResetTariff"})
        Settings<QCheckBox>(window, name)->setChecked(false);
}

// The log file's lines without their CR LF; a line not ended by CR LF is returned whole.
QList<QByteArray> LogFileLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<QByteArray> lines = file.readAll().split('\n');
    if (lines.last().isEmpty())
        lines.removeLast();
    for (QByteArray& line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
        else
            line.prepend("no CR LF: ");
    }
    return lines;
}

// The event texts of the log file's lines (what follows "] "), in Windows-1251.
QList<QByteArray> Events(const QString& path)
{
    QList<QByteArray> events;
    for (const QByteArray& line : LogFileLines(path))
        events.append(line.mid(line.indexOf("] ") + 2));
    return events;
}

QList<QByteArray> Cp1251(const QStringList& texts)
{
    QList<QByteArray> bytes;
    for (const QString& text : texts)
        bytes.append(zr::link::Cp1251Bytes(text));
    return bytes;
}

struct Demo {
    MessageCatcher catcher;
    Place place;
    MainWindow window;
    explicit Demo() : window(place.startUp(), Ports({}, true))
    {
        window.Protocol()->CheckBox_Terminal->setChecked(true);
        window.Connection()->SpinTimer->setValue(200);
        window.Connection()->ComboPort->setCurrentText(zr::sim::kDemoPortName);
    }
    zr::sim::MeterState& meter() { return window.DemoPort()->meter().state(); }
    void connect()
    {
        window.ActionConnect->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(!window.Device()->factoryNumberText().isEmpty(), 5000);
    }
    // Waits for the batch's end; true for the green indicator.
    bool result()
    {
        QSignalSpy shown(window.Link(), &zr::link::MeterLink::resultIndicator);
        if (!shown.wait(10000))
            return false;
        return shown[0][0].toBool() && window.Shape1->Color() == QColor(0, 255, 0);
    }
};

} // namespace

class TestSetup : public QObject
{
    Q_OBJECT
private slots:
    void modeTable_data();
    void modeTable();
    void settingsSurviveRestart();
    void badSettingsStartNormally();
    void helpOpensThroughTheDesktop();
    void productionIdentifiesOnActivation();

    void everySettingOnPseudoTerminal();
    void wrongPasswordLogsNothing();
    void refusedValueQueuesNothing();
    void unwritableLogTellsTheUser();
    void powerLineParameters();
    void viewerShowsOneMeter();
    void standardButtonsSpeakRussian();
};

void TestSetup::modeTable_data()
{
    QTest::addColumn<bool>("master");
    QTest::addColumn<bool>("noUser");
    QTest::addColumn<bool>("marker");
    QTest::addColumn<bool>("production");
    QTest::addColumn<bool>("masterMode");
    QTest::addColumn<bool>("newPassword");
    QTest::newRow("nothing") << false << false << false << false << false << true;
    QTest::newRow("Master") << true << false << false << false << true << true;
    QTest::newRow("NoUser") << false << true << false << false << false << false;
    QTest::newRow("Master NoUser") << true << true << false << false << true << false;
    QTest::newRow("marker") << false << false << true << true << true << true;
    QTest::newRow("marker Master") << true << false << true << true << true << true;
    QTest::newRow("marker NoUser") << false << true << true << true << true << false;
}

void TestSetup::modeTable()
{
    QFETCH(bool, master);
    QFETCH(bool, noUser);
    QFETCH(bool, marker);
    QFETCH(bool, production);
    QFETCH(bool, masterMode);
    QFETCH(bool, newPassword);
    MessageCatcher catcher;
    Place place;
    // Presence alone counts: the data are never read.
    if (master)
        place.settings->setValue("Master", "anything");
    if (noUser)
        place.settings->setValue("NoUser", QString());
    place.settings->sync();
    if (marker) {
        QFile file(place.path("SettingSql.zur"));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    MainWindow window(place.startUp());
    QCOMPARE(window.OperatingModes().production, production);
    QCOMPARE(window.OperatingModes().master, masterMode);
    QCOMPARE(window.OperatingModes().newPasswordAllowed, newPassword);
    QCOMPARE(Settings<QSpinBox>(window, "SpinEdit_Number")->isReadOnly(), !masterMode);
    QCOMPARE(Settings<QPushButton>(window, "BitBtn1")->isVisibleTo(window.Settings()), masterMode);
    QCOMPARE(Settings<QLineEdit>(window, "LabeledPass1")->isReadOnly(), !newPassword);
    QCOMPARE(Settings<QCheckBox>(window, "CheckAddr")->isChecked(), production);
    QCOMPARE(Settings<QCheckBox>(window, "CheckDDM")->isChecked(), production);
    QTabWidget* tabs = window.PageControl1;
    QCOMPARE(tabs->isTabVisible(tabs->indexOf(window.Db())), !production);
    QCOMPARE(tabs->isTabVisible(tabs->indexOf(window.Plc())), !production);
    QVERIFY(catcher.messages.isEmpty());
    QCOMPARE(window.helpPath(), QDir::toNativeSeparators(place.path("Setting_Zr_347.chm")));
    QCOMPARE(window.logPath(), QDir::toNativeSeparators(place.logPath()));

    // On the production line the new address follows the number's last two digits.
    Settings<QSpinBox>(window, "SpinNewAddr")->setValue(1);
    Settings<QSpinBox>(window, "SpinEdit_Number")->setValue(120034);
    QCOMPARE(Settings<QSpinBox>(window, "SpinNewAddr")->value(), production ? 34 : 1);
    // Nothing is logged there; the database keeps the record.
    window.LogOperation(QStringLiteral("Номер=120034"));
    QCOMPARE(QFile::exists(place.logPath()), !production);
}

void TestSetup::settingsSurviveRestart()
{
    MessageCatcher catcher;
    Place place;
    const QString port = QStringLiteral("/tmp/zr-setup-b");
    {
        MainWindow window(place.startUp(), Ports({"/tmp/zr-setup-a", port}, false));
        zr::shell::ConnectionPanel* panel = window.Connection();
        panel->ComboPort->setCurrentText(port);
        panel->ComboBaud->setCurrentIndex(2);
        panel->SpinTimer->setValue(1300);
        panel->CheckScaner->setChecked(true);
        // Outside production mode the device numbers are not kept.
        Settings<QSpinBox>(window, "SpinDDM_A")->setValue(77);
        window.close();
    }
    QSettings& kept = place.reopen();
    QCOMPARE(kept.value("Baudrate").toInt(), 2);
    QCOMPARE(kept.value("Port").toString(), port);
    QVERIFY(!kept.contains("DDMA"));
    MainWindow window(place.startUp(), Ports({"/tmp/zr-setup-a", port}, false));
    zr::shell::ConnectionPanel* panel = window.Connection();
    QCOMPARE(panel->ComboBaud->currentText(), QStringLiteral("19200"));
    QCOMPARE(panel->SpinTimer->value(), 1300);
    QVERIFY(panel->CheckScaner->isChecked());
    QCOMPARE(Settings<QSpinBox>(window, "SpinDDM_A")->value(), 0);
    QVERIFY(catcher.messages.isEmpty());
}

void TestSetup::badSettingsStartNormally()
{
    MessageCatcher catcher;
    Place place;
    place.settings->setValue("Timeout", 50);
    place.settings->setValue("Baudrate", "fast");
    place.settings->setValue("DDMB", 99999999);
    place.settings->sync();
    MainWindow window(place.startUp());
    zr::shell::ConnectionPanel* panel = window.Connection();
    QCOMPARE(panel->SpinTimer->value(), 200);
    QCOMPARE(panel->ComboBaud->currentText(), QStringLiteral("4800"));
    QCOMPARE(Settings<QSpinBox>(window, "SpinDDM_B")->value(), 16777215);
    QCOMPARE(catcher.messages.size(), 1);
    QVERIFY2(catcher.messages[0].text.contains("Baudrate"), qPrintable(catcher.messages[0].text));
    QVERIFY(window.ActionConnect->isEnabled());
}

void TestSetup::helpOpensThroughTheDesktop()
{
    Place place;
    MainWindow window(place.startUp());
    QStringList opened;
    window.openFile = [&](const QString& path) { opened.append(path); };
    window.N20->trigger();
    QCOMPARE(opened, QStringList{window.helpPath()});
}

void TestSetup::productionIdentifiesOnActivation()
{
    Place place;
    QFile marker(place.path("SettingSql.zur"));
    QVERIFY(marker.open(QIODevice::WriteOnly));
    MainWindow window(place.startUp());
    QVERIFY(window.OperatingModes().production);
    int identified = 0;
    window.identify = [&] { ++identified; };
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTRY_COMPARE(identified, 1);
}

void TestSetup::everySettingOnPseudoTerminal()
{
    QProcess sim;
    sim.start(QStringLiteral(ZR_SIM_TOOL), {"--pty", "--number", "0", "--password", "abc"});
    QVERIFY(sim.waitForStarted());
    QVERIFY(sim.waitForReadyRead(10000));
    const QString path = QString::fromLocal8Bit(sim.readLine()).trimmed();
    QVERIFY2(path.startsWith("/dev/"), qPrintable(path));

    MessageCatcher catcher;
    Place place;
    place.settings->setValue("Master", 1);
    MainWindow window(place.startUp(), Ports({path}, false));
    window.Protocol()->CheckBox_Terminal->setChecked(true);
    window.Connection()->LabeledPass2->setText("abc");
    window.show();
    window.ActionConnect->trigger();
    QVERIFY(window.SerialLine()->isOpen());
    QTRY_COMPARE_WITH_TIMEOUT(window.Device()->factoryNumberText(), QStringLiteral("0"), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(window.ActionSetting->isEnabled(), 10000);

    const QDateTime written(QDate(2026, 3, 1), QTime(12, 0, 0));
    Settings<QDateEdit>(window, "DatePicker")->setDate(written.date());
    Settings<QTimeEdit>(window, "TimePicker")->setTime(written.time());
    Settings<QCheckBox>(window, "CheckBoxClock")->setChecked(true);
    for (const char* name : {"CheckAddr", "CheckTime", "CheckShedule", "CheckIndi", "CheckIntegra",
                             "CheckPassword", "CheckDDM", "CheckResetTariff"})
        Settings<QCheckBox>(window, name)->setChecked(true);
    Settings<QLineEdit>(window, "LabeledPass1")->setText("xyz123");
    Settings<QSpinBox>(window, "SpinEdit_Number")->setValue(120034);
    Settings<QSpinBox>(window, "SpinDay")->setValue(25);
    Settings<QSpinBox>(window, "SpinHour")->setValue(9);
    auto* indication = Settings<QListWidget>(window, "CheckSetIndi");
    for (int item : {0, 2, 4})
        indication->item(item)->setCheckState(Qt::Checked);
    Settings<QSpinBox>(window, "SpinIntegra")->setValue(30);
    Settings<QSpinBox>(window, "SpinDDM_A")->setValue(1);
    Settings<QSpinBox>(window, "SpinDDM_B")->setValue(65536);
    Settings<QSpinBox>(window, "SpinDDM_C")->setValue(16777215);
    Settings<QComboBox>(window, "ComboTarifDDM")->setCurrentIndex(8);
    Settings<QSpinBox>(window, "SpinNewAddr")->setValue(7);
    Settings<QComboBox>(window, "ComboNewBaud")->setCurrentIndex(1);

    QSignalSpy drained(window.Link(), &zr::link::MeterLink::resultIndicator);
    window.ActionSetting->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(drained.count(), 1, 20000);
    QVERIFY(drained[0][0].toBool());
    QVERIFY2(catcher.messages.isEmpty(), qPrintable(catcher.messages.value(0).text));
    QCOMPARE(window.Settings()->lastBatchInput().factoryNumber, 120034);

    // The PC side followed the new link parameters and the new password.
    zr::shell::ConnectionPanel* panel = window.Connection();
    QCOMPARE(panel->SpinAddr->value(), 7);
    QCOMPARE(window.Link()->address(), 7);
    QCOMPARE(panel->ComboBaud->currentText(), QStringLiteral("9600"));
    QCOMPARE(panel->LabeledPass2->text(), QStringLiteral("xyz123"));

    // One line per acknowledgement, in the order of the answers, bytes in Windows-1251.
    const QStringList expected = {
        "Время=" + zr::meter::FormatDateTime(written, QLocale()) + " Автопереход на летнее время",
        "Пароль=xyz123",
        "Номер=120034",
        "Plc-группа=100, Plc-адрес=34",
        "Расчетный день=25 Расчетный час=9",
        "Режим индикации=Суммарное потребление Дата Автопереключение индикации ",
        "Время интегрирования детектора пиковой можщности=30",
        "ДДМ=1,65536,16777215 Режим тарификации=  8",
        "Адрес=7 Скорость=9600",
    };
    QCOMPARE(Events(place.logPath()), Cp1251(expected));
    for (const QByteArray& line : LogFileLines(place.logPath()))
        QVERIFY2(line.startsWith("0["), line.constData());
    QFile file(place.logPath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().contains("] \xCF\xE0\xF0\xEE\xEB\xFC=xyz123\r\n"));

    // The meter took exactly what was written, and answers at the new address and speed with
    // the new password.
    using zr::meter::DeviceState;
    const DeviceState& device = *window.Device();
    std::optional<zr::meter::BillingInfo> b;
    std::optional<zr::meter::IntegrationInfo> integration;
    std::optional<zr::meter::IndicationInfo> shown;
    std::optional<zr::meter::DdmNumbersInfo> d;
    std::optional<zr::meter::ClockInfo> c;
    connect(&device, &DeviceState::billingRead, this, [&](const auto& info) { b = info; });
    connect(&device, &DeviceState::integrationRead, this,
            [&](const auto& info) { integration = info; });
    connect(&device, &DeviceState::indicationRead, this, [&](const auto& info) { shown = info; });
    connect(&device, &DeviceState::ddmNumbersRead, this, [&](const auto& info) { d = info; });
    connect(&device, &DeviceState::clockRead, this, [&](const auto& info) { c = info; });
    QTRY_VERIFY_WITH_TIMEOUT(b && integration && shown && d && c, 20000);
    QTRY_COMPARE_WITH_TIMEOUT(device.factoryNumberText(), QStringLiteral("120034"), 10000);
    disconnect(&device, nullptr, this, nullptr);
    QCOMPARE(b->day, 25);
    QCOMPARE(b->hour, 9);
    QCOMPARE(integration->minutes, 30);
    QCOMPARE(int(shown->mask), 0x15);
    QCOMPARE(d->numbers, (std::array<uint32_t, 3>{1, 65536, 16777215}));
    QCOMPARE(int(d->mode), 8);
    QVERIFY(c->clockShown);
    const QDateTime meterClock = zr::meter::DecodeMeterTimestamp(c->clockSeconds);
    QVERIFY2(meterClock >= written.addSecs(3) && meterClock <= written.addSecs(120),
             qPrintable(meterClock.toString(Qt::ISODate)));
    QCOMPARE(c->summer, QStringLiteral("да"));
    QTRY_COMPARE_WITH_TIMEOUT(Plc<QLineEdit>(window, "EditGroup")->text(), QStringLiteral("100"),
                              10000);
    QCOMPARE(Plc<QLineEdit>(window, "EditAddress")->text(), QStringLiteral("34"));
    QCOMPARE(window.Link()->consecutiveTimeouts(), 0);

    // The new password opens the meter for the next write.
    UntickAll(window);
    Settings<QCheckBox>(window, "CheckIntegra")->setChecked(true);
    Settings<QSpinBox>(window, "SpinIntegra")->setValue(5);
    window.ActionSetting->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(drained.count(), 2, 20000);
    QVERIFY(drained[1][0].toBool());
    QVERIFY(catcher.messages.isEmpty());
    QCOMPARE(Events(place.logPath()).last(),
             zr::link::Cp1251Bytes("Время интегрирования детектора пиковой можщности=5"));

    window.ActionDisconnect->trigger();
    sim.terminate();
    QVERIFY(sim.waitForFinished(5000));
}

void TestSetup::wrongPasswordLogsNothing()
{
    Demo d;
    d.connect();
    d.window.Connection()->LabeledPass2->setText("wrong");
    UntickAll(d.window);
    Settings<QCheckBox>(d.window, "CheckShedule")->setChecked(true);
    Settings<QSpinBox>(d.window, "SpinDay")->setValue(17);
    const uint8_t day = d.meter().billingDay;
    d.window.ActionSetting->trigger();
    QVERIFY(!d.result());
    QCOMPARE(d.catcher.messages.size(), 1);
    QCOMPARE(d.catcher.messages[0].text,
             QStringLiteral("Во время записи установок произошла ошибка. Описание смотрите на "
                            "закладке Протокол."));
    QCOMPARE(d.meter().billingDay, day);
    QVERIFY(!QFile::exists(d.place.logPath()));
}

void TestSetup::refusedValueQueuesNothing()
{
    Demo d;
    d.connect();
    // A typed DDM mode selects no item and goes out as FF; a route number beyond 24 bits cannot.
    const auto routes = d.meter().routes;
    Plc<QSpinBox>(d.window, "SpinRoute")->setValue(2);
    Plc<QLineEdit>(d.window, "EditNumb")->setText("16777216");
    d.window.Plc()->BtnWriteRouteClick();
    QCOMPARE(d.catcher.messages.size(), 1);
    QVERIFY(!d.catcher.messages[0].text.isEmpty());
    Plc<QLineEdit>(d.window, "EditNumb")->setText("12ab");
    d.window.Plc()->BtnWriteRouteClick();
    QCOMPARE(d.catcher.messages.size(), 2);
    QVERIFY(!d.window.Link()->settingsWriteMark());
    QTest::qWait(300);
    QVERIFY(!QFile::exists(d.place.logPath()));
    QCOMPARE(d.meter().routes[2].number, routes[2].number);
}

void TestSetup::unwritableLogTellsTheUser()
{
    Demo d;
    // A directory where the log file should be: no one can write the line.
    QVERIFY(QDir(d.place.dir.path()).mkdir("Setting_Zr_347.log"));
    d.connect();
    UntickAll(d.window);
    Settings<QCheckBox>(d.window, "CheckIntegra")->setChecked(true);
    Settings<QCheckBox>(d.window, "CheckShedule")->setChecked(true);
    Settings<QSpinBox>(d.window, "SpinIntegra")->setValue(12);
    Settings<QSpinBox>(d.window, "SpinDay")->setValue(3);
    d.window.ActionSetting->trigger();
    QVERIFY(d.result());
    QCOMPARE(int(d.meter().integration), 11);
    QCOMPARE(int(d.meter().billingDay), 3);
    const QString status = d.window.StatusLogError->text();
    QVERIFY2(status.startsWith("Журнал операций не записан: ") &&
                 status.size() > QStringLiteral("Журнал операций не записан: ").size(),
             qPrintable(status));
    QCOMPARE(zr::test::LogLines(d.window).filter(status).size(), 2);
    QVERIFY(d.catcher.messages.isEmpty());
}

void TestSetup::powerLineParameters()
{
    Demo d;
    d.connect();
    d.meter().routes[1] = {true, 9, 777};
    Plc<QSpinBox>(d.window, "SpinGroup")->setValue(12);
    Plc<QSpinBox>(d.window, "SpinAddress")->setValue(34);
    d.window.Plc()->BtnWriteAddressClick();
    Plc<QSpinBox>(d.window, "SpinRoute")->setValue(2);
    Plc<QSpinBox>(d.window, "SpinAddrRep")->setValue(7);
    Plc<QLineEdit>(d.window, "EditNumb")->setText("123456");
    d.window.Plc()->BtnWriteRouteClick();
    Plc<QSpinBox>(d.window, "SpinRoute")->setValue(1);
    d.window.Plc()->ButtonDelRouteClick();
    const QStringList expected = {"Plc-группа=12, Plc-адрес=34",
                                  "Plc-Маршрут=2, адрес=7, номер=123456", "Plc-Маршрут=1 удален"};
    QTRY_COMPARE_WITH_TIMEOUT(Events(d.place.logPath()), Cp1251(expected), 10000);
    QCOMPARE(int(d.meter().plcGroup), 12);
    QCOMPARE(int(d.meter().routes[2].address), 7);
    QCOMPARE(d.meter().routes[2].number, 123456u);
    // The idle cycle shows what the meter now holds.
    auto* routes = Plc<QTreeWidget>(d.window, "ListRoute");
    QTRY_COMPARE_WITH_TIMEOUT(routes->topLevelItem(2)->text(2), QStringLiteral("123456"), 10000);
    QTRY_COMPARE_WITH_TIMEOUT(routes->topLevelItem(1)->text(1), QString(), 10000);
    QCOMPARE(routes->topLevelItem(2)->text(1), QStringLiteral("7"));
    QTRY_COMPARE_WITH_TIMEOUT(Plc<QLineEdit>(d.window, "EditGroup")->text(), QStringLiteral("12"),
                              10000);
    QCOMPARE(Plc<QLineEdit>(d.window, "EditAddress")->text(), QStringLiteral("34"));
    QVERIFY(d.catcher.messages.isEmpty());
}

void TestSetup::viewerShowsOneMeter()
{
    Place place;
    QFile file(place.logPath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("004512[01.02.2026 10:00:00] \xCD\xEE\xEC\xE5\xF0=4512\r\n"
               "0[01.02.2026 10:01:00] A\r\n"
               "000000[01.02.2026 10:02:00] B\r\n"
               "004512[01.02.2026 10:03:00] C\r\n");
    file.close();
    MainWindow window(place.startUp());
    zr::shell::DbPage* db = window.Db();
    db->SpinFilter->setValue(4512);
    QCOMPARE(db->MemoDb->toPlainText(),
             QStringLiteral("[01.02.2026 10:00:00] Номер=4512\n[01.02.2026 10:03:00] C"));
    db->SpinFilter->setValue(0);
    QCOMPARE(db->MemoDb->toPlainText(), QStringLiteral("[01.02.2026 10:02:00] B"));
    db->SpinFilter->setValue(1234567);
    QCOMPARE(db->MemoDb->toPlainText(), QString());
}

void TestSetup::standardButtonsSpeakRussian()
{
    QVERIFY(zr::shell::InstallRussianTranslations(*qApp));
    QMessageBox box(QMessageBox::Question, QString(), QString(),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    QStringList captions;
    for (auto button : {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel})
        captions.append(box.button(button)->text().remove(QLatin1Char('&')));
    QCOMPARE(captions, (QStringList{"Да", "Нет", "Отмена"}));
}

int main(int argc, char** argv)
{
    zr::shell::Application app(argc, argv);
    TestSetup test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_setup.moc"
