#pragma once
// The meter line over QSerialPort: 8 data bits, 1 stop bit, no flow control, DTR off, RTS on,
// MARK or SPACE parity switched per exchange, and no parity check on reception.

#include "link/port.h"

#include <QSerialPort>

namespace zr::platform
{

class SerialPort : public link::Port
{
    Q_OBJECT
public:
    explicit SerialPort(QObject* parent = nullptr);

    // name: a system port name (COM3, ttyS0) or a device path (/dev/pts/4).
    bool open(const QString& name) override;
    bool close() override;
    bool isOpen() const override;
    bool setBaudRate(int baud) override;
    bool setParity(link::Parity parity) override;
    link::Parity parity() const override { return parity_; }
    bool assertRts() override;
    bool write(const QByteArray& bytes) override;
    QByteArray readAvailable() override;

private:
    bool KeepParityCheckOff(bool applied);
    void ErrorOccurred(QSerialPort::SerialPortError error);

    QSerialPort port_;
    link::Parity parity_ = link::Parity::Space;
    bool lost_ = false;
};

// Whether a port can be opened and take one zero byte: the port list's fallback probe.
bool ProbePort(const QString& name);

} // namespace zr::platform
