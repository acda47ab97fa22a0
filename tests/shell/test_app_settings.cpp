#include "shell/app_settings.h"
#include "shell/operating_modes.h"

#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace zr;
using namespace zr::shell;

class TestAppSettings : public QObject
{
    Q_OBJECT

    QTemporaryDir dir_;
    int files_ = 0;

    // A settings file of its own for every test, pre-filled with `stored`.
    std::unique_ptr<QSettings> settings(const QVariantMap& stored = {})
    {
        auto s = std::make_unique<QSettings>(
            dir_.filePath(QStringLiteral("settings%1.conf").arg(++files_)), QSettings::IniFormat);
        for (auto it = stored.begin(); it != stored.end(); ++it)
            s->setValue(it.key(), it.value());
        s->sync();
        return s;
    }
    // The same file, read anew as at the next start.
    static std::unique_ptr<QSettings> reopened(const QSettings& s)
    {
        return std::make_unique<QSettings>(s.fileName(), QSettings::IniFormat);
    }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void userSettingsStore()
    {
        const auto s = UserSettings();
        QCOMPARE(s->organizationName(), QStringLiteral("Quenvoll"));
        QCOMPARE(s->applicationName(), QStringLiteral("ZR-347"));
        QCOMPARE(s->format(), QSettings::NativeFormat);
    }

    void defaults()
    {
        const auto s = settings();
        const LoadedSettings loaded = LoadAppSettings(*s, false);
        QVERIFY(loaded.problems.isEmpty());
        const AppSettings& v = loaded.values;
        QCOMPARE(v.meterPort, QStringLiteral("1"));
        QCOMPARE(v.scannerPort, QStringLiteral("2"));
        QCOMPARE(v.baudIndex, 0);
        QCOMPARE(v.timeoutMs, 500);
        QVERIFY(!v.master && !v.noUser && !v.scanner);
        QCOMPARE(v.ddmNumbers, (std::array<int, 3>{0, 0, 0}));
    }

    // Saving into an empty store creates the values the next start reads.
    void survivesARestart_data()
    {
        QTest::addColumn<bool>("windowsRules");
        QTest::addColumn<QString>("meterPort");
        QTest::addColumn<QString>("scannerPort");
        QTest::newRow("names") << false << "/dev/ttyUSB0"
                               << "/dev/ttyS1";
        QTest::newRow("numbers") << true << "3"
                                 << "12";
    }

    void survivesARestart()
    {
        QFETCH(bool, windowsRules);
        QFETCH(QString, meterPort);
        QFETCH(QString, scannerPort);
        const auto s = settings();
        AppSettings v;
        v.meterPort = meterPort;
        v.scannerPort = scannerPort;
        v.baudIndex = 2;
        v.timeoutMs = 1700;
        v.scanner = true;
        v.ddmNumbers = {5, 6, 7};
        SaveAppSettings(*s, v, false, windowsRules);
        const auto next = reopened(*s);
        QCOMPARE(next->allKeys(), (QStringList{"Baudrate", "Port", "Scan", "Scaner", "Timeout"}));
        if (windowsRules)
            QCOMPARE(next->value("Port").toString(), meterPort); // a number, no "COM"
        const LoadedSettings loaded = LoadAppSettings(*next, windowsRules);
        QVERIFY(loaded.problems.isEmpty());
        QCOMPARE(loaded.values.meterPort, meterPort);
        QCOMPARE(loaded.values.scannerPort, scannerPort);
        QCOMPARE(loaded.values.baudIndex, 2);
        QCOMPARE(loaded.values.timeoutMs, 1700);
        QVERIFY(loaded.values.scanner);
        QCOMPARE(loaded.values.ddmNumbers, (std::array<int, 3>{0, 0, 0})); // not production
    }

    void portsOnlyWhenThere()
    {
        const auto s = settings({{"Port", 4}, {"Scaner", 5}});
        AppSettings v;
        v.meterPort = QStringLiteral("0");
        v.scannerPort = QString();
        SaveAppSettings(*s, v, false, true);
        v.meterPort.clear();
        SaveAppSettings(*s, v, false, false);
        QCOMPARE(reopened(*s)->value("Port").toInt(), 4);
        QCOMPARE(reopened(*s)->value("Scaner").toInt(), 5);
    }

    // In production mode only, and a number of 0 keeps the one stored before.
    void deviceNumbers()
    {
        const auto s = settings({{"DDMB", 77}});
        AppSettings v;
        v.ddmNumbers = {16777215, 0, 3};
        SaveAppSettings(*s, v, true, false);
        const LoadedSettings loaded = LoadAppSettings(*reopened(*s), false);
        QCOMPARE(loaded.values.ddmNumbers, (std::array<int, 3>{16777215, 77, 3}));
    }

    void speedUnderEitherSpelling()
    {
        QCOMPARE(LoadAppSettings(*settings({{"BaudRate", 3}}), false).values.baudIndex, 3);
        QCOMPARE(LoadAppSettings(*settings({{"Baudrate", 1}}), false).values.baudIndex, 1);
    }

    void clamped_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<int>("value");
        QTest::newRow("time-out below 200") << "Timeout" << QVariant(100) << 200;
        QTest::newRow("time-out above 10000") << "Timeout" << QVariant(20000) << 10000;
        QTest::newRow("time-out as text") << "Timeout" << QVariant("900") << 900;
        QTest::newRow("device number negative") << "DDMA" << QVariant(-5) << 0;
        QTest::newRow("device number above 24 bits") << "DDMC" << QVariant(99999999) << 16777215;
        QTest::newRow("speed index 4: no selection") << "BaudRate" << QVariant(4) << -1;
        QTest::newRow("speed index -2: no selection") << "BaudRate" << QVariant(-2) << -1;
    }

    void clamped()
    {
        QFETCH(QString, name);
        QFETCH(QVariant, stored);
        QFETCH(int, value);
        const LoadedSettings loaded = LoadAppSettings(*settings({{name, stored}}), false);
        QVERIFY(loaded.problems.isEmpty());
        const AppSettings& v = loaded.values;
        const int read = name == u"Timeout" ? v.timeoutMs
                         : name == u"DDMA"  ? v.ddmNumbers[0]
                         : name == u"DDMC"  ? v.ddmNumbers[2]
                                            : v.baudIndex;
        QCOMPARE(read, value);
    }

    // Each wrong value is named in its own message and replaced by its default; the others load.
    void wrongTypes()
    {
        const auto s = settings({{"Timeout", "быстро"},
                                 {"Scan", "maybe"},
                                 {"Port", "COM3"},
                                 {"DDMA", QStringList{"1", "2"}},
                                 {"Scaner", 7}});
        const LoadedSettings loaded = LoadAppSettings(*s, true);
        QCOMPARE(loaded.problems.size(), 4);
        for (const char* name : {"«Timeout»", "«Scan»", "«Port»", "«DDMA»"}) {
            QVERIFY2(!loaded.problems.filter(QString::fromUtf8(name)).isEmpty(), name);
        }
        QVERIFY(loaded.problems.filter("«Timeout»").first().contains("«500»"));
        QCOMPARE(loaded.values.timeoutMs, 500);
        QVERIFY(!loaded.values.scanner);
        QCOMPARE(loaded.values.meterPort, QStringLiteral("1"));
        QCOMPARE(loaded.values.ddmNumbers[0], 0);
        QCOMPARE(loaded.values.scannerPort, QStringLiteral("7"));
    }

    // Sites without ODBC name their own driver and server; the default stays the data source
    // "Electrometer", and a store on the defaults gets no "Database" group.
    void databaseOptions()
    {
        const auto s = settings();
        AppSettings v = LoadAppSettings(*s, true).values;
        QCOMPARE(v.database.driver, QStringLiteral("QODBC"));
        QCOMPARE(v.database.database, QStringLiteral("Electrometer"));
        QVERIFY(v.database.host.isEmpty() && v.database.user.isEmpty() &&
                v.database.password.isEmpty() && v.database.connectOptions.isEmpty());
        QCOMPARE(v.database.port, 0);
        SaveAppSettings(*s, v, true, true);
        QVERIFY(reopened(*s)->childGroups().isEmpty());

        v.database = {"QPSQL", "electrometer", "db.example.local", 5433,
                      "line",  "secret",       "connect_timeout=5"};
        SaveAppSettings(*s, v, true, true);
        const auto next = reopened(*s);
        QCOMPARE(next->value("Database/Port").toInt(), 5433);
        const LoadedSettings loaded = LoadAppSettings(*next, true);
        QVERIFY(loaded.problems.isEmpty());
        const production::DbOptions& db = loaded.values.database;
        QCOMPARE(db.driver, QStringLiteral("QPSQL"));
        QCOMPARE(db.database, QStringLiteral("electrometer"));
        QCOMPARE(db.host, QStringLiteral("db.example.local"));
        QCOMPARE(db.port, 5433);
        QCOMPARE(db.user, QStringLiteral("line"));
        QCOMPARE(db.password, QStringLiteral("secret"));
        QCOMPARE(db.connectOptions, QStringLiteral("connect_timeout=5"));
    }

    void databaseWrongTypes()
    {
        const auto s = settings({{"Database/Port", "пятый"},
                                 {"Database/Driver", QStringList{"QPSQL", "QMYSQL"}},
                                 {"Database/Host", "db.example.local"}});
        const LoadedSettings loaded = LoadAppSettings(*s, false);
        QCOMPARE(loaded.problems.size(), 2);
        QVERIFY(loaded.problems.filter("«Database/Port»").first().contains("«0»"));
        QVERIFY(loaded.problems.filter("«Database/Driver»").first().contains("«QODBC»"));
        QCOMPARE(loaded.values.database.port, 0);
        QCOMPARE(loaded.values.database.driver, QStringLiteral("QODBC"));
        QCOMPARE(loaded.values.database.host, QStringLiteral("db.example.local"));
        QCOMPARE(LoadAppSettings(*settings({{"Database/Port", 70000}}), false).values.database.port,
                 65535);
    }

    void scannerFlag_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<bool>("on");
        QTest::newRow("1") << QVariant(1) << true;
        QTest::newRow("0") << QVariant(0) << false;
        QTest::newRow("true") << QVariant(true) << true;
        QTest::newRow("false") << QVariant(false) << false;
    }

    void scannerFlag()
    {
        QFETCH(QVariant, stored);
        QFETCH(bool, on);
        const LoadedSettings loaded = LoadAppSettings(*settings({{"Scan", stored}}), false);
        QVERIFY(loaded.problems.isEmpty());
        QCOMPARE(loaded.values.scanner, on);
    }

    // Presence alone counts, whatever the data; neither is ever written back.
    void accessFlags()
    {
        const auto s = settings({{"Master", ""}, {"NoUser", 0}});
        const LoadedSettings loaded = LoadAppSettings(*s, false);
        QVERIFY(loaded.values.master);
        QVERIFY(loaded.values.noUser);
        QVERIFY(!LoadAppSettings(*settings({{"Master", 1}}), false).values.noUser);
        const auto empty = settings();
        SaveAppSettings(*empty, loaded.values, true, false);
        QVERIFY(!reopened(*empty)->contains("Master"));
        QVERIFY(!reopened(*empty)->contains("NoUser"));
    }

    void modes_data()
    {
        QTest::addColumn<bool>("marker");
        QTest::addColumn<bool>("masterValue");
        QTest::addColumn<bool>("noUserValue");
        QTest::addColumn<bool>("production");
        QTest::addColumn<bool>("master");
        QTest::addColumn<bool>("newPassword");
        QTest::newRow("plain") << false << false << false << false << false << true;
        QTest::newRow("Master") << false << true << false << false << true << true;
        QTest::newRow("NoUser") << false << false << true << false << false << false;
        QTest::newRow("Master and NoUser") << false << true << true << false << true << false;
        QTest::newRow("production") << true << false << false << true << true << true;
        QTest::newRow("production, Master") << true << true << false << true << true << true;
        QTest::newRow("production, NoUser") << true << false << true << true << true << false;
        QTest::newRow("production, both") << true << true << true << true << true << false;
    }

    void modes()
    {
        QFETCH(bool, marker);
        QFETCH(bool, masterValue);
        QFETCH(bool, noUserValue);
        QFETCH(bool, production);
        QFETCH(bool, master);
        QFETCH(bool, newPassword);
        const OperatingModes m = DecideModes(marker, masterValue, noUserValue);
        QCOMPARE(m.production, production);
        QCOMPARE(m.master, master);
        QCOMPARE(m.newPasswordAllowed, newPassword);
    }

    void filesInTheWorkingDirectory()
    {
        const QString wd = dir_.path();
        const QString sep = QDir::separator();
        QCOMPARE(HelpPath(wd), QDir::toNativeSeparators(wd) + sep + "Setting_Zr_347.chm");
        QCOMPARE(OperationLogPath(wd), QDir::toNativeSeparators(wd) + sep + "Setting_Zr_347.log");
        QCOMPARE(ProductionMarkerPath(wd), QDir::toNativeSeparators(wd) + sep + "SettingSql.zur");
    }
};

QTEST_GUILESS_MAIN(TestAppSettings)
#include "test_app_settings.moc"
