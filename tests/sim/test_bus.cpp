#include "suites.h"

#include "sim/bus.h"

#include <QTest>
#include <memory>

using namespace zr;
using namespace zr::sim;
using link::Parity;
using zr::sim::test::Frame;
using zr::sim::test::Hex;

namespace
{

QByteArray Joined(const std::vector<Chunk>& chunks)
{
    QByteArray all;
    for (const Chunk& c : chunks)
        all += c.bytes;
    return all;
}

} // namespace

class TestBus : public QObject
{
    Q_OBJECT

    std::unique_ptr<Meter> meter_;
    std::unique_ptr<Bus> bus_;

    std::vector<Chunk> send(const char* hex, Parity parity, int baud = 4800)
    {
        return bus_->receive(Hex(hex), parity, baud);
    }

private slots:
    void init()
    {
        meter_ = std::make_unique<Meter>(0, 0, [] { return qint64(0); });
        meter_->state().address = 5;
        meter_->state().factoryNumber = 123456;
        bus_ = std::make_unique<Bus>(*meter_);
    }

    void exchange()
    {
        const std::vector<Chunk> echo = send("05", Parity::Mark);
        QCOMPARE(echo.size(), size_t(1));
        QCOMPARE(echo[0].bytes, Hex("05"));
        QCOMPARE(Joined(send("01 02 81 E1", Parity::Space)), Hex("01 05 40 E2 01 91 B8"));
        // One frame per address byte.
        QVERIFY(send("01 02 81 E1", Parity::Space).empty());
    }

    void frameInPieces()
    {
        send("05", Parity::Mark);
        QVERIFY(send("01", Parity::Space).empty());
        QVERIFY(send("02 81", Parity::Space).empty());
        QCOMPARE(Joined(send("E1 00 02", Parity::Space)), Hex("01 05 40 E2 01 91 B8"));
        QVERIFY(send("02 81 E1", Parity::Space).empty());
    }

    void notAddressed_data()
    {
        QTest::addColumn<QByteArray>("address");
        QTest::addColumn<int>("parity");
        QTest::addColumn<int>("baud");
        QTest::newRow("other address") << Hex("06") << int(Parity::Mark) << 4800;
        QTest::newRow("address with SPACE") << Hex("05") << int(Parity::Space) << 4800;
        QTest::newRow("other speed") << Hex("05") << int(Parity::Mark) << 9600;
        QTest::newRow("ours, then another") << Hex("05 06") << int(Parity::Mark) << 4800;
    }

    void notAddressed()
    {
        QFETCH(QByteArray, address);
        QFETCH(int, parity);
        QFETCH(int, baud);
        bus_->receive(address, Parity(parity), baud);
        QVERIFY(send("01 02 81 E1", Parity::Space).empty());
    }

    // After a new speed is acknowledged, only bytes at that speed are understood.
    void speedChange()
    {
        meter_->state().baud = 9600;
        QVERIFY(send("05", Parity::Mark, 4800).empty());
        QCOMPARE(Joined(send("05", Parity::Mark, 9600)), Hex("05"));
        QVERIFY(send("01 02 81 E1", Parity::Space, 4800).empty());
        QCOMPARE(Joined(send("01 02 81 E1", Parity::Space, 9600)).left(2), Hex("01 05"));
    }

    void faults_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("value");
        QTest::addColumn<QByteArray>("response");
        QTest::addColumn<int>("pieces");
        QTest::addColumn<int>("delay");
        const QByteArray normal = Hex("01 05 40 E2 01 91 B8");
        QTest::newRow("none") << 0 << 0 << normal << 1 << 0;
        QTest::newRow("error for the function") << 1 << 5 << Frame("81 03 05") << 1 << 0;
        QTest::newRow("error for another function") << 2 << 5 << normal << 1 << 0;
        QTest::newRow("silent") << 3 << 1 << QByteArray() << 0 << 0;
        QTest::newRow("silent for another function") << 3 << 0 << normal << 1 << 0;
        QTest::newRow("bad checksum") << 4 << 1 << Hex("01 05 40 E2 01 6E B8") << 1 << 0;
        QTest::newRow("surplus byte") << 5 << 1 << normal + Hex("00") << 1 << 0;
        QTest::newRow("three pieces") << 6 << 3 << normal << 3 << 0;
        QTest::newRow("more pieces than bytes") << 6 << 100 << normal << 7 << 0;
        QTest::newRow("delay") << 7 << 250 << normal << 1 << 250;
    }

    void faults()
    {
        QFETCH(int, kind);
        QFETCH(int, value);
        QFETCH(QByteArray, response);
        QFETCH(int, pieces);
        QFETCH(int, delay);
        Faults& f = bus_->faults();
        switch (kind) {
        case 1:
            f.errorFor.insert(1, uint8_t(value));
            break;
        case 2:
            f.errorFor.insert(0, uint8_t(value));
            break;
        case 3:
            f.silentFor.insert(uint8_t(value));
            break;
        case 4:
            f.badChecksumFor.insert(uint8_t(value));
            break;
        case 5:
            f.surplusFor.insert(uint8_t(value));
            break;
        case 6:
            f.pieces = value;
            break;
        case 7:
            f.delayMs = value;
            break;
        }
        QCOMPARE(Joined(send("05", Parity::Mark)), Hex("05"));
        const std::vector<Chunk> chunks = send("01 02 81 E1", Parity::Space);
        QCOMPARE(Joined(chunks).toHex(' '), response.toHex(' '));
        QCOMPARE(int(chunks.size()), pieces);
        for (size_t i = 0; i < chunks.size(); ++i) {
            QVERIFY(!chunks[i].bytes.isEmpty());
            QCOMPARE(chunks[i].delayMs, i == 0 ? delay : kPieceGapMs);
        }
    }

    // An injected error stands in for the meter: the request is not carried out.
    void injectedErrorLeavesTheState()
    {
        bus_->faults().errorFor.insert(20, 6);
        send("05", Parity::Mark);
        QCOMPARE(Joined(bus_->receive(Frame("14 08 00 00 00 00 00 00"), Parity::Space, 4800)),
                 Frame("94 03 06"));
        QVERIFY(!meter_->accessGranted());
    }

    void noEcho()
    {
        bus_->faults().noEcho = true;
        QVERIFY(send("05", Parity::Mark).empty());
        QVERIFY(send("01 02 81 E1", Parity::Space).empty());
    }

    void marks_data()
    {
        QTest::addColumn<QList<QByteArray>>("reads");
        QTest::addColumn<QByteArray>("mark");
        QTest::addColumn<QByteArray>("space");
        QTest::addColumn<int>("runs");
        QTest::newRow("plain") << QList<QByteArray>{Hex("01 02 81 E1")} << QByteArray()
                               << Hex("01 02 81 E1") << 1;
        QTest::newRow("address then frame")
            << QList<QByteArray>{Hex("FF 00 05 01 02")} << Hex("05") << Hex("01 02") << 2;
        QTest::newRow("data byte FF")
            << QList<QByteArray>{Hex("01 FF FF 02")} << QByteArray() << Hex("01 FF 02") << 1;
        QTest::newRow("mark cut after FF")
            << QList<QByteArray>{Hex("FF"), Hex("00 07")} << Hex("07") << QByteArray() << 1;
        QTest::newRow("mark cut after 00")
            << QList<QByteArray>{Hex("FF 00"), Hex("00")} << Hex("00") << QByteArray() << 1;
        QTest::newRow("lone FF") << QList<QByteArray>{Hex("FF 41")} << QByteArray() << Hex("FF 41")
                                 << 1;
    }

    void marks()
    {
        QFETCH(QList<QByteArray>, reads);
        QFETCH(QByteArray, mark);
        QFETCH(QByteArray, space);
        QFETCH(int, runs);
        MarkDecoder decoder;
        QByteArray marked, spaced;
        int count = 0;
        for (const QByteArray& read : reads) {
            for (const Run& run : decoder.decode(read)) {
                (run.parity == Parity::Mark ? marked : spaced) += run.bytes;
                ++count;
            }
        }
        QCOMPARE(marked.toHex(' '), mark.toHex(' '));
        QCOMPARE(spaced.toHex(' '), space.toHex(' '));
        QCOMPARE(count, runs);
    }
};

int zr::sim::test::RunBusTests(int argc, char** argv)
{
    TestBus t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_bus.moc"
