#include "suites.h"

#include "sim/demo.h"
#include "sim/sim_port.h"

#include <QSignalSpy>
#include <QTest>
#include <memory>

using namespace zr;
using namespace zr::sim;
using link::Parity;
using zr::sim::test::Frame;
using zr::sim::test::Hex;

class TestSimPort : public QObject
{
    Q_OBJECT

    std::unique_ptr<SimPort> port_;

    // Writes with the given parity and collects what arrives until `expected` bytes came.
    QByteArray exchange(Parity parity, const QByteArray& bytes, int expected,
                        int* notifications = nullptr)
    {
        QSignalSpy spy(port_.get(), &link::Port::received);
        port_->setParity(parity);
        port_->write(bytes);
        QByteArray got;
        while (got.size() < expected && (spy.count() > 0 || spy.wait(500))) {
            got += port_->readAvailable();
            if (got.size() < expected)
                spy.clear();
        }
        if (notifications)
            *notifications = int(spy.count());
        return got;
    }

private slots:
    void init()
    {
        auto meter = std::make_unique<Meter>(0, 0, [] { return qint64(0); });
        meter->state().address = 5;
        meter->state().factoryNumber = 123456;
        port_ = std::make_unique<SimPort>(std::move(meter));
        QVERIFY(port_->open(QStringLiteral("sim")));
    }

    void answersAsynchronously()
    {
        QSignalSpy spy(port_.get(), &link::Port::received);
        port_->setParity(Parity::Mark);
        QVERIFY(port_->write(Hex("05")));
        QCOMPARE(spy.count(), 0);
        QVERIFY(port_->readAvailable().isEmpty());
        QVERIFY(spy.wait(2000));
        QCOMPARE(port_->readAvailable(), Hex("05"));
        QCOMPARE(exchange(Parity::Space, Frame("01 02"), 7), Hex("01 05 40 E2 01 91 B8"));
    }

    void splitResponse()
    {
        port_->faults().pieces = 3;
        QCOMPARE(exchange(Parity::Mark, Hex("05"), 1), Hex("05"));
        QSignalSpy spy(port_.get(), &link::Port::received);
        port_->setParity(Parity::Space);
        port_->write(Frame("01 02"));
        QList<QByteArray> pieces;
        while (pieces.size() < 3 && spy.wait(2000))
            pieces.append(port_->readAvailable());
        QCOMPARE(pieces.size(), 3);
        QCOMPARE(pieces.join().toHex(' '), Hex("01 05 40 E2 01 91 B8").toHex(' '));
        for (const QByteArray& piece : pieces)
            QVERIFY(!piece.isEmpty());
    }

    void delayedResponse()
    {
        port_->faults().delayMs = 150;
        QCOMPARE(exchange(Parity::Mark, Hex("05"), 1), Hex("05"));
        QSignalSpy spy(port_.get(), &link::Port::received);
        port_->setParity(Parity::Space);
        port_->write(Frame("01 02"));
        QCoreApplication::processEvents();
        QCOMPARE(spy.count(), 0);
        QVERIFY(spy.wait(2000));
        QCOMPARE(port_->readAvailable(), Hex("01 05 40 E2 01 91 B8"));
    }

    void otherSpeedIgnored()
    {
        port_->setBaudRate(9600);
        QVERIFY(exchange(Parity::Mark, Hex("05"), 1).isEmpty());
    }

    // The meter takes the new address and speed after acknowledging them at the old ones.
    void newLinkParameters()
    {
        QCOMPARE(exchange(Parity::Mark, Hex("05"), 1), Hex("05"));
        QCOMPARE(exchange(Parity::Space, Frame("01 02"), 7).left(2), Hex("01 05"));
        QCOMPARE(exchange(Parity::Mark, Hex("05"), 1), Hex("05"));
        QCOMPARE(exchange(Parity::Space, Frame("11 02"), 9).left(2), Hex("11 07"));
        QCOMPARE(exchange(Parity::Mark, Hex("05"), 1), Hex("05"));
        QCOMPARE(exchange(Parity::Space, Frame("14 08 40 E2 01 40 E2 01"), 4), Frame("14 02"));
        QCOMPARE(exchange(Parity::Mark, Hex("05"), 1), Hex("05"));
        QCOMPARE(exchange(Parity::Space, Frame("03 04 09 02"), 4), Frame("03 02"));
        QVERIFY(exchange(Parity::Mark, Hex("09"), 1).isEmpty());
        port_->setBaudRate(19200);
        QVERIFY(exchange(Parity::Mark, Hex("05"), 1).isEmpty());
        QCOMPARE(exchange(Parity::Mark, Hex("09"), 1), Hex("09"));
    }

    void closedPort()
    {
        port_->setParity(Parity::Mark);
        QVERIFY(port_->write(Hex("05")));
        QVERIFY(port_->close());
        QVERIFY(!port_->isOpen());
        QVERIFY(!port_->write(Hex("05")));
        QVERIFY(port_->open(QStringLiteral("sim")));
        QSignalSpy spy(port_.get(), &link::Port::received);
        QCoreApplication::processEvents();
        QCOMPARE(spy.count(), 0);
        QVERIFY(port_->readAvailable().isEmpty());
    }

    // The demonstration meter answers at address 0 and 4800 bit/s with its identity.
    void demoPort()
    {
        std::unique_ptr<SimPort> demo(CreateDemoPort());
        port_.swap(demo);
        QVERIFY(port_->open(kDemoPortName));
        QCOMPARE(exchange(Parity::Mark, Hex("00"), 1), Hex("00"));
        QCOMPARE(exchange(Parity::Space, Frame("00 02"), 9), Frame("00 07 15 02 01 47 03"));
        QCOMPARE(port_->meter().state().events.size(), size_t(kEventSlots));
    }
};

int zr::sim::test::RunSimPortTests(int argc, char** argv)
{
    TestSimPort t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_sim_port.moc"
