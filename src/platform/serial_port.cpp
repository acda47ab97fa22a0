#include "platform/serial_port.h"

#include "platform/input_parity.h"
#include "platform/port_list.h"

namespace zr::platform
{

namespace
{

QSerialPort::Parity QtParity(link::Parity parity)
{
    return parity == link::Parity::Mark ? QSerialPort::MarkParity : QSerialPort::SpaceParity;
}

} // namespace

SerialPort::SerialPort(QObject* parent) : link::Port(parent)
{
    port_.setBaudRate(4800);
    connect(&port_, &QSerialPort::readyRead, this, &SerialPort::received);
    connect(&port_, &QSerialPort::errorOccurred, this, &SerialPort::ErrorOccurred);
}

bool SerialPort::open(const QString& name)
{
    port_.setPortName(PortOpenName(name));
    if (!port_.open(QIODevice::ReadWrite))
        return false;
    lost_ = false;
    port_.setDataBits(QSerialPort::Data8);
    port_.setStopBits(QSerialPort::OneStop);
    port_.setFlowControl(QSerialPort::NoFlowControl);
    // A pseudo-terminal has no modem lines: these fail there and the line works all the same.
    port_.setDataTerminalReady(false);
    port_.setRequestToSend(true);
    parity_ = link::Parity::Space;
    setParity(parity_);
    return true;
}

bool SerialPort::close()
{
    if (!port_.isOpen())
        return false;
    port_.close();
    return true;
}

// A vanished device keeps its descriptor readable and writable with nothing but errors behind it:
// left open, the port's notifiers fire without pause.
void SerialPort::ErrorOccurred(QSerialPort::SerialPortError error)
{
    const bool unusable = error == QSerialPort::ResourceError || error == QSerialPort::ReadError ||
                          error == QSerialPort::WriteError;
    if (!unusable || !port_.isOpen() || lost_)
        return;
    lost_ = true;
    emit lost(port_.errorString());
}

bool SerialPort::isOpen() const
{
    return port_.isOpen();
}

bool SerialPort::setBaudRate(int baud)
{
    return port_.setBaudRate(baud);
}

bool SerialPort::setParity(link::Parity parity)
{
    // Remember the request even when the driver refuses it: a pseudo-terminal may report a
    // failure although the setting holds, and the exchange goes by the phase asked for.
    parity_ = parity;
    if (!port_.isOpen())
        return false;
    return KeepParityCheckOff(port_.setParity(QtParity(parity)));
}

// QSerialPort rewrites the whole line setting on each change (on Windows with the parity check
// on), so the check is switched off again after every one.
bool SerialPort::KeepParityCheckOff(bool applied)
{
    return (!port_.isOpen() || DisableInputParityCheck(port_)) && applied;
}

bool SerialPort::assertRts()
{
    return port_.setRequestToSend(true);
}

bool SerialPort::write(const QByteArray& bytes)
{
    if (port_.write(bytes) != bytes.size())
        return false;
    // Hand the bytes to the driver now, before a parity switch can follow; waiting for the
    // write to complete could read and announce input inside this call.
    port_.flush();
    return true;
}

QByteArray SerialPort::readAvailable()
{
    return port_.readAll();
}

bool ProbePort(const QString& name)
{
    SerialPort port;
    const bool usable = port.open(name) && port.write(QByteArray(1, '\0'));
    port.close();
    return usable;
}

} // namespace zr::platform
