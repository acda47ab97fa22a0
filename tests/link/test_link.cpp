#include "link/cp1251.h"
#include "link/frame.h"
#include "link/idle_poll.h"
#include "link/line_speed.h"
#include "link/meter_link.h"
#include "link/password.h"
#include "link/port_name.h"
#include "link/traffic_log.h"
#include "support/fake_port.h"
#include "support/hex.h"
#include "support/response.h"

#include <QtTest>

using namespace zr::link;
using zr::frame::AppendCrc;
using zr::test::Ack;
using zr::test::FakePort;
using zr::test::Hex;

namespace
{

const QTime kClock(14, 3, 7, 125);

// The link on a fake port, with every signal recorded.
struct Rig {
    FakePort port;
    MeterLink link{port};
    QStringList log;
    QList<bool> meterControls;
    QList<bool> indicator;
    QStringList messages;
    QList<int> addresses;
    QString panel[2];
    int resets = 0;
    int drained = 0;
    int cleared = 0;
    bool setting = false;
    bool fixDb = false;
    bool findAddress = false;
    bool gaugeSched = false;
    bool gaugeJournal = true;

    Rig()
    {
        link.setClock([] { return kClock; });
        link.setTimeout(10000); // time-outs are triggered by hand
        link.setTrafficLog(true);
        link.setMasterMode(true);
        QObject::connect(&link, &MeterLink::trafficLine, [this](const QString& l) { log << l; });
        QObject::connect(&link, &MeterLink::trafficCleared, [this] { ++cleared; });
        QObject::connect(&link, &MeterLink::meterControlsEnabled,
                         [this](bool on) { meterControls << on; });
        QObject::connect(&link, &MeterLink::resultIndicator, [this](bool ok) { indicator << ok; });
        QObject::connect(&link, &MeterLink::failureMessage,
                         [this](const QString& c, const QString& t) { messages << c + "|" + t; });
        QObject::connect(&link, &MeterLink::addressChanged, [this](int a) {
            addresses << a;
            link.setAddress(a); // as SpinAddr would
        });
        QObject::connect(&link, &MeterLink::statusText,
                         [this](int p, const QString& t) { panel[p] = t; });
        QObject::connect(&link, &MeterLink::displayResetRequested, [this] { ++resets; });
        QObject::connect(&link, &MeterLink::settingsBatchDrained, [this] { ++drained; });
        QObject::connect(&link, &MeterLink::actionSettingEnabled,
                         [this](bool on) { setting = on; });
        QObject::connect(&link, &MeterLink::actionFixDbEnabled, [this](bool on) { fixDb = on; });
        QObject::connect(&link, &MeterLink::actionFindAddressEnabled,
                         [this](bool on) { findAddress = on; });
        QObject::connect(&link, &MeterLink::gaugeSchedVisible, [this](bool v) { gaugeSched = v; });
        QObject::connect(&link, &MeterLink::gaugeJournalVisible,
                         [this](bool v) { gaugeJournal = v; });
    }

    QTimer* timer(const char* name) { return link.findChild<QTimer*>(QLatin1String(name)); }

    // Connect and run the start tick: 00 02 is at the head.
    void start()
    {
        QVERIFY(link.ActionConnectExecute(QStringLiteral("ttyS0")));
        link.TimerStartTimer();
    }
    // Sends the address byte; returns it as written.
    FakePort::Write tick()
    {
        link.Timer1Timer();
        return port.writes.last();
    }
    // Address byte and echo; returns the request frame written after the echo.
    QByteArray handshake()
    {
        tick();
        port.deliver(QByteArray(1, char(link.address())));
        return port.writes.last().bytes;
    }
    // One whole exchange answered by `response` (a bare acknowledgement by default).
    QByteArray exchange(const QByteArray& response = {})
    {
        const QByteArray sent = handshake();
        port.deliver(response.isEmpty() ? Ack(sent) : response);
        return sent;
    }
};

} // namespace

class TestLink : public QObject
{
    Q_OBJECT
private slots:
    // --- Pure helpers ---

    void passwordBytes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QString() << Hex("000000000000");
        QTest::newRow("ascii") << "ab1" << Hex("616231000000");
        QTest::newRow("cyrillic") << "Пароль" << Hex("CFE0F0EEEBFC");
        QTest::newRow("ё Ё № ї") << "ёЁ№ї" << Hex("B8A8B9BF0000");
        QTest::newRow("longer than six") << "1234567" << Hex("313233343536");
        QTest::newRow("not in the code page") << "ä€☺" << Hex("3F883F000000");
    }
    void passwordBytes()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(PasswordBytes(text), bytes);
    }
    void cp1251WholeText()
    {
        QCOMPARE(Cp1251Bytes(QString()), QByteArray());
        QCOMPARE(Cp1251Bytes("Журнал №7 ä"), Hex("C6F3F0EDE0EB20B93720") + "?");
    }

    void scramble_data()
    {
        QTest::addColumn<QByteArray>("plain");
        QTest::addColumn<uint>("number");
        QTest::addColumn<uint>("running");
        QTest::addColumn<QByteArray>("scrambled");
        QTest::newRow("worked example")
            << Hex("000000000000") << 1193046u << 109517u << Hex("9B9FDFFDF9B9");
        QTest::newRow("number above 24 bits and time above 16 ignored")
            << Hex("000000000000") << 0xFF123456u << 0xFFFFABCDu << Hex("9B9FDFFDF9B9");
        QTest::newRow("zero keys keep the text")
            << Hex("CFE0F0EEEBFC") << 0u << 0u << Hex("CFE0F0EEEBFC");
    }
    void scramble()
    {
        QFETCH(QByteArray, plain);
        QFETCH(uint, number);
        QFETCH(uint, running);
        QFETCH(QByteArray, scrambled);
        QCOMPARE(ScramblePassword(plain, number, running), scrambled);
    }

    void passwordHint_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("hint");
        QTest::newRow("empty") << QString() << "00 00 00 00 00 00 ";
        QTest::newRow("two") << "aZ"
                             << "61 5A 00 00 00 00 ";
        QTest::newRow("cyrillic") << "Пароль"
                                  << "CF E0 F0 EE EB FC ";
    }
    void passwordHint()
    {
        QFETCH(QString, text);
        QFETCH(QString, hint);
        QCOMPARE(PasswordHint(text), hint);
        QCOMPARE(kInitialPasswordHint, QStringLiteral("00 00 00 00 00 00"));
    }

    void logLines()
    {
        QCOMPARE(SendAddressLine(kClock, 5), QStringLiteral("14:03:07.125 Send 05"));
        QCOMPARE(SendAddressLine(QTime(0, 0), 0xAB), QStringLiteral("00:00:00.000 Send AB"));
        QCOMPARE(ReceivedLine(QTime(23, 59, 59, 9), Hex("05")),
                 QStringLiteral("23:59:59.009 Received: 05 "));
        QCOMPARE(SendFrameLine(kClock, Hex("010281E1")),
                 QStringLiteral("14:03:07.125 Send 01 02 81 E1 "));
        QCOMPARE(TimeoutLine(QTime(14, 3, 7, 641)), QStringLiteral("14:03:07:641 Timeout."));
    }

    void idleRequest_data()
    {
        QTest::addColumn<uint>("step");
        QTest::addColumn<QString>("tariff");
        QTest::addColumn<QByteArray>("frame");
        const char* frames[] = {"0002", "0102",   "0402",   "2202",   "0802",  "1102",
                                "1E02", "0F0300", "0C02",   "2C02",   "1002",  "0D02",
                                "0A02", "200300", "200301", "200302", "200303"};
        for (uint step = 0; step < 17; ++step)
            QTest::addRow("step %u", step) << step << QString() << Hex(frames[step]);
        QTest::newRow("tariff 3") << 7u << "3" << Hex("0F0302");
        QTest::newRow("tariff 1") << 7u << " 1 " << Hex("0F0300");
        QTest::newRow("tariff 8") << 7u << "8" << Hex("0F0307");
        QTest::newRow("tariff text") << 7u << "abc" << Hex("0F0300");
        QTest::newRow("tariff 0 wraps to one byte") << 7u << "0" << Hex("0F03FF");
        QTest::newRow("step 17 is step 0") << 17u << QString() << Hex("0002");
    }
    void idleRequest()
    {
        QFETCH(uint, step);
        QFETCH(QString, tariff);
        QFETCH(QByteArray, frame);
        QCOMPARE(IdleRequest(step, tariff), frame);
    }

    void portNames()
    {
        QCOMPARE(PortNumber("COM3"), 3);
        QCOMPARE(PortNumber("Com12"), 12);
        QCOMPARE(PortNumber("COM"), 0);
        QCOMPARE(PortNumber(""), 0);
        QCOMPARE(PortNumber("ttyS0"), 0);
        QCOMPARE(BaudForIndex(0), 4800);
        QCOMPARE(BaudForIndex(3), 38400);
        QCOMPARE(BaudForIndex(4), 0);
        QCOMPARE(BaudForIndex(-1), 0);
        QCOMPARE(IndexOfBaud(38400), 3);
        QCOMPARE(IndexOfBaud(2400), -1);
        QCOMPARE(LineSpeedTexts(), QStringList({"4800", "9600", "19200", "38400"}));
    }

    // --- The link ---

    void timersAreNamedChildren()
    {
        Rig r;
        QCOMPARE(r.timer("Timer1")->interval(), 50);
        QCOMPARE(r.timer("TimerStart")->interval(), 100);
        r.link.setTimeout(700);
        QCOMPARE(r.timer("TimerOut")->interval(), 700);
        QVERIFY(!r.timer("Timer1")->isActive());
    }

    void workedExchange()
    {
        Rig r;
        r.link.setAddress(5);
        r.start();
        r.exchange(); // 00 02 of the start
        r.exchange(); // idle step 0
        const FakePort::Write address = r.tick();
        QCOMPARE(address.bytes, Hex("05"));
        QCOMPARE(address.parity, Parity::Mark);
        QVERIFY(r.timer("TimerOut")->isActive());
        QVERIFY(!r.timer("Timer1")->isActive());
        QCOMPARE(r.panel[0], QStringLiteral("2")); // does not count this exchange yet
        r.port.deliver(Hex("05"));
        QCOMPARE(r.port.writes.last().bytes, Hex("010281E1"));
        QCOMPARE(r.port.writes.last().parity, Parity::Space);
        QCOMPARE(r.panel[1], QStringLiteral("чтение номера"));
        QCOMPARE(r.link.exchangeCount(), 3);
        QByteArray seen;
        r.link.RegisterDecoder(zr::link::ReadNumber,
                               [&](const QByteArray& response) { seen = response; });
        r.port.deliver(Hex("010540E20191B8"));
        QCOMPARE(seen, Hex("010540E20191B8"));
        QVERIFY(!r.timer("TimerOut")->isActive());
        QCOMPARE(r.link.currentRequest(), AppendCrc(Hex("0402"))); // next idle step
        QCOMPARE(r.log.mid(r.log.size() - 4),
                 QStringList({"14:03:07.125 Send 05", "14:03:07.125 Received: 05 ",
                              "14:03:07.125 Send 01 02 81 E1 ",
                              "14:03:07.125 Received: 01 05 40 E2 01 91 B8 "}));
    }

    void idleRingSendsEveryStepInOrder()
    {
        Rig r;
        r.start();
        QCOMPARE(r.exchange(), AppendCrc(Hex("0002"))); // the start's own request
        r.link.setCurrentTariffText("4");
        for (uint round = 0; round < 2; ++round) {
            for (uint step = 0; step < 17; ++step)
                QCOMPARE(r.exchange(), AppendCrc(IdleRequest(step, "4")));
        }
        QCOMPARE(r.meterControls.last(), true);
        QVERIFY(r.link.idleReading());
    }

    void echoMismatchSendsNothing()
    {
        Rig r;
        r.link.setAddress(7);
        r.start();
        r.tick();
        const int writes = r.port.writes.size();
        r.port.deliver(Hex("08"));
        QCOMPARE(r.port.writes.size(), writes);
        QCOMPARE(r.port.parity(), Parity::Mark);
        r.link.TimerOutTimer();
        QCOMPARE(r.log.last(), QStringLiteral("14:03:07:125 Timeout."));
        QVERIFY(r.findAddress);
        QCOMPARE(r.link.consecutiveTimeouts(), 1);
        // The failure path emptied the queue and the idle ring went on at step 0.
        QCOMPARE(r.link.queue(), QList<QByteArray>{AppendCrc(Hex("0002"))});
        QCOMPARE(r.meterControls, QList<bool>{true});
    }

    void echoWithSurplusInOneChunk()
    {
        Rig r;
        r.start();
        r.tick();
        r.port.deliver(Hex("00") + Hex("0004AABB"));
        QCOMPARE(r.port.writes.last().bytes, AppendCrc(Hex("0002")));
        QByteArray seen;
        r.link.RegisterDecoder(zr::link::ReadVersion,
                               [&](const QByteArray& response) { seen = response; });
        r.port.deliver(AppendCrc(Hex("000401020304").left(4)));
        QCOMPARE(seen, AppendCrc(Hex("00040102")));
    }

    void responseSplitOverNotifications()
    {
        Rig r;
        r.start();
        int calls = 0;
        r.link.RegisterDecoder(zr::link::ReadVersion, [&](const QByteArray&) { ++calls; });
        r.handshake();
        const QByteArray response = AppendCrc(Hex("000601020304"));
        r.port.deliver(response.left(1));
        r.port.deliver(response.mid(1, 3));
        QCOMPARE(calls, 0);
        QVERIFY(r.timer("TimerOut")->isActive());
        r.port.deliver(response.mid(4));
        QCOMPARE(calls, 1);
        QCOMPARE(r.link.queue().size(), 1);
        QCOMPARE(r.link.currentRequest(), AppendCrc(Hex("0002"))); // idle step 0 follows
    }

    void surplusInTheLastChunk()
    {
        Rig r;
        r.start();
        int calls = 0;
        r.link.RegisterDecoder(zr::link::ReadVersion, [&](const QByteArray&) { ++calls; });
        r.handshake();
        r.port.deliver(Ack(Hex("00")) + Hex("00"));
        QCOMPARE(calls, 0);
        QCOMPARE(r.log.last(), QStringLiteral("Отклик длиннее требуемого"));
        QCOMPARE(r.link.currentRequest(), AppendCrc(Hex("0002"))); // idle step 0 after failure
    }

    void surplusAfterTheHandover_data()
    {
        QTest::addColumn<uint>("step");
        QTest::addColumn<QString>("message");
        // Late bytes join the old buffer, which is judged against the next request and costs it.
        QTest::newRow("next request has another code") << 0u << "Неверный отклик";
        QTest::newRow("next request has the same code") << 13u << "Отклик длиннее требуемого";
    }
    void surplusAfterTheHandover()
    {
        QFETCH(uint, step);
        QFETCH(QString, message);
        Rig r;
        r.start();
        r.exchange();
        for (uint i = 0; i <= step; ++i)
            r.exchange();
        QCOMPARE(r.link.currentRequest(), AppendCrc(IdleRequest(step + 1, {})));
        r.port.deliver(Hex("00"));
        QCOMPARE(r.log.last(), message);
        QCOMPARE(r.link.currentRequest(), AppendCrc(IdleRequest(step + 2, {})));
    }

    void sixthTimeout_data()
    {
        QTest::addColumn<bool>("production");
        QTest::newRow("service") << false;
        QTest::newRow("production") << true;
    }
    void sixthTimeout()
    {
        QFETCH(bool, production);
        Rig r;
        r.link.setProductionMode(production);
        r.link.setAddress(9);
        r.start();
        r.link.setFactoryNumber(123456);
        const int resets = r.resets;
        for (int i = 1; i <= 5; ++i) {
            r.tick();
            r.link.TimerOutTimer();
            QCOMPARE(r.meterControls.last(), true);
        }
        QCOMPARE(r.resets, resets);
        r.tick();
        r.link.TimerOutTimer();
        // The drained queue switched them on within this time-out; the count switched them off.
        QCOMPARE(r.meterControls.mid(r.meterControls.size() - 2), QList<bool>({true, false}));
        QVERIFY(!r.setting);
        QVERIFY(!r.fixDb);
        QVERIFY(r.findAddress);
        QCOMPARE(r.resets, resets + 1);
        QCOMPARE(r.link.factoryNumber(), 0u);
        QCOMPARE(r.link.address(), production ? 0 : 9);
        QCOMPARE(r.addresses, production ? QList<int>{0} : QList<int>{});
        // A response brings the controls back when the queue drains.
        r.exchange();
        QCOMPARE(r.link.consecutiveTimeouts(), 0);
        QCOMPARE(r.meterControls.last(), true);
    }

    void timeoutCountStartsAfreshAtConnect()
    {
        Rig r;
        r.link.setProductionMode(true);
        r.link.setAddress(9);
        r.start();
        for (int i = 0; i < 6; ++i) {
            r.tick();
            r.link.TimerOutTimer();
        }
        QCOMPARE(r.meterControls.last(), false);
        QVERIFY(r.link.ActionDisconnectExecute("ttyS0"));
        r.link.setAddress(9);
        r.start();
        const int resets = r.resets;
        r.tick();
        r.link.TimerOutTimer();
        QCOMPARE(r.link.consecutiveTimeouts(), 1);
        QCOMPARE(r.meterControls.last(), true);
        QCOMPARE(r.resets, resets);
        QCOMPARE(r.link.address(), 9);
    }

    void addressSearchWrapsAndStops()
    {
        Rig r;
        r.start();
        r.link.ActionFindAddressExecute();
        QCOMPARE(r.link.address(), 0);
        const int lines = r.log.size();
        QList<int> sent;
        for (int i = 0; i < 257; ++i) {
            sent << uint8_t(r.tick().bytes[0]);
            r.link.TimerOutTimer();
        }
        QCOMPARE(sent.first(), 0);
        QCOMPARE(sent[255], 255);
        QCOMPARE(sent[256], 0);
        QCOMPARE(r.link.address(), 1);
        QCOMPARE(r.link.consecutiveTimeouts(), 0);
        QVERIFY(!r.meterControls.contains(false));
        QVERIFY(!r.findAddress);
        // Only the address lines: no time-out line during a search.
        for (const QString& line : r.log.mid(lines))
            QVERIFY2(line.contains(" Send "), qPrintable(line));
        // The first byte ends the search at the address that answered.
        r.tick();
        r.port.deliver(Hex("01"));
        QVERIFY(!r.link.addressSearch());
        r.link.TimerOutTimer();
        QCOMPARE(r.link.address(), 1);
        QCOMPARE(r.log.last(), QStringLiteral("14:03:07:125 Timeout."));
    }

    void batchWaitsBehindIdleRequest()
    {
        Rig r;
        r.start();
        r.exchange();
        r.exchange();                                    // step 0
        r.exchange();                                    // step 1
        QCOMPARE(r.handshake(), AppendCrc(Hex("0402"))); // step 2 in flight
        const QList<QByteArray> batch = {Hex("0F0300"), Hex("0F0301"), Hex("0F0302"), Hex("2B02")};
        for (const QByteArray& frame : batch)
            r.link.Enqueue(frame);
        QCOMPARE(r.link.currentRequest(), AppendCrc(Hex("0402")));
        r.port.deliver(Ack(Hex("04")));
        for (const QByteArray& frame : batch)
            QCOMPARE(r.exchange(), AppendCrc(frame));
        QCOMPARE(r.exchange(), AppendCrc(Hex("2202"))); // step 3
    }

    // A feature owning a batch decodes its own answers; the table keeps the rest.
    void requestDecoderWinsOverTheTable()
    {
        Rig r;
        QStringList seen;
        QVERIFY(r.link.RegisterDecoder(zr::link::ReadVersion,
                                       [&](const QByteArray&) { seen << "table"; }));
        r.start();
        r.link.Enqueue(Hex("0002"), [&](const QByteArray& f) {
            seen << (f == Ack(Hex("00")) ? "own" : "own, wrong frame");
        });
        r.exchange(); // the start's version read
        r.exchange(); // the own request
        r.exchange(); // idle step 0
        QCOMPARE(seen, QStringList({"table", "own", "table"}));
        // An own decoder goes with its request: a failed batch drops both.
        r.link.Enqueue(Hex("0002"), [&](const QByteArray&) { seen << "dropped"; });
        r.handshake();
        r.link.TimerOutTimer();
        for (int step = 0; step < 17; ++step)
            r.exchange();
        QCOMPARE(seen, QStringList({"table", "own", "table", "table"}));
    }

    void secondDecoderForACodeRefused()
    {
#ifdef QT_NO_DEBUG
        Rig r;
        int first = 0;
        int second = 0;
        QVERIFY(r.link.RegisterDecoder(zr::link::ReadNumber, [&](const QByteArray&) { ++first; }));
        QVERIFY(
            !r.link.RegisterDecoder(zr::link::ReadNumber, [&](const QByteArray&) { ++second; }));
        r.start();
        r.exchange();
        r.exchange();
        r.exchange(); // idle step 1 reads the number
        QCOMPARE(first, 1);
        QCOMPARE(second, 0);
#else
        QSKIP("the refusal asserts in debug builds");
#endif
    }

    void enqueueWhileDisconnected()
    {
        Rig r;
        r.link.Enqueue(Hex("0102"));
        QVERIFY(r.link.queue().isEmpty());
        QVERIFY(!r.timer("Timer1")->isActive());
        QVERIFY(r.port.writes.isEmpty());
    }

    void passwordRejectedDuringSettingsWrite()
    {
        Rig r;
        r.link.RegisterDecoder(zr::link::ReadNumber, [&](const QByteArray& b) {
            r.link.setFactoryNumber(uint8_t(b[2]) | uint8_t(b[3]) << 8 | uint8_t(b[4]) << 16);
        });
        r.link.RegisterDecoder(zr::link::ReadCounters, [&](const QByteArray& b) {
            r.link.setRunningTime(uint8_t(b[2]) | uint8_t(b[3]) << 8 | uint8_t(b[4]) << 16 |
                                  uint32_t(uint8_t(b[5])) << 24);
        });
        r.start();
        r.exchange();
        r.link.setSettingsWriteMark();
        for (const char* frame : {"0102", "1102", "1408000000000000", "0503010203040506"})
            r.link.Enqueue(Hex(frame));
        r.link.DropHead(); // the start's 00 02 is not needed here
        r.exchange(AppendCrc(Hex("0105563412")));
        r.exchange(AppendCrc(Hex("110ACDAB010000000000")));
        QCOMPARE(r.handshake(), Hex("14089B9FDFFDF9B968C5"));
        QCOMPARE(r.link.queue().first(), AppendCrc(Hex("1408000000000000")));
        r.port.deliver(Hex("940306B0DE"));
        QCOMPARE(r.log.last(), QStringLiteral("Ошибка: Доступ запрещен (ввод пароля)"));
        QCOMPARE(r.indicator, QList<bool>{false});
        QCOMPARE(r.messages, QStringList{"Ошибка|Во время записи установок произошла ошибка. "
                                         "Описание смотрите на закладке Протокол."});
        QVERIFY(r.fixDb);
        QVERIFY(r.setting);
        QVERIFY(!r.findAddress);
        QVERIFY(!r.link.settingsWriteMark());
        QCOMPARE(r.drained, 0);
        QCOMPARE(r.link.queue().size(), 1); // the rest dropped; the idle ring goes on
    }

    void scheduleWriteFailsByTimeout()
    {
        Rig r;
        r.start();
        r.link.setScheduleWriteMark();
        r.link.Enqueue(Hex("0902"));
        r.tick();
        r.link.TimerOutTimer();
        QCOMPARE(r.indicator, QList<bool>{false});
        QCOMPARE(r.messages, QStringList{"Ошибка|Во время записи тарифного расписания произошла "
                                         "ошибка. Описание смотрите на закладке Протокол."});
    }

    void drainedWrites_data()
    {
        QTest::addColumn<bool>("settings");
        QTest::addColumn<bool>("production");
        QTest::addColumn<int>("drained");
        QTest::addColumn<int>("resets");
        QTest::newRow("settings, production") << true << true << 1 << 1;
        QTest::newRow("settings, service") << true << false << 0 << 1;
        QTest::newRow("schedule") << false << true << 0 << 0;
    }
    void drainedWrites()
    {
        QFETCH(bool, settings);
        QFETCH(bool, production);
        QFETCH(int, drained);
        QFETCH(int, resets);
        Rig r;
        r.link.setProductionMode(production);
        r.start();
        settings ? r.link.setSettingsWriteMark() : r.link.setScheduleWriteMark();
        r.link.setFactoryNumber(42);
        const int before = r.resets;
        r.exchange(); // the start's 00 02 carries the batch along
        QCOMPARE(r.indicator, QList<bool>{true});
        QCOMPARE(r.drained, drained);
        QCOMPARE(r.resets - before, resets);
        QCOMPARE(r.link.factoryNumber(), resets ? 0u : 42u);
        QVERIFY(r.messages.isEmpty());
    }

    void passwordAfterResetUsesNumberZero()
    {
        Rig r;
        r.link.setAccessPassword("ab");
        r.link.setNewPassword("Пар");
        r.link.setRunningTime(0);
        r.start();
        r.link.setFactoryNumber(0x123456);
        r.link.Enqueue(Hex("1508000000000000"));
        r.exchange(); // the start's 00 02
        QCOMPARE(r.handshake(),
                 AppendCrc(Hex("1508") + ScramblePassword(PasswordBytes("Пар"), 0x123456, 0)));
        QCOMPARE(r.link.currentRequest(), r.port.writes.last().bytes);
        r.port.deliver(Ack(Hex("15")));
        r.link.ActionDisconnectExecute("x");
        r.start(); // the connect's display reset forgets the number
        r.link.Enqueue(Hex("1408000000000000"));
        r.exchange();
        QCOMPARE(r.handshake(), AppendCrc(Hex("1408616200000000")));
    }

    void logNeedsMasterModeForHexLines()
    {
        Rig r;
        r.link.setMasterMode(false);
        r.start();
        r.exchange();
        r.handshake();
        r.port.deliver(Hex("0003"));
        r.port.deliver(Hex("01FFFF")); // a bad checksum
        r.tick();
        r.link.TimerOutTimer();
        QCOMPARE(r.log, QStringList({"Ошибка контрольной суммы", "14:03:07:125 Timeout."}));
        r.link.setTrafficLog(false);
        r.tick();
        r.link.TimerOutTimer();
        QCOMPARE(r.log.size(), 2);
    }

    void gauges_data()
    {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<QByteArray>("response");
        QTest::addColumn<bool>("sched");
        QTest::addColumn<bool>("journal");
        QTest::newRow("schedule page")
            << Hex("080300") << AppendCrc(Hex("080300")) << true << false;
        QTest::newRow("schedule, L = 4")
            << Hex("080300") << AppendCrc(Hex("08040000")) << false << false;
        QTest::newRow("holidays") << Hex("260300") << AppendCrc(Hex("2602")) << true << false;
        QTest::newRow("journal") << Hex("120300") << AppendCrc(Hex("1202")) << false << true;
        QTest::newRow("half hours") << Hex("2A040000") << AppendCrc(Hex("2A02")) << false << true;
        QTest::newRow("other") << Hex("0402") << AppendCrc(Hex("0402")) << false << false;
    }
    void gauges()
    {
        QFETCH(QByteArray, request);
        QFETCH(QByteArray, response);
        QFETCH(bool, sched);
        QFETCH(bool, journal);
        Rig r;
        r.start();
        r.exchange();
        r.link.Enqueue(request);
        r.exchange(); // idle step 0
        r.exchange(response);
        QCOMPARE(r.gaugeSched, sched);
        QCOMPARE(r.gaugeJournal, journal);
    }

    void connectFailureLeavesStateAlone()
    {
        Rig r;
        r.port.failOpen = true;
        QSignalSpy changed(&r.link, &MeterLink::connectionChanged);
        QVERIFY(!r.link.ActionConnectExecute("COM7"));
        QCOMPARE(r.messages, QStringList{"Ошибка|Ошибка открытия порта COM7"});
        QVERIFY(!r.link.connected());
        QVERIFY(changed.isEmpty());
        QVERIFY(!r.timer("TimerStart")->isActive());
    }

    void connectAndStart()
    {
        Rig r;
        QSignalSpy changed(&r.link, &MeterLink::connectionChanged);
        r.link.setSettingsWriteMark();
        r.panel[0] = r.panel[1] = "old";
        QVERIFY(r.link.ActionConnectExecute("ttyUSB0"));
        QCOMPARE(r.port.openedName, QStringLiteral("ttyUSB0"));
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed.first().first().toBool(), true);
        QCOMPARE(r.panel[0], QString());
        QCOMPARE(r.resets, 1);
        QVERIFY(!r.link.settingsWriteMark());
        QVERIFY(r.timer("TimerStart")->isActive());
        r.link.TimerStartTimer();
        QVERIFY(!r.timer("TimerStart")->isActive());
        QCOMPARE(r.cleared, 1);
        QCOMPARE(r.link.queue(), QList<QByteArray>{AppendCrc(Hex("0002"))});
        QVERIFY(r.timer("Timer1")->isActive());
    }

    void disconnectAbandonsWriteBatch()
    {
        Rig r;
        r.link.setProductionMode(true);
        QSignalSpy changed(&r.link, &MeterLink::connectionChanged);
        r.start();
        r.exchange();
        r.link.setSettingsWriteMark();
        r.link.Enqueue(Hex("0102"));
        r.link.Enqueue(Hex("0503010203040506"));
        r.handshake();
        const int resets = r.resets;
        QVERIFY(r.link.ActionDisconnectExecute("ttyS0"));
        QVERIFY(r.indicator.isEmpty());
        QVERIFY(r.messages.isEmpty());
        QCOMPARE(r.drained, 0);
        QCOMPARE(r.resets, resets);
        QVERIFY(r.link.queue().isEmpty());
        QVERIFY(!r.port.isOpen());
        QVERIFY(!r.link.connected());
        QCOMPARE(changed.last().first().toBool(), false);
        QCOMPARE(r.meterControls.last(), false);
        QVERIFY(!r.setting);
        QVERIFY(!r.fixDb);
        QVERIFY(!r.findAddress);
        QVERIFY(!r.gaugeJournal);
        for (const char* name : {"Timer1", "TimerOut", "TimerStart"})
            QVERIFY2(!r.timer(name)->isActive(), name);
        // A late answer changes nothing.
        r.port.deliver(Ack(Hex("01")));
        QVERIFY(r.indicator.isEmpty());
    }

    void disconnectFailureKeepsConnection()
    {
        Rig r;
        r.start();
        r.port.failClose = true;
        QVERIFY(!r.link.ActionDisconnectExecute("COM2"));
        QCOMPARE(r.messages, QStringList{"Ошибка|Ошибка закрытия порта COM2"});
        QVERIFY(r.link.connected());
        QCOMPARE(r.link.queue().size(), 1);
    }

    void portSwitchOnlyWhileDisconnected()
    {
        Rig r;
        FakePort other;
        QVERIFY(r.link.setPort(other));
        r.start();
        QCOMPARE(other.openedName, QStringLiteral("ttyS0"));
        QVERIFY(!r.port.isOpen());
        // The line in use cannot be swapped under a running exchange.
        QVERIFY(!r.link.setPort(r.port));
        QCOMPARE(&r.link.port(), static_cast<Port*>(&other));
        r.link.Timer1Timer();
        QCOMPARE(other.writes.size(), 1);
        QVERIFY(r.port.writes.isEmpty());
        // Only the line in use is listened to.
        r.port.deliver(Hex("00"));
        QVERIFY(other.writes.size() == 1);
        other.deliver(Hex("00"));
        QCOMPARE(other.writes.last().bytes, AppendCrc(Hex("0002")));

        QVERIFY(r.link.ActionDisconnectExecute("ttyS0"));
        QVERIFY(r.link.setPort(r.port));
        other.deliver(Hex("00"));
        QCOMPARE(other.writes.size(), 2);
    }

    void realTimersDriveTheExchange()
    {
        Rig r;
        r.link.setTimeout(200);
        QVERIFY(r.link.ActionConnectExecute("ttyS0"));
        QTRY_COMPARE_WITH_TIMEOUT(r.port.writes.size(), 1, 2000); // TimerStart, then Timer1
        QCOMPARE(r.port.writes.first().bytes, Hex("00"));
        QTRY_VERIFY_WITH_TIMEOUT(r.log.contains("14:03:07:125 Timeout."), 2000);
    }
};

QTEST_GUILESS_MAIN(TestLink)
#include "test_link.moc"
