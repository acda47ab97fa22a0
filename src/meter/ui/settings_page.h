#pragma once
// Tab "Установка": the settings to write into the meter.

#include "meter/settings_write.h"
#include "meter/ui/page.h"
#include "ui_settings_page.h"

#include <QDateTime>
#include <QWidget>

namespace zr::meter
{

class SettingsPage : public QWidget, public Page
{
    Q_OBJECT
public:
    explicit SettingsPage(QWidget* parent = nullptr);

    // Pickers the user has not touched follow the given clock; touched ones keep their value.
    void FollowClock(const QDateTime& now);
    bool DateEdited() const { return dateEdited_; }
    bool TimeEdited() const { return timeEdited_; }
    void ClearEditedMarks();
    // The factory number may be typed only in master mode; otherwise it reads as a plain value.
    void SetNumberEditable(bool editable);
    // SpinEdit_Number, which the export and print titles name.
    int NumberFieldValue() const { return ui.SpinEdit_Number->value(); }

    // The new password goes to the link; SpinEdit_Number and BitBtn1 may be used only while the
    // meter has no factory number.
    void attach(link::MeterLink& link, DeviceState& device) override;
    // BitBtn1 back on, the pickers follow the clock again; the number field takes the focus
    // when this page is shown.
    void clearData() override;
    void applyModes(const Modes& modes) override;

    // The password edit's handler: the tool tip shows the bytes the text becomes.
    void LabeledPass1Change();

    // The number field's handler: on the production line the new meter address follows the
    // number's last two digits.
    void SpinEdit_NumberChange();

    // The write-settings command: queues the batch of the ticked items, or tells why a value
    // cannot be written and queues nothing.
    void ActionSettingExecute();
    // The tab's values as they stand.
    SettingsWriteInput input() const;
    // SpinDDM_A/B/C: restored at start-up, kept at close in production mode.
    void setDdmNumbers(const std::array<int, 3>& numbers);
    std::array<int, 3> ddmNumbers() const;
    // The values of the batch queued last.
    SettingsWriteInput lastBatchInput() const { return lastBatch_; }
    // Tests that queue a batch of their own say what it wrote.
    void setLastBatchInput(const SettingsWriteInput& input) { lastBatch_ = input; }

signals:
    // An acknowledged write's operation-log event.
    void operationLogged(const QString& event);
    // The meter took new link parameters: later exchanges use this address and speed position.
    void linkParametersWritten(int address, int baudIndex);
    // The meter took a new access password.
    void accessPasswordWritten(const QString& password);
    // A value the meter cannot take; nothing was queued.
    void refused(const QString& reason);

private:
    // The decoder of one request of a batch: the log line and what the PC side switches to.
    void Acknowledge(uint8_t function, const SettingsWriteInput& batch);

    Ui::SettingsPage ui;
    link::MeterLink* link_ = nullptr;
    DeviceState* device_ = nullptr;
    SettingsWriteInput lastBatch_;
    bool production_ = false;
    bool dateEdited_ = false;
    bool timeEdited_ = false;
};

} // namespace zr::meter
