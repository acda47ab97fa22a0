#include "support.h"

#include "link/frame.h"
#include "link/meter_link.h"
#include "meter/device_state.h"
#include "meter/encodings.h"
#include "meter/ui/about_page.h"
#include "shell/main_window.h"
#include "shell/protocol_page.h"
#include "sim/demo.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTest>

namespace zr::test
{

namespace
{

const QString kTime = QStringLiteral(R"(^\d\d:\d\d:\d\d\.\d{3} )");
const QRegularExpression kAddressSent(kTime + QStringLiteral(R"(Send [0-9A-F]{2}$)"));
const QRegularExpression kFrameSent(kTime + QStringLiteral(R"(Send ((?:[0-9A-F]{2} )+)$)"));
const QRegularExpression kReceived(kTime + QStringLiteral(R"(Received: (?:[0-9A-F]{2} )+$)"));

} // namespace

QStringList LogLines(const shell::MainWindow& window)
{
    return window.Protocol()->Memo_Terminal->toPlainText().split(QLatin1Char('\n'),
                                                                 Qt::SkipEmptyParts);
}

QStringList SentFrames(const QStringList& log)
{
    QStringList frames;
    for (const QString& line : log) {
        const QRegularExpressionMatch match = kFrameSent.match(line);
        if (match.hasMatch())
            frames.append(match.captured(1).remove(QLatin1Char(' ')));
    }
    return frames;
}

QString MalformedLine(const QStringList& log)
{
    for (const QString& line : log) {
        if (!kAddressSent.match(line).hasMatch() && !kFrameSent.match(line).hasMatch() &&
            !kReceived.match(line).hasMatch())
            return line;
    }
    return {};
}

int DemoTariffNow()
{
    const QByteArray clock =
        sim::MakeDemoMeter()->answer(frame::AppendCrc(QByteArray::fromHex("0402")));
    return (uint8_t(clock.at(2)) & 7) + 1;
}

void CheckDemoMeterShown(const shell::MainWindow& window, uint32_t number)
{
    const meter::AboutPage& tab = *window.About();
    const struct {
        QLineEdit* field;
        QString text;
    } fixed[] = {
        {tab.EditVersion, QStringLiteral("2.15")},
        {tab.EditNumber, QStringLiteral("%1").arg(number, 6, 10, QLatin1Char('0'))},
        {tab.EditTest, QStringLiteral("Ok")},
        {tab.EditSummer, QStringLiteral("нет")},
        {tab.EditTariff, QString::number(DemoTariffNow())},
        {tab.EditDay, QStringLiteral("1")},
        {tab.EditHour, QStringLiteral("0")},
        {tab.EditNCorrect, QStringLiteral("3")},
        {tab.EditIntegra, QStringLiteral("30")},
        {tab.EditCheckSum, QString::number(sim::MakeDemoMeter()->scheduleChecksum())},
        {tab.EditDelta, QString()},
    };
    for (const auto& f : fixed)
        QCOMPARE(f.field->text(), f.text);
    QCOMPARE(tab.LabelType->text(), QStringLiteral("ЗуР347.01"));

    // The meter's clock started at the PC's.
    const QDateTime now = QDateTime::currentDateTime();
    QVERIFY2(tab.EditDate->text() == meter::FormatDate(now.date()) ||
                 tab.EditDate->text() == meter::FormatDate(now.date().addDays(-1)),
             qPrintable(tab.EditDate->text()));
    const QRegularExpressionMatch time =
        QRegularExpression(QStringLiteral(R"((\d{1,2}):(\d\d):(\d\d))"))
            .match(tab.EditTime->text());
    QVERIFY2(time.hasMatch(), qPrintable(tab.EditTime->text()));
    const QTime shown(time.captured(1).toInt(), time.captured(2).toInt(), time.captured(3).toInt());
    QVERIFY2(qAbs(shown.secsTo(now.time())) < 300 || qAbs(shown.secsTo(now.time())) > 86100,
             qPrintable(tab.EditTime->text()));
    QVERIFY2(QRegularExpression(QStringLiteral(R"(^712д\.\d\d:\d\d:\d\d$)"))
                 .match(tab.EditWork->text())
                 .hasMatch(),
             qPrintable(tab.EditWork->text()));
    QVERIFY2(tab.EditPower->text().toUInt() > 0, qPrintable(tab.EditPower->text()));
    QVERIFY2(QRegularExpression(QStringLiteral(R"(^\d+[.,]\d{3}$)"))
                 .match(tab.EditValue->text())
                 .hasMatch(),
             qPrintable(tab.EditValue->text()));
    QVERIFY(meter::ParseFixed(tab.EditValue->text()).value_or(0) > 0);

    // Indication mask 0x19.
    const bool ticked[] = {true, false, false, true, true};
    for (int i = 0; i < 5; ++i)
        QCOMPARE(tab.CheckListIndi->item(i)->checkState() == Qt::Checked, ticked[i]);

    const QStringList ddm[] = {
        {"100234", "100235", "100236"},
        {"авто", "авто", "авто"},
        {"в норме", "ДДМ > ББ", ""},
    };
    for (int row = 0; row < 3; ++row)
        for (int phase = 0; phase < 3; ++phase)
            QCOMPARE(tab.GridDdm->item(row + 1, phase + 1)->text(), ddm[row][phase]);
    QVERIFY(!tab.GridDdm->item(4, 1)->text().isEmpty());
    QVERIFY(!tab.GridDdm->item(4, 2)->text().isEmpty());
    QVERIFY(tab.GridDdm->item(4, 3)->text().isEmpty());

    const meter::MeterState& values = window.Device()->values();
    QCOMPARE(values.deviceType, 34701);
    QCOMPARE(values.factoryNumber, number);
    QCOMPARE(values.timerFlags, uint8_t(0));
    QCOMPARE(values.ddmStatus, (std::array<uint8_t, 3>{0, 1, meter::kDdmNoSession}));
    QVERIFY(values.runningSeconds >= 712u * 86400);
    QCOMPARE(window.Link()->factoryNumber(), number);
    QCOMPARE(window.Link()->runningTime(), values.runningSeconds);
}

} // namespace zr::test
