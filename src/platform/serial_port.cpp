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
    m_port.setBaudRate(4800);
    connect(&m_port, &QSerialPort::readyRead, this, &SerialPort::received);
    connect(&m_port, &QSerialPort::errorOccurred, this, &SerialPort::ErrorOccurred);
}

bool SerialPort::open(const QString& name)
{
    m_port.setPortName(PortOpenName(name));
    if (!m_port.open(QIODevice::ReadWrite))
        return false;
    m_lost = false;
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    // A pseudo-terminal has no modem lines: these fail there and the line works all the same.
    m_port.setDataTerminalReady(false);
    m_port.setRequestToSend(true);
    m_parity = link::Parity::Space;
    setParity(m_parity);
    return true;
}

bool SerialPort::close()
{
    if (!m_port.isOpen())
        return false;
    m_port.close();
    return true;
}

// A vanished device keeps its descriptor readable and writable with nothing but errors behind it:
// left open, the port's notifiers fire without pause.
void SerialPort::ErrorOccurred(QSerialPort::SerialPortError error)
{
    const bool unusable = error == QSerialPort::ResourceError || error == QSerialPort::ReadError ||
                          error == QSerialPort::WriteError;
    if (!unusable || !m_port.isOpen() || m_lost)
        return;
    m_lost = true;
    emit lost(m_port.errorString());
}

bool SerialPort::isOpen() const
{
    return m_port.isOpen();
}

bool SerialPort::setBaudRate(int baud)
{
    return m_port.setBaudRate(baud);
}

bool SerialPort::setParity(link::Parity parity)
{
    // Remember the request even when the driver refuses it: a pseudo-terminal may report a
    // failure although the setting holds, and the exchange goes by the phase asked for.
    m_parity = parity;
    if (!m_port.isOpen())
        return false;
    return KeepParityCheckOff(m_port.setParity(QtParity(parity)));
}

// QSerialPort rewrites the whole line setting on each change (on Windows with the parity check
// on), so the check is switched off again after every one.
bool SerialPort::KeepParityCheckOff(bool applied)
{
    return (!m_port.isOpen() || DisableInputParityCheck(m_port)) && applied;
}

bool SerialPort::assertRts()
{
    return m_port.setRequestToSend(true);
}

bool SerialPort::write(const QByteArray& bytes)
{
    if (m_port.write(bytes) != bytes.size())
        return false;
    // Hand the bytes to the driver now, before a parity switch can follow; waiting for the
    // write to complete could read and announce input inside this call.
    m_port.flush();
    return true;
}

QByteArray SerialPort::readAvailable()
{
    return m_port.readAll();
}

bool ProbePort(const QString& name)
{
    SerialPort port;
    const bool usable = port.open(name) && port.write(QByteArray(1, '\0'));
    port.close();
    return usable;
}

} // namespace zr::platform
