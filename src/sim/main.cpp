// zr347-sim: a simulated meter on a pseudo-terminal or a real serial port, so that the program can
// be tried end to end on a real serial port driver, with no meter at hand.

#include "link/line_speed.h"
#include "link/password.h"
#include "sim/bus.h"
#include "sim/demo.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

using namespace zr;

namespace
{

volatile std::sig_atomic_t gStop = 0;

void Stop(int)
{
    gStop = 1;
}

constexpr speed_t kSpeeds[] = {B4800, B9600, B19200, B38400};

speed_t SpeedOf(int baud)
{
    return kSpeeds[std::max(link::IndexOfBaud(baud), 0)];
}

// 0 for a speed the meter never uses.
int BaudOf(speed_t speed)
{
    for (int i = 0; i < 4; ++i) {
        if (kSpeeds[i] == speed)
            return link::BaudForIndex(i);
    }
    return 0;
}

// The line the simulator serves. On a pseudo-terminal the program's end (the slave) is kept open
// as well: a pseudo-terminal carries no parity bit, but the slave's settings show the parity and
// speed the program set when it wrote. On a real port the parity bit itself arrives, marked.
struct Line {
    int fd = -1;
    int slave = -1;
    sim::MarkDecoder decoder;

    // Splits what was read by parity; `baud` becomes the speed the bytes were sent at.
    std::vector<sim::Run> runs(const QByteArray& bytes, int& baud)
    {
        if (slave < 0)
            return decoder.decode(bytes);
        termios tio{};
        // The pseudo-terminal clears PARENB but keeps CMSPAR and PARODD.
        if (tcgetattr(slave, &tio) != 0 || !(tio.c_cflag & CMSPAR))
            return {}; // neither MARK nor SPACE: not meant for a meter
        baud = BaudOf(cfgetospeed(&tio));
        return {{bytes, (tio.c_cflag & PARODD) ? link::Parity::Mark : link::Parity::Space}};
    }
};

bool SetRaw(int fd, int baud, bool markParity)
{
    termios tio{};
    if (tcgetattr(fd, &tio) != 0)
        return false;
    cfmakeraw(&tio);
    cfsetspeed(&tio, SpeedOf(baud));
    tio.c_cflag |= CLOCAL | CREAD;
    tio.c_cflag &= ~(CRTSCTS | PARODD);
    if (markParity) {
        // SPACE parity with parity errors marked: an address byte (MARK) arrives as FF 00 b.
        tio.c_cflag |= PARENB | CMSPAR;
        tio.c_iflag |= INPCK | PARMRK;
        tio.c_iflag &= ~(IGNPAR | ISTRIP);
    }
    return tcsetattr(fd, TCSANOW, &tio) == 0;
}

bool OpenPty(Line& line, QString& slavePath)
{
    line.fd = posix_openpt(O_RDWR | O_NOCTTY);
    if (line.fd < 0 || grantpt(line.fd) != 0 || unlockpt(line.fd) != 0)
        return false;
    slavePath = QString::fromLocal8Bit(ptsname(line.fd));
    line.slave = open(ptsname(line.fd), O_RDWR | O_NOCTTY);
    // Raw from the start, so the pseudo-terminal never echoes the meter's answers back to it.
    return line.slave >= 0 && SetRaw(line.slave, 4800, false);
}

void Serve(Line& line, sim::Bus& bus)
{
    const bool realPort = line.slave < 0;
    char buffer[512];
    while (!gStop) {
        pollfd pfd{line.fd, POLLIN, 0};
        if (poll(&pfd, 1, 200) <= 0)
            continue;
        const ssize_t n = read(line.fd, buffer, sizeof buffer);
        if (n <= 0) {
            if (n < 0 && errno != EAGAIN && errno != EINTR && errno != EIO)
                return;
            usleep(20000); // EIO while no program holds the pseudo-terminal
            continue;
        }
        const int ownBaud = bus.meter().state().baud;
        int baud = ownBaud;
        for (const sim::Run& run : line.runs(QByteArray(buffer, int(n)), baud)) {
            for (const sim::Chunk& chunk : bus.receive(run.bytes, run.parity, baud)) {
                usleep(useconds_t(chunk.delayMs) * 1000);
                if (write(line.fd, chunk.bytes.constData(), size_t(chunk.bytes.size())) < 0)
                    return;
            }
        }
        // A new link speed was acknowledged at the old one; a real port follows the meter.
        if (realPort && bus.meter().state().baud != ownBaud) {
            tcdrain(line.fd);
            SetRaw(line.fd, bus.meter().state().baud, true);
        }
    }
}

// "all" or a function code.
QList<uint8_t> Functions(const QString& text)
{
    QList<uint8_t> codes;
    if (text == QLatin1String("all")) {
        for (int code = 0; code < 128; ++code)
            codes.append(uint8_t(code));
        return codes;
    }
    bool ok = false;
    const int code = text.toInt(&ok, 0);
    if (ok && code >= 0 && code < 256)
        codes.append(uint8_t(code));
    return codes;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zr347-sim"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Simulated ZR-347 meter on a serial line."));
    parser.addHelpOption();
    const QCommandLineOption pty(QStringLiteral("pty"),
                                 QStringLiteral("Serve a new pseudo-terminal; prints its path."));
    const QCommandLineOption link(QStringLiteral("link"),
                                  QStringLiteral("Make a symbolic link to the pseudo-terminal."),
                                  QStringLiteral("path"));
    const QCommandLineOption port(QStringLiteral("port"), QStringLiteral("Serve a serial port."),
                                  QStringLiteral("device"));
    const QCommandLineOption address(QStringLiteral("address"),
                                     QStringLiteral("Meter address (default 0)."),
                                     QStringLiteral("n"), QStringLiteral("0"));
    const QCommandLineOption baud(QStringLiteral("baud"),
                                  QStringLiteral("Line speed: 4800, 9600, 19200, 38400."),
                                  QStringLiteral("n"), QStringLiteral("4800"));
    const QCommandLineOption number(QStringLiteral("number"),
                                    QStringLiteral("Factory number (0 = not yet assigned)."),
                                    QStringLiteral("n"));
    const QCommandLineOption password(QStringLiteral("password"),
                                      QStringLiteral("Access password (default empty)."),
                                      QStringLiteral("text"));
    const QCommandLineOption error(QStringLiteral("error"),
                                   QStringLiteral("Answer a function with an error code."),
                                   QStringLiteral("function:code"));
    const QCommandLineOption noEcho(QStringLiteral("no-echo"),
                                    QStringLiteral("Do not echo the address."));
    const QCommandLineOption silent(QStringLiteral("silent"),
                                    QStringLiteral("Do not answer a function (or all)."),
                                    QStringLiteral("function"));
    const QCommandLineOption badChecksum(
        QStringLiteral("bad-checksum"),
        QStringLiteral("Spoil the checksum of a function's answers."), QStringLiteral("function"));
    const QCommandLineOption surplus(QStringLiteral("surplus"),
                                     QStringLiteral("Add a surplus byte to a function's answers."),
                                     QStringLiteral("function"));
    const QCommandLineOption pieces(QStringLiteral("pieces"),
                                    QStringLiteral("Split every answer into n pieces."),
                                    QStringLiteral("n"), QStringLiteral("1"));
    const QCommandLineOption delay(QStringLiteral("delay"),
                                   QStringLiteral("Wait before every answer."),
                                   QStringLiteral("ms"), QStringLiteral("0"));
    parser.addOptions({pty, link, port, address, baud, number, password, error, noEcho, silent,
                       badChecksum, surplus, pieces, delay});
    parser.process(app);

    QTextStream err(stderr);
    if (parser.isSet(pty) == parser.isSet(port)) {
        err << "Give either --pty or --port DEVICE.\n";
        return 2;
    }
    auto meter = sim::MakeDemoMeter();
    sim::MeterState& state = meter->state();
    const uint addressValue = parser.value(address).toUInt();
    state.baud = parser.value(baud).toInt();
    if (addressValue > 255 || link::IndexOfBaud(state.baud) < 0) {
        err << "The address is 0..255; the speed 4800, 9600, 19200 or 38400.\n";
        return 2;
    }
    state.address = uint8_t(addressValue);
    if (parser.isSet(number))
        state.factoryNumber = parser.value(number).toUInt() & 0xFFFFFF;
    state.password = link::PasswordBytes(parser.value(password));

    sim::Bus bus(*meter);
    sim::Faults& faults = bus.faults();
    for (const QString& item : parser.values(error)) {
        const QStringList parts = item.split(QLatin1Char(':'));
        for (uint8_t code : Functions(parts.value(0)))
            faults.errorFor.insert(code, uint8_t(parts.value(1).toUInt()));
    }
    faults.noEcho = parser.isSet(noEcho);
    const auto collect = [&parser](const QCommandLineOption& option, QSet<uint8_t>& set) {
        for (const QString& item : parser.values(option))
            for (uint8_t code : Functions(item))
                set.insert(code);
    };
    collect(silent, faults.silentFor);
    collect(badChecksum, faults.badChecksumFor);
    collect(surplus, faults.surplusFor);
    faults.pieces = parser.value(pieces).toInt();
    faults.delayMs = parser.value(delay).toInt();

    Line line;
    const QString linkPath = parser.value(link);
    if (parser.isSet(pty)) {
        QString slavePath;
        if (!OpenPty(line, slavePath)) {
            err << "Cannot open a pseudo-terminal: " << strerror(errno) << "\n";
            return 1;
        }
        if (!linkPath.isEmpty()) {
            const QByteArray path = QFile::encodeName(linkPath);
            if (QFileInfo(linkPath).isSymLink())
                unlink(path.constData());
            if (symlink(ptsname(line.fd), path.constData()) != 0) {
                err << "Cannot make the link " << linkPath << ": " << strerror(errno) << "\n";
                return 1;
            }
        }
        QTextStream(stdout) << slavePath << Qt::endl;
    } else {
        line.fd = open(QFile::encodeName(parser.value(port)).constData(), O_RDWR | O_NOCTTY);
        if (line.fd < 0 || !SetRaw(line.fd, state.baud, true)) {
            err << "Cannot open " << parser.value(port) << ": " << strerror(errno) << "\n";
            return 1;
        }
    }

    std::signal(SIGINT, Stop);
    std::signal(SIGTERM, Stop);
    std::signal(SIGHUP, Stop);
    Serve(line, bus);
    if (!linkPath.isEmpty())
        unlink(QFile::encodeName(linkPath).constData());
    return 0;
}
