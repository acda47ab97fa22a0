#pragma once
// Tab "Установка": the settings to write into the meter.

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

private:
    Ui::SettingsPage ui;
    link::MeterLink* link_ = nullptr;
    bool dateEdited_ = false;
    bool timeEdited_ = false;
};

} // namespace zr::meter
