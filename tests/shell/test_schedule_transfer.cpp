// The schedule page in the real window on a QSerialPort opened on the pseudo-terminal that
// zr347-sim serves: a schedule written to the meter and read back, the same through a file, and
// a schedule the meter cannot address refused before anything is sent.

#include "link/meter_link.h"
#include "platform/serial_port.h"
#include "schedule/ui/schedule_files.h"
#include "schedule/ui/schedule_page.h"
#include "shell/application.h"
#include "shell/main_window.h"
#include "shell/protocol_page.h"
#include "support.h"

#include <QAction>
#include <QCheckBox>
#include <QProcess>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTest>

using namespace zr::schedule;
using zr::shell::MainWindow;

namespace
{

AList Rec(const char* time, int tariff, int limit, int limitTariff, uint8_t days, uint16_t months)
{
    return AList{
        Zone{QString::fromLatin1(time), uint8_t(tariff), uint8_t(limit), uint8_t(limitTariff)},
        days, months};
}

QVector<QByteArray> Packed(const QVector<AList>& records)
{
    QVector<QByteArray> out;
    for (const AList& r : records)
        out.append(PackZone(r));
    return out;
}

// Everything of a schedule that travels to the meter and into a file.
struct Contents {
    QVector<AList> records;
    QVector<Holiday> holidays;
    QVector<Transfer> transfers;
    int coefficient = 1;
    explicit Contents(const Schedule& s)
        : records(s.committed()), holidays(s.holidays()), transfers(s.transfers()),
          coefficient(s.coefficient())
    {
    }
    Contents() = default;
    bool operator==(const Contents& o) const
    {
        return records == o.records && holidays == o.holidays && transfers == o.transfers &&
               coefficient == o.coefficient;
    }
};

// Workdays of January to March in two zones, weekends in one, holidays without midnight.
const QVector<AList> kRecords = {
    Rec("00:00", 2, 0, 2, 0x1F, 0x007), Rec("07:00", 1, 30, 3, 0x1F, 0x007),
    Rec("23:00", 2, 0, 2, 0x1F, 0x007), Rec("00:00", 4, 0, 4, 0x60, 0xFFF),
    Rec("08:30", 5, 12, 6, 0x80, 0xFFF)};

} // namespace

class TestScheduleTransfer : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void roundTripThroughMeter();
    void roundTripThroughFile();
    void tooManyRecordsRefused();

private:
    QProcess sim_;
    std::unique_ptr<zr::test::MessageCatcher> catcher_;
    std::unique_ptr<MainWindow> window_;
    QStringList operationLog_;

    SchedulePage& Page() const { return *window_->Sched(); }
    void Fill();
};

void TestScheduleTransfer::init()
{
    sim_.start(QStringLiteral(ZR_SIM_TOOL), {"--pty", "--number", "123456"});
    QVERIFY(sim_.waitForStarted());
    QVERIFY(sim_.waitForReadyRead(10000));
    const QString path = QString::fromLocal8Bit(sim_.readLine()).trimmed();
    QVERIFY2(path.startsWith("/dev/"), qPrintable(path));
    catcher_ = std::make_unique<zr::test::MessageCatcher>();
    zr::shell::Modes modes;
    modes.master = true;
    zr::shell::PortOptions ports;
    ports.extraPorts = {path};
    window_ = std::make_unique<MainWindow>(modes, ports);
    window_->Protocol()->CheckBox_Terminal->setChecked(true);
    operationLog_.clear();
    connect(&Page(), &SchedulePage::operationLogged, this,
            [this](const QString& line) { operationLog_ << line; });
    window_->show();
    window_->ActionConnect->trigger();
    QVERIFY(window_->SerialLine()->isOpen());
    QTRY_VERIFY_WITH_TIMEOUT(window_->ActionWriteSched->isEnabled(), 20000);
}

void TestScheduleTransfer::cleanup()
{
    if (window_)
        window_->ActionDisconnect->trigger();
    window_.reset();
    catcher_.reset();
    sim_.terminate();
    sim_.waitForFinished(5000);
}

void TestScheduleTransfer::Fill()
{
    Schedule& model = Page().Model;
    QVERIFY(!model.LoadRecords(Packed(kRecords)).refused());
    QVERIFY(model.SetHolidayList({{1, 1}, {1, 7}, {5, 9}}));
    QVERIFY(model.SetTransferList(
        {{QDate(2030, 1, 15), 6}, {QDate(2030, 3, 8), 8}, {QDate(2099, 12, 31), 1}}));
    model.SetCoefficient(17);
}

void TestScheduleTransfer::roundTripThroughMeter()
{
    Fill();
    // A pending edit goes with the write: the write commits it.
    Schedule& model = Page().Model;
    model.SetCurrent({6, 3});
    model.SelectOnly({6, 3});
    QVERIFY(model.InsertTZone(Zone{"12:00", 3, 0, 3}));
    model.EditDays();
    const int records = model.recordCount();
    window_->ActionWriteSched->trigger();
    QVERIFY(!window_->ActionWriteSched->isEnabled());
    QVERIFY(!model.pending());
    const Contents written(model);
    QCOMPARE(written.records.size(), records);
    QTRY_VERIFY_WITH_TIMEOUT(!window_->Link()->scheduleWriteMark(), 60000);
    QVERIFY(catcher_->messages.isEmpty());
    QCOMPARE(operationLog_, {QStringLiteral("Коэффициент лимита тарифного расписания=17")});

    window_->ActionNewSched->trigger();
    model.SetCoefficient(1);
    QVERIFY(model.committed().isEmpty());
    QTRY_VERIFY_WITH_TIMEOUT(window_->ActionReadSched->isEnabled(), 20000);
    window_->ActionReadSched->trigger();
    QCOMPARE(Page().GaugeSched->maximum(), kReadGaugeMaximum);
    QTRY_VERIFY_WITH_TIMEOUT(window_->ActionReadSched->isEnabled(), 120000);
    QCOMPARE(Page().GaugeSched->value(), 288);
    QVERIFY(Contents(model) == written);
    QVERIFY(catcher_->messages.isEmpty());
}

void TestScheduleTransfer::roundTripThroughFile()
{
    Fill();
    const Contents filled(Page().Model);
    QTemporaryDir dir;
    const QString path = dir.filePath("year.tsc");
    QVERIFY(SaveTariffFile(&Page(), Page().Model, path));
    window_->ActionNewSched->trigger();
    QVERIFY(Page().Model.committed().isEmpty());
    QCOMPARE(Page().Model.holidays(), DefaultHolidays());
    QVERIFY(LoadTariffFile(&Page(), Page().Model, path));
    QVERIFY(Contents(Page().Model) == filled);
    QVERIFY(catcher_->messages.isEmpty());
}

void TestScheduleTransfer::tooManyRecordsRefused()
{
    QVector<AList> list;
    for (int i = 0; i < 257; ++i)
        list.append(Rec(qPrintable(QStringLiteral("%1:%2")
                                       .arg(i / 60 % 24, 2, 10, QLatin1Char('0'))
                                       .arg(i % 60, 2, 10, QLatin1Char('0'))),
                        1, 0, 1, 1, 1));
    QVERIFY(!Page().Model.LoadRecords(Packed(list)).refused());
    const int sentBefore = zr::test::SentFrames(zr::test::LogLines(*window_)).size();
    window_->ActionWriteSched->trigger();
    QCOMPARE(catcher_->messages.size(), 1);
    QVERIFY2(catcher_->messages[0].text.contains("257"), qPrintable(catcher_->messages[0].text));
    QVERIFY(!window_->Link()->scheduleWriteMark());
    QVERIFY(window_->ActionWriteSched->isEnabled());
    QVERIFY(window_->Link()->queue().size() <= 1); // at most the idle request
    // Only idle requests go out afterwards: no password, no schedule form or record.
    QTest::qWait(500);
    const QStringList sent = zr::test::SentFrames(zr::test::LogLines(*window_)).mid(sentBefore);
    QVERIFY(!sent.isEmpty());
    for (const QString& frame : sent)
        for (const char* form : {"1408", "2702", "2902", "09", "0703"})
            QVERIFY2(!frame.startsWith(form), qPrintable(frame));
    QCOMPARE(Page().Model.recordCount(), 257);
}

int main(int argc, char** argv)
{
    zr::shell::Application app(argc, argv);
    TestScheduleTransfer test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_schedule_transfer.moc"
