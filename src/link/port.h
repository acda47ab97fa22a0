#pragma once
// What the link needs of a serial line, and nothing more. Implemented by the QSerialPort adapter
// (platform/) and by the simulated meter (sim/).

#include <QByteArray>
#include <QObject>
#include <QString>

namespace zr::link
{

// The ninth data bit of the meter bus: MARK for the address byte, SPACE for frames.
enum class Parity { Mark, Space };

class Port : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // name: the system's port name (COM3 on Windows, ttyS0 or a device path elsewhere).
    virtual bool open(const QString& name) = 0;
    virtual bool close() = 0;
    virtual bool isOpen() const = 0;
    // Take effect at once, also while open; never purge the driver buffers.
    virtual bool setBaudRate(int baud) = 0;
    virtual bool setParity(Parity parity) = 0;
    virtual Parity parity() const = 0;
    virtual bool assertRts() = 0;
    // Hands the bytes over to the driver (waits at most 1000 ms).
    virtual bool write(const QByteArray& bytes) = 0;
    // Every byte waiting in the receive queue, possibly none; never waits.
    virtual QByteArray readAvailable() = 0;

signals:
    // Bytes are waiting; delivered on the thread that owns the port (the UI thread), in order.
    void received();
    // The line has become unusable while open (device removed, other end gone, a failed read or
    // write); reason is the system's text. Reported once per open; the port stays open until
    // the listener closes it.
    void lost(const QString& reason);
};

} // namespace zr::link
