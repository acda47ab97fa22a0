// The window joined to the meter link: the "О счетчике" tab's decoders on a scripted port, and
// the whole window against the in-process demonstration meter.

#include "link/frame.h"
#include "link/idle_poll.h"
#include "link/meter_link.h"
#include "link/password.h"
#include "meter/device_state.h"
#include "meter/encodings.h"
#include "meter/ui/about_page.h"
#include "meter/ui/journal_page.h"
#include "meter/ui/readings_page.h"
#include "meter/ui/settings_page.h"
#include "shell/application.h"
#include "shell/indicator_shape.h"
#include "shell/main_window.h"
#include "shell/protocol_page.h"
#include "sim/demo.h"
#include "support.h"
#include "support/child.h"
#include "support/fake_port.h"
#include "support/hex.h"

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

using zr::frame::AppendCrc;
using zr::link::MeterLink;
using zr::meter::AboutPage;
using zr::meter::DeviceState;
using zr::meter::SettingsPage;
using zr::shell::MainWindow;
using zr::shell::Modes;
using zr::shell::PortOptions;
using zr::test::Child;
using zr::test::FakePort;
using zr::test::Hex;
using zr::test::HexText;
using zr::test::MessageCatcher;

namespace
{

// The "О счетчике" tab on a link whose port the test scripts.
struct TabRig {
    FakePort port;
    MeterLink link{port};
    DeviceState device;
    AboutPage tab;
    SettingsPage settings;
    QStringList log;

    TabRig()
    {
        link.setTrafficLog(true);
        device.attach(link);
        tab.attach(link, device);
        settings.attach(link, device);
        QObject::connect(&link, &MeterLink::trafficLine, [this](const QString& l) { log << l; });
        link.ActionConnectExecute(QStringLiteral("ttyS0"));
    }
    // Answers the request at the head (after its handshake) with `response`, checksum added.
    void answer(const QString& response)
    {
        link.Timer1Timer();
        port.deliver(QByteArray(1, '\0'));
        port.deliver(AppendCrc(Hex(response)));
    }
    // On an empty queue: sends `request` and answers it.
    void exchange(const QString& request, const QString& response)
    {
        link.Enqueue(Hex(request));
        answer(response);
    }
    QSpinBox* number() const { return Child<QSpinBox>(&settings, "SpinEdit_Number"); }
    QPushButton* plus() const { return Child<QPushButton>(&settings, "BitBtn1"); }
    QList<QLineEdit*> fields() const
    {
        return {tab.EditVersion, tab.EditNumber,   tab.EditDate,  tab.EditTime,   tab.EditTest,
                tab.EditSummer,  tab.EditDay,      tab.EditHour,  tab.EditWork,   tab.EditNCorrect,
                tab.EditIntegra, tab.EditCheckSum, tab.EditPower, tab.EditTariff, tab.EditValue};
    }
};

QString Reading(uint8_t selector, double value)
{
    QByteArray payload = QByteArray::fromHex("0F08") + char(selector) + char(0);
    zr::meter::AppendU32(payload, zr::meter::EncodeMeterFloat(value));
    return HexText(payload);
}

Modes Master(bool production = false)
{
    Modes modes;
    modes.master = true;
    modes.production = production;
    return modes;
}

PortOptions Ports(const QStringList& extra, bool demo)
{
    PortOptions options;
    options.extraPorts = extra;
    options.demo = demo;
    return options;
}

// The window with the demonstration meter preselected, its traffic log on, short time-outs.
struct Demo {
    MessageCatcher catcher;
    MainWindow window;

    explicit Demo(const Modes& modes = Master()) : window(modes, Ports({}, true))
    {
        window.Protocol()->CheckBox_Terminal->setChecked(true);
        window.Connection()->SpinTimer->setValue(200);
    }
    zr::sim::MeterState& meter() { return window.DemoPort()->meter().state(); }
    MeterLink& link() { return *window.Link(); }
    bool filled() const { return !window.About()->EditNumber->text().isEmpty(); }
    // Connects and waits until the meter's number is shown.
    void connect()
    {
        window.ActionConnect->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(filled(), 5000);
    }
    int timeoutLines() const { return zr::test::LogLines(window).filter("Timeout.").size(); }
};

QAction* MenuItem(QMenu* menu, const QString& caption)
{
    for (QAction* item : menu->actions())
        if (item->text() == caption)
            return item;
    return nullptr;
}

QString CheckedCaption(QActionGroup* group)
{
    QAction* checked = group->checkedAction();
    return checked ? checked->text() : QString();
}

} // namespace

class TestWiring : public QObject
{
    Q_OBJECT
private slots:
    void shortResponseLeavesFieldsAlone_data();
    void shortResponseLeavesFieldsAlone();
    void fieldRewrittenOnlyWhenChanged();
    void readingAnswersGoToTheirOwnDecoder();
    void scheduleAnswersBesideChecksum_data();
    void scheduleAnswersBesideChecksum();
    void numberControlsFollowFactoryNumber_data();
    void numberControlsFollowFactoryNumber();

    void idleCycleAnswersEveryRequest();
    void faultsOnTheLine_data();
    void faultsOnTheLine();
    void passwordEntryDuringSettingsWrite_data();
    void passwordEntryDuringSettingsWrite();
    void sixthTimeout_data();
    void sixthTimeout();
    void addressSearchFollowsSpinAddr();
    void connectionSwitchesControls();
    void resetForgetsMeterValues();
    void portLists_data();
    void portLists();
    void portChoiceDecidesTheLine();
    void speedChoices();
    void passwordHints_data();
    void passwordHints();
    void sendTickHidesGridSelection();
};

void TestWiring::shortResponseLeavesFieldsAlone_data()
{
    QTest::addColumn<QString>("request");
    QTest::addColumn<QString>("response");
    QTest::newRow("version") << "0002"
                             << "000315";
    QTest::newRow("number") << "0102"
                            << "010440E2";
    QTest::newRow("clock") << "0402"
                           << "0402";
    QTest::newRow("power") << "0C02"
                           << "0C0310";
    QTest::newRow("indication") << "0D02"
                                << "0D02";
    QTest::newRow("ddm status") << "1002"
                                << "100701AABBCCDD";
    QTest::newRow("running time") << "1102"
                                  << "11040102";
    QTest::newRow("integration") << "1E02"
                                 << "1E02";
    QTest::newRow("billing") << "2202"
                             << "220301";
    QTest::newRow("ddm numbers") << "2C02"
                                 << "2C08010203040506";
}

void TestWiring::shortResponseLeavesFieldsAlone()
{
    QFETCH(QString, request);
    QFETCH(QString, response);
    TabRig r;
    r.tab.LabelType->setText("x");
    for (QLineEdit* field : r.fields())
        field->setText("x");
    for (int row = 1; row < 5; ++row)
        for (int column = 1; column < 4; ++column)
            r.tab.GridDdm->item(row, column)->setText("x");
    r.tab.CheckListIndi->item(2)->setCheckState(Qt::Checked);
    r.link.setFactoryNumber(42);
    r.link.setRunningTime(77);

    r.exchange(request, response);

    QCOMPARE(r.tab.LabelType->text(), QString("x"));
    for (QLineEdit* field : r.fields())
        QVERIFY2(field->text() == "x", qPrintable(field->objectName()));
    for (int row = 1; row < 5; ++row)
        for (int column = 1; column < 4; ++column)
            QCOMPARE(r.tab.GridDdm->item(row, column)->text(), QString("x"));
    QCOMPARE(r.tab.CheckListIndi->item(2)->checkState(), Qt::Checked);
    QCOMPARE(r.link.factoryNumber(), 42u);
    QCOMPARE(r.link.runningTime(), 77u);
    QCOMPARE(r.device.values().deviceType, 0);
    // Said in the log, and the head is gone: the idle ring goes on.
    const QString code = QString::number(Hex(request)[0]);
    QCOMPARE(r.log.filter(QRegularExpression("^Короткий отклик на функцию " + code + " ")).size(),
             1);
    QCOMPARE(r.link.queue(), QList<QByteArray>{AppendCrc(Hex("0002"))});

    // With the log off the short answer leaves no line.
    r.link.setTrafficLog(false);
    r.log.clear();
    r.link.Enqueue(Hex(request));
    r.answer("00071502014703"); // the idle version request
    r.answer(response);
    QVERIFY(r.log.isEmpty());
}

void TestWiring::fieldRewrittenOnlyWhenChanged()
{
    TabRig r;
    QSignalSpy version(r.tab.EditVersion, &QLineEdit::textChanged);
    QSignalSpy cell(r.tab.GridDdm, &QTableWidget::itemChanged);
    r.exchange("0002", "00071502014703");
    r.tab.EditVersion->setSelection(0, 2);
    r.answer("00071502014703"); // idle step 0 asks again
    QCOMPARE(version.size(), 1);
    QCOMPARE(r.tab.EditVersion->selectedText(), QString("2."));
    r.answer("0105070000"); // idle step 1: number 7
    r.link.Enqueue(Hex("2C02"));
    r.answer("04070000000000"); // idle step 2, then the queued ДДМ numbers twice
    r.answer("2C0C010000020000030000"
             "00");
    const int afterFirst = cell.size();
    QCOMPARE(afterFirst, 6);
    r.link.Enqueue(Hex("2C02"));
    r.answer("22040001"); // idle step 3
    r.answer("2C0C010000020000030000"
             "00");
    QCOMPARE(cell.size(), afterFirst);
}

void TestWiring::readingAnswersGoToTheirOwnDecoder()
{
    TabRig r;
    // Before the queue has ever drained, a reading without a decoder of its own is no one's.
    r.exchange("0F0300", Reading(0, 12.5));
    QVERIFY(r.tab.EditValue->text().isEmpty());
    // The readings command decodes its own answers, even while the idle flag is set.
    QList<QByteArray> readings;
    r.link.Enqueue(Hex("0F0301"), [&](const QByteArray& f) { readings << f; });
    r.answer("00071502014703"); // idle step 0 was queued first
    r.answer(Reading(1, 1234.5));
    QCOMPARE(readings.size(), 1);
    QVERIFY(r.tab.EditValue->text().isEmpty());
    // The drain set the idle reading flag: the next reading is the current tariff's.
    r.link.Enqueue(Hex("0F0301"));
    r.answer("0105070000"); // idle step 1
    r.answer(Reading(1, 1234.5));
    QCOMPARE(r.tab.EditValue->text(), zr::meter::FormatReading(1234.5));
    QCOMPARE(readings.size(), 1);
    QVERIFY(r.log.isEmpty());
}

void TestWiring::scheduleAnswersBesideChecksum_data()
{
    QTest::addColumn<QString>("request");
    QTest::addColumn<QString>("response");
    QTest::addColumn<QString>("checksum");
    QTest::newRow("checksum") << "0802"
                              << "08043412"
                              << "4660";
    QTest::newRow("zone record") << "080300"
                                 << "080A002100000AFFFF0F"
                                 << "x";
    QTest::newRow("no record") << "080301"
                               << "080300"
                               << "x";
}

// Only the checksum form reaches the field; the schedule transfer decodes its own answers.
void TestWiring::scheduleAnswersBesideChecksum()
{
    QFETCH(QString, request);
    QFETCH(QString, response);
    QFETCH(QString, checksum);
    TabRig r;
    r.tab.EditCheckSum->setText("x");
    r.exchange(request, response);
    QCOMPARE(r.tab.EditCheckSum->text(), checksum);
    QCOMPARE(r.link.queue().size(), 1);

    QList<QByteArray> transfer;
    r.tab.EditCheckSum->setText("y");
    r.link.Enqueue(Hex(request), [&](const QByteArray& f) { transfer << f; });
    r.answer("00071502014703"); // idle step 0 was queued first
    r.answer(response);
    QCOMPARE(transfer, QList<QByteArray>{AppendCrc(Hex(response))});
    QCOMPARE(r.tab.EditCheckSum->text(), QString("y"));
}

void TestWiring::numberControlsFollowFactoryNumber_data()
{
    QTest::addColumn<QString>("response");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("assignable");
    QTest::newRow("no number yet") << "0105000000"
                                   << "0" << true;
    QTest::newRow("number 7") << "0105070000"
                              << "000007" << false;
    QTest::newRow("number 1193046") << "0105563412"
                                    << "1193046" << false;
}

void TestWiring::numberControlsFollowFactoryNumber()
{
    QFETCH(QString, response);
    QFETCH(QString, text);
    QFETCH(bool, assignable);
    TabRig r;
    r.number()->setEnabled(!assignable);
    r.plus()->setEnabled(!assignable);
    r.exchange("0102", response);
    QCOMPARE(r.tab.EditNumber->text(), text);
    QCOMPARE(r.number()->isEnabled(), assignable);
    QCOMPARE(r.plus()->isEnabled(), assignable);
    QCOMPARE(r.link.factoryNumber(), text.toUInt());
    QCOMPARE(r.device.values().factoryNumber, text.toUInt());
}

void TestWiring::idleCycleAnswersEveryRequest()
{
    Demo d;
    d.window.ActionConnect->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(d.link().exchangeCount() > zr::link::kIdleSteps + 1, 10000);
    const QStringList log = zr::test::LogLines(d.window);
    QCOMPARE(zr::test::MalformedLine(log), QString());
    QCOMPARE(d.catcher.messages.size(), 0);

    // The start request, then the ring from step 0; step 7 reads the tariff shown by step 2.
    QStringList expected = {HexText(AppendCrc(Hex("0002")))};
    const QByteArray reading = "0F030" + QByteArray::number(zr::test::DemoTariffNow() - 1);
    for (const char* request :
         {"0002", "0102", "0402", "2202", "0802", "1102", "1E02", reading.constData(), "0C02",
          "2C02", "1002", "0D02", "0A02", "200300", "200301", "200302", "200303"})
        expected << HexText(AppendCrc(Hex(request)));
    QCOMPARE(zr::test::SentFrames(log).mid(0, expected.size()), expected);

    // Each frame sent is followed by the meter's answer to it.
    for (int i = 0; i + 1 < log.size(); ++i) {
        const int sent = log[i].indexOf(" Send ");
        if (sent < 0 || log[i].size() - sent <= 9)
            continue;
        const QString code = log[i].mid(sent + 6, 2);
        QVERIFY2(log[i + 1].contains(" Received: " + code + " "), qPrintable(log[i + 1]));
    }
    zr::test::CheckDemoMeterShown(d.window, 347015);
    if (QTest::currentTestFailed())
        return;
    QVERIFY(d.window.ActionSetting->isEnabled());
    QVERIFY(Child<QPushButton>(d.window.Readings(), "BtnReadCounter")->isEnabled());
    QVERIFY(!d.window.ActionFixDb->isEnabled());
}

void TestWiring::faultsOnTheLine_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("logged");
    QTest::addColumn<bool>("numberShown");
    QTest::newRow("answers in pieces") << "pieces"
                                       << "" << true;
    QTest::newRow("spoilt checksum") << "checksum"
                                     << "Ошибка контрольной суммы" << false;
    QTest::newRow("error code") << "error"
                                << "Ошибка: Память защищена (чтение номера)" << false;
    QTest::newRow("surplus byte") << "surplus"
                                  << "Отклик длиннее требуемого" << false;
}

// The meter misbehaves on function 1 only: the rest of the tab fills, the failure is logged and
// the ring goes on.
void TestWiring::faultsOnTheLine()
{
    QFETCH(QString, fault);
    QFETCH(QString, logged);
    QFETCH(bool, numberShown);
    Demo d;
    zr::sim::Faults& faults = d.window.DemoPort()->faults();
    if (fault == "pieces")
        faults.pieces = 3;
    else if (fault == "checksum")
        faults.badChecksumFor.insert(1);
    else if (fault == "error")
        faults.errorFor.insert(1, 5);
    else
        faults.surplusFor.insert(1);
    d.window.ActionConnect->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(d.link().exchangeCount() > zr::link::kIdleSteps + 1, 10000);
    QCOMPARE(d.filled(), numberShown);
    QCOMPARE(d.window.About()->EditVersion->text(), QString("2.15"));
    QVERIFY(!d.window.About()->EditWork->text().isEmpty());
    const QStringList log = zr::test::LogLines(d.window);
    QCOMPARE(d.timeoutLines(), 0);
    if (logged.isEmpty())
        QCOMPARE(zr::test::MalformedLine(log), QString());
    else
        QVERIFY(log.contains(logged));
    QVERIFY(d.catcher.messages.isEmpty());
}

void TestWiring::passwordEntryDuringSettingsWrite_data()
{
    QTest::addColumn<QString>("meterPassword");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("accepted") << "пар0ль"
                              << "пар0ль" << true;
    QTest::newRow("refused") << "пар0ль"
                             << "" << false;
}

void TestWiring::passwordEntryDuringSettingsWrite()
{
    QFETCH(QString, meterPassword);
    QFETCH(QString, typed);
    QFETCH(bool, accepted);
    Demo d(Master(true)); // ActionFixDb is offered on the production line only
    // No production database here: its unreachability goes to the general error handler, under
    // the program's title; only the link's messages count.
    const auto linkMessages = [&d] {
        QList<zr::shell::Message> messages;
        for (const zr::shell::Message& m : d.catcher.messages)
            if (m.caption != zr::shell::ProgramTitle())
                messages << m;
        return messages;
    };
    d.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d.window));
    d.meter().password = zr::link::PasswordBytes(meterPassword);
    d.window.Connection()->LabeledPass2->setText(typed);
    d.connect();
    qsizetype queuedWhenShown = -1;
    d.catcher.onMessage = [&] {
        if (d.catcher.messages.last().caption != zr::shell::ProgramTitle())
            queuedWhenShown = d.link().queue().size();
    };

    // A settings batch: read number, read counters, password entry, write the indication.
    d.link().setSettingsWriteMark();
    for (const char* frame : {"0102", "1102", "1408000000000000", "0E0301"})
        d.link().Enqueue(Hex(frame));
    QTRY_VERIFY_WITH_TIMEOUT(d.window.Shape1->isVisible(), 5000);

    QCOMPARE(d.meter().indication, uint8_t(accepted ? 0x01 : 0x19));
    if (accepted) {
        QCOMPARE(d.window.Shape1->Color(), QColor(0, 255, 0));
        QVERIFY(linkMessages().isEmpty());
        QVERIFY(!d.window.ActionFixDb->isEnabled());
        return;
    }
    QCOMPARE(d.window.Shape1->Color(), QColor(255, 0, 0));
    QCOMPARE(linkMessages().size(), 1);
    const zr::shell::Message box = linkMessages().first();
    QCOMPARE(box.icon, QMessageBox::Critical);
    QCOMPARE(box.caption, QString("Ошибка"));
    QCOMPARE(box.text, QString("Во время записи установок произошла ошибка. Описание смотрите на "
                               "закладке Протокол."));
    // Up while the rest of the batch was still queued.
    QCOMPARE(queuedWhenShown, 2);
    QVERIFY(d.window.ActionFixDb->isEnabled());
    QVERIFY(d.window.ActionSetting->isEnabled());
    QVERIFY(!d.window.ActionFindAddress->isEnabled());
    QVERIFY(!zr::test::LogLines(d.window).filter(zr::frame::ErrorText(6)).isEmpty());
    QVERIFY(!d.link().settingsWriteMark());
    // The idle ring goes on.
    const int count = d.link().exchangeCount();
    QTRY_VERIFY(d.link().exchangeCount() > count + 2);
}

void TestWiring::sixthTimeout_data()
{
    QTest::addColumn<bool>("production");
    QTest::addColumn<int>("address");
    QTest::newRow("office") << false << 7;
    QTest::newRow("production line") << true << 0;
}

void TestWiring::sixthTimeout()
{
    QFETCH(bool, production);
    QFETCH(int, address);
    Demo d(Master(production));
    d.connect();
    QTRY_COMPARE(d.window.Device()->values().ddmStatus[2], zr::meter::kDdmNoSession);
    d.window.ActionFixDb->setEnabled(true);
    d.window.DemoPort()->faults().noEcho = true;
    d.window.Connection()->SpinAddr->setValue(7);

    QTRY_COMPARE_WITH_TIMEOUT(d.link().consecutiveTimeouts(), 5, 5000);
    QVERIFY(Child<QPushButton>(d.window.Readings(), "BtnReadCounter")->isEnabled());
    QVERIFY(!d.window.About()->EditVersion->text().isEmpty());
    QTRY_COMPARE_WITH_TIMEOUT(d.link().consecutiveTimeouts(), 6, 5000);

    for (QAction* action : {d.window.ActionSetting, d.window.ActionFixDb, d.window.ActionWriteSched,
                            d.window.ActionReadSched})
        QVERIFY2(!action->isEnabled(), qPrintable(action->objectName()));
    QVERIFY(!Child<QPushButton>(d.window.Readings(), "BtnReadCounter")->isEnabled());
    QVERIFY(!d.window.Journal()->BtnReadDiary->isEnabled());
    QVERIFY(d.window.ActionFindAddress->isEnabled());
    QCOMPARE(d.window.Connection()->SpinAddr->value(), address);
    QCOMPARE(d.link().address(), address);
    QVERIFY(d.window.About()->EditVersion->text().isEmpty());
    QVERIFY(d.window.About()->LabelType->text().isEmpty());
    QVERIFY(d.window.About()->GridDdm->item(1, 1)->text().isEmpty());
    QCOMPARE(d.window.Device()->values().factoryNumber, 0u);
    QCOMPARE(d.window.Device()->values().ddmStatus, (std::array<uint8_t, 3>{}));
    QCOMPARE(d.link().factoryNumber(), 0u);
    QVERIFY(d.window.ActionDisconnect->isEnabled());
    QCOMPARE(d.timeoutLines(), 6);
    QVERIFY(QRegularExpression(R"(^\d\d:\d\d:\d\d:\d{3} Timeout\.$)")
                .match(zr::test::LogLines(d.window).filter("Timeout.").last())
                .hasMatch());
}

void TestWiring::addressSearchFollowsSpinAddr()
{
    Demo d;
    d.meter().address = 3;
    d.window.Connection()->SpinAddr->setValue(9);
    d.window.ActionConnect->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(d.window.ActionFindAddress->isEnabled(), 5000);
    const int timeouts = d.timeoutLines();
    d.window.ActionFindAddress->trigger();
    QCOMPARE(d.window.Connection()->SpinAddr->value(), 0);
    QTRY_VERIFY_WITH_TIMEOUT(d.filled(), 5000);
    QCOMPARE(d.window.Connection()->SpinAddr->value(), 3);
    QVERIFY(!d.link().addressSearch());
    // Stepping through silent addresses is neither logged nor counted.
    QCOMPARE(d.timeoutLines(), timeouts);
}

void TestWiring::connectionSwitchesControls()
{
    Demo d;
    d.window.Protocol()->Memo_Terminal->appendPlainText("old line");
    d.window.StatusPanel[1]->setText("old");
    const QList<QWidget*> lineControls = {d.window.Connection()->ComboPort,
                                          d.window.Connection()->ComboBaud};
    const QList<QAction*> lineMenus = {d.window.NPort->menuAction(), d.window.NBaud->menuAction()};
    const auto connectedState = [&](bool on) {
        QCOMPARE(d.window.ActionConnect->isEnabled(), !on);
        QCOMPARE(d.window.ActionDisconnect->isEnabled(), on);
        for (QWidget* control : lineControls)
            QCOMPARE(control->isEnabled(), !on);
        for (QAction* menu : lineMenus)
            QCOMPARE(menu->isEnabled(), !on);
        QCOMPARE(d.window.DemoPort()->isOpen(), on);
        QCOMPARE(d.link().connected(), on);
    };
    d.connect();
    connectedState(true);
    QVERIFY(!zr::test::LogLines(d.window).contains("old line"));
    QVERIFY(!d.window.StatusPanel[0]->text().isEmpty());
    QVERIFY(!d.window.StatusPanel[1]->text().isEmpty());

    d.window.Journal()->GaugeJournal->show();
    d.window.ActionDisconnect->trigger();
    connectedState(false);
    QVERIFY(d.window.StatusPanel[0]->text().isEmpty());
    QVERIFY(d.window.StatusPanel[1]->text().isEmpty());
    QVERIFY(!d.window.ActionSetting->isEnabled());
    QVERIFY(!d.window.ActionFindAddress->isEnabled());
    QVERIFY(!Child<QPushButton>(d.window.Readings(), "BtnReadCounter")->isEnabled());
    QVERIFY(d.window.Journal()->GaugeJournal->isHidden());

    // Closing the window closes the line first.
    d.connect();
    d.window.close();
    connectedState(false);
}

void TestWiring::resetForgetsMeterValues()
{
    Demo d;
    d.connect();
    QTRY_VERIFY(d.window.Device()->values().runningSeconds > 0);
    const uint32_t running = d.window.Device()->values().runningSeconds;
    d.link().setTimeout(10000);
    d.window.ActionDisconnect->trigger(); // nothing refills the fields afterwards
    d.window.ActionReset->trigger();
    QCOMPARE(d.link().factoryNumber(), 0u);
    QCOMPARE(d.window.Device()->values().factoryNumber, 0u);
    QCOMPARE(d.window.Device()->values().deviceType, 0);
    QCOMPARE(d.window.Device()->values().runningSeconds, running);
    QVERIFY(d.window.About()->EditNumber->text().isEmpty());
}

void TestWiring::portLists_data()
{
    QTest::addColumn<QStringList>("extra");
    QTest::addColumn<bool>("demo");
    QTest::addColumn<QString>("selected");
    QTest::newRow("paths and demo") << QStringList{"/tmp/zr-a", "/tmp/zr-b"} << true << "/tmp/zr-a";
    QTest::newRow("demo alone") << QStringList{} << true << "DEMO";
    QTest::newRow("one path") << QStringList{"/tmp/zr-a"} << false << "/tmp/zr-a";
}

void TestWiring::portLists()
{
    QFETCH(QStringList, extra);
    QFETCH(bool, demo);
    QFETCH(QString, selected);
    MainWindow window(Modes{}, Ports(extra, demo));
    QStringList tail = extra;
    if (demo)
        tail << "DEMO";
    QStringList entries;
    for (int i = 0; i < window.Connection()->ComboPort->count(); ++i)
        entries << window.Connection()->ComboPort->itemText(i);
    QCOMPARE(entries.mid(entries.size() - tail.size()), tail);
    QCOMPARE(window.Connection()->ComboPort->currentText(), selected);
    QCOMPARE(CheckedCaption(window.Connection()->PortItems), selected);
    QCOMPARE(window.DemoPort() != nullptr, demo);
    QCOMPARE(window.Connection()->ComboScaner->findText("DEMO"), -1);
    for (const QString& path : extra)
        QVERIFY(window.Connection()->ComboScaner->findText(path) >= 0);

    // The combo box and the menu follow each other.
    QAction* last = MenuItem(window.NPort, tail.last());
    QVERIFY(last);
    last->trigger();
    QCOMPARE(window.Connection()->ComboPort->currentText(), tail.last());
    window.Connection()->ComboPort->setCurrentIndex(
        window.Connection()->ComboPort->findText(tail.first()));
    QCOMPARE(CheckedCaption(window.Connection()->PortItems), tail.first());
}

void TestWiring::portChoiceDecidesTheLine()
{
    MessageCatcher catcher;
    const QString missing = QStringLiteral("/nonexistent/zr-tty");
    MainWindow window(Modes{}, Ports({missing}, true));
    window.ActionConnect->trigger();
    QCOMPARE(catcher.messages.size(), 1);
    QCOMPARE(catcher.messages.first().caption, QString("Ошибка"));
    QCOMPARE(catcher.messages.first().text, "Ошибка открытия порта " + missing);
    QVERIFY(window.ActionConnect->isEnabled());
    QVERIFY(!window.DemoPort()->isOpen());

    window.Connection()->ComboPort->setCurrentIndex(
        window.Connection()->ComboPort->findText("DEMO"));
    window.ActionConnect->trigger();
    QVERIFY(window.DemoPort()->isOpen());
    QCOMPARE(&window.Link()->port(), static_cast<zr::link::Port*>(window.DemoPort()));
    QTRY_VERIFY_WITH_TIMEOUT(!window.About()->EditVersion->text().isEmpty(), 5000);
    QCOMPARE(catcher.messages.size(), 1);
}

void TestWiring::speedChoices()
{
    MainWindow window(Modes{}, Ports({}, true));
    QCOMPARE(window.DemoPort()->baudRate(), 4800);
    MenuItem(window.NBaud, "19200")->trigger();
    QCOMPARE(window.Connection()->ComboBaud->currentIndex(), 2);
    QCOMPARE(window.DemoPort()->baudRate(), 19200);
    window.Connection()->ComboBaud->setCurrentIndex(1);
    QCOMPARE(CheckedCaption(window.Connection()->BaudItems), QString("9600"));
    QCOMPARE(window.DemoPort()->baudRate(), 9600);
    window.Connection()->SpinTimer->stepUp();
    QCOMPARE(window.findChild<QTimer*>("TimerOut")->interval(), 600);
}

void TestWiring::passwordHints_data()
{
    QTest::addColumn<bool>("access");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("hint");
    QTest::newRow("access, latin") << true << "AB"
                                   << "41 42 00 00 00 00 ";
    QTest::newRow("new, cyrillic") << false << "Яё1"
                                   << "DF B8 31 00 00 00 ";
    QTest::newRow("new, full") << false << "123456"
                               << "31 32 33 34 35 36 ";
}

void TestWiring::passwordHints()
{
    QFETCH(bool, access);
    QFETCH(QString, text);
    QFETCH(QString, hint);
    MainWindow window(Master());
    QLineEdit* edit = access ? window.Connection()->LabeledPass2
                             : Child<QLineEdit>(window.Settings(), "LabeledPass1");
    QLineEdit* other = access ? Child<QLineEdit>(window.Settings(), "LabeledPass1")
                              : window.Connection()->LabeledPass2;
    QCOMPARE(edit->toolTip(), QString("00 00 00 00 00 00"));
    edit->setText(text);
    QCOMPARE(edit->toolTip(), hint);
    QCOMPARE(other->toolTip(), QString("00 00 00 00 00 00"));
}

void TestWiring::sendTickHidesGridSelection()
{
    Demo d;
    QTableWidget* grids[] = {d.window.About()->GridDdm,
                             Child<QTableWidget>(d.window.Readings(), "GridValueTarif"),
                             Child<QTableWidget>(d.window.Readings(), "GridActive")};
    for (QTableWidget* grid : grids)
        grid->setCurrentCell(1, 1);
    d.window.ActionConnect->trigger();
    for (QTableWidget* grid : grids)
        QTRY_VERIFY(!grid->currentIndex().isValid());
}

int zr::test::RunWiringTests(int argc, char** argv)
{
    TestWiring test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_wiring.moc"
