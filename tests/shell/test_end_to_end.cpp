// The real program on a real serial port driver: the main window on a QSerialPort opened on the
// pseudo-terminal that zr347-sim serves.

#include "link/idle_poll.h"
#include "link/meter_link.h"
#include "platform/serial_port.h"
#include "shell/main_window.h"
#include "shell/protocol_page.h"
#include "support.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QProcess>
#include <QSpinBox>
#include <QTest>

using zr::shell::MainWindow;

class TestEndToEnd : public QObject
{
    Q_OBJECT
private slots:
    void windowOnPseudoTerminal();
};

void TestEndToEnd::windowOnPseudoTerminal()
{
    QProcess sim;
    sim.start(QStringLiteral(ZR_SIM_TOOL), {"--pty", "--number", "123456"});
    QVERIFY(sim.waitForStarted());
    QVERIFY(sim.waitForReadyRead(10000));
    const QString path = QString::fromLocal8Bit(sim.readLine()).trimmed();
    QVERIFY2(path.startsWith("/dev/"), qPrintable(path));

    zr::test::MessageCatcher catcher;
    zr::shell::Modes modes;
    modes.master = true; // the hex lines of the traffic log need master mode
    zr::shell::PortOptions ports;
    ports.extraPorts = {path};
    MainWindow window(modes, ports);
    window.Protocol()->CheckBox_Terminal->setChecked(true);
    window.show();
    QCOMPARE(window.Connection()->ComboPort->currentText(), path);

    window.ActionConnect->trigger();
    QVERIFY(window.SerialLine()->isOpen());
    const zr::link::MeterLink& link = *window.Link();
    QTRY_VERIFY_WITH_TIMEOUT(link.exchangeCount() > zr::link::kIdleSteps + 1, 30000);
    zr::test::CheckDemoMeterShown(window, 123456);
    if (QTest::currentTestFailed())
        return;
    QStringList log = zr::test::LogLines(window);
    QCOMPARE(zr::test::MalformedLine(log), QString());
    QVERIFY(zr::test::SentFrames(log).size() > zr::link::kIdleSteps);
    QVERIFY(catcher.messages.isEmpty());

    // A silent address sets MARK parity on a line already in MARK; the pseudo-terminal may
    // refuse that, and the line must still carry the next exchanges.
    window.Connection()->SpinTimer->setValue(200);
    window.Connection()->SpinAddr->setValue(9);
    QTRY_VERIFY_WITH_TIMEOUT(zr::test::LogLines(window).filter("Timeout.").size() >= 2, 10000);
    window.Connection()->SpinAddr->setValue(0);
    const int count = link.exchangeCount();
    QTRY_VERIFY_WITH_TIMEOUT(link.consecutiveTimeouts() == 0 && link.exchangeCount() > count + 3,
                             10000);
    log = zr::test::LogLines(window);
    QCOMPARE(zr::test::MalformedLine(log.filter(" Send ")), QString());
    QCOMPARE(zr::test::MalformedLine(log.filter(" Received: ")), QString());

    window.ActionDisconnect->trigger();
    QVERIFY(!window.SerialLine()->isOpen());
    QVERIFY(catcher.messages.isEmpty());
    sim.terminate();
    QVERIFY(sim.waitForFinished(5000));
}

int zr::test::RunEndToEndTests(int argc, char** argv)
{
    TestEndToEnd test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_end_to_end.moc"
