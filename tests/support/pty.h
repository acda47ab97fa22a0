#pragma once
// The master side of a pseudo-terminal (POSIX); the code under test opens its slave like any
// serial device.

#include <QElapsedTimer>
#include <QString>
#include <QtTest>

#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

namespace zr::test
{

struct Pty {
    int master = -1;
    QString slave;
    Pty()
    {
        master = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0)
            slave = QString::fromLocal8Bit(::ptsname(master));
    }
    ~Pty()
    {
        if (master >= 0)
            ::close(master);
    }
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;

    // Reads until count bytes have arrived or 2 s have passed; the master must be non-blocking.
    QByteArray read(int count)
    {
        QByteArray bytes;
        QElapsedTimer timer;
        timer.start();
        while (bytes.size() < count && timer.elapsed() < 2000) {
            char buffer[64];
            const ssize_t n = ::read(master, buffer, sizeof buffer);
            if (n > 0)
                bytes.append(buffer, int(n));
            else
                QTest::qWait(5);
        }
        return bytes;
    }
    bool write(const QByteArray& bytes)
    {
        return ::write(master, bytes.constData(), size_t(bytes.size())) == ssize_t(bytes.size());
    }
    termios line() const
    {
        termios tio{};
        ::tcgetattr(master, &tio); // reaches the slave's settings
        return tio;
    }
};

} // namespace zr::test
