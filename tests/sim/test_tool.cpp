#include "suites.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

using zr::sim::test::Frame;
using zr::sim::test::Hex;

namespace
{

// What the program's serial port does on this platform: raw 8 data bits, MARK or SPACE parity.
// A pseudo-terminal drops PARENB, so the C library may report a repeated setting as failed
// although it holds: the settings read back decide.
bool SetLine(int fd, speed_t speed, bool mark)
{
    termios tio{};
    if (tcgetattr(fd, &tio) != 0)
        return false;
    cfmakeraw(&tio);
    cfsetspeed(&tio, speed);
    tio.c_cflag |= CLOCAL | CREAD | PARENB | CMSPAR;
    if (mark)
        tio.c_cflag |= PARODD;
    else
        tio.c_cflag &= ~PARODD;
    tcsetattr(fd, TCSANOW, &tio);
    termios now{};
    return tcgetattr(fd, &now) == 0 && (now.c_cflag & CMSPAR) &&
           bool(now.c_cflag & PARODD) == mark && cfgetospeed(&now) == speed;
}

// Reads until `count` bytes came or `ms` passed without any.
QByteArray ReadBytes(int fd, int count, int ms)
{
    QByteArray got;
    char buffer[64];
    while (got.size() < count) {
        pollfd pfd{fd, POLLIN, 0};
        if (poll(&pfd, 1, ms) <= 0)
            break;
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0)
            break;
        got.append(buffer, int(n));
    }
    return got;
}

} // namespace

class TestTool : public QObject
{
    Q_OBJECT

    QTemporaryDir dir_;
    QProcess tool_;
    QString link_;
    int fd_ = -1;

private slots:
    void initTestCase()
    {
        link_ = dir_.filePath(QStringLiteral("zr347"));
        tool_.start(QStringLiteral(ZR_SIM_TOOL),
                    {QStringLiteral("--pty"), QStringLiteral("--link"), link_,
                     QStringLiteral("--address"), QStringLiteral("5"), QStringLiteral("--number"),
                     QStringLiteral("123456")});
        QVERIFY(tool_.waitForReadyRead(10000));
        const QString slave = QString::fromLocal8Bit(tool_.readLine()).trimmed();
        QVERIFY(slave.startsWith(QLatin1String("/dev/")));
        QCOMPARE(QFileInfo(link_).symLinkTarget(), slave);
        fd_ = open(QFile::encodeName(link_).constData(), O_RDWR | O_NOCTTY);
        QVERIFY(fd_ >= 0);
    }

    void cleanupTestCase()
    {
        if (fd_ >= 0)
            close(fd_);
        tool_.terminate();
        QVERIFY(tool_.waitForFinished(5000));
        QVERIFY(!QFileInfo::exists(link_) && !QFileInfo(link_).isSymLink());
    }

    void handshake_data()
    {
        QTest::addColumn<bool>("mark");
        QTest::addColumn<int>("speed");
        QTest::addColumn<QByteArray>("address");
        QTest::addColumn<bool>("answered");
        QTest::newRow("ours, MARK") << true << int(B4800) << Hex("05") << true;
        QTest::newRow("ours, SPACE") << false << int(B4800) << Hex("05") << false;
        QTest::newRow("ours, other speed") << true << int(B9600) << Hex("05") << false;
        QTest::newRow("another meter") << true << int(B4800) << Hex("06") << false;
    }

    void handshake()
    {
        QFETCH(bool, mark);
        QFETCH(int, speed);
        QFETCH(QByteArray, address);
        QFETCH(bool, answered);
        QVERIFY(SetLine(fd_, speed_t(speed), mark));
        QCOMPARE(write(fd_, address.constData(), 1), ssize_t(1));
        const QByteArray echo = ReadBytes(fd_, 1, answered ? 3000 : 300);
        QCOMPARE(echo, answered ? address : QByteArray());
        if (!answered)
            return;
        QVERIFY(SetLine(fd_, speed_t(speed), false));
        const QByteArray request = Frame("01 02");
        QCOMPARE(write(fd_, request.constData(), size_t(request.size())), ssize_t(4));
        QCOMPARE(ReadBytes(fd_, 7, 3000).toHex(' '), Hex("01 05 40 E2 01 91 B8").toHex(' '));
    }
};

int zr::sim::test::RunToolTests(int argc, char** argv)
{
    TestTool t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_tool.moc"
