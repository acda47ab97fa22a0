#include "meter/ui/settings_page.h"

#include "link/function_code.h"
#include "link/line_speed.h"
#include "link/meter_link.h"
#include "link/password.h"
#include "meter/device_info.h"
#include "meter/device_state.h"
#include "meter/plc.h"
#include "meter/ui/widgets.h"

#include <QSignalBlocker>
#include <QStackedWidget>

namespace zr::meter
{

SettingsPage::SettingsPage(QWidget* parent) : QWidget(parent)
{
    ui.setupUi(this);
    // The settings to be written stand out a shade warmer than the rest of the page.
    TintBackground(ui.GroupTask, 2, 0, 0);
    for (const QString& text : IndicationItems()) {
        auto* item = new QListWidgetItem(text, ui.CheckSetIndi);
        item->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled);
        item->setCheckState(Qt::Unchecked);
    }
    FitListToContents(ui.CheckSetIndi);
    ui.ComboNewBaud->addItems(link::LineSpeedTexts());
    // A typed text stays a text: it selects no item and is never added to the list.
    ui.ComboTarifDDM->setEditable(true);
    ui.ComboTarifDDM->setInsertPolicy(QComboBox::NoInsert);
    ui.ComboTarifDDM->addItem(QStringLiteral("авто"));
    for (int tariff = 1; tariff <= 8; ++tariff)
        ui.ComboTarifDDM->addItem(QStringLiteral("  %1").arg(tariff));
    SetNumberEditable(false);

    // Only the user's own edits reach these slots: FollowClock blocks the signals.
    connect(ui.DatePicker, &QDateEdit::dateChanged, this, [this] { dateEdited_ = true; });
    connect(ui.TimePicker, &QTimeEdit::timeChanged, this, [this] { timeEdited_ = true; });
    connect(ui.SpinEdit_Number, &QSpinBox::valueChanged, this,
            &SettingsPage::SpinEdit_NumberChange);
}

void SettingsPage::SpinEdit_NumberChange()
{
    const int number = ui.SpinEdit_Number->value();
    if (production_ && ui.SpinEdit_Number->isEnabled() && number > 0 && ui.CheckAddr->isChecked())
        ui.SpinNewAddr->setValue(number % 100);
}

void SettingsPage::FollowClock(const QDateTime& now)
{
    if (!dateEdited_) {
        const QSignalBlocker blocker(ui.DatePicker);
        ui.DatePicker->setDate(now.date());
    }
    if (!timeEdited_) {
        const QSignalBlocker blocker(ui.TimePicker);
        ui.TimePicker->setTime(now.time());
    }
}

void SettingsPage::ClearEditedMarks()
{
    dateEdited_ = false;
    timeEdited_ = false;
}

void SettingsPage::SetNumberEditable(bool editable)
{
    ui.SpinEdit_Number->setReadOnly(!editable);
    if (editable)
        ui.SpinEdit_Number->setPalette(QPalette());
    else
        MakeParentColoured(ui.SpinEdit_Number);
}

void SettingsPage::attach(link::MeterLink& link, DeviceState& device)
{
    link_ = &link;
    device_ = &device;
    connect(ui.LabeledPass1, &QLineEdit::textChanged, this, &SettingsPage::LabeledPass1Change);
    connect(&device, &DeviceState::factoryNumberRead, this, [this](const FactoryNumberInfo& info) {
        ui.SpinEdit_Number->setEnabled(info.assignable);
        ui.BitBtn1->setEnabled(info.assignable);
    });
}

void SettingsPage::LabeledPass1Change()
{
    ui.LabeledPass1->setToolTip(link::PasswordHint(ui.LabeledPass1->text()));
    if (link_)
        link_->setNewPassword(ui.LabeledPass1->text());
}

SettingsWriteInput SettingsPage::input() const
{
    SettingsWriteInput in;
    in.writeLink = ui.CheckAddr->isChecked();
    in.writeClock = ui.CheckTime->isChecked();
    in.writeBilling = ui.CheckShedule->isChecked();
    in.writeIndication = ui.CheckIndi->isChecked();
    in.writeIntegration = ui.CheckIntegra->isChecked();
    in.writePassword = ui.CheckPassword->isChecked();
    in.writeDdm = ui.CheckDDM->isChecked();
    in.resetSchedule = ui.CheckResetTariff->isChecked();
    in.date = ui.DatePicker->date();
    in.time = ui.TimePicker->time();
    in.daylightSaving = ui.CheckBoxClock->isChecked();
    in.billingDay = ui.SpinDay->value();
    in.billingHour = ui.SpinHour->value();
    for (int item = 0; item < int(in.indication.size()); ++item)
        in.indication[item] = ui.CheckSetIndi->item(item)->checkState() == Qt::Checked;
    in.integrationMinutes = ui.SpinIntegra->value();
    in.newPassword = ui.LabeledPass1->text();
    in.factoryNumber = ui.SpinEdit_Number->value();
    in.reportedNumber = device_ ? device_->factoryNumberText() : QString();
    in.ddmNumbers = {ui.SpinDDM_A->value(), ui.SpinDDM_B->value(), ui.SpinDDM_C->value()};
    in.ddmModeText = ui.ComboTarifDDM->currentText();
    in.ddmModeIndex = ui.ComboTarifDDM->findText(in.ddmModeText, Qt::MatchExactly);
    in.newAddress = ui.SpinNewAddr->value();
    in.newBaudIndex = ui.ComboNewBaud->currentIndex();
    return in;
}

void SettingsPage::setDdmNumbers(const std::array<int, 3>& numbers)
{
    ui.SpinDDM_A->setValue(numbers[0]);
    ui.SpinDDM_B->setValue(numbers[1]);
    ui.SpinDDM_C->setValue(numbers[2]);
}

std::array<int, 3> SettingsPage::ddmNumbers() const
{
    return {ui.SpinDDM_A->value(), ui.SpinDDM_B->value(), ui.SpinDDM_C->value()};
}

void SettingsPage::ActionSettingExecute()
{
    if (!link_)
        return;
    const SettingsWriteInput batchInput = input();
    const RequestBatch batch = BuildSettingsBatch(batchInput);
    if (!batch.ok()) {
        emit refused(batch.refusal);
        return;
    }
    lastBatch_ = batchInput;
    link_->setSettingsWriteMark();
    for (const QByteArray& frame : batch.frames) {
        const auto function = uint8_t(frame[0]);
        switch (function) {
        // The opening requests keep the idle cycle's decoders; the schedule reset has nothing
        // to show.
        case link::ReadNumber:
        case link::ReadCounters:
        case link::EnterPassword:
        case link::WriteSchedule:
            link_->Enqueue(frame);
            break;
        default:
            // The log tells what this batch wrote, whatever the controls show by the time the
            // answer arrives.
            link_->Enqueue(frame, [this, function, batchInput](const QByteArray&) {
                Acknowledge(function, batchInput);
            });
        }
    }
}

void SettingsPage::Acknowledge(uint8_t function, const SettingsWriteInput& batch)
{
    if (function == link::WritePlcAddress) {
        const PlcGroupAddress plc = PlcGroupAddressForNumber(batch.factoryNumber);
        emit operationLogged(PlcAddressLogText(plc.group, plc.address));
        return;
    }
    const SettingsAcknowledgement ack = AcknowledgeSettingsWrite(function, batch);
    if (ack.newAddress && ack.newBaudIndex)
        emit linkParametersWritten(*ack.newAddress, *ack.newBaudIndex);
    if (ack.newAccessPassword)
        emit accessPasswordWritten(*ack.newAccessPassword);
    if (!ack.logText.isEmpty())
        emit operationLogged(ack.logText);
}

void SettingsPage::clearData()
{
    ui.BitBtn1->setEnabled(true);
    ClearEditedMarks();
    // A tab page sits in its tab widget's stack.
    const auto* stack = qobject_cast<const QStackedWidget*>(parentWidget());
    if (stack && stack->currentWidget() == this && ui.SpinEdit_Number->isEnabled())
        ui.SpinEdit_Number->setFocus();
}

void SettingsPage::applyModes(const Modes& modes)
{
    SetNumberEditable(modes.master);
    ui.BitBtn1->setVisible(modes.master);
    ui.LabeledPass1->setReadOnly(!modes.newPasswordAllowed);
    ui.CheckTime->setChecked(true);
    production_ = modes.production;
    ui.CheckAddr->setChecked(modes.production);
    ui.CheckDDM->setChecked(modes.production);
    if (modes.production) {
        // The production line always writes the same indication set.
        ui.CheckSetIndi->setEnabled(false);
        for (int item : {0, 3, 4})
            ui.CheckSetIndi->item(item)->setCheckState(Qt::Checked);
    }
}

} // namespace zr::meter
