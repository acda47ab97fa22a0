#include "platform/port_list.h"
#include "platform/serial_port.h"
#include "platform/system_names.h"
#include "support/hex.h"

#include <QtTest>

#ifndef Q_OS_WIN
#include "support/pty.h"

#include <pwd.h>
#include <unistd.h>
#endif

using namespace zr::platform;
using zr::link::Parity;
#ifndef Q_OS_WIN
using zr::test::Pty;
#endif
using zr::test::Hex;

namespace
{

} // namespace

class TestPlatform : public QObject
{
    Q_OBJECT
private slots:
#ifndef Q_OS_WIN
    void everyByteArrivesInBothParities_data()
    {
        QTest::addColumn<bool>("mark");
        QTest::newRow("MARK") << true;
        QTest::newRow("SPACE") << false;
    }
    void everyByteArrivesInBothParities()
    {
        QFETCH(bool, mark);
        Pty pty;
        QVERIFY(!pty.slave.isEmpty());
        ::fcntl(pty.master, F_SETFL, O_NONBLOCK);
        SerialPort port;
        QVERIFY(port.open(pty.slave));
        QVERIFY(port.isOpen());
        QCOMPARE(port.parity(), Parity::Space);
        port.setParity(mark ? Parity::Mark : Parity::Space);
        QCOMPARE(port.parity(), mark ? Parity::Mark : Parity::Space);

        const termios tio = pty.line();
        // The pseudo-terminal drops PARENB itself (it carries no parity bit) and keeps the rest.
        QVERIFY(tio.c_cflag & CMSPAR);
        QCOMPARE(bool(tio.c_cflag & PARODD), mark);
        QCOMPARE(tio.c_iflag & (INPCK | IGNPAR | PARMRK | ISTRIP), tcflag_t(0));
        QCOMPARE(tio.c_cflag & CSIZE, tcflag_t(CS8));
        QVERIFY(!(tio.c_cflag & CSTOPB));
        QVERIFY(!(tio.c_cflag & CRTSCTS));
        QCOMPARE(tio.c_iflag & (IXON | IXOFF), tcflag_t(0));

        // RTS cannot be set on a pseudo-terminal; the bytes go out all the same.
        port.assertRts();
        QVERIFY(port.write(Hex("00FF0D0A11")));
        QCOMPARE(pty.read(5), Hex("00FF0D0A11"));

        QSignalSpy received(&port, &zr::link::Port::received);
        const QByteArray in = Hex("00FFFF0000FF7F800D11");
        QCOMPARE(::write(pty.master, in.constData(), size_t(in.size())), ssize_t(in.size()));
        QByteArray got;
        QTRY_VERIFY_WITH_TIMEOUT((got += port.readAvailable()).size() >= in.size(), 2000);
        QCOMPARE(got, in);
        QVERIFY(received.size() >= 1);
        QVERIFY(port.readAvailable().isEmpty());
    }

    void parityFollowsEachSwitch()
    {
        Pty pty;
        SerialPort port;
        QVERIFY(port.open(pty.slave));
        for (const Parity parity : {Parity::Mark, Parity::Space, Parity::Mark}) {
            port.setParity(parity);
            QCOMPARE(bool(pty.line().c_cflag & PARODD), parity == Parity::Mark);
            QCOMPARE(pty.line().c_iflag & (INPCK | IGNPAR | PARMRK), tcflag_t(0));
        }
        QVERIFY(port.setBaudRate(9600));
        QCOMPARE(::cfgetospeed(&static_cast<const termios&>(pty.line())), speed_t(B9600));
        QCOMPARE(pty.line().c_iflag & (INPCK | IGNPAR | PARMRK), tcflag_t(0));
    }
#endif

    void openAndCloseFailures()
    {
        SerialPort port;
        QVERIFY(!port.open(QStringLiteral("/nonexistent/zr347-port")));
        QVERIFY(!port.isOpen());
        QVERIFY(!port.close());
        QVERIFY(!ProbePort(QStringLiteral("/nonexistent/zr347-port")));
    }

    void portOpenName_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<bool>("windows");
        QTest::addColumn<QString>("device");
        QTest::newRow("listed COM") << "COM3" << true << "COM3";
        QTest::newRow("probed Com") << "Com5" << true << "COM5";
        QTest::newRow("empty entry is port 1") << "" << true << "COM1";
        QTest::newRow("no number is port 1") << "DEMO" << true << "COM1";
        QTest::newRow("device path") << "/dev/pts/4" << false << "/dev/pts/4";
        QTest::newRow("system name") << "ttyS0" << false << "ttyS0";
    }
    void portOpenName()
    {
        QFETCH(QString, entry);
        QFETCH(bool, windows);
        QFETCH(QString, device);
        QCOMPARE(PortOpenName(entry, windows), device);
    }

    void portLists_data()
    {
        QTest::addColumn<QStringList>("system");
        QTest::addColumn<QStringList>("extra");
        QTest::addColumn<QString>("savedMeter");
        QTest::addColumn<QString>("savedScanner");
        QTest::addColumn<bool>("windows");
        QTest::addColumn<QStringList>("meterPorts");
        QTest::addColumn<int>("meterIndex");
        QTest::addColumn<QString>("menu"); // caption:tag, * when checked
        QTest::addColumn<QStringList>("scannerPorts");
        QTest::addColumn<int>("scannerIndex");

        QTest::newRow("windows, listed ports")
            << QStringList{"COM1", "COM3", "XYZ"} << QStringList{} << "3"
            << "1" << true << QStringList{"COM1", "COM3", "XYZ"} << 1 << "COM1:1 COM3:3*"
            << QStringList{"COM1", "COM3"} << 0;
        QTest::newRow("windows, probe finds 2 and 5")
            << QStringList{} << QStringList{} << "5"
            << "2" << true << QStringList{"Com2", "Com5"} << 1 << "Com2:2 Com5:5*"
            << QStringList{"Com2", "Com5"} << 0;
        QTest::newRow("windows, saved port missing")
            << QStringList{"COM4"} << QStringList{} << "1"
            << "2" << true << QStringList{"COM4"} << -1 << "COM4:4" << QStringList{"COM4"} << -1;
        QTest::newRow("names") << QStringList{"ttyS0", "ttyUSB0"} << QStringList{} << "ttyUSB0"
                               << "ttyS0" << false << QStringList{"ttyS0", "ttyUSB0"} << 1
                               << "ttyS0:0 ttyUSB0:1*" << QStringList{"ttyS0", "ttyUSB0"} << 0;
        QTest::newRow("names, nothing saved") << QStringList{"ttyS0"} << QStringList{} << "1"
                                              << "2" << false << QStringList{"ttyS0"} << -1
                                              << "ttyS0:0" << QStringList{"ttyS0"} << -1;
        QTest::newRow("extra paths preselect the first")
            << QStringList{"ttyS0"} << QStringList{"/dev/pts/4", "/dev/pts/5", "ttyS0"} << "ttyS0"
            << "ttyS0" << false << QStringList{"ttyS0", "/dev/pts/4", "/dev/pts/5"} << 1
            << "ttyS0:0 /dev/pts/4:1* /dev/pts/5:2"
            << QStringList{"ttyS0", "/dev/pts/4", "/dev/pts/5"} << 0;
        QTest::newRow("extra path with an empty system list")
            << QStringList{} << QStringList{"/dev/pts/9"} << "1"
            << "2" << false << QStringList{"/dev/pts/9"} << 0 << "/dev/pts/9:0*"
            << QStringList{"/dev/pts/9"} << -1;
    }
    void portLists()
    {
        QFETCH(QStringList, system);
        QFETCH(QStringList, extra);
        QFETCH(QString, savedMeter);
        QFETCH(QString, savedScanner);
        QFETCH(bool, windows);
        QFETCH(QStringList, meterPorts);
        QFETCH(int, meterIndex);
        QFETCH(QString, menu);
        QFETCH(QStringList, scannerPorts);
        QFETCH(int, scannerIndex);

        QStringList probed;
        PortListInput input{
            system, extra, savedMeter, savedScanner, windows, [&](const QString& name) {
                probed << name;
                return name == "COM2" || name == "COM5";
            }};
        const PortLists lists = BuildPortLists(input);
        QCOMPARE(lists.meterPorts, meterPorts);
        QCOMPARE(lists.meterIndex, meterIndex);
        QStringList items;
        for (const PortMenuItem& item : lists.menu)
            items << QStringLiteral("%1:%2%3")
                         .arg(item.caption)
                         .arg(item.tag)
                         .arg(item.checked ? "*" : "");
        QCOMPARE(items.join(' '), menu);
        QCOMPARE(lists.scannerPorts, scannerPorts);
        QCOMPARE(lists.scannerIndex, scannerIndex);
        const bool probes = windows && system.isEmpty();
        QCOMPARE(probed.size(), probes ? 8 : 0);
    }

#ifndef Q_OS_WIN
    // The production database knows the operator by login, also where USER is not set.
    void loginNameWithoutUser()
    {
        const QByteArray saved = qgetenv("USER");
        qunsetenv("USER");
        const QString login = LoginName();
        qputenv("USER", "line-operator");
        const QString fromEnvironment = LoginName();
        if (saved.isNull())
            qunsetenv("USER");
        else
            qputenv("USER", saved);
        QCOMPARE(login, QString::fromLocal8Bit(::getpwuid(::geteuid())->pw_name));
        QCOMPARE(fromEnvironment, QStringLiteral("line-operator"));
    }
#endif
};

QTEST_GUILESS_MAIN(TestPlatform)
#include "test_platform.moc"
