#include "meter/readings.h"

#include "link/frame.h"
#include "link/function_code.h"
#include "meter/encodings.h"
#include "meter/write_opening.h"
#include "sim/demo.h"

#include "support/hex.h"
#include "support/response.h"

#include <QtTest>

using namespace zr::meter;
using namespace zr::test;

namespace
{

QByteArray reading(int selector, double value)
{
    QByteArray p;
    p.append(char(selector));
    p.append('\0');
    AppendU32(p, EncodeMeterFloat(value));
    return Response(zr::link::ReadReading, p);
}

const QLocale kRussian(QLocale::Russian, QLocale::Russia);

} // namespace

Q_DECLARE_METATYPE(ReadingTarget)

class TestReadings : public QObject
{
    Q_OBJECT
private slots:
    // Phase by phase, now before the billing date, tariff 1 first; the peaks last.
    void batchOrder()
    {
        const QList<QByteArray> batch = ReadingsBatch();
        QCOMPARE(batch.size(), 65);
        QCOMPARE(batch[0], Hex("0F 03 00"));
        QCOMPARE(batch[7], Hex("0F 03 07"));
        QCOMPARE(batch[8], Hex("0F 03 08"));
        QCOMPARE(batch[16], Hex("0F 03 10"));
        QCOMPARE(batch[45], Hex("0F 03 2D"));
        QCOMPARE(batch[63], Hex("0F 03 3F"));
        QCOMPARE(batch[64], Hex("2B 02"));
    }

    void gridReading_data()
    {
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<ReadingTarget>("target");
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("text");
        const auto row = [](const char* name, const QByteArray& frame, ReadingTarget target,
                            int column, int r, const char* text) {
            QTest::newRow(name) << frame << target << column << r << QString::fromUtf8(text);
        };
        row("tariff 1 now", reading(0x00, 1234.5), ReadingTarget::Tariff, 1, 1, "1234,500");
        row("tariff 4 at the billing date", reading(0x0B, 2.25), ReadingTarget::Tariff, 2, 4,
            "2,250");
        row("tariff 8 now", reading(0x07, 0), ReadingTarget::Tariff, 1, 8, "0,000");
        row("phase A now", reading(0x13, 1), ReadingTarget::Phase, 1, 1, "1,000");
        row("phase B, billing date, tariff 6", reading(0x2D, 7), ReadingTarget::Phase, 5, 1,
            "7,000");
        row("phase C at the billing date", reading(0x3F, 3), ReadingTarget::Phase, 6, 1, "3,000");
        // Beyond the batch's selectors no cell is named: the column would lie past the grid.
        row("selector 64", reading(0x40, 3), ReadingTarget::None, 0, 0, "");
        row("selector 255", reading(0xFF, 3), ReadingTarget::None, 0, 0, "");
        row("other length byte", ResponseWithLength(15, 3, Hex("05")), ReadingTarget::None, 0, 0,
            "");
    }

    void gridReading()
    {
        QFETCH(QByteArray, frame);
        QFETCH(ReadingTarget, target);
        const GridReading r = DecodeGridReading(frame, kRussian);
        QVERIFY(r.ok());
        QCOMPARE(r.target, target);
        QTEST(r.column, "column");
        QTEST(r.row, "row");
        QTEST(r.text, "text");
    }

    void shortReadingIsAnError()
    {
        const GridReading r = DecodeGridReading(ResponseWithLength(15, 8, Hex("0B 00 00")));
        QVERIFY(!r.ok());
        QCOMPARE(r.target, ReadingTarget::None);
    }

    // The eight tariffs of a phase arrive one after another into the same cell.
    void phaseSumsOverTheTariffs()
    {
        PhaseSums sums;
        QString text;
        for (int t = 0; t < 8; ++t)
            text = sums.add(DecodeGridReading(reading(0x10 + t, 1.5)), kRussian);
        QCOMPARE(text, QStringLiteral("12,000"));
        QCOMPARE(sums.sum(1), 12.0);
        QVERIFY(sums.filled(1));
        QVERIFY(!sums.filled(4));
        // A tariff reading and an error result add nothing.
        QCOMPARE(sums.add(DecodeGridReading(reading(0x03, 5))), QString());
        QCOMPARE(sums.add(DecodeGridReading(ResponseWithLength(15, 8, Hex("13")))), QString());
        QCOMPARE(sums.sum(1), 12.0);
        // A second read starts from cleared cells.
        sums.clear();
        QVERIFY(!sums.filled(1));
        QCOMPARE(sums.add(DecodeGridReading(reading(0x17, 2)), kRussian), QStringLiteral("2,000"));
    }

    // Adding to the text shown would round at every tariff: eight readings of 0.0004 would
    // stay at 0,000. The sum is rounded once.
    void phaseSumRoundedOnce()
    {
        PhaseSums sums;
        QString text;
        for (int t = 0; t < 8; ++t)
            text = sums.add(DecodeGridReading(reading(0x38 + t, 0.0004)), kRussian);
        QCOMPARE(text, QStringLiteral("0,003"));
    }

    void peaks_data()
    {
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<QString>("peak");
        QTest::addColumn<QDateTime>("peakTime");
        QTest::addColumn<QString>("billingPeak");
        QTest::addColumn<QDateTime>("billingTime");
        const QDateTime epoch(QDate(2000, 1, 1), QTime(0, 0), Qt::UTC);
        QTest::newRow("both peaks")
            << Response(43, Hex("10 0E 00 00 58 1B 00 3C 00 00 00 FF FF FF")) << true << "7000"
            << epoch.addSecs(3600) << "16777215" << epoch.addSecs(60);
        QTest::newRow("zero timestamps show the epoch")
            << Response(43, QByteArray(14, '\0')) << true << "0" << epoch << "0" << epoch;
        QTest::newRow("other length byte")
            << ResponseWithLength(43, 2, {}) << false << "" << QDateTime() << "" << QDateTime();
    }

    void peaks()
    {
        QFETCH(QByteArray, frame);
        const PeaksInfo p = DecodePeaks(frame, kRussian);
        QVERIFY(p.ok());
        QTEST(p.shown, "shown");
        QTEST(p.peakText, "peak");
        QTEST(p.peakTime, "peakTime");
        QTEST(p.billingPeakText, "billingPeak");
        QTEST(p.billingPeakTime, "billingTime");
        if (p.shown) {
            QCOMPARE(p.peakTimeText, FormatDateTime(p.peakTime, kRussian));
            QVERIFY(p.peakTimeText.contains(QStringLiteral("01.01.2000")));
        }
        QVERIFY(!DecodePeaks(ResponseWithLength(43, 16, Hex("00 00"))).ok());
    }

    void resetBillingReadings()
    {
        QCOMPARE(ResetBillingReadingsBatch(), WriteBatchOpening() << Hex("24 02"));
        QCOMPARE(ResetBillingReadingsLogText(), QStringLiteral("Сброс показаний на РЧД"));
    }

    // A full read of the demonstration meter fills every cell with the meter's values.
    void fullReadOfTheSimulatedMeter()
    {
        const uint32_t clock =
            *EncodeMeterTimestamp(QDateTime(QDate(2026, 3, 5), QTime(14, 10), Qt::UTC));
        auto meter = zr::sim::MakeDemoMeter(clock, [] { return qint64(0); });
        const zr::sim::MeterState& s = meter->state();

        QString tariffCells[3][9];
        PhaseSums sums;
        PeaksInfo peaks;
        for (const QByteArray& request : ReadingsBatch()) {
            const QByteArray answer = meter->answer(zr::frame::AppendCrc(request));
            if (request[0] == char(zr::link::ReadPeaks)) {
                peaks = DecodePeaks(answer, kRussian);
                continue;
            }
            const GridReading r = DecodeGridReading(answer, kRussian);
            QVERIFY(r.ok());
            QVERIFY(r.target != ReadingTarget::None);
            if (r.target == ReadingTarget::Tariff)
                tariffCells[r.column][r.row] = r.text;
            else
                sums.add(r, kRussian);
        }
        for (int t = 0; t < 8; ++t) {
            for (int billing = 0; billing < 2; ++billing) {
                const auto& table = billing ? s.billingEnergy : s.energy;
                const double expected = table[0][t] + table[1][t] + table[2][t];
                const std::optional<double> shown =
                    ParseFixed(tariffCells[billing + 1][t + 1], kRussian);
                QVERIFY(shown);
                QVERIFY2(qAbs(*shown - expected) < 0.002,
                         qPrintable(tariffCells[billing + 1][t + 1]));
            }
        }
        for (int column = 1; column <= 6; ++column) {
            const auto& table = column > 3 ? s.billingEnergy : s.energy;
            double expected = 0;
            for (double v : table[size_t((column - 1) % 3)])
                expected += v;
            QVERIFY(sums.filled(column));
            QVERIFY(qAbs(sums.sum(column) - expected) < 0.01);
        }
        QVERIFY(peaks.ok() && peaks.shown);
        QCOMPARE(peaks.peakWatts, s.peak.watts);
        QCOMPARE(peaks.peakTime, DecodeMeterTimestamp(s.peak.time));
        QCOMPARE(peaks.billingPeakWatts, s.billingPeak.watts);
        QCOMPARE(peaks.billingPeakTime, DecodeMeterTimestamp(s.billingPeak.time));
    }
};

QTEST_GUILESS_MAIN(TestReadings)
#include "test_readings.moc"
