#include "production/scanner.h"

#include "platform/port_list.h"

#include <QThread>

namespace zr::production
{

Scanner::Scanner(QObject* parent) : QObject(parent)
{
    connect(&port_, &QSerialPort::readyRead, this, &Scanner::Received);
}

bool Scanner::Open()
{
    if (port_.isOpen())
        return true;
    port_.setPortName(platform::PortOpenName(entry_));
    port_.setBaudRate(9600);
    port_.setDataBits(QSerialPort::Data8);
    port_.setParity(QSerialPort::NoParity);
    port_.setStopBits(QSerialPort::OneStop);
    port_.setFlowControl(QSerialPort::NoFlowControl);
    if (!port_.open(QIODevice::ReadWrite))
        return false;
    // A pseudo-terminal has no modem lines: these fail there and the line works all the same.
    port_.setDataTerminalReady(false);
    port_.setRequestToSend(false);
    return true;
}

QString Scanner::SelectPort(const QString& entry)
{
    if (port_.isOpen()) {
        port_.close();
        QThread::msleep(100); // lets the driver release the device before it is opened again
    }
    entry_ = entry;
    return Open() ? QString() : port_.errorString();
}

void Scanner::Enable(bool on)
{
    if (on)
        Open();
    else
        port_.close();
}

void Scanner::StartUp()
{
    if (Open())
        port_.write(QByteArray(1, '\0'));
}

void Scanner::Received()
{
    for (const ScanCode& code : buffer_.append(port_.readAll())) {
        if (code.valid)
            emit numberScanned(code.number);
        else
            emit codeRejected(code.text);
    }
}

} // namespace zr::production
