#pragma once
// The journal and readings pages on a real serial port: a QSerialPort opened on the
// pseudo-terminal that zr347-sim serves (POSIX).

#include "link/meter_link.h"
#include "meter/device_state.h"
#include "meter/ui/journal_page.h"
#include "meter/ui/readings_page.h"
#include "platform/serial_port.h"

#include <QProcess>
#include <QTest>

namespace zr::test
{

struct SimLine {
    QProcess sim;
    QString path;
    platform::SerialPort port;
    link::MeterLink link{port};
    meter::DeviceState device;
    meter::ReadingsPage readings;
    meter::JournalPage journal;

    // Starts the simulator and connects; false when either fails.
    bool start()
    {
        sim.start(QStringLiteral(ZR_SIM_TOOL), {"--pty", "--number", "123456"});
        if (!sim.waitForStarted() || !sim.waitForReadyRead(10000))
            return false;
        path = QString::fromLocal8Bit(sim.readLine()).trimmed();
        device.attach(link);
        readings.attach(link, device);
        journal.attach(link, device);
        return link.ActionConnectExecute(path) &&
               QTest::qWaitFor([this] { return link.exchangeCount() > 3; }, 10000);
    }
    ~SimLine()
    {
        if (link.connected())
            link.ActionDisconnectExecute(path);
        sim.terminate();
        sim.waitForFinished(5000);
    }
    // Waits until no request of function `code` is left in the queue.
    bool drained(link::FunctionCode code, int timeoutMs)
    {
        return QTest::qWaitFor(
            [this, code] {
                const QList<QByteArray> queue = link.queue();
                return std::none_of(queue.begin(), queue.end(),
                                    [code](const QByteArray& f) { return uint8_t(f[0]) == code; });
            },
            timeoutMs);
    }
};

} // namespace zr::test
