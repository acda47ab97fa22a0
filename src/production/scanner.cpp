#include "production/scanner.h"

#include "platform/port_list.h"

#include <QThread>

namespace zr::production
{

Scanner::Scanner(QObject* parent) : QObject(parent)
{
    connect(&m_port, &QSerialPort::readyRead, this, &Scanner::Received);
}

bool Scanner::Open()
{
    if (m_port.isOpen())
        return true;
    m_port.setPortName(platform::PortOpenName(m_entry));
    m_port.setBaudRate(9600);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (!m_port.open(QIODevice::ReadWrite))
        return false;
    // A pseudo-terminal has no modem lines: these fail there and the line works all the same.
    m_port.setDataTerminalReady(false);
    m_port.setRequestToSend(false);
    return true;
}

QString Scanner::SelectPort(const QString& entry)
{
    if (m_port.isOpen()) {
        m_port.close();
        QThread::msleep(100); // lets the driver release the device before it is opened again
    }
    m_entry = entry;
    return Open() ? QString() : m_port.errorString();
}

void Scanner::Enable(bool on)
{
    if (on)
        Open();
    else
        m_port.close();
}

void Scanner::StartUp()
{
    if (Open())
        m_port.write(QByteArray(1, '\0'));
}

void Scanner::Received()
{
    for (const ScanCode& code : m_buffer.append(m_port.readAll())) {
        if (code.valid)
            emit numberScanned(code.number);
        else
            emit codeRejected(code.text);
    }
}

} // namespace zr::production
