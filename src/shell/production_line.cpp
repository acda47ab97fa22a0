#include "shell/production_line.h"

#include "link/line_speed.h"
#include "link/meter_link.h"
#include "meter/device_state.h"
#include "meter/settings_write.h"
#include "meter/ui/about_page.h"
#include "meter/ui/settings_page.h"
#include "platform/system_names.h"
#include "production/record.h"
#include "production/scanner.h"
#include "shell/application.h"
#include "shell/main_window.h"
#include "shell/message.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

namespace zr::shell
{

namespace
{

const QString kRecordFailureCaption = QStringLiteral("Ошибка БД");

int IntegerOf(const QLineEdit* edit)
{
    return edit->text().trimmed().toInt(); // 0 when it is not an integer
}

} // namespace

ProductionLine::ProductionLine(MainWindow& window, const production::DbOptions& options)
    : QObject(&window), window_(window), db_(options)
{
    setObjectName(QStringLiteral("ProductionLine"));
    meter::SettingsPage* settings = window.Settings();
    number_ = settings->findChild<QSpinBox*>(QStringLiteral("SpinEdit_Number"));
    auto* propose = settings->findChild<QAbstractButton*>(QStringLiteral("BitBtn1"));
    Q_ASSERT(number_ && propose);

    connect(propose, &QAbstractButton::clicked, this, &ProductionLine::BitBtn1Click);
    // The pages have shown the answer by now: these handlers run after theirs.
    connect(window.Device(), &meter::DeviceState::factoryNumberRead, this,
            &ProductionLine::FactoryNumberRead);
    connect(window.Device(), &meter::DeviceState::clockRead, this, &ProductionLine::ClockRead);
    connect(window.Link(), &link::MeterLink::settingsBatchDrained, this,
            &ProductionLine::RecordAfterSettings);
    connect(window.ActionFixDb, &QAction::triggered, this, &ProductionLine::ActionFixDbExecute);
    ConnectScanner();
}

ProductionLine::~ProductionLine() = default;

void ProductionLine::ConnectScanner()
{
    ConnectionPanel* panel = window_.Connection();
    scanner_ = new production::Scanner(this);
    scanner_->setPortEntry(panel->ComboScaner->currentText());
    connect(panel->ComboScaner, &QComboBox::activated, this, [this, panel] {
        const QString error = scanner_->SelectPort(panel->ComboScaner->currentText());
        if (!error.isEmpty())
            Show({QString(), error});
    });
    connect(panel->CheckScaner, &QCheckBox::clicked, scanner_, &production::Scanner::Enable);
    // The value is set even while the field is read-only or disabled.
    connect(scanner_, &production::Scanner::numberScanned, number_, &QSpinBox::setValue);
    connect(scanner_, &production::Scanner::codeRejected, number_,
            [this] { number_->setValue(0); });
    if (panel->CheckScaner->isChecked())
        scanner_->StartUp();
}

void ProductionLine::Show(const production::Notice& notice)
{
    if (notice.isEmpty())
        return;
    Message message;
    message.text = notice.text;
    if (notice.caption.isEmpty()) {
        message.icon = QMessageBox::Critical;
        message.caption = ProgramTitle();
    } else {
        message.icon = notice.stop ? QMessageBox::Warning : QMessageBox::Critical;
        message.caption = notice.caption;
    }
    ShowMessage(&window_, message);
}

void ProductionLine::Identify()
{
    // Our own message box takes the activation away and gives it back when it closes.
    if (identifying_)
        return;
    identifying_ = true;
    const production::Identification result =
        production::Identify(db_, platform::ComputerName(), platform::LoginName());
    identity_ = result.identity;
    if (result.notice.stop) {
        Show(result.notice);
        identifying_ = false;
        emit stopRequested();
        return;
    }
    // A server out of reach is reported once, not at every activation after the box closes.
    if (result.notice.text != identifyError_)
        Show(result.notice);
    identifyError_ = result.notice.text;
    identifying_ = false;
}

bool ProductionLine::SetClockFromServer()
{
    const production::Notice notice = production::SetClockFromServer(db_);
    Show(notice);
    return notice.isEmpty();
}

void ProductionLine::BitBtn1Click()
{
    const production::Proposal proposal = production::ProposeNumber(db_);
    Show(proposal.notice);
    if (proposal.number)
        number_->setValue(*proposal.number);
}

void ProductionLine::FactoryNumberRead(const meter::FactoryNumberInfo& info)
{
    if (!info.ok() || info.text == numberText_)
        return;
    numberText_ = info.text;
    if (!info.assignable)
        number_->setValue(int(info.number));
    const production::LastProgrammed last = production::LookupLastProgrammed(db_, int(info.number));
    lastProgrammed_ = last.date;
    Show(last.notice);
}

void ProductionLine::ClockRead(const meter::ClockInfo& info)
{
    // The page has emptied EditDelta; it shows the average again after each measurement.
    if (!info.ok() || !info.clockShown)
        return;
    if (drift_.Measure(info.clock, QDateTime::currentDateTime(), lastProgrammed_))
        window_.About()->EditDelta->setText(drift_.text());
}

production::RecordInput ProductionLine::CollectInput(bool full) const
{
    const meter::AboutPage* about = window_.About();
    const meter::DeviceState* device = window_.Device();
    production::RecordInput input;
    input.numberRead = IntegerOf(about->EditNumber);
    input.numberField = number_->value();
    input.version = about->EditVersion->text();
    input.elType = about->LabelType->text();
    input.turnOn = about->EditWork->text();
    const auto ddm = device->ddmStatus();
    input.status = production::StatusColumn(device->timerFlags(), ddm[0], ddm[1], ddm[2]);
    input.ncorrect = IntegerOf(about->EditNCorrect);
    input.checkSum = IntegerOf(about->EditCheckSum);
    input.t = production::DeltaValue(about->EditValue->text()).value_or(0.0);
    input.secPerDay = production::DeltaValue(about->EditDelta->text());
    if (!full)
        return input;
    // What the batch wrote, not what the controls show now (the pickers follow the clock).
    const meter::SettingsWriteInput written = window_.Settings()->lastBatchInput();
    if (written.writeLink) {
        input.address = written.newAddress;
        input.baud = link::LineSpeedTexts().value(written.newBaudIndex);
    }
    if (written.writeIndication) {
        int mask = 0;
        for (size_t i = 0; i < written.indication.size(); ++i)
            mask |= written.indication[i] ? 1 << i : 0;
        input.indicator = mask;
    }
    if (written.writeClock) {
        input.dateTime = QDateTime(written.date, written.time);
        input.summer = written.daylightSaving;
    }
    if (written.writePassword)
        input.pass = written.newPassword;
    if (written.writeBilling) {
        input.countDay = written.billingDay;
        input.countHour = written.billingHour;
    }
    if (written.writeIntegration)
        input.timeInteg = written.integrationMinutes;
    if (written.writeDdm) {
        input.ddmA = int(written.ddmNumbers[0]);
        input.ddmB = int(written.ddmNumbers[1]);
        input.ddmC = int(written.ddmNumbers[2]);
        input.modeTarif = written.ddmModeIndex;
    }
    return input;
}

void ProductionLine::RecordAfterSettings()
{
    Show(production::AutomaticRecord(db_, identity_, CollectInput(true)));
}

void ProductionLine::ActionFixDbExecute()
{
    const production::Notice notice = production::ManualRecord(db_, identity_, CollectInput(false));
    Show(notice);
    // The indicator follows a record made or attempted, not a number missing from the register
    // or a failed look-up.
    if (notice.isEmpty() || notice.caption == kRecordFailureCaption)
        window_.ShowResult(true);
}

void ProductionLine::clearData()
{
    numberText_.clear();
    lastProgrammed_ = QDateTime();
    drift_.reset();
}

} // namespace zr::shell
