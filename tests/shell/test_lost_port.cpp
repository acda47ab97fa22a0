// A line that vanishes under a connected window: the simulated meter serving the pseudo-terminal
// is killed while the idle cycle runs, as a USB adapter is pulled.

#include "link/idle_poll.h"
#include "link/meter_link.h"
#include "platform/serial_port.h"
#include "shell/application.h"
#include "shell/main_window.h"
#include "support.h"

#include <QAction>
#include <QComboBox>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <sys/resource.h>

namespace
{

// Starts zr347-sim on a new pseudo-terminal reached through `linkPath`.
bool StartSim(QProcess& sim, const QString& linkPath)
{
    sim.start(QStringLiteral(ZR_SIM_TOOL), {"--pty", "--link", linkPath, "--number", "123456"});
    return sim.waitForStarted() && sim.waitForReadyRead(10000);
}

double CpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

} // namespace

class TestLostPort : public QObject
{
    Q_OBJECT
private slots:
    void lossEndsConnection();
};

void TestLostPort::lossEndsConnection()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("line");
    QProcess sim;
    QVERIFY(StartSim(sim, path));

    zr::test::MessageCatcher catcher;
    zr::shell::PortOptions ports;
    ports.extraPorts = {path};
    zr::shell::MainWindow window(zr::shell::Modes{}, ports);
    window.show();
    QCOMPARE(window.Connection()->ComboPort->currentText(), path);
    window.ActionConnect->trigger();
    zr::link::MeterLink& link = *window.Link();
    QTRY_VERIFY_WITH_TIMEOUT(link.exchangeCount() > zr::link::kIdleSteps, 30000);
    QVERIFY(catcher.messages.isEmpty());

    // A write batch cut short by the loss neither succeeded nor failed on the meter's word.
    link.setSettingsWriteMark();
    int indicators = 0;
    connect(&link, &zr::link::MeterLink::resultIndicator, this, [&] { ++indicators; });
    sim.kill();
    QVERIFY(sim.waitForFinished(5000));

    QTRY_VERIFY_WITH_TIMEOUT(!link.connected(), 5000);
    QVERIFY(!window.SerialLine()->isOpen());
    QCOMPARE(catcher.messages.size(), 1);
    const zr::shell::Message& message = catcher.messages.first();
    QCOMPARE(message.icon, QMessageBox::Critical);
    QCOMPARE(message.caption, QStringLiteral("Ошибка"));
    QVERIFY2(message.text.contains(path), qPrintable(message.text));
    QVERIFY(!link.settingsWriteMark());
    QCOMPARE(indicators, 0);
    QVERIFY(link.queue().isEmpty());
    for (const char* name : {"Timer1", "TimerOut", "TimerStart"})
        QVERIFY2(!link.findChild<QTimer*>(name)->isActive(), name);
    QVERIFY(window.ActionConnect->isEnabled());
    QVERIFY(!window.ActionDisconnect->isEnabled());

    // Nothing keeps running after the loss: no spinning on the dead descriptor, no time-outs.
    QElapsedTimer wall;
    wall.start();
    const double cpu = CpuSeconds();
    QTest::qWait(2000);
    const double share = (CpuSeconds() - cpu) / (wall.elapsed() / 1000.0);
    qInfo("CPU after the loss: %.1f %% of wall time", share * 100);
    QVERIFY2(share < 0.2, qPrintable(QString::number(share)));
    QCOMPARE(catcher.messages.size(), 1);

    // The line is back: connecting works as before.
    QVERIFY(StartSim(sim, path));
    window.ActionConnect->trigger();
    QVERIFY(link.connected());
    QCOMPARE(link.factoryNumber(), 0u); // forgotten on connecting, learnt from the meter again
    QTRY_COMPARE_WITH_TIMEOUT(link.factoryNumber(), 123456u, 30000);
    QTRY_VERIFY_WITH_TIMEOUT(link.exchangeCount() > zr::link::kIdleSteps, 30000);
    QCOMPARE(link.consecutiveTimeouts(), 0);
    QCOMPARE(catcher.messages.size(), 1);
    window.ActionDisconnect->trigger();
    sim.terminate();
    QVERIFY(sim.waitForFinished(5000));
}

int main(int argc, char** argv)
{
    zr::shell::Application app(argc, argv);
    TestLostPort test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_lost_port.moc"
