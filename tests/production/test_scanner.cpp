// The barcode scanner: the scan buffer by table, and the port on a pseudo-terminal.

#include "production/scan_buffer.h"
#include "production/scanner.h"

#include <QSignalSpy>
#include <QtTest>

#ifndef Q_OS_WIN
#include "support/pty.h"
#endif

using namespace zr::production;

namespace
{

// The codes as text: a number as its value, anything else as "!" and its text.
QStringList Render(const QList<ScanCode>& codes)
{
    QStringList out;
    for (const ScanCode& c : codes)
        out << (c.valid ? QString::number(c.number) : "!" + QString::fromLatin1(c.text));
    return out;
}

} // namespace

class TestScanner : public QObject
{
    Q_OBJECT
private slots:
    void buffer_data()
    {
        QTest::addColumn<QList<QByteArray>>("pieces");
        QTest::addColumn<QStringList>("codes"); // after the last piece, all pieces together
        QTest::addColumn<QStringList>("early"); // after all pieces but the last
        QTest::addColumn<QByteArray>("pending");
        using L = QList<QByteArray>;
        QTest::newRow("one piece")
            << L{"123456\r"} << QStringList{"123456"} << QStringList{} << QByteArray();
        QTest::newRow("several pieces")
            << L{"12", "34", "56\r"} << QStringList{"123456"} << QStringList{} << QByteArray();
        QTest::newRow("CR LF keeps the LF")
            << L{"004512\r\n"} << QStringList{"4512"} << QStringList{} << QByteArray("\n");
        QTest::newRow("LF before the next code")
            << L{"004512\r\n", "777\r"} << QStringList{"4512", "777"} << QStringList{"4512"}
            << QByteArray();
        QTest::newRow("two codes in one piece")
            << L{"123\r456\r"} << QStringList{"123", "456"} << QStringList{} << QByteArray();
        QTest::newRow("blanks around")
            << L{"\x02 42 \t\r"} << QStringList{"42"} << QStringList{} << QByteArray();
        QTest::newRow("not a number")
            << L{"12A4\r"} << QStringList{"!12A4"} << QStringList{} << QByteArray();
        QTest::newRow("sign is not a digit")
            << L{"-5\r"} << QStringList{"!-5"} << QStringList{} << QByteArray();
        QTest::newRow("too large for a number")
            << L{"99999999999\r"} << QStringList{"!99999999999"} << QStringList{} << QByteArray();
        QTest::newRow("empty line is no code")
            << L{"\r\n\r"} << QStringList{} << QStringList{} << QByteArray();
        QTest::newRow("no CR yet")
            << L{"1234"} << QStringList{} << QStringList{} << QByteArray("1234");
        QTest::newRow("endless noise is dropped")
            << L{QByteArray(300, 'x'), "12\r"} << QStringList{"12"} << QStringList{}
            << QByteArray();
    }
    void buffer()
    {
        QFETCH(QList<QByteArray>, pieces);
        QFETCH(QStringList, codes);
        QFETCH(QStringList, early);
        QFETCH(QByteArray, pending);
        ScanBuffer buffer;
        QStringList got;
        for (int i = 0; i < pieces.size(); ++i) {
            got << Render(buffer.append(pieces[i]));
            if (i == pieces.size() - 2)
                QCOMPARE(got, early);
        }
        QCOMPARE(got, codes);
        QCOMPARE(buffer.pending(), pending);
    }

#ifndef Q_OS_WIN
    void portOnPseudoTerminal_data()
    {
        QTest::addColumn<QList<QByteArray>>("pieces");
        QTest::addColumn<QList<int>>("numbers");
        QTest::addColumn<QStringList>("rejected");
        using L = QList<QByteArray>;
        QTest::newRow("one piece") << L{"123456\r"} << QList<int>{123456} << QStringList{};
        QTest::newRow("several pieces")
            << L{"12", "34", "56\r"} << QList<int>{123456} << QStringList{};
        QTest::newRow("two codes in one piece")
            << L{"123\r456\r"} << QList<int>{123, 456} << QStringList{};
        QTest::newRow("CR LF") << L{"004512\r\n", "000777\r\n"} << QList<int>{4512, 777}
                               << QStringList{};
        QTest::newRow("not a number") << L{"AB-12\r"} << QList<int>{} << QStringList{"AB-12"};
    }
    void portOnPseudoTerminal()
    {
        QFETCH(QList<QByteArray>, pieces);
        QFETCH(QList<int>, numbers);
        QFETCH(QStringList, rejected);
        zr::test::Pty pty;
        QVERIFY(!pty.slave.isEmpty());
        Scanner scanner;
        QSignalSpy scanned(&scanner, &Scanner::numberScanned);
        QSignalSpy refused(&scanner, &Scanner::codeRejected);
        QCOMPARE(scanner.SelectPort(pty.slave), QString());
        QVERIFY(scanner.isOpen());
        for (int i = 0; i < pieces.size(); ++i) {
            QVERIFY(pty.write(pieces[i]));
            if (i + 1 < pieces.size() && !pieces[i].contains('\r')) {
                QTest::qWait(50); // each piece arrives on its own, and ends no code
                QCOMPARE(scanned.size() + refused.size(), 0);
            }
        }
        QTRY_COMPARE(scanned.size() + refused.size(), numbers.size() + rejected.size());
        QList<int> gotNumbers;
        for (const auto& args : scanned)
            gotNumbers << args.at(0).toInt();
        QStringList gotRejected;
        for (const auto& args : refused)
            gotRejected << QString::fromLatin1(args.at(0).toByteArray());
        QCOMPARE(gotNumbers, numbers);
        QCOMPARE(gotRejected, rejected);
    }

    void lineIs9600WithoutParityOrFlowControl()
    {
        zr::test::Pty pty;
        Scanner scanner;
        QCOMPARE(scanner.SelectPort(pty.slave), QString());
        const termios tio = pty.line();
        QCOMPARE(::cfgetospeed(&tio), speed_t(B9600));
        QCOMPARE(tio.c_cflag & CSIZE, tcflag_t(CS8));
        QCOMPARE(tio.c_cflag & (PARENB | CSTOPB | CRTSCTS), tcflag_t(0));
        QCOMPARE(tio.c_iflag & (IXON | IXOFF), tcflag_t(0));
    }

    void openAndCloseRules()
    {
        zr::test::Pty first;
        zr::test::Pty second;
        ::fcntl(first.master, F_SETFL, O_NONBLOCK);
        Scanner scanner;
        scanner.setPortEntry(first.slave);
        scanner.Enable(true);
        QVERIFY(scanner.isOpen());
        scanner.Enable(false);
        QVERIFY(!scanner.isOpen());
        scanner.Enable(false); // closing a closed port is nothing
        QVERIFY(!scanner.isOpen());

        // Start-up wakes the scanner with one zero byte.
        scanner.StartUp();
        QVERIFY(scanner.isOpen());
        QCOMPARE(first.read(1), QByteArray(1, '\0'));

        // Choosing another port moves to it; a partial code waits there for its end.
        QSignalSpy scanned(&scanner, &Scanner::numberScanned);
        QVERIFY(first.write("12"));
        QTest::qWait(50);
        QCOMPARE(scanner.SelectPort(second.slave), QString());
        QVERIFY(second.write("34\r"));
        QTRY_COMPARE(scanned.size(), 1);
        QCOMPARE(scanned.at(0).at(0).toInt(), 1234);

        // A port that cannot be opened is reported and stays closed; the switch fails quietly.
        const QString error = scanner.SelectPort("/nonexistent/tty");
        QVERIFY(!error.isEmpty());
        QVERIFY(!scanner.isOpen());
        scanner.Enable(true);
        QVERIFY(!scanner.isOpen());
    }
#endif
};

QObject* NewScannerTest()
{
    return new TestScanner;
}

#include "test_scanner.moc"
